// The configuration check: the global parameter table and every customer table that one
// of its rows names, for normal runs and, where the tools share holds another pair, for
// test mode, judged as a run would read them. Nothing is evaluated or asked.
#pragma once

#include <string>

#include "check/finding.h"

namespace quenda {

class Files;
struct SiteSettings;

// The findings for the tables of `configFolder` ([System] ConfigPath) and of the tools
// share of `site`; files are reached through `files` (its drive map).
Findings CheckConfiguration(const Files& files, const SiteSettings& site,
                            const std::string& configFolder);

}  // namespace quenda
