#include "check/config_check.h"

#include <algorithm>

#include "check/customer_table_check.h"
#include "check/global_table_check.h"
#include "config/config_selection.h"
#include "platform/files.h"
#include "platform/site_settings.h"

namespace quenda {
namespace {

struct ConfigCheck {
  const Files& files;
  const SiteSettings& site;
  Findings findings;
  std::vector<std::string> checked;  // tables already judged

  bool Seen(const std::string& path) const {
    return std::any_of(checked.begin(), checked.end(),
                       [&](const std::string& p) { return p == path || files.SameFile(p, path); });
  }

  void CheckPair(const ConfigTablePaths& paths) {
    checked.push_back(paths.globalTable);
    TableReport global(paths.globalTable);
    const std::vector<std::string> customers =
        CheckGlobalTable(files, paths.configPrefix, site.DecimalSeparator, global);
    findings.Add(global);
    for (const std::string& path : customers) {
      if (Seen(path)) continue;
      checked.push_back(path);
      TableReport customer(path);
      CheckCustomerTable(files, site.DecimalSeparator, customer);
      findings.Add(customer);
    }
  }
};

}  // namespace

Findings CheckConfiguration(const Files& files, const SiteSettings& site,
                            const std::string& configFolder) {
  ConfigCheck c{files, site, {}, {}};
  c.CheckPair(ChooseConfigTables(site, configFolder, false));
  const ConfigTablePaths testMode = ChooseConfigTables(site, configFolder, true);
  if (files.FileExists(testMode.globalTable) && !c.Seen(testMode.globalTable)) {
    c.CheckPair(testMode);
  }
  return std::move(c.findings);
}

}  // namespace quenda
