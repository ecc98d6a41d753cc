// The program's options and the command-line text built from the remaining words.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quenda {

struct Options {
  std::string programDir;  // native; empty: the executable's folder
  bool headless = false;
  std::string answersFile;     // native
  std::string transcriptFile;  // native
  std::vector<std::string> words;
  bool help = false;
  bool version = false;
};

// Parses argv[1..]. Returns nullopt and sets `error` (UTF-8) for a wrong option.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error);

// The words joined with single blanks, converted to CP1252.
std::string CommandLineText(const Options& options);

// The usage text (UTF-8).
std::string UsageText();

}  // namespace quenda
