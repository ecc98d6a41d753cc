// Reading and writing FlowData fields with DOMWrapper, and the write-save-load round trip.
#include <gtest/gtest.h>

#include "text/cp1252.h"
#include "xml/dom_test_support.h"
#include "xml/dom_wrapper.h"

namespace quenda::testing {
namespace {

const std::string kErgebnis = "//FD:Envelope[@Name='ToFlow']/FD:Fields/FD:Field[@Name='Ergebnis']";

std::size_t Occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (auto pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1)) {
    ++count;
  }
  return count;
}

// What the rule functions do to a job file: a FromFlow field set, a ToFlow field set or
// added (creating the ToFlow field list when the envelope is empty), each saved.
void WriteBack(DOMWrapper& dom, const std::string& path) {
  dom.Load(path, kFdDeclaration);
  ASSERT_TRUE(dom.PosNodeByName("Envelope", "FromFlow"));
  ASSERT_TRUE(dom.PosNode("Fields", true));
  EXPECT_EQ(dom.SetElementByName("FD:Field[@Name='Imp_CustomerCodeNumber']", "0815"), "0815");
  dom.Save(path);

  dom.Load(path, kFdDeclaration);
  ASSERT_TRUE(dom.PosNodeByName("Envelope", "ToFlow"));
  if (!dom.HasChilds()) dom.AddNode("FD:Fields");
  ASSERT_TRUE(dom.PosNode("Fields", true));
  const std::string field = "FD:Field[@Name='Ergebnis']";
  ASSERT_FALSE(dom.CheckElementByName(field));
  dom.AddField("Ergebnis", "String", "5");
  EXPECT_TRUE(dom.CheckElementByName(field)) << "the new field is in the FD namespace at once";
  dom.Save(path);
}

TEST_F(DomTest, WrittenJobLoadsAgainAndFdQueriesFindTheNewField) {
  const std::string files[] = {"job_fd_prefix.xml", "job_default_ns.xml", "job_latin1.xml"};
  for (const auto& name : files) {
    const std::string path = CopyOf(name);
    WriteBack(dom, path);
    const std::string saved = fx.dir.Read(name);
    EXPECT_EQ(Occurrences(saved, "xmlns:FD=\"" + kFlowDataUri + "\""), 1u) << saved;

    dom.Load(path, kFdDeclaration);
    EXPECT_EQ(dom.GetElementValue(kErgebnis, false), "5") << name;
    EXPECT_EQ(dom.GetXML(), "<FD:Field Name=\"Ergebnis\" FlowType=\"String\">5</FD:Field>") << name;
    EXPECT_EQ(dom.GetElementValue("//FD:Field[@Name='Imp_CustomerCodeNumber']", false), "0815")
        << name;
  }
  EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(DomTest, SavedToFlowSectionOfFdJob) {
  const std::string path = CopyOf("job_fd_prefix.xml");
  WriteBack(dom, path);
  const std::string saved = fx.dir.Read("job_fd_prefix.xml");
  EXPECT_NE(saved.find("  <FD:Envelope Name=\"ToFlow\">\n"
                       "    <FD:Fields>\n"
                       "      <FD:Field Name=\"Ergebnis\" FlowType=\"String\">5</FD:Field>\n"
                       "    </FD:Fields>\n"
                       "  </FD:Envelope>\n"
                       "</FD:FlowData>\n"),
            std::string::npos)
      << saved;
}

TEST_F(DomTest, UndeclaredFdPrefixIsBoundOnTheRootElement) {
  const std::string path =
      FileWith("plain.xml", "<FlowData><Envelope Name=\"ToFlow\"/></FlowData>");
  dom.Load(path, kFdDeclaration);
  ASSERT_TRUE(dom.PosNodeByName("Envelope", "ToFlow"));
  dom.AddNode("FD:Fields");
  ASSERT_TRUE(dom.PosNode("Fields", true));
  dom.AddField("Status", "String", "fertig");
  dom.AddDatas("Tabelle");
  dom.Save(path);
  EXPECT_EQ(fx.dir.Read("plain.xml"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<FlowData xmlns:FD=\"" +
                kFlowDataUri +
                "\">\n"
                "  <Envelope Name=\"ToFlow\">\n"
                "    <FD:Fields>\n"
                "      <FD:Field Name=\"Status\" FlowType=\"String\">fertig</FD:Field>\n"
                "      <FD:Datas Table=\"Tabelle\"/>\n"
                "    </FD:Fields>\n"
                "  </Envelope>\n"
                "</FlowData>\n");
  dom.Load(path, kFdDeclaration);
  EXPECT_EQ(dom.GetElementValue("//FD:Field[@Name='Status']", false), "fertig");
}

TEST_F(DomTest, UnprefixedNewElementTakesTheDefaultNamespace) {
  LoadData("job_default_ns.xml");
  ASSERT_TRUE(dom.PosNodeByName("Envelope", "ToFlow"));
  dom.AddNode("Fields");
  EXPECT_EQ(dom.CountElementsByTagName("Fields"), 3);
  dom.GetElementValue("//FD:Envelope[@Name='ToFlow']/FD:Fields[2]", false);
  EXPECT_EQ(dom.GetXML(), "<Fields/>");
}

TEST_F(DomTest, UnknownPrefixIsRefused) {
  LoadData("job_fd_prefix.xml");
  ASSERT_TRUE(dom.PosNodeByName("Envelope", "ToFlow"));
  EXPECT_EQ(ErrorText([&] { dom.AddNode("xy:Fields"); }),
            "Das Namensraum-Präfix 'xy' ist im Dokument nicht deklariert: xy:Fields"_cp);
  EXPECT_FALSE(dom.HasChilds());
}

TEST_F(DomTest, FieldReadFailures) {
  LoadData("job_fd_prefix.xml");
  const std::string missing = "//FD:Field[@Name='Fehlt']";
  EXPECT_EQ(dom.GetElementValue(missing, true), "");
  EXPECT_THROW(dom.GetField(), Error) << "a missing optional node leaves no current node";
  EXPECT_EQ(ErrorText([&] { dom.GetElementValue(missing, false); }),
            "Error in Function 'DOMWrapper.GetElementValue' \r\nArgument(s) : " + missing);
  EXPECT_EQ(ErrorText([&] { dom.GetElementValue("//FD:Field[", true); }),
            "Error in Function 'DOMWrapper.GetElementValue' \r\nArgument(s) : //FD:Field[")
      << "a bad query fails also when optional";
  ASSERT_TRUE(dom.PosNode("Fields"));
  EXPECT_EQ(ErrorText([&] { dom.GetElementByName("FD:Field[@Name='Fehlt']"); }),
            "Fehler beim Auslesen des XML-Tags 'FD:Field[@Name='Fehlt']'  " + kNotSet);
  EXPECT_EQ(ErrorText([&] { dom.GetElementByName("FD:Field["); }),
            "Fehler beim Auslesen des XML-Tags 'FD:Field['  Ungültiger XPath-Ausdruck "
            "'FD:Field[': Ausdruck ungültig (Zeichen 10)"_cp);
  EXPECT_EQ(ErrorText([&] { dom.GetElementByName("xy:Field"); }),
            "Fehler beim Auslesen des XML-Tags 'xy:Field'  Ungültiger XPath-Ausdruck "
            "'xy:Field': Namensraum-Präfix nicht deklariert (Zeichen 9)"_cp);
  EXPECT_FALSE(dom.CheckElementByName("FD:Field["));
  EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(DomTest, TagNameOperations) {
  LoadData("job_fd_prefix.xml");
  EXPECT_EQ(dom.CountElementsByTagName("FD:Field"), 10);
  EXPECT_EQ(dom.CountElementsByTagName("Field"), 0) << "qualified name as written";
  EXPECT_EQ(dom.GetElementByTagName("FD:Field", 3), "J\xfcrgen Wei\xdf");
  EXPECT_EQ(dom.GetElementByTagName("FD:Field", 10), "");
  EXPECT_EQ(ui.TakeTexts(), std::vector<std::string>{kNotSet});

  DOMWrapper empty(ui, fx.S().files, kFlowDataUri);
  EXPECT_EQ(empty.CountElementsByTagName("*"), 0);
  EXPECT_EQ(empty.GetAnzChilds(), 0);
  EXPECT_EQ(ui.TakeTexts(), (std::vector<std::string>{kNotSet, "91: " + kNotSet}));
}

TEST_F(DomTest, AttributeAndChildOperations) {
  LoadData("job_fd_prefix.xml");
  ASSERT_TRUE(dom.PosNodeByName("Datas", "Varianten"));
  std::string value = "unchanged";
  EXPECT_FALSE(dom.GetAttribut("Name", value));
  EXPECT_EQ(value, "unchanged");
  EXPECT_TRUE(dom.GetAttribut(" table ", value));
  EXPECT_EQ(value, "Varianten");

  ASSERT_TRUE(dom.PosNode("Fields", true));
  dom.SetChild("FIELD", "X\xe4");
  EXPECT_EQ(dom.GetElementByName("FD:Field[@Name='Variante']"), "X\xe4");
  EXPECT_EQ(dom.GetElementByName("FD:Field[@Name='Motor']"), "X\xe4");
  EXPECT_EQ(dom.GetElementValue("//FD:Data[2]//FD:Field[@Name='Motor']", false), "1.6 TDI");

  DOMWrapper empty(ui, fx.S().files, kFlowDataUri);
  EXPECT_FALSE(empty.GetAttribut("Name", value));
  EXPECT_EQ(ErrorText([&] { empty.GetChild("x"); }), kNotSet);
  EXPECT_EQ(ErrorText([&] { empty.AddField("a", "String", "1"); }), kNotSet);
}

TEST_F(DomTest, SetElementByNameFailuresAreShown) {
  LoadData("job_fd_prefix.xml");
  ASSERT_TRUE(dom.PosNode("Fields"));
  EXPECT_EQ(dom.SetElementByName("FD:Field[@Name='Fehlt']", "1"), "");
  EXPECT_EQ(dom.SetElementByName("FD:Field[@Name='Jobsource']", "a\x01z"), "");
  EXPECT_EQ(ui.TakeTexts(),
            (std::vector<std::string>{kNotSet,
                                      "Unzulässiges Steuerzeichen (Code 1) im Text 'a{1}z'"_cp}));
  EXPECT_EQ(dom.GetElementByName("FD:Field[@Name='Jobsource']"), "FLOW5");
  EXPECT_EQ(dom.SetElementByName("FD:Field[@Name='Jobsource']/@FlowType", "Text"), "Text");
  EXPECT_EQ(dom.SetElementByName("FD:Field[@Name='Jobsource']", ""), "");
  EXPECT_FALSE(dom.CheckElementByName("FD:Field[@Name='Jobsource']/text()"));
}

}  // namespace
}  // namespace quenda::testing
