// What cmd reads: a batch file is decoded in the console's code page (the site's
// BatchCodePage, on Windows the machine's OEM code page), so both batch writers check
// their values against it and write their lines in it. ASCII lines keep their bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text/batch_text.h"

namespace quenda {

class Session;

// FindBatchFault (text/batch_text.h), and kCodePage for a value holding a character that
// the console's code page cannot hold.
BatchFault FindBatchValueFault(const Session& session, std::string_view value,
                               std::size_t lineRest = 0);

// `lines` (CP1252) in the console's code page. Throws Error 60000 naming `file` and the
// line when a line holds a character that code page cannot hold.
std::vector<std::string> InBatchCodePage(const Session& session,
                                         const std::vector<std::string>& lines,
                                         const std::string& file);

// A line read from a batch file, back in CP1252 ("?" for what CP1252 cannot hold).
std::string FromBatchCodePage(const Session& session, std::string_view line);

}  // namespace quenda
