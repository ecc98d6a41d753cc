#include "app/main_window.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "session/session.h"
#include "support/fake_system.h"

namespace quenda {
namespace {

using testing::ExitOf;
using testing::SessionFixture;

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    f.S().env.IniFilePath = f.dir.File("win") + "\\Varnoth.ini";
    f.OpenLog();
    f.RecordDialogs();
  }
  SessionFixture f;
};

TEST_F(MainWindowTest, ControlsStartWithTheirDefaults) {
  MainWindow window(f.S());
  EXPECT_EQ(window.Text1, "Text1");
  EXPECT_EQ(window.BatDirectory, "U:\\Freigaben");
  EXPECT_FALSE(window.BatchAuswahl);
  EXPECT_TRUE(window.ListOutput.empty());
}

TEST_F(MainWindowTest, EndeWritesTheReceiverSectionAndEndsTheRun) {
  MainWindow window(f.S());
  EXPECT_EQ(ExitOf([&] { window.EndePressed(); }), 1);
  EXPECT_EQ(f.dir.Read("win/Varnoth.ini"), "[receiver]\r\nRecString=\r\nTransDir=\r\n");
  EXPECT_EQ(f.Transcript(),
            "{\"kind\":\"message\",\"title\":\"Abbruch\",\"text\":\"Bearbeitung wurde "
            "abgebrochen\",\"style\":48,\"answer\":\"OK\"}\n");
}

TEST_F(MainWindowTest, EndeWithUnwritableIniEndsTheRunNamingTheFile) {
  f.S().env.IniFilePath = f.dir.File("fehlt") + "\\Varnoth.ini";
  MainWindow window(f.S());
  EXPECT_EQ(ExitOf([&] { window.EndePressed(); }), 1);
  EXPECT_NE(f.Transcript().find("Varnoth.ini konnte nicht geschrieben werden"), std::string::npos)
      << f.Transcript();
}

TEST_F(MainWindowTest, ClosingTheWindowEndsTheRun) {
  MainWindow window(f.S());
  EXPECT_EQ(ExitOf([&] { window.CloseRequested(); }), 1);
  EXPECT_NE(f.Transcript().find("\"text\":\"Abbruch durch den Benutzer!\",\"style\":48"),
            std::string::npos);
  SessionFixture g;
  g.S().env.CommandFields[0] = "job.xml";
  g.OpenLog();
  MainWindow batch(g.S());
  EXPECT_EQ(ExitOf([&] { batch.CloseRequested(); }), 1);
  EXPECT_EQ(g.dir.Read("cwd/RizaZizi.log"), "!! Abbruch !! Abbruch durch den Benutzer!\r\n");
}

}  // namespace
}  // namespace quenda
