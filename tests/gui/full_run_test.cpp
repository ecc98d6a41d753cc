// The Qt window runs the sample job from loading to the successful end, its dialogs
// answered as a user would answer them.
#include <gtest/gtest.h>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/main_window.h"
#include "app/options.h"
#include "app/program.h"
#include "app/session.h"
#include "app/startup.h"
#include "gui/dialog_answerer.h"
#include "gui/qt_ui.h"
#include "gui/quenda_window.h"
#include "support/sample_site.h"

namespace quenda {
namespace {

using testing::SampleSite;

// The job path with an empty quoted part: the command fields stay empty, so the run is
// interactive and its log lines show in the window.
const char* const kInteractiveCommand = "T:\\003\\Flow\\Transfer\\Job_4711.xml,\"\"";

TEST(FullRun, SampleJobRunsThroughTheWindowToItsSuccessfulEnd) {
  SampleSite site;
  testing::FakeSystem system;
  Options options;
  options.programDir = site.Path("site/program");
  ProgramSetup setup = PrepareProgram(options, system);
  testing::DialogAnswerer answers(SampleSite::SampleAnswers());
  QtUi ui;
  Session session(ui, system, std::move(setup.site));
  session.env.ProgramDir = setup.programDir;
  session.env.CommandLineText = kInteractiveCommand;
  session.state.AktDirName = site.Path("run") + "/";  // the log copy's current folder
  MainWindow model(session);
  QuendaWindow window(session, model);
  ui.SetLogViewListener([&window] { window.SyncLog(); });

  window.Run([&] { Main(session, model); });
  ASSERT_FALSE(window.Finished()) << "loading ended the run";
  window.SyncFromModel();
  window.show();
  EXPECT_EQ(window.Text1->text(), "T:\\003\\Flow\\Transfer\\Job_4711.xml");
  EXPECT_TRUE(window.BatchAuswahl->isChecked()) << "customer group 003 collects for Tarvell";
  window.StartButton->click();

  EXPECT_TRUE(window.Finished());
  EXPECT_EQ(window.ExitStatus(), 0);
  EXPECT_EQ(answers.AnswersLeft(), 0u);
  ASSERT_FALSE(answers.Seen().empty());
  EXPECT_EQ(answers.Seen().back(), "Fertig: Quenda ist beendet!");
  ASSERT_GT(window.ListOutput->count(), 40);
  EXPECT_EQ(window.ListOutput->currentRow(), window.ListOutput->count() - 1);
  EXPECT_EQ(window.AktionText->text(),
            "dam-File T:\\EDC21\\MX21K47\\0281020471\\MX21K47_01.dam ist kopiert!");
  EXPECT_EQ(site.Read(std::string(testing::kCustomerFolder) + "MX21K47_02s.kon"),
            testing::ExpectedE2e("road/MX21K47_02s.kon"));
  EXPECT_EQ(site.Read(testing::kTarvell), testing::ExpectedE2e("road/Tarvell.Bat"));
  EXPECT_TRUE(site.Has("run/RizaZizi.log"));
  QDir().mkpath(QUENDA_ARTIFACTS);
  EXPECT_TRUE(window.grab().save(QString(QUENDA_ARTIFACTS) + "/main-window-after-run.png"));
}

}  // namespace
}  // namespace quenda
