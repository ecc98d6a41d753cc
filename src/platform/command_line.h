// The program's command line as one text, as start-up and the job intake read it:
// everything after the program name and the program's own options, every double quote
// kept ("x|42|0" stays quoted, T:\003\Flow\Transfer\job.xml,7,P stays as typed).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quenda {

// The command-line text (CP1252) after the program name and `optionWords` further words.
// On Windows it is the rest of GetCommandLineA as typed; elsewhere, where the shell has
// already split the line, `words` (the arguments after the options) joined with single
// blanks.
std::string ProgramCommandText(std::size_t optionWords, const std::vector<std::string>& words);

// The rest of the Windows command line `line` after its program name and `skipWords`
// further words, as written: blanks before it removed, quotes and inner blanks kept.
// Words are separated as the C runtime separates arguments (blanks outside double quotes;
// a double quote after an odd number of backslashes is literal; in the program name
// quotes only group). Empty when the line has no more words.
std::string CommandLineTail(const std::string& line, std::size_t skipWords);

}  // namespace quenda
