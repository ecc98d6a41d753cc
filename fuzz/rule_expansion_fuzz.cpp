// Rule texts with placeholders expanded against a small job.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "base/error.h"
#include "fuzz_session.h"
#include "rules/rule_functions.h"
#include "xml/dom_wrapper.h"

namespace {

const char* const kJob =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<FD:FlowData xmlns:FD=\"http://flow.quenda.local/namespace/FlowData\">"
    "<FD:Envelope Name=\"FromFlow\"><FD:Fields>"
    "<FD:Field Name=\"Jobsource\">FLOW5</FD:Field>"
    "<FD:Field Name=\"A\">{B}</FD:Field><FD:Field Name=\"B\">b</FD:Field>"
    "<FD:Field Name=\"Self\">{x}</FD:Field>"
    "</FD:Fields></FD:Envelope><FD:Envelope Name=\"ToFlow\"><FD:Fields/></FD:Envelope>"
    "</FD:FlowData>\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace quenda;
  static fuzz::FuzzSession session;
  static const std::string job = [] {
    const std::string path = session.TempFile("job.xml");
    std::ofstream(path, std::ios::binary) << kJob;
    return path;
  }();
  DOMWrapper doc(session.S().ui, session.S().files, session.S().site.FlowDataNamespaceUri);
  doc.Load(job, FlowNamespaceDeclaration(session.S().site.FlowDataNamespaceUri));
  const std::string rule = fuzz::AsText(data, size);
  for (bool optional : {false, true}) {
    try {
      ExpandFieldPlaceholders(doc, rule, optional);
    } catch (const Error&) {
    } catch (const RunEnded&) {
    }
  }
  return 0;
}
