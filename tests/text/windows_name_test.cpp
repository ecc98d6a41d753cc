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
      {"LPT0", NameFault::kDevice},
      {"CONIN$", NameFault::kDevice},
      {"CONOUT$", NameFault::kDevice},
  };
  for (const auto& [name, fault] : cases) {
    EXPECT_EQ(FindNameFault(name), fault) << Cp1252ToUtf8(name);
  }
}

TEST(WindowsName, NamePartWithoutDotBlankOrSeparator) {
  const std::pair<std::string, NameFault> cases[] = {
      {"02_Ä"_cp, NameFault::kNone},  {"DS1.2", NameFault::kDot},
      {"DS 2", NameFault::kBlank},    {"DS\\2", NameFault::kSeparator},
      {"DS:2", NameFault::kReserved}, {"DS\n", NameFault::kControl},
  };
  for (const auto& [part, fault] : cases) {
    EXPECT_EQ(FindNamePartFault(part), fault) << Cp1252ToUtf8(part);
  }
}

TEST(WindowsName, RefusalNamesTheParameterTheValueAndTheReason) {
  EXPECT_EQ(Cp1252ToUtf8(RefusedNameText("CustomerHWNo_DirName", "..\\x", NameFault::kSeparator)),
            "Der Name >..\\x< aus CustomerHWNo_DirName ist kein gültiger Datei- oder "
            "Ordnername: er enthält \\ oder / und würde in einen anderen Ordner führen");
  const std::string at = "T:\\" + std::string(252, 'H') + ".dab";  // 259 characters
  EXPECT_EQ(RefusedPathLengthText(at), "");
  EXPECT_EQ(Cp1252ToUtf8(RefusedPathLengthText("H" + at)),
            "Der Pfad H" + at +
                " ist 260 Zeichen lang; Windows und die Serienwerkzeuge öffnen höchstens 259 "
                "Zeichen");
}

}  // namespace
}  // namespace quenda
