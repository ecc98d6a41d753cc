// Loading, saving and the document operations of DOMWrapper.
#include <gtest/gtest.h>
#include <libxml/parserInternals.h>

#include "text/cp1252.h"
#include "xml/dom_test_support.h"
#include "xml/dom_wrapper.h"

namespace quenda::testing {
namespace {

const std::string kLoadHeader = "Error in Function 'DOMWrapper.Load' \r\nArgument(s) : ";

int externalLoads = 0;

xmlParserInputPtr CountingLoader(const char*, const char*, xmlParserCtxtPtr) {
  ++externalLoads;
  return nullptr;
}

struct LoadFailure {
  std::string file;
  std::string reason;  // expected last line of the description
};

TEST_F(DomTest, LoadFailuresGive60000WithParserReason) {
  const LoadFailure cases[] = {
      {"malformed.xml",
       "Zeile 5, Spalte 51: Das Dokument ist nicht wohlgeformt (Opening and ending tag mismatch: "
       "Field line 5 and Fields)"},
      {"missing.xml", "Datei nicht gefunden: " + XmlData("missing.xml")},
      {"unbound_prefix.xml",
       "Zeile 3, Spalte 31: Ein Namensraum ist nicht deklariert (Namespace prefix FD on Envelope "
       "is not defined)"},
      {"external_entity.xml",
       "Zeile 3, Spalte 38: Entitätsdeklaration 'geheim' ist nicht erlaubt"_cp},
      {"entity_bomb.xml", "Zeile 3, Spalte 80: Entitätsdeklaration 'a' ist nicht erlaubt"_cp},
      {"external_dtd.xml",
       "Zeile 3, Spalte 35: Verweis auf eine nicht erlaubte Entität (Entity 'geheim' not "
       "defined)"_cp},
  };
  const xmlExternalEntityLoader previous = xmlGetExternalEntityLoader();
  xmlSetExternalEntityLoader(CountingLoader);
  for (const auto& c : cases) {
    int number = 0;
    const std::string text = ErrorText([&] { dom.Load(XmlData(c.file), kFdDeclaration); }, &number);
    EXPECT_EQ(number, 60000) << c.file;
    EXPECT_EQ(text, kLoadHeader + XmlData(c.file) + "\r\nParse-Error : \r\n" + c.reason) << c.file;
    EXPECT_EQ(text.find("GEHEIMER-INHALT"), std::string::npos) << c.file;
  }
  xmlSetExternalEntityLoader(previous);
  EXPECT_EQ(externalLoads, 0) << "nothing may be read from outside the job file";
  EXPECT_TRUE(ui.boxes.empty());
}

// ASCII text in UTF-32 big-endian with its mark.
std::string Utf32(const std::string& ascii) {
  std::string bytes("\x00\x00\xFE\xFF", 4);
  for (const char c : ascii) bytes += std::string(3, '\0') + c;
  return bytes;
}

TEST_F(DomTest, LoadFailuresOfTextFiles) {
  const LoadFailure cases[] = {
      {"", "Zeile 1, Spalte 1: Das Dokument ist leer"},
      {"<a><b></a>",
       "Zeile 1, Spalte 11: Das Dokument ist nicht wohlgeformt (Opening and ending tag mismatch: "
       "b line 1 and a)"},
      {"<a>&unbekannt;</a>",
       "Zeile 1, Spalte 15: Verweis auf eine nicht erlaubte Entität (Entity 'unbekannt' not "
       "defined)"_cp},
      {"<a/><b/>",
       "Zeile 1, Spalte 5: Das Dokument ist nicht wohlgeformt (Extra content at the end of the "
       "document)"},
      {"<a>M\xFCller</a>",
       "Zeile 1, Spalte 5: Ungültiges Zeichen oder falsche Kodierung (Input is not proper UTF-8, "
       "indicate encoding ! Bytes: 0xFC 0x6C 0x6C 0x65)"_cp},
      {Utf32("<?xml version=\"1.0\" encoding=\"UTF-32\"?><a/>"),
       "Zeile 1, Spalte 1: Die Kodierung UTF-32 wird nicht unterstützt (UTF-8, UTF-16 oder "
       "ISO-8859-1 verwenden)"_cp},
  };
  for (const auto& c : cases) {
    const std::string path = FileWith("t.xml", c.file);
    EXPECT_EQ(ErrorText([&] { dom.Load(path); }),
              kLoadHeader + path + "\r\nParse-Error : \r\n" + c.reason)
        << c.file;
  }
}

TEST_F(DomTest, PredefinedAndCharacterReferencesAreKept) {
  dom.Load(FileWith("t.xml", "<a>&lt;&amp;&gt;&quot;&apos;&#228;&#x20AC;</a>"));
  ASSERT_TRUE(dom.PosNode("a") == false);  // the root itself is never matched
  EXPECT_EQ(dom.GetElementValue("/a", false), "<&>\"'\xe4\x80");
}

TEST_F(DomTest, FailedLoadDropsThePreviousDocument) {
  LoadData("job_fd_prefix.xml");
  EXPECT_THROW(dom.Load(XmlData("malformed.xml"), kFdDeclaration), Error);
  EXPECT_FALSE(dom.PosNode("Envelope"));
  EXPECT_EQ(ui.TakeTexts(), std::vector<std::string>{"91: " + kNotSet});
}

TEST_F(DomTest, BadSelectionNamespacesFailTheLoad) {
  const std::string path = XmlData("job_fd_prefix.xml");
  EXPECT_EQ(ErrorText([&] { dom.Load(path, "xmlns:FD=http://x"); }),
            kLoadHeader + path +
                "\r\nParse-Error : \r\nUngültige Namensraum-Deklaration für Abfragen: "
                "'xmlns:FD=http://x'"_cp);
}

TEST_F(DomTest, SeveralSelectionNamespacesAreRegistered) {
  dom.Load(XmlData("job_fd_prefix.xml"), "  xmlns:x=\"urn:other\"  " + kFdDeclaration + " ");
  EXPECT_EQ(dom.GetElementValue("//FD:Field[@Name='Jobsource']", false), "FLOW5");
}

TEST_F(DomTest, BlankNamespaceLeavesFdPrefixUnbound) {
  for (const std::string blank : {"", "   "}) {
    dom.Load(XmlData("job_fd_prefix.xml"), blank);
    const std::string query = "//FD:Field[@Name='Jobsource']";
    EXPECT_EQ(ErrorText([&] { dom.GetElementValue(query, true); }),
              "Error in Function 'DOMWrapper.GetElementValue' \r\nArgument(s) : " + query)
        << "namespace '" << blank << "'";
    dom.Flow_Property();
    EXPECT_EQ(dom.GetElementValue(query, false), "FLOW5");
  }
}

TEST_F(DomTest, FlowPropertyWithoutDocumentFails91) {
  int number = 0;
  EXPECT_EQ(ErrorText([&] { dom.Flow_Property(); }, &number), kNotSet);
  EXPECT_EQ(number, 91);
}

TEST_F(DomTest, SecondLoadKeepsCurrentNodeInOldDocument) {
  LoadData("job_fd_prefix.xml");
  ASSERT_TRUE(dom.PosNodeByName("Envelope", "FromFlow"));
  ASSERT_TRUE(dom.PosNode("Fields", true));
  dom.Load(XmlData("job_default_ns.xml"), kFdDeclaration);
  EXPECT_EQ(dom.GetElementByName("FD:Field[@Name='Jobsource']"), "FLOW5");
  ASSERT_TRUE(dom.PosNodeByName("Envelope", "FromFlow"));
  ASSERT_TRUE(dom.PosNode("Fields", true));
  EXPECT_EQ(dom.GetElementByName("FD:Field[@Name='Jobsource']"), "TOOLTEST");
}

TEST_F(DomTest, SaveWritesIndentedDocumentThatLoadsToTheSameBytes) {
  const std::string path = CopyOf("job_default_ns.xml");
  dom.Load(path, kFdDeclaration);
  dom.Save(path);
  const std::string first = fx.dir.Read("job_default_ns.xml");
  EXPECT_EQ(first.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<FlowData", 0), 0u) << first;
  EXPECT_NE(first.find("\n  <Envelope Name=\"fromflow\">\n    <Fields>\n      <Field"),
            std::string::npos)
      << first;
  dom.Load(path, kFdDeclaration);
  dom.Save(path);
  EXPECT_EQ(fx.dir.Read("job_default_ns.xml"), first);
}

// Indenting stops at an element under xml:space="preserve": its children and text stay
// exactly what was loaded, through any number of saves; elements outside are indented.
TEST_F(DomTest, SaveAddsNoWhitespaceUnderSpacePreserve) {
  const std::string path = FileWith("p.xml",
                                    "<r><a xml:space=\"preserve\"><b/><c><d/></c></a><e><f/></e>"
                                    "<g xml:space=\"preserve\"> x <h/></g></r>");
  for (int round = 0; round < 2; ++round) {
    dom.Load(path);
    dom.Save(path);
  }
  const std::string saved = fx.dir.Read("p.xml");
  EXPECT_NE(saved.find("<a xml:space=\"preserve\"><b/><c><d/></c></a>\n"), std::string::npos)
      << saved;
  EXPECT_NE(saved.find("<g xml:space=\"preserve\"> x <h/></g>"), std::string::npos) << saved;
  EXPECT_NE(saved.find("<e>\n    <f/>\n  </e>"), std::string::npos) << "indented outside\n"
                                                                    << saved;
  dom.Load(path);
  ASSERT_TRUE(dom.PosNode("a"));
  EXPECT_EQ(dom.GetAnzChilds(), 2) << "b and c, no text nodes between them";
}

TEST_F(DomTest, SaveKeepsTheDeclaredEncoding) {
  const std::string path = CopyOf("job_latin1.xml");
  dom.Load(path, kFdDeclaration);
  EXPECT_EQ(dom.GetElementValue("//FD:Field[@Name='Ort']", false), "M\xfcnchen");
  dom.SetElementValue("//FD:Field[@Name='Ort']", "K\xf6ln \x80");
  dom.Save(path);
  const std::string saved = fx.dir.Read("job_latin1.xml");
  EXPECT_EQ(saved.rfind("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>", 0), 0u) << saved;
  EXPECT_NE(saved.find("K\xf6ln &#8364;"), std::string::npos) << saved;
  dom.Load(path, kFdDeclaration);
  EXPECT_EQ(dom.GetElementValue("//FD:Field[@Name='Ort']", false), "K\xf6ln \x80");
}

// Bytes in UTF-8 with its mark that declare another encoding are read as UTF-8 and written
// back with the declaration that matches them: the next reader sees the same text.
TEST_F(DomTest, SaveAfterAUtf8MarkDeclaresUtf8) {
  const std::string path = FileWith(
      "bom.xml", "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>M\xC3\xBCller</a>");
  dom.Load(path);
  dom.Save(path);
  const std::string saved = fx.dir.Read("bom.xml");
  EXPECT_EQ(saved.find("ISO-8859-1"), std::string::npos) << saved;
  dom.Load(path);
  EXPECT_EQ(dom.GetElementValue("/a", false), "M\xFCller") << saved;
}

// The parser takes elements 257 deep and refuses one level more, by name.
TEST_F(DomTest, DepthIsRefusedPastTheLimit) {
  const auto nested = [](int depth) {
    std::string xml;
    for (int i = 0; i < depth; ++i) xml = "<d>" + xml + "</d>";
    return xml;
  };
  dom.Load(FileWith("deep.xml", nested(257)));
  const std::string path = FileWith("deep.xml", nested(258));
  EXPECT_EQ(ErrorText([&] { dom.Load(path); }),
            kLoadHeader + path +
                "\r\nParse-Error : \r\nZeile 1, Spalte 772: Das Dokument ist zu tief geschachtelt "
                "(Excessive depth in document: 256 use XML_PARSE_HUGE option)");
}

TEST_F(DomTest, SaveFailureNamesThePathAndLeavesNoFile) {
  LoadData("job_fd_prefix.xml");
  const std::string path = fx.dir.File("fehlt/job.xml");
  EXPECT_EQ(ErrorText([&] { dom.Save(path); }),
            "Error in Function 'DOMWrapper.Save' \r\nArgument(s) : " + path +
                "\r\nPfad nicht gefunden: " + path);
  EXPECT_FALSE(fx.S().files.FileExists(path));
}

TEST_F(DomTest, SaveWithoutDocumentFails) {
  EXPECT_EQ(ErrorText([&] { dom.Save(fx.dir.File("x.xml")); }),
            "Error in Function 'DOMWrapper.Save' \r\nArgument(s) : " + fx.dir.File("x.xml") +
                "\r\n" + kNotSet);
}

TEST_F(DomTest, NewDocSetsWorkNodeNotCurrentNode) {
  dom.NewDoc("FD:FlowData");
  int number = 0;
  EXPECT_EQ(ErrorText([&] { dom.GetXML(); }, &number), kNotSet);
  EXPECT_EQ(number, 91);
  ASSERT_TRUE(dom.PosNode("FlowData") == false);  // positions from the new root
  dom.Save(fx.dir.File("neu.xml"));
  EXPECT_EQ(fx.dir.Read("neu.xml"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<FD:FlowData xmlns:FD=\"" + kFlowDataUri +
                "\"/>\n");
}

TEST_F(DomTest, NewDocRefusesInvalidNameAndUnknownPrefix) {
  EXPECT_EQ(ErrorText([&] { dom.NewDoc("1x"); }), "Ungültiger XML-Name: '1x'"_cp);
  EXPECT_EQ(ErrorText([&] { dom.NewDoc("abc:Root"); }),
            "Das Namensraum-Präfix 'abc' ist im Dokument nicht deklariert: abc:Root"_cp);
}

TEST_F(DomTest, GetXmlGivesTheSubtreeOfTheCurrentNode) {
  dom.Load(FileWith("t.xml", "<r><a x=\"1\"><b>t\xc3\xa4</b></a></r>"));
  ASSERT_TRUE(dom.PosNode("a"));
  EXPECT_EQ(dom.GetXML(), "<a x=\"1\"><b>t\xe4</b></a>");
}

TEST(DomWrapperSession, UsesTheSessionsFilesAndNamespace) {
  SessionFixture fx;
  fx.S().site.FlowDataNamespaceUri = "urn:flow";
  fx.dir.Write("j.xml", "<r xmlns='urn:flow'><f>1</f></r>");
  DOMWrapper dom(fx.S().ui, fx.S().files, fx.S().site.FlowDataNamespaceUri);
  dom.Load(fx.dir.File("j.xml"));
  dom.Flow_Property();
  EXPECT_EQ(dom.GetElementValue("/FD:r/FD:f", false), "1");
}

TEST(DomWrapperSession, WindowsPathsGoThroughTheDriveMap) {
  SessionFixture fx({}, "[Paths]\r\nT:=share\r\n");
  fx.dir.Write("share/Flow/job.xml", "<r><f>1</f></r>");
  DOMWrapper dom(fx.S().ui, fx.S().files, fx.S().site.FlowDataNamespaceUri);
  dom.Load("T:\\flow\\JOB.xml");
  dom.Save("T:\\Flow\\neu.xml");
  EXPECT_EQ(fx.dir.Read("share/Flow/neu.xml"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<r>\n  <f>1</f>\n</r>\n");
#ifdef _WIN32
  return;  // on Windows an unmapped path is a real one
#endif
  const std::string unmapped = "Q:\\job.xml";
  EXPECT_EQ(ErrorText([&] { dom.Load(unmapped); }),
            kLoadHeader + unmapped + "\r\nParse-Error : \r\n" + "Pfad nicht gefunden: Q:\\job.xml");
}

}  // namespace
}  // namespace quenda::testing
