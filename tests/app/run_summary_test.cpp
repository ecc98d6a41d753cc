#include "app/run_summary.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "app/main_window.h"
#include "app/options.h"
#include "app/program.h"
#include "app/startup.h"
#include "base/error.h"
#include "session/session.h"
#include "support/sample_site.h"
#include "text/cp1252.h"
#include "ui/headless_ui.h"

namespace quenda {
namespace {

using testing::SampleSite;

// The sample job loaded by the window model, headless, its dialogs answered from the
// sample's answers file.
class SampleSummary : public ::testing::Test {
 protected:
  void SetUp() override {
    session = &sample.S();
    model = std::make_unique<MainWindow>(*session);
    Main(*session);
  }
  const ParameterSummary* Parameter(const RunSummary& summary, const std::string& name) {
    for (const ParameterSummary& p : summary.parameters) {
      if (p.name == name) return &p;
    }
    return nullptr;
  }

  SampleSite site;
  testing::SampleSession sample{site};
  Session* session = nullptr;
  std::unique_ptr<MainWindow> model;
};

TEST_F(SampleSummary, ParametersAreTheIntakeRowsInOrder) {
  ASSERT_TRUE(model->Loaded());
  const RunSummary summary = BuildRunSummary(*session);
  ASSERT_EQ(static_cast<int>(summary.parameters.size()), session->state.izeile);
  ASSERT_GT(summary.parameters.size(), 10u);
  for (std::size_t i = 0; i < summary.parameters.size(); ++i) {
    EXPECT_EQ(summary.parameters[i].row, static_cast<int>(i)) << summary.parameters[i].name;
  }
  struct Case {
    std::string name, value, rulePrefix, description;
  } cases[] = {
      {"DataVersion", "02", "LAST2C=", "Datenstand"},
      {"HwTTNR", "0 281 020 471", "ADDS=", "HW-Sachnummer des Kunden"},
  };
  for (const Case& c : cases) {
    const ParameterSummary* p = Parameter(summary, c.name);
    ASSERT_NE(p, nullptr) << c.name;
    EXPECT_EQ(p->value, c.value) << c.name;
    EXPECT_EQ(p->description, c.description) << c.name << ": from the customer table";
    EXPECT_EQ(p->rule.rfind(c.rulePrefix, 0), 0u) << c.name << ": " << p->rule;
  }
}

TEST_F(SampleSummary, SlotsRunFromOneToSpecCount) {
  const RunSummary summary = BuildRunSummary(*session);
  ASSERT_EQ(static_cast<int>(summary.specSlots.size()), session->spec.SpecCount);
  ASSERT_FALSE(summary.specSlots.empty());
  for (std::size_t i = 0; i < summary.specSlots.size(); ++i) {
    EXPECT_EQ(summary.specSlots[i].slot, static_cast<int>(i) + 1) << summary.specSlots[i].label;
  }
  EXPECT_EQ(summary.specSlots[0].label, "KT_HWNR");
  EXPECT_EQ(summary.specSlots[0].value, Parameter(summary, "HwTTNR")->value);
  EXPECT_EQ(summary.specSlots[0].kind, "") << "the object store has not been loaded yet";
}

TEST_F(SampleSummary, StartAddsTheObjectStoresKindsAndLengths) {
  EXPECT_THROW(model->StartPressed(), RunEnded);
  const RunSummary summary = BuildRunSummary(*session);
  ASSERT_FALSE(summary.specSlots.empty());
  EXPECT_EQ(summary.specSlots[0].label, "KT_HWNR");
  EXPECT_EQ(summary.specSlots[0].kind, "KTX");
  EXPECT_EQ(summary.specSlots[0].length, "13") << "as the run log has it";
  for (const SlotSummary& s : summary.specSlots) {
    EXPECT_FALSE(s.kind.empty()) << "slot " << s.slot << " " << s.label;
    EXPECT_FALSE(s.length.empty()) << "slot " << s.slot << " " << s.label;
  }
}

TEST(RunSummary, TablesShowValuesBetweenMarks) {
  RunSummary summary;
  summary.parameters.push_back({0, "Name", "ADDS=x", " 02 ", "Datenstand"});
  summary.specSlots.push_back({1, "KT_A", "KTX", "STR", "4", "-", "<b>x</b>"});
  const SummaryTable params = ParameterTable(summary);
  EXPECT_EQ(params.headers,
            (std::vector<std::string>{"Zeile", "Name", "Wert", "Beschreibung", "Regel"}));
  ASSERT_EQ(params.rows.size(), 1u);
  EXPECT_EQ(params.rows[0],
            (std::vector<std::string>{"0", "Name", "> 02 <", "Datenstand", "ADDS=x"}));
  const SummaryTable slots = SlotTable(summary);
  EXPECT_EQ(slots.headers, (std::vector<std::string>{"Slot", "Label", "Typ", "Format", "Länge"_cp,
                                                     "Dummy", "Wert"}));
  ASSERT_EQ(slots.rows.size(), 1u);
  EXPECT_EQ(slots.rows[0],
            (std::vector<std::string>{"1", "KT_A", "KTX", "STR", "4", ">-<", "><b>x</b><"}));
}

TEST(RunSummary, EmptyBeforeTheIntake) {
  testing::SessionFixture fixture;
  const RunSummary summary = BuildRunSummary(fixture.S());
  EXPECT_TRUE(summary.parameters.empty());
  EXPECT_TRUE(summary.specSlots.empty());
  EXPECT_TRUE(ParameterTable(summary).rows.empty());
}

}  // namespace
}  // namespace quenda
