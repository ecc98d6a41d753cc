#include "app/batch_encoding.h"

#include "base/error.h"
#include "platform/code_page.h"
#include "session/session.h"

namespace quenda {

BatchFault FindBatchValueFault(const Session& s, std::string_view value, std::size_t lineRest) {
  const BatchFault fault = FindBatchFault(value, lineRest);
  if (fault != BatchFault::kNone) return fault;
  if (!Cp1252ToCodePage(value, s.site.BatchCodePage)) return BatchFault::kCodePage;
  return BatchFault::kNone;
}

std::vector<std::string> InBatchCodePage(const Session& s, const std::vector<std::string>& lines,
                                         const std::string& file) {
  std::vector<std::string> encoded;
  encoded.reserve(lines.size());
  for (const std::string& line : lines) {
    auto bytes = Cp1252ToCodePage(line, s.site.BatchCodePage);
    if (!bytes) {
      throw Error(kErrComposed,
                  RefusedBatchValueText("die Zeile", line, BatchFault::kCodePage, file));
    }
    encoded.push_back(std::move(*bytes));
  }
  return encoded;
}

std::string FromBatchCodePage(const Session& s, std::string_view line) {
  return CodePageToCp1252(line, s.site.BatchCodePage);
}

}  // namespace quenda
