// quenda --qualify --out FOLDER: the qualification suite a site runs in its own environment.
// The reference jobs shipped with the program (the kit: cases.json, the sample site and the
// expected outputs) run one by one in a temporary copy of the site; every output is compared
// byte for byte with the kit's, each successful release is checked by the release check, and
// a qualification report is written into FOLDER.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>

namespace quenda {

struct Options;
class System;

// The kit's folder: "qualify" beside the executable, else "../share/quenda/qualify" from it;
// none when neither holds a cases.json.
std::optional<std::filesystem::path> QualificationKitDir(System& system);

// Runs every case of the kit (options.qualifyKit when given, else QualificationKitDir) and
// writes "qualifikation.json" and "qualifikation.txt" into options.qualifyOut (created when
// missing). One line per case goes to `out`, the counts last. Returns 0 when every case
// passed, 1 when one failed, 2 when the kit is missing or unreadable or the report cannot be
// written (told on `err`).
int RunQualify(const Options& options, System& system, std::FILE* out, std::FILE* err);

}  // namespace quenda
