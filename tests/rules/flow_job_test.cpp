#include "rules/flow_job.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "session/session.h"
#include "support/flow_site.h"
#include "xml/dom_wrapper.h"

namespace quenda {
namespace {

using testing::SessionFixture;

// A job whose document binds the FlowData namespace to the prefix "x", not "FD": queries
// with FD: find its nodes only through the declaration the job is loaded with.
const char* const kOtherPrefixJob =
    "<x:FlowData xmlns:x=\"http://flow.quenda.local/namespace/FlowData\">"
    "<x:Envelope Name=\"FromFlow\"><x:Fields><x:Field Name=\"F\">from</x:Field></x:Fields>"
    "</x:Envelope>"
    "<x:Envelope Name=\"ToFlow\"><x:Fields><x:Field Name=\"F\">to</x:Field></x:Fields>"
    "</x:Envelope></x:FlowData>";

struct OpenCase {
  std::string file;  // in the fixture's folder; "missing.xml" is never written
  FlowEnvelope envelope;
  std::string expected;  // the field F read relative to the envelope, or the error text
};

TEST(OpenFlowJob, ChecksTheFileAndTheEnvelopeAndPositionsOnIt) {
  SessionFixture f;
  f.dir.Write("both.xml", kOtherPrefixJob);
  f.dir.Write("empty.xml",
              "<FD:FlowData xmlns:FD=\"http://flow.quenda.local/namespace/FlowData\"/>");
  const std::string missing = f.dir.File("missing.xml");
  const OpenCase cases[] = {
      {"missing.xml", FlowEnvelope::kFromFlow, "Inputfile " + missing + " not found"},
      {"missing.xml", FlowEnvelope::kToFlow, "Inputfile " + missing + " not found"},
      {"empty.xml", FlowEnvelope::kFromFlow, "InputNode Envelope Name='FromFlow' not found"},
      {"empty.xml", FlowEnvelope::kToFlow, "Envelope 'ToFlow' not found."},
      {"both.xml", FlowEnvelope::kFromFlow, "from"},
      {"both.xml", FlowEnvelope::kToFlow, "to"},
  };
  for (const auto& c : cases) {
    const std::string label = c.file + (c.envelope == FlowEnvelope::kToFlow ? " ToFlow" : "");
    try {
      const auto doc = OpenFlowJob(f.S(), f.dir.File(c.file), c.envelope);
      EXPECT_EQ(doc->GetElementByName("FD:Fields/FD:Field[@Name='F']"), c.expected) << label;
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), kErrComposed) << label;
      EXPECT_EQ(e.Description(), c.expected) << label;
    }
  }
}

TEST(LoadFlowJob, EndsTheRunForAnUnreadableJobAndLeavesNoNodeCurrent) {
  SessionFixture f;
  f.OpenLog();
  f.dir.Write("broken.xml", "<FD:FlowData");
  f.dir.Write("both.xml", kOtherPrefixJob);
  const std::string broken = f.dir.File("broken.xml");
  EXPECT_EQ(testing::ExitOf([&] { LoadFlowJob(f.S(), broken); }), 1) << broken;
  const std::string line = UnreadableJobText(
      broken,
      "Zeile 1, Spalte 13: Ein Namensraum ist nicht deklariert (Namespace prefix FD on FlowData "
      "is not defined)");
  EXPECT_EQ(f.S().log.LastLine(), line) << "the run log holds the reason";
  EXPECT_EQ(f.S().record.reason, end_reason::kError);
  const auto doc = LoadFlowJob(f.S(), f.dir.File("both.xml"));
  try {
    doc->GetField();
    ADD_FAILURE() << "a current node after the load";
  } catch (const Error& e) {
    EXPECT_EQ(e.Number(), kErrObjectNotSet) << e.Description();
  }
  EXPECT_EQ(doc->GetElementValue("//FD:Envelope[@Name='ToFlow']//FD:Field", false), "to");
}

}  // namespace
}  // namespace quenda
