#include "platform/command_line.h"

#include <windows.h>

namespace quenda {

std::string ProgramCommandText(std::size_t optionWords, const std::vector<std::string>& /*words*/) {
  const char* line = GetCommandLineA();
  return CommandLineTail(line != nullptr ? line : "", optionWords);
}

}  // namespace quenda
