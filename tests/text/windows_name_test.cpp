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
      {"COM0", NameFault::kNone},
      {"LPT10", NameFault::kNone},
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
  };
  for (const auto& [name, fault] : cases) {
    EXPECT_EQ(FindNameFault(name), fault) << Cp1252ToUtf8(name);
  }
}

TEST(WindowsName, RefusalNamesTheParameterTheValueAndTheReason) {
  EXPECT_EQ(Cp1252ToUtf8(RefusedNameText("CustomerHWNo_DirName", "..\\x", NameFault::kSeparator)),
            "Der Name >..\\x< aus CustomerHWNo_DirName ist kein gültiger Datei- oder "
            "Ordnername: er enthält \\ oder / und würde in einen anderen Ordner führen");
}

}  // namespace
}  // namespace quenda
