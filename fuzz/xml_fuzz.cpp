// Job files of any content: load, then walk and read as the job intake does.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "base/error.h"
#include "fuzz_session.h"
#include "xml/dom_wrapper.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace quenda;
  static fuzz::FuzzSession session;
  static const std::string path = session.TempFile("fuzz.xml");
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  try {
    DOMWrapper doc(session.S().ui, session.S().files, session.S().site.FlowDataNamespaceUri);
    doc.Load(path, FlowNamespaceDeclaration(session.S().site.FlowDataNamespaceUri));
    if (doc.PosNodeByName("Envelope", "FromFlow")) {
      doc.PosNode("Fields", true);
      doc.GetElementByName("FD:Field[@Name='Jobsource']");
    }
    doc.GetElementValue("//FD:Envelope[@Name='FromFlow']//FD:Field[@Name='A']", true);
    for (int i = 0; i < 64 && doc.GetNextElemName() != "EOF"; ++i) {
    }
  } catch (const Error&) {
  } catch (const RunEnded&) {
  }
  return 0;
}
