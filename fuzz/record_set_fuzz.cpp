// Record sets built from delimited lines, then filtered by the input's last line.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/error.h"
#include "fuzz_session.h"
#include "platform/files.h"
#include "table/cls_lib.h"
#include "table/record_set.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace quenda;
  std::vector<std::string> lines = SplitTextLines(fuzz::AsText(data, size));
  if (lines.size() < 2) return 0;
  const std::string filter = lines.back();
  lines.pop_back();
  try {
    RecordSet set(SplitDelimited(lines[0], ";"));
    for (std::size_t i = 1; i < lines.size(); ++i) set.AddRecord(SplitDelimited(lines[i], ";"));
    set.Filter(filter);
    for (set.MoveFirst(); !set.Eof(); set.MoveNext()) {
      for (int c = 0; c < set.ColumnCount(); ++c) set.Value(c);
    }
    set.RecordCount();
  } catch (const Error&) {
  }
  return 0;
}
