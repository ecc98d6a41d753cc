// Values in lines of the text files Quenda writes (DAB files, conservation files, the
// reference configuration, the run log) and in its messages. Such a value must mean exactly
// its text: a line break would end the line and start a forged one, NUL cuts a message box's
// text, and the five codes CP1252 leaves undefined (81 8D 8F 90 9D) are no characters at
// all. The other bytes 80-9F are letters and signs (€, „, Š) and stay allowed.
#pragma once

#include <string>
#include <string_view>

namespace quenda {

// True for a byte that no line of a text file may carry: a C0 control character (tab only
// when `allowTab`), DEL, or one of the five undefined CP1252 codes.
bool IsLineBreakingByte(unsigned char code, bool allowTab);

// The first byte of `value` that IsLineBreakingByte refuses, or -1 when there is none.
int FindLineBreakingByte(std::string_view value, bool allowTab = true);

// `value` with every byte that IsLineBreakingByte refuses (tab allowed) shown by its
// decimal code in braces ("a{13}{10}b", "{0}", "{129}"), so that a message or a log line
// stays one line and shows what was there.
std::string ShowCodes(std::string_view value);

// The German message for a refused value: "Der Wert von " + what + " enthält einen
// Zeilenumbruch (Code 10) und kann nicht in " + file + " geschrieben werden: >" + the value
// shown by ShowCodes, cut after 200 characters + "<". Throws nothing; `value` must hold a
// byte that FindLineBreakingByte finds.
std::string RefusedLineValueText(const std::string& what, std::string_view value,
                                 const std::string& file, bool allowTab = true);

// ShowCodes of at most `limit` characters of `value`, "..." added when it was longer.
std::string ShowCodesCut(std::string_view value, std::size_t limit = 200);

}  // namespace quenda
