// The object store search and attribute reading on arbitrary store texts. The first
// line of the input is the label, the rest the store.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/error.h"
#include "conservation/object_store.h"
#include "fuzz_session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace quenda;
  const std::string input = fuzz::AsText(data, size);
  const std::size_t cut = input.find('\n');
  if (cut == std::string::npos) return 0;
  const std::string label = input.substr(0, cut);
  const std::string_view store(input.data() + cut + 1, input.size() - cut - 1);
  const std::string record = FindObjectRecord(store, label);
  if (record.size() > store.size()) __builtin_trap();
  for (const char* key : {":MaxAnz=", ":STYP=", ":"}) {
    try {
      GetRecordAttribute(record, key);
    } catch (const Error&) {
    }
  }
  return 0;
}
