#include "text/windows_name.h"

#include <gtest/gtest.h>

#include "text/cp1252.h"

namespace quenda {
namespace {

TEST(WindowsName, OneNameInOneFolderOrRefused) {
  const std::pair<std::string, NameFault> cases[] = {
      {"0281020471", NameFault::kNone},
      {"MX21K47_02.dab", NameFault::kNone},
      {"Rel Müller.txt"_cp, NameFault::kNone},
      {".dab", NameFault::kNone},
      {"a..b", NameFault::kNone},
      {"CONSOLE", NameFault::kNone},
      {"LPT10", NameFault::kNone},
      {"COM", NameFault::kNone},
      {"CONIN", NameFault::kNone},
      {"CONOUT$X", NameFault::kNone},
      {"", NameFault::kEmpty},
      {".", NameFault::kDots},
      {"..", NameFault::kDots},
      {"..\\..\\..\\ESCAPED", NameFault::kSeparator},
      {"a/b", NameFault::kSeparator},
      {"T:x", NameFault::kReserved},
      {"a\"b", NameFault::kReserved},
      {"a|b", NameFault::kReserved},
      {"a\tb", NameFault::kControl},
      {std::string("a\0b", 3), NameFault::kControl},
      {"abc.", NameFault::kTrailing},
      {"...", NameFault::kTrailing},
      {"CON", NameFault::kDevice},
      {"con.txt", NameFault::kDevice},
      {"Nul.dab", NameFault::kDevice},
      {"COM1", NameFault::kDevice},
      {"com9.hex", NameFault::kDevice},
      {"LPT1", NameFault::kDevice},
      {"COM\xB9", NameFault::kDevice},
      {"CON .txt", NameFault::kDevice},
      {"COM0", NameFault::kDevice},
      {"com0.kon", NameFault::kDevice},
      {"LPT0", NameFault::kDevice},
      {"Lpt0.dab", NameFault::kDevice},
      {"CONIN$", NameFault::kDevice},
      {"conin$.txt", NameFault::kDevice},
      {"CONOUT$", NameFault::kDevice},
      {"CONOUT$.hex", NameFault::kDevice},
  };
  for (const auto& [name, fault] : cases) {
    EXPECT_EQ(FindNameFault(name), fault) << Cp1252ToUtf8(name);
  }
}

// The data version stands inside the DAB file name; the names derived from it are cut at
// the first ".", so a dot or blank inside it would split the release's names.
TEST(WindowsName, NamePartWithoutDotBlankOrSeparator) {
  const std::pair<std::string, NameFault> cases[] = {
      {"s", NameFault::kNone},          {"", NameFault::kNone},
      {"02_Ä"_cp, NameFault::kNone},    {"DS1.2", NameFault::kDot},
      {".", NameFault::kDot},           {"DS 2", NameFault::kBlank},
      {"DS\\2", NameFault::kSeparator}, {"DS/2", NameFault::kSeparator},
      {"DS:2", NameFault::kReserved},   {"DS?", NameFault::kReserved},
      {"DS\n", NameFault::kControl},    {std::string("D\0S", 3), NameFault::kControl},
  };
  for (const auto& [part, fault] : cases) {
    EXPECT_EQ(FindNamePartFault(part), fault) << Cp1252ToUtf8(part);
  }
}

TEST(WindowsName, PathsUpTo259CharactersOnly) {
  const std::string folder = "T:\\EDC21\\MX21K47\\";
  const std::string at = folder + std::string(259 - folder.size() - 4, 'H') + ".dab";
  ASSERT_EQ(at.size(), 259u);
  EXPECT_EQ(RefusedPathLengthText(at), "");
  EXPECT_EQ(RefusedPathLengthText(""), "");
  const std::string past = "H" + at;
  EXPECT_EQ(Cp1252ToUtf8(RefusedPathLengthText(past)),
            "Der Pfad " + past +
                " ist 260 Zeichen lang; Windows und die Serienwerkzeuge öffnen höchstens 259 "
                "Zeichen");
}

TEST(WindowsName, RefusalNamesTheParameterTheValueAndTheReason) {
  EXPECT_EQ(Cp1252ToUtf8(RefusedNameText("CustomerHWNo_DirName", "..\\x", NameFault::kSeparator)),
            "Der Name >..\\x< aus CustomerHWNo_DirName ist kein gültiger Datei- oder "
            "Ordnername: er enthält \\ oder / und würde in einen anderen Ordner führen");
  EXPECT_EQ(Cp1252ToUtf8(RefusedNameText("DataVersion", "a\nb", NameFault::kControl)),
            "Der Name >a{10}b< aus DataVersion ist kein gültiger Datei- oder Ordnername: er "
            "enthält ein Steuerzeichen");
}

}  // namespace
}  // namespace quenda
