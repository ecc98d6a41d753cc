#include "platform/ini_file.h"

#include <gtest/gtest.h>

namespace quenda {
namespace {

struct IniCase {
  const char* name;
  std::string content;
  std::string section;
  std::string key;
  std::string expected;
};

TEST(ReadIni, BehavesLikeTheWindowsProfileService) {
  const std::string longValue(300, 'x');
  const IniCase cases[] = {
      {"names ignore case", "[Section1]\r\nname1=val1\r\n", "section1", "NaMe1", "val1"},
      {"umlaut names ignore case", "[\xC4nderung]\r\nk=v\r\n", "\xE4nderung", "K", "v"},
      {"blanks around header", "  [  Section1  ]\r\nk=v\r\n", "Section1", "k", "v"},
      {"text after bracket ignored", "[sec]whoops]\r\nk=v\r\n", "sec", "k", "v"},
      {"missing bracket still header", "[S   \r\nk=v", "S", "k", "v"},
      {"blanks around key and value", "[s]\r\n \t key1 \t=   val  1   \r\n", "s", "key1", "val  1"},
      {"first equals splits", "[s]\r\na=b=c\r\n", "s", "a", "b=c"},
      {"no inline comment", "[s]\r\npepsi=diet   ;gag\r\n", "s", "pepsi", "diet   ;gag"},
      {"double quotes removed", "[s]\r\nk =  \"   v   \"  \r\n", "s", "k", "   v   "},
      {"single quotes removed", "[s]\r\nk='v'\r\n", "s", "k", "v"},
      {"one layer only", "[s]\r\nk=\"'v'\"\r\n", "s", "k", "'v'"},
      {"mismatched quotes kept", "[s]\r\nk=\"v'\r\n", "s", "k", "\"v'"},
      {"empty quotes", "[s]\r\nk=\"\"\r\n", "s", "k", ""},
      {"comment line", "[s]\r\n  ;k=v\r\n", "s", "k", "dflt"},
      {"hash is a key", "[s]\r\n#k=v\r\n", "s", "#k", "v"},
      {"first key wins", "[s]\r\nk=1\r\nk=2\r\n", "s", "k", "1"},
      {"first section wins", "[s]\r\na=1\r\n[t]\r\n[s]\r\nb=2\r\n", "s", "b", "dflt"},
      {"line without equals", "[s]\r\nname3\r\n", "s", "name3", "dflt"},
      {"key before sections", "k=v\r\n[s]\r\n", "", "k", "dflt"},
      {"empty section name", "key=x\r\n[]\r\nkey=y\r\n", "", "key", "y"},
      {"empty value is not default", "[s]\r\nk=\r\n", "s", "k", ""},
      {"LF only", "[Test]\nProfileInt=123\n", "Test", "ProfileInt", "123"},
      {"CR only", "[a]\rb=c\r", "a", "b", "c"},
      {"utf8 BOM breaks first header", "\xEF\xBB\xBF[s]\r\nk=v\r\n", "s", "k", "dflt"},
      {"argument spaces trimmed", "[s]\r\nk=v\r\n", " s ", " k ", "v"},
      {"argument tab not trimmed", "[s]\r\nk=v\r\n", "s", "k\t", "dflt"},
      {"long value cut to 255", "[s]\r\nk=" + longValue + "\r\n", "s", "k", std::string(255, 'x')},
  };
  for (const auto& c : cases) {
    const IniDocument doc = IniDocument::Parse(c.content);
    EXPECT_EQ(ProfileString(doc, c.section, c.key, "dflt"), c.expected) << c.name;
  }
}

TEST(ReadIni, DefaultLosesTrailingSpacesOnly) {
  const IniDocument doc = IniDocument::Parse("");
  EXPECT_EQ(ProfileString(doc, "s", "k", "   default   "), "   default");
  EXPECT_EQ(ProfileString(doc, "s", "k", "\"q\" "), "\"q\"");
}

TEST(ReadIni, EntriesListFirstOccurrences) {
  const IniDocument doc =
      IniDocument::Parse("[Paths]\r\nT:=a\r\n\\\\srv\\share = 'b c'\r\nt:=dup\r\nnovalue\r\n");
  const auto entries = doc.Entries("paths");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0], (std::pair<std::string, std::string>{"T:", "a"}));
  EXPECT_EQ(entries[1], (std::pair<std::string, std::string>{"\\\\srv\\share", "b c"}));
}

}  // namespace
}  // namespace quenda
