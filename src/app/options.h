// The program's options and the command-line text built from the remaining words.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quenda {

// How --check-config prints its findings.
enum class CheckFormat { kText, kSarif };

struct Options {
  std::string programDir;  // native; empty: the executable's folder
  bool headless = false;
  std::string answersFile;         // native
  std::string transcriptFile;      // native
  std::string reportFile;          // native; the release report written when the run ends
  std::vector<std::string> words;  // the arguments after the options
  std::size_t optionWords = 0;     // how many arguments the options took, "--" included
  bool checkConfig = false;        // check the configuration tables, run nothing
  CheckFormat checkFormat = CheckFormat::kText;
  bool formatGiven = false;        // --format was given
  std::string verifyReport;        // native; check the files of this release report
  bool verifyInputs = false;       // --verify checks the inputs as well
  std::string checkReleaseReport;  // native; check the contents of this report's release
  std::string planFile;            // native; plan the run into this file, write nothing else
  std::string applyPlan;           // native; run the plan of this file as it was planned
  bool qualify = false;            // run the shipped reference cases
  std::string qualifyOut;          // native; the folder of the qualification report
  std::string qualifyKit;          // native; the reference cases' folder instead of the shipped one
  bool help = false;
  bool version = false;
};

// Parses argv[1..]. Returns nullopt and sets `error` (UTF-8) for a wrong option, also for
// --check-config together with anything but --program-dir and --format, for --format
// without --check-config, for a --format other than text or sarif, and for --verify
// together with anything but --program-dir and --inputs, for --plan together with --report,
// --apply, --verify or --check-config, and for --apply together with anything but --report,
// --transcript and --headless, and for --check-release together with anything but
// --program-dir and --format.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error);

// The program's command-line text (CP1252): the words joined with single blanks; on
// Windows the command line as typed after the options, every double quote kept.
std::string CommandLineText(const Options& options);

// The usage text (UTF-8).
std::string UsageText();

}  // namespace quenda
