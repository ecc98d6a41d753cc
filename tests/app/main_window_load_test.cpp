#include "app/main_window.h"

#include <gtest/gtest.h>

#include "session/session.h"
#include "support/flow_site.h"

namespace quenda {
namespace {

using testing::ConfigSite;
using testing::MessageJson;

TEST(MainWindowLoad, JobOnTheCommandLine) {
  for (const std::string variante : {"X", "Y"}) {
    ConfigSite site;
    site.Job({{"Variante", variante}});
    MainWindow window(site.S());
    window.Load();
    EXPECT_EQ(window.Text1, "T:\\job.xml") << variante;
    EXPECT_EQ(site.dialogs.All(), "") << "no file dialog, no box; Variante " << variante;
    const bool group003 = variante == "X";
    EXPECT_EQ(site.S().job.RunBa, group003 ? "001" : "002") << variante;
    EXPECT_EQ(site.S().job.RunKundenGruppe, group003 ? "003" : "001") << variante;
    EXPECT_EQ(window.BatchAuswahl, group003) << variante;
  }
}

TEST(MainWindowLoad, WithoutCommandLineTheFileDialogFollowsTheError) {
  struct Case {
    std::string answers;
    std::string lastDialog;
    std::string text1;
  } cases[] = {
      {"button Cancel\n", MessageJson("Quenda", "Fehler bei Dialogbox!", 0, "OK"), "Text1"},
      {"file T:\\other.xml\n",
       "{\"kind\":\"file\",\"title\":\"Auswahl Transferdatei\",\"answer\":"
       "\"T:\\\\other.xml\"}",
       ""},
  };
  for (const auto& c : cases) {
    ConfigSite site(c.answers);
    site.S().env.CommandLineText = "";
    MainWindow window(site.S());
    window.Load();
    const std::vector<std::string> dialogs = site.dialogs.Lines();
    ASSERT_FALSE(dialogs.empty()) << c.answers;
    EXPECT_EQ(dialogs.front(), MessageJson("Fehler aufgetreten - Bearbeitung wird abgebrochen",
                                           " 60000 Inputfile  not found", 0, "OK"))
        << c.answers;
    EXPECT_EQ(dialogs.back(), c.lastDialog) << c.answers;
    EXPECT_EQ(window.Text1, c.text1) << c.answers;
  }
}

}  // namespace
}  // namespace quenda
