// The Qt window runs the sample job from loading to the successful end, its dialogs
// answered as a user would answer them.
#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <memory>

#include "app/main_window.h"
#include "app/options.h"
#include "app/program.h"
#include "app/startup.h"
#include "gui/dialog_answerer.h"
#include "gui/plan_dialog.h"
#include "gui/qt_ui.h"
#include "gui/quenda_window.h"
#include "gui/run_summary_view.h"
#include "session/session.h"
#include "support/sample_site.h"

// Failed assertions show Qt texts as text.
inline void PrintTo(const QString& text, std::ostream* os) { *os << text.toStdString(); }

namespace quenda {
namespace {

using testing::SampleSite;

// The job path with an empty quoted part: the command fields stay empty, so the run is
// interactive and its log lines show in the window.
const char* const kInteractiveCommand = "T:\\003\\Flow\\Transfer\\Job_4711.xml,\"\"";

// The sample site and the window on it, loaded with the job; dialogs are answered from
// `answers`.
class FullRun : public ::testing::Test {
 protected:
  void Load(const std::vector<std::string>& answers) {
    Options options;
    options.programDir = site.Path("site/program");
    ProgramSetup setup = PrepareProgram(options, system);
    answerer = std::make_unique<testing::DialogAnswerer>(answers);
    session = std::make_unique<Session>(ui, system, std::move(setup.site));
    session->env.ProgramDir = setup.programDir;
    session->env.CommandLineText = kInteractiveCommand;
    session->state.AktDirName = site.Path("run") + "/";  // the log copy's current folder
    driver = std::make_unique<WindowDriver>(*session, ui);
    window = std::make_unique<QuendaWindow>(*driver);
    driver->Attach(*window);
    ui.SetSummaryListener([this] {
      window->SyncSummary();
      ++summaryRefreshes;
      kindsAtRefresh = Cell(*window->Summary->Slots, 0, 2);
    });
    driver->Load();
    ASSERT_FALSE(driver->Finished()) << "loading ended the run";
    window->SyncFromModel();
    window->show();
  }

  SampleSite site;
  testing::FakeSystem system;
  QtUi ui;
  std::unique_ptr<testing::DialogAnswerer> answerer;
  std::unique_ptr<Session> session;
  std::unique_ptr<WindowDriver> driver;
  std::unique_ptr<QuendaWindow> window;
  int summaryRefreshes = 0;
  QString kindsAtRefresh;  // the first slot's kind as the view showed it when refreshed

  static QString Cell(const QTableWidget& table, int row, int column) {
    const QTableWidgetItem* item = table.item(row, column);
    return item != nullptr ? item->text() : QString("(none)");
  }
  // The row of `table` whose column `column` reads `text`; -1 when none does.
  static int RowOf(const QTableWidget& table, int column, const QString& text) {
    for (int r = 0; r < table.rowCount(); ++r) {
      if (Cell(table, r, column) == text) return r;
    }
    return -1;
  }
};

TEST_F(FullRun, LoadedWindowShowsTheParametersAndSlots) {
  ASSERT_NO_FATAL_FAILURE(Load(SampleSite::SampleAnswers()));
  const QTableWidget& params = *window->Summary->Parameters;
  EXPECT_EQ(params.rowCount(), session->state.izeile);
  EXPECT_EQ(params.horizontalHeaderItem(2)->text(), "Wert");
  const int dataVersion = RowOf(params, 1, "DataVersion");
  ASSERT_GE(dataVersion, 0) << "no row DataVersion";
  EXPECT_EQ(Cell(params, dataVersion, 0), QString::number(dataVersion));
  EXPECT_EQ(Cell(params, dataVersion, 2), ">02<");
  EXPECT_EQ(Cell(params, dataVersion, 3), "Datenstand") << "the customer table's Description";
  EXPECT_TRUE(Cell(params, dataVersion, 4).startsWith("LAST2C="));
  EXPECT_TRUE(params.item(dataVersion, 4)->toolTip().contains(Cell(params, dataVersion, 4)))
      << "the full rule on hover";
  const QTableWidget& slotView = *window->Summary->Slots;
  EXPECT_EQ(slotView.rowCount(), session->spec.SpecCount);
  EXPECT_EQ(slotView.horizontalHeaderItem(4)->text(), QString::fromUtf8("Länge"));
  EXPECT_EQ(Cell(slotView, 0, 0), "1");
  EXPECT_EQ(Cell(slotView, 0, 1), "KT_HWNR");
  EXPECT_EQ(Cell(slotView, 0, 2), "") << "no kind before the object store is loaded";
  EXPECT_EQ(slotView.editTriggers(), QAbstractItemView::NoEditTriggers);
  QDir().mkpath(QUENDA_ARTIFACTS);
  EXPECT_TRUE(window->grab().save(QString(QUENDA_ARTIFACTS) + "/main-window-loaded.png"));
}

TEST_F(FullRun, SampleJobRunsThroughTheWindowToItsSuccessfulEnd) {
  ASSERT_NO_FATAL_FAILURE(Load(SampleSite::SampleAnswers()));
  EXPECT_EQ(window->Text1->text(), "T:\\003\\Flow\\Transfer\\Job_4711.xml");
  EXPECT_TRUE(window->BatchAuswahl->isChecked()) << "customer group 003 collects for Tarvell";
  window->StartButton->click();

  EXPECT_TRUE(driver->Finished());
  EXPECT_EQ(driver->ExitStatus(), 0);
  EXPECT_EQ(answerer->AnswersLeft(), 0u);
  ASSERT_FALSE(answerer->Seen().empty());
  EXPECT_EQ(answerer->Seen().back(), "Fertig: Quenda ist beendet!");
  ASSERT_GT(window->ListOutput->count(), 40);
  EXPECT_EQ(window->ListOutput->currentRow(), window->ListOutput->count() - 1);
  EXPECT_EQ(window->AktionText->text(),
            "dam-File T:\\EDC21\\MX21K47\\0281020471\\MX21K47_01.dam ist kopiert!");
  EXPECT_EQ(site.Read(std::string(testing::kCustomerFolder) + "MX21K47_02s.kon"),
            testing::ExpectedE2e("road/MX21K47_02s.kon"));
  EXPECT_EQ(site.Read(testing::kTarvell), testing::ExpectedE2e("road/Tarvell.Bat"));
  EXPECT_TRUE(site.Has("run/RizaZizi.log"));
  QDir().mkpath(QUENDA_ARTIFACTS);
  EXPECT_TRUE(window->grab().save(QString(QUENDA_ARTIFACTS) + "/main-window-after-run.png"));
}

TEST_F(FullRun, VorschauShowsThePlanAndTheNextStartWritesItWithoutAsking) {
  ASSERT_NO_FATAL_FAILURE(Load(SampleSite::SampleAnswers()));
  const auto before = site.SiteFiles();
  const QString plan = QString::fromStdString(driver->Preview());
  EXPECT_FALSE(driver->Finished());
  EXPECT_EQ(answerer->AnswersLeft(), 0u) << "the preview asks Start's questions";
  EXPECT_EQ(site.SiteFiles(), before) << "the preview wrote into the site";
  EXPECT_TRUE(plan.contains("+ neu         T:\\EDC21\\MX21K47\\0281020471\\MX21K47_02s.kon\n"))
      << plan.toStdString();
  PlanDialog dialog(plan, window.get());
  dialog.show();
  QDir().mkpath(QUENDA_ARTIFACTS);
  EXPECT_TRUE(dialog.grab().save(QString(QUENDA_ARTIFACTS) + "/vorschau.png"));
  dialog.close();
  const std::vector<std::string> seenBefore = answerer->Seen();
  window->StartButton->click();
  EXPECT_TRUE(driver->Finished());
  EXPECT_EQ(driver->ExitStatus(), 0);
  ASSERT_EQ(answerer->Seen().size(), seenBefore.size() + 1) << "Start asked again";
  EXPECT_EQ(answerer->Seen().back(), "Fertig: Quenda ist beendet!");
  EXPECT_EQ(site.Read(std::string(testing::kCustomerFolder) + "MX21K47_02s.kon"),
            testing::ExpectedE2e("road/MX21K47_02s.kon"));
}

TEST_F(FullRun, StartAfterAnEndedCommandRepeatsTheRun) {
  const std::string hex = std::string(testing::kProject) + "dab/MX21K47_01.hex";
  const std::string bytes = site.Read(hex);
  site.Remove(hex);
  ASSERT_NO_FATAL_FAILURE(Load(SampleSite::SampleAnswers()));
  window->StartButton->click();
  ASSERT_FALSE(driver->Finished()) << "a missing hex file ends only the command";
  EXPECT_EQ(answerer->Seen().back(), "Quenda: Angegebener Hexfile ist nicht vorhanden!");
  EXPECT_EQ(summaryRefreshes, 1) << "the object store step refreshes the summary";
  EXPECT_EQ(kindsAtRefresh, "KTX");
  EXPECT_EQ(FullRun::Cell(*window->Summary->Slots, 0, 4), "13") << "length after the command";
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "no busy pointer left behind";
  site.Write(hex, bytes);
  window->StartButton->click();
  EXPECT_TRUE(driver->Finished());
  EXPECT_EQ(driver->ExitStatus(), 0);
  EXPECT_EQ(site.Read(std::string(testing::kCustomerFolder) + "MX21K47_01.hex"), bytes);
  EXPECT_EQ(site.Read(testing::kTarvell), testing::ExpectedE2e("road/Tarvell.Bat"));
}

}  // namespace
}  // namespace quenda
