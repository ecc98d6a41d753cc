#include "app/collection_batch.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/main_window.h"
#include "base/error.h"
#include "session/session.h"
#include "support/fake_system.h"
#include "support/write_faults.h"
#include "text/cp1252.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

using testing::SessionFixture;

class CollectionBatchTest : public ::testing::Test {
 protected:
  void Prepare(SessionFixture& f) {
    Session& s = f.S();
    s.state.DabFilePath = "T:\\p\\kunde";
    s.state.DabNewName = "neu_01.dab";
    s.job.RunBa = "001";
    s.job.CfgKundenGruppe = "003";
    s.job.ProjectRecord50 = "REC";
    s.env.ProjectDriveRoot = "T:\\";
    f.RecordDialogs();
  }
  const std::string entry = "Tarvell.exe \"T:\\p\\kunde\\neu_01.dab||P7|003|REC\"";
};

TEST_F(CollectionBatchTest, EntryLineHasTwoForms) {
  SessionFixture f;
  Prepare(f);
  f.S().state.TarvellAufruf = "Tarvell.exe ";
  f.S().state.DefPatVal = "P7";
  EXPECT_EQ(CollectionEntry(f.S()), entry);
  f.S().job.RunBa = "005";
  EXPECT_EQ(CollectionEntry(f.S()), "Tarvell.exe \"T:\\p\\kunde\\neu_01.dab||P7||REC|\"");
}

TEST_F(CollectionBatchTest, EntryDoublesPercentSoTarvellReceivesTheText) {
  SessionFixture f;
  Prepare(f);
  f.S().state.TarvellAufruf = "Tarvell.exe ";
  f.S().state.DefPatVal = "50%&x";
  f.S().job.ProjectRecord50 = "R%PATH%^(1)";
  EXPECT_EQ(CollectionEntry(f.S()),
            "Tarvell.exe \"T:\\p\\kunde\\neu_01.dab||50%%&x|003|R%%PATH%%^(1)\"");
}

// Every piece of the entry from outside is checked when the entry is to be written, before
// the file is touched; the first that cannot stand inside the quoted argument ends the run,
// naming the piece.
TEST_F(CollectionBatchTest, UnsafePieceEndsTheRunAndLeavesTheFile) {
  struct Case {
    std::string piece;
    std::function<void(Session&)> set;
  };
  const Case cases[] = {
      {"pro_50", [](Session& s) { s.job.ProjectRecord50 = "x\"&echo INJ>pwned.txt&\""; }},
      {"DabFilePath", [](Session& s) { s.state.DabFilePath = "T:\\a\"&b"; }},
      {"DabNewName", [](Session& s) { s.state.DabNewName = "n\r\n.dab"; }},
      {"KundenGruppe", [](Session& s) { s.job.CfgKundenGruppe = "0\"3"; }},
      {"pro_50", [](Session& s) { s.job.ProjectRecord50 = "REC\\"; }},
      {"pro_50", [](Session& s) { s.job.ProjectRecord50 = "\x84REC\x93"; }},  // not in 850
  };
  for (const Case& c : cases) {
    SessionFixture f("button Yes\n");
    Prepare(f);
    f.S().env.CommandFields = {"job.xml", "4711", "0", "", ""};  // BatchMode
    f.OpenLog();
    c.set(f.S());
    f.dir.Write("bat/Tarvell.Bat", "alt eins\r\n");
    MainWindow window(f.S());
    window.BatDirectory = f.dir.File("bat");
    EXPECT_EQ(testing::ExitOf([&] { RunCollectionBatchStep(f.S(), window); }), 1) << c.piece;
    EXPECT_EQ(f.dir.Read("bat/Tarvell.Bat"), "alt eins\r\n") << c.piece;
    const std::string message = "Der Wert f\xFCr " + c.piece + " ";
    EXPECT_NE(f.dir.Read("cwd/RizaZizi.log").find("!! Abbruch !! " + message), std::string::npos)
        << c.piece << "\n"
        << f.dir.Read("cwd/RizaZizi.log");
    EXPECT_EQ(f.dir.Read("tmp/SG_4711.err").rfind(message, 0), 0u) << c.piece;
    EXPECT_NE(f.Transcript().find("Info in"), std::string::npos) << "asked first";
  }
}

// A file edited by hand may lack its last line break; the entry still gets a line of its own,
// in the console's code page, and the question shows the entries decoded again.
TEST_F(CollectionBatchTest, EntryStartsOnALineOfItsOwnInTheConsolesCodePage) {
  SessionFixture f("button Yes\n");
  Prepare(f);
  f.S().job.ProjectRecord50 = "M\xFCller";
  f.dir.Write("bat/Tarvell.Bat", "Tarvell.exe \"alt|M\x81ller\"");
  MainWindow window(f.S());
  window.BatDirectory = f.dir.File("bat");
  RunCollectionBatchStep(f.S(), window);
  EXPECT_EQ(f.dir.Read("bat/Tarvell.Bat"),
            "Tarvell.exe \"alt|M\x81ller\"\r\n"
            "Tarvell.exe \"T:\\p\\kunde\\neu_01.dab|||003|M\x81ller\"\r\n");
  EXPECT_NE(f.Transcript().find("1.\\t \\\"alt|M\xC3\xBCller\\\""), std::string::npos)
      << f.Transcript();
}

// No answers No after Yes of another run: the replace takes the append lock and empties the
// file in place, so an append waiting for the lock lands in the new file.
TEST_F(CollectionBatchTest, NoReplacesTheContentInPlace) {
  SessionFixture f("button No\n");
  Prepare(f);
  f.dir.Write("bat/Tarvell.Bat", "alt eins\r\nalt zwei\r\n");
  // A second name of the same file shows whether it was rewritten or replaced by another.
  fs::create_hard_link(f.dir.Path() / "bat" / "Tarvell.Bat", f.dir.Path() / "bat" / "same");
  MainWindow window(f.S());
  window.BatDirectory = f.dir.File("bat");
  RunCollectionBatchStep(f.S(), window);
  const std::string entryLine = "Tarvell.exe \"T:\\p\\kunde\\neu_01.dab|||003|REC\"\r\n";
  EXPECT_EQ(f.dir.Read("bat/Tarvell.Bat"), entryLine);
  EXPECT_EQ(f.dir.Read("bat/same"), entryLine) << "the same file, rewritten in place";
}

TEST_F(CollectionBatchTest, FileInfoNumbersLinesWithSpaces) {
  SessionFixture f;
  f.dir.Write("Tarvell.Bat",
              "Tarvell.exe \"a\"\r\nREM_kommentar\r\nTarvell.exe \"b c\"\r\nx y\r\n");
  EXPECT_EQ(ReadFileInfo(f.S(), f.dir.File("Tarvell.Bat")),
            "1.\t \"a\"\r\n2.\t \"b c\"\r\n3.\t y\r\n");
}

TEST_F(CollectionBatchTest, AnswersYesNoCancelDecideTheFile) {
  const std::pair<std::string, std::string> cases[] = {
      {"button Yes", "alt eins\r\n"},
      {"button No", ""},
      {"button Cancel", "alt eins\r\n"},
  };
  for (const auto& [answer, before] : cases) {
    SessionFixture f("text P7\n" + answer + "\n");
    Prepare(f);
    f.dir.Write("bat/Tarvell.Bat", "alt eins\r\n");
    MainWindow window(f.S());
    window.BatchAuswahl = true;
    window.BatDirectory = f.dir.File("bat");
    RunCollectionBatchStep(f.S(), window);
    const std::string expected = answer == "button Cancel" ? before : before + entry + "\r\n";
    EXPECT_EQ(f.dir.Read("bat/Tarvell.Bat"), expected) << answer;
    EXPECT_EQ(window.BatDirectory, f.dir.File("bat") + "\\") << "backslash added";
    EXPECT_NE(f.Transcript().find("\"title\":\"Info in " + testing::JsonInner(f.dir.File("bat")) +
                                  "\\\\Tarvell.Bat:\",\"text\":\"Angew\xC3\xA4hlte Bearbeitungen "
                                  "durch Tarvell\\r\\n\\r\\n1.\\t eins\\r\\n\\r\\n\\r\\nJa = "),
              std::string::npos)
        << f.Transcript();
  }
}

TEST_F(CollectionBatchTest, NewFileWithoutQuestionAndEmptyFolderTouchesNothing) {
  SessionFixture f;
  Prepare(f);
  MainWindow window(f.S());
  window.BatDirectory = f.dir.File("bat");
  fs::create_directories(f.dir.Path() / "bat");
  RunCollectionBatchStep(f.S(), window);
  EXPECT_EQ(f.dir.Read("bat/Tarvell.Bat"),
            "Tarvell.exe \"T:\\p\\kunde\\neu_01.dab|||003|REC\"\r\n");
  EXPECT_EQ(f.Transcript(), "");
  window.BatDirectory = "";
  RunCollectionBatchStep(f.S(), window);
  EXPECT_EQ(f.Transcript(), "");
}

TEST_F(CollectionBatchTest, EmptyPatchCodeOpensTheEditorThenAsksAgain) {
  SessionFixture f("text\ntext \"x\"\ntext a\x01\ntext P7\n");
  Prepare(f);
  f.S().site.Editor = "editor ";
  MainWindow window(f.S());
  window.BatchAuswahl = true;
  window.BatDirectory = "";
  RunCollectionBatchStep(f.S(), window);
  ASSERT_EQ(f.system.started.size(), 1u);
  EXPECT_EQ(f.system.started[0].rfind("editor ", 0), 0u);
  EXPECT_EQ(f.S().state.DefPatVal, "P7");
  EXPECT_NE(f.Transcript().find("kein Anf\xC3\xBChrungszeichen"), std::string::npos)
      << "a quote in the code is refused";
  EXPECT_NE(f.Transcript().find("enth\xC3\xA4lt ein Steuerzeichen"), std::string::npos)
      << "so is a control character";
  EXPECT_NE(f.Transcript().find("\"prompt\":\"Kennziffer f\xC3\xBCr Patch-Vorgabe\\r\\n\\r\\n"
                                "Erl\xC3\xA4uterungen siehe:\\r\\nT:\\\\003\\\\Vertraulich"),
            std::string::npos)
      << f.Transcript();
}

// Without an editor the explanation file is never started itself: a box says so and the
// code is asked for again. An editor command line that cmd would act on is not started.
TEST_F(CollectionBatchTest, WithoutAUsableEditorNothingIsStarted) {
  const std::pair<std::string, std::string> cases[] = {
      {"", "Kein Editor eingestellt: T:\\\\003\\\\Vertraulich"},
      {"   ", "Kein Editor eingestellt: "},
      {"edit.bat&calc ", "Der Editor wird nicht gestartet: >edit.bat&calc "},
      {"edit%PATH% ", "Der Editor wird nicht gestartet: "},
  };
  for (const auto& [editor, message] : cases) {
    SessionFixture f("text\ntext P7\n");
    Prepare(f);
    f.S().site.Editor = editor;
    MainWindow window(f.S());
    window.BatchAuswahl = true;
    window.BatDirectory = "";
    RunCollectionBatchStep(f.S(), window);
    EXPECT_TRUE(f.system.started.empty()) << editor;
    EXPECT_EQ(f.S().state.DefPatVal, "P7") << "asked again";
    EXPECT_NE(f.Transcript().find(message), std::string::npos) << f.Transcript();
  }
}

TEST_F(CollectionBatchTest, MissingFolderEndsTheRunThroughErrorEnd) {
  SessionFixture f;
  Prepare(f);
  f.OpenLog();
  MainWindow window(f.S());
  window.BatDirectory = f.dir.File("fehlt");
  EXPECT_EQ(testing::ExitOf([&] { RunCollectionBatchStep(f.S(), window); }), 1)
      << "a missing folder ends the run";
  const std::string text =
      "Keine Directory " + testing::JsonInner(f.dir.File("fehlt")) + "\\\\ vorhanden!";
  EXPECT_NE(f.Transcript().find("\"title\":\"Quenda\",\"text\":\"" + text), std::string::npos);
  EXPECT_NE(f.Transcript().find("\"title\":\"Keine Angabe!!!\",\"text\":\"" + text +
                                "\","
                                "\"style\":272"),
            std::string::npos)
      << f.Transcript();
}

// A folder that is there is never called missing: an append that fails part way (a full
// disk, a refused write) names the cause, and Tarvell.Bat is byte for byte as before.
TEST_F(CollectionBatchTest, FailedAppendNamesItsCauseAndLeavesTheFile) {
  const std::pair<int, std::string> cases[] = {
      {kErrDiskFull, "Datenträger voll"_cp},
      {kErrPermissionDenied, "Zugriff verweigert"},
  };
  for (const auto& [number, cause] : cases) {
    testing::WriteFaults faults;
    SessionFixture f("button Yes\n");
    f.S().files.Watch(&faults);
    Prepare(f);
    f.OpenLog();
    const std::string before = "Tarvell.exe \"T:\\alt.dab||1|003|R\"\r\n";
    f.dir.Write("u/Tarvell.Bat", before);
    MainWindow window(f.S());
    window.BatDirectory = f.dir.File("u");
    faults.ShortenNthWrite(1, 9, number);
    EXPECT_EQ(testing::ExitOf([&] { RunCollectionBatchStep(f.S(), window); }), 1) << cause;
    EXPECT_EQ(f.dir.Read("u/Tarvell.Bat"), before) << cause;
    const std::string bat = f.dir.File("u") + "\\Tarvell.Bat";
    const std::string text = testing::JsonInner(
        bat + " wurde nicht geschrieben und ist unverändert: "_cp + cause + ": " + bat);
    EXPECT_NE(f.Transcript().find(text), std::string::npos) << f.Transcript();
    EXPECT_EQ(f.Transcript().find("Keine Directory"), std::string::npos) << f.Transcript();
  }
}

}  // namespace
}  // namespace quenda
