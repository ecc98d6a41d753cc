#include "rules/flow_write_back.h"

#include <functional>

#include <gtest/gtest.h>

#include "base/error.h"
#include "dab/mask.h"
#include "rules/input_rules.h"
#include "session/session.h"
#include "support/flow_site.h"
#include "support/write_faults.h"
#include "xml/dom_wrapper.h"

namespace quenda {
namespace {

using testing::DialogLog;
using testing::FlowJob;
using testing::MessageJson;
using testing::ReadJobField;
using testing::SessionFixture;

const char* kAccessList = "A1;Mask me ;x; IDX 1\r\nB2;other;y;IDX2\r\n";

// The flow type of the ToFlow field `name` of the saved job.
std::string ToFlowType(SessionFixture& f, const std::string& path, const std::string& name) {
  DOMWrapper doc(f.S().ui, f.S().files, f.S().site.FlowDataNamespaceUri);
  doc.Load(path, "xmlns:FD='" + f.S().site.FlowDataNamespaceUri + "'");
  EXPECT_TRUE(doc.PosNodeByName("Envelope", "ToFlow"));
  EXPECT_TRUE(doc.PosNode("Fields", true));
  doc.GetElementValue("//FD:Envelope[@Name='ToFlow']/FD:Fields/FD:Field[@Name='" + name + "']",
                      false);
  std::string type;
  EXPECT_TRUE(doc.GetAttribut("FlowType", type));
  return type;
}

struct ToFlowCase {
  std::string toFlow;  // the ToFlow envelope's content before
  std::string label;
};

TEST(SecurityMask, EncodesTheSelectionAndWritesThePlantIndexBack) {
  const ToFlowCase cases[] = {
      {"", "empty ToFlow envelope"},
      {"<FD:Fields/>", "ToFlow without the field"},
      {"<FD:Fields><FD:Field Name=\"Customer_plant_index\" FlowType=\"Text\">old</FD:Field>"
       "</FD:Fields>",
       "ToFlow with the field"},
  };
  for (const auto& c : cases) {
    SessionFixture f("text A1\nbutton OK\n");
    f.dir.Write("list.txt", kAccessList);
    f.dir.Write("job.xml",
                FlowJob({{"Jobsource", "FLOW5"}, {"Customer_plant_index", "?"}}, "", c.toFlow));
    const std::string job = f.dir.File("job.xml");
    f.S().job.JobFilePath = job;
    DialogLog dialogs(f);
    const std::string value =
        RuleSecurityMask(f.S(), "XXX={Zugangscode," + f.dir.File("list.txt") + ",0}");
    EXPECT_EQ(value, EncodeMask("Maskme", kMaskKey)) << c.label;
    EXPECT_EQ(f.S().job.CustomerPlantIndex, "IDX1") << c.label;
    EXPECT_EQ(ReadJobField(f, job, "FromFlow", "Customer_plant_index"), "IDX1") << c.label;
    EXPECT_EQ(ReadJobField(f, job, "ToFlow", "Customer_plant_index"), "IDX1") << c.label;
    EXPECT_EQ(ReadJobField(f, job, "FromFlow", "Jobsource"), "FLOW5") << c.label;
    EXPECT_EQ(ToFlowType(f, job, "Customer_plant_index"),
              c.label == "ToFlow with the field" ? "Text" : "String")
        << c.label;
    EXPECT_EQ(dialogs.Lines().front(), testing::InputJson("Eingabe", "Zugangscode", "A1"))
        << c.label;
  }
}

TEST(SecurityMask, NoLineEndsTheRun) {
  SessionFixture f("text ZZ\n");
  f.dir.Write("list.txt", kAccessList);
  DialogLog dialogs(f);
  EXPECT_THROW(RuleSecurityMask(f.S(), "XXX={Code," + f.dir.File("list.txt") + ",0}"), RunEnded);
  EXPECT_EQ(dialogs.Lines().back(),
            MessageJson("Abbruch", "Keine korrekte Selektion von SecurityAccess!!", 48, "OK"));
}

TEST(FlowWriteBack, FailuresNameTheirCause) {
  SessionFixture f;
  f.dir.Write("noto.xml",
              "<FD:FlowData xmlns:FD=\"http://flow.quenda.local/namespace/FlowData\">"
              "<FD:Envelope Name=\"FromFlow\"><FD:Fields/></FD:Envelope></FD:FlowData>");
  f.dir.Write("nofrom.xml",
              "<FD:FlowData xmlns:FD=\"http://flow.quenda.local/namespace/FlowData\">"
              "<FD:Envelope Name=\"ToFlow\"/></FD:FlowData>");
  const std::string missing = f.dir.File("missing.xml");
  struct Case {
    std::function<void()> call;
    std::string expected;
  } cases[] = {
      {[&] { SetFromFlowField(f.S(), missing, "X", "1"); }, "Inputfile " + missing + " not found"},
      {[&] { SetToFlowField(f.S(), missing, "X", "1", "String"); },
       "Inputfile " + missing + " not found"},
      {[&] { SetFromFlowField(f.S(), f.dir.File("nofrom.xml"), "X", "1"); },
       "InputNode Envelope Name='FromFlow' not found"},
      {[&] { SetToFlowField(f.S(), f.dir.File("noto.xml"), "X", "1", "String"); },
       "Envelope 'ToFlow' not found."},
  };
  for (const auto& c : cases) {
    try {
      c.call();
      ADD_FAILURE() << "no error, expected " << c.expected;
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), kErrComposed) << c.expected;
      EXPECT_EQ(e.Description(), c.expected);
    }
  }
}

// The plant index goes into both envelopes with one save: the job on disk has it in both
// or in neither, and a job without a ToFlow envelope is left as it was.
TEST(FlowWriteBack, BothEnvelopesInOneSave) {
  testing::WriteFaults faults;
  SessionFixture f;
  f.S().files.Watch(&faults);
  f.dir.Write("job.xml", FlowJob({{"Customer_plant_index", "?"}}, "", "<FD:Fields/>"));
  f.dir.Write("noto.xml",
              "<FD:FlowData xmlns:FD=\"http://flow.quenda.local/namespace/FlowData\">"
              "<FD:Envelope Name=\"FromFlow\"><FD:Fields><FD:Field Name=\"X\">alt</FD:Field>"
              "</FD:Fields></FD:Envelope></FD:FlowData>");
  const std::string job = f.dir.File("job.xml");
  faults.RecordSteps();
  SetFlowFields(f.S(), job, "Customer_plant_index", "IDX7", "String");
  EXPECT_EQ(faults.Steps(), (std::vector<std::string>{"write " + job, "flush " + job,
                                                      "rename " + job, "folder " + job}));
  EXPECT_EQ(ReadJobField(f, job, "FromFlow", "Customer_plant_index"), "IDX7");
  EXPECT_EQ(ReadJobField(f, job, "ToFlow", "Customer_plant_index"), "IDX7");
  const std::string before = f.dir.Read("noto.xml");
  try {
    SetFlowFields(f.S(), f.dir.File("noto.xml"), "X", "neu", "String");
    ADD_FAILURE() << "a job without ToFlow is refused";
  } catch (const Error& e) {
    EXPECT_EQ(e.Description(), "Envelope 'ToFlow' not found.");
  }
  EXPECT_EQ(f.dir.Read("noto.xml"), before) << "FromFlow is not saved alone";
}

#ifndef _WIN32
// A job that is a symbolic link, with the mode 0640: the link stays a link, the file it
// points to gets the write-back and keeps its mode.
TEST(FlowWriteBack, LinkedJobWithItsModeSurvivesTheWriteBack) {
  SessionFixture f;
  std::filesystem::create_directory(f.dir.Path() / "jobs");
  f.dir.Write("jobs/real.xml", FlowJob({{"Customer_plant_index", "?"}}, "", ""));
  const std::filesystem::path real = f.dir.Path() / "jobs" / "real.xml";
  std::filesystem::permissions(real, std::filesystem::perms(0640));
  std::filesystem::create_symlink("jobs/real.xml", f.dir.Path() / "job.xml");
  SetFlowFields(f.S(), f.dir.File("job.xml"), "Customer_plant_index", "IDX2", "String");
  EXPECT_TRUE(std::filesystem::is_symlink(f.dir.Path() / "job.xml"));
  EXPECT_EQ(std::filesystem::status(real).permissions(), std::filesystem::perms(0640));
  EXPECT_EQ(ReadJobField(f, real.string(), "FromFlow", "Customer_plant_index"), "IDX2");
  EXPECT_EQ(ReadJobField(f, real.string(), "ToFlow", "Customer_plant_index"), "IDX2");
}
#endif

}  // namespace
}  // namespace quenda
