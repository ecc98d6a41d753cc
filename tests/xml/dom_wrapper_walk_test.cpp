// The document-order walk and the positioning operations of DOMWrapper.
#include <gtest/gtest.h>

#include "xml/dom_test_support.h"
#include "xml/dom_wrapper.h"

namespace quenda::testing {
namespace {

// Every element name that GetNextElemName gives from the root element, "EOF" included.
std::vector<std::string> WalkFromRoot(DOMWrapper& dom) {
  dom.GetElementValue("/*", false);
  std::vector<std::string> names;
  for (int i = 0; i < 100; ++i) {
    names.push_back(dom.GetNextElemName());
    if (names.back() == "EOF") break;
  }
  return names;
}

TEST_F(DomTest, WalkVisitsEveryElementOnceAndNoTextNode) {
  const std::vector<std::string> expected = {"Envelope", "Fields", "Field",    "Field", "Field",
                                             "Field",    "Field",  "Field",    "Datas", "Data",
                                             "Fields",   "Field",  "Field",    "Data",  "Fields",
                                             "Field",    "Field",  "Envelope", "EOF"};
  LoadData("job_fd_prefix.xml");
  EXPECT_EQ(WalkFromRoot(dom), expected);
  EXPECT_EQ(dom.CountElementsByTagName("*"), static_cast<int>(expected.size()));  // + root
  EXPECT_EQ(dom.GetNextElemName(), "EOF") << "the walk stays at its end";
  EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(DomTest, WalkOverOneLineFileWithDefaultNamespace) {
  LoadData("job_default_ns.xml");
  EXPECT_EQ(WalkFromRoot(dom),
            (std::vector<std::string>{"Envelope", "Fields", "Field", "Field", "Field", "Field",
                                      "Envelope", "Fields", "Field", "EOF"}));
}

struct WalkCase {
  std::string xml;
  std::vector<std::string> names;     // GetNextElemName results from the root
  std::vector<std::string> messages;  // message boxes shown on the way
};

// A node that is neither element nor a first-child text shows the type-mismatch failure and
// interrupts the walk once; a text or comment as first child is passed over silently.
TEST_F(DomTest, WalkTrapsNonElementNodes) {
  const std::string mismatch = "13: Typen unvertr\xe4glich";
  const WalkCase cases[] = {
      {"<r><a>t</a><b>u</b></r>", {"a", "b", "EOF"}, {}},
      {"<r><a><!--c--><b/></a></r>", {"a", "b", "EOF"}, {}},
      {"<r><a/><!--c--><b/></r>", {"a", "EOF", "b", "EOF"}, {mismatch}},
      {"<r><a>t<!--c--></a><b/></r>", {"a", "EOF", "b", "EOF"}, {}},
      {"<r/>", {"EOF"}, {}},
  };
  for (const auto& c : cases) {
    dom.Load(FileWith("w.xml", c.xml));
    dom.GetElementValue("/*", false);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < c.names.size(); ++i) names.push_back(dom.GetNextElemName());
    EXPECT_EQ(names, c.names) << c.xml;
    EXPECT_EQ(ui.TakeTexts(), c.messages) << c.xml;
  }
}

TEST_F(DomTest, PositioningShowsASecondWalkFailure) {
  dom.Load(FileWith("w.xml", "<r><a>t<!--c--></a><b/></r>"));
  ASSERT_TRUE(dom.PosNode("a"));
  EXPECT_FALSE(dom.PosNode("b", true));
  EXPECT_EQ(ui.TakeTexts(), std::vector<std::string>{"13: Typen unvertr\xe4glich"});
}

TEST_F(DomTest, PosNodeNeverMatchesTheStartNode) {
  dom.Load(FileWith("f.xml", "<Fields><x/><FIELDS id=\"2\"/></Fields>"));
  ASSERT_TRUE(dom.PosNode(" fields "));
  std::string id;
  EXPECT_TRUE(dom.GetAttribut("ID", id));
  EXPECT_EQ(id, "2");
  EXPECT_FALSE(dom.PosNode("Fields", true));
  EXPECT_FALSE(dom.PosNode("Fields", true)) << "without current node the walk fails";
  EXPECT_EQ(ui.TakeTexts(), std::vector<std::string>{"91: " + kNotSet});
}

TEST_F(DomTest, PosNodeByNameComparesFirstAttributeIgnoringCaseNotBlanks) {
  struct Case {
    std::string envelopeName;
    bool found;
  } cases[] = {{"FromFlow", true}, {"fromflow", true}, {"FROMFLOW", true}, {"FromFlow ", false}};
  for (const auto& c : cases) {
    dom.Load(
        FileWith("e.xml", "<r><Envelope Name=\"" + c.envelopeName + "\"><Fields/></Envelope></r>"));
    EXPECT_EQ(dom.PosNodeByName("Envelope", "FromFlow"), c.found) << "'" << c.envelopeName << "'";
  }
  // After a failed positioning there is no current node.
  const std::string query = "Field[@Name='x']";
  EXPECT_EQ(ErrorText([&] { dom.GetElementByName(query); }),
            "Fehler beim Auslesen des XML-Tags '" + query + "'  " + kNotSet);
  EXPECT_THROW(dom.HasChilds(), Error);
  EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(DomTest, PosNodeByNameOnElementWithoutAttributesShowsFailure) {
  dom.Load(FileWith("e.xml", "<r><Envelope/><Envelope Name=\"FromFlow\"/></r>"));
  EXPECT_FALSE(dom.PosNodeByName("Envelope", "FromFlow"));
  EXPECT_EQ(ui.TakeTexts(), std::vector<std::string>{"91: " + kNotSet});
}

TEST_F(DomTest, PosNodeByAttributFallsBackToFirstAttribute) {
  LoadData("job_fd_prefix.xml");
  ASSERT_TRUE(dom.PosNodeByAttribut("field", "flowtype", "DATAS"));
  std::string name;
  ASSERT_TRUE(dom.GetAttribut("Name", name));
  EXPECT_EQ(name, "Varianten");
  ASSERT_TRUE(dom.PosNodeByAttribut("Field", "Nope", "imp_ecu_designation"));
  EXPECT_EQ(dom.GetField(), "MED17.5.25");
  EXPECT_FALSE(dom.PosNodeByAttribut("Field", "FlowType", "Zahl"));
}

TEST_F(DomTest, UsualNavigationReadsEnvelopeAndTableFields) {
  LoadData("job_fd_prefix.xml");
  ASSERT_TRUE(dom.PosNodeByName("Envelope", "FromFlow"));
  EXPECT_FALSE(dom.IsFirstNode());
  ASSERT_TRUE(dom.PosNode("Fields", true));
  EXPECT_EQ(dom.GetElementByName("FD:Field[@Name= 'Jobsource']"), "FLOW5");
  EXPECT_EQ(dom.GetElementByName("FD:Field[@Name='Auftraggeber']"), "J\xfcrgen Wei\xdf");
  EXPECT_EQ(dom.GetAnzChilds(), 6);

  ASSERT_TRUE(dom.PosNodeByName("Envelope", "FromFlow"));
  ASSERT_TRUE(dom.PosNodeByName("Datas", "varianten", true));
  ASSERT_TRUE(dom.PosNode("Fields", true));
  EXPECT_EQ(dom.GetElementByName("FD:Field[@Name='Motor']"), "2.0 TDI & DPF");
  EXPECT_EQ(dom.GetChild("field"), "2.0 TDI & DPF") << "the last matching child";
}

TEST_F(DomTest, IsFirstNodeOnlyOnRootElement) {
  LoadData("job_default_ns.xml");
  dom.GetElementValue("/*", false);
  EXPECT_TRUE(dom.IsFirstNode());
  ASSERT_TRUE(dom.PosNode("Field"));
  EXPECT_FALSE(dom.IsFirstNode());
  dom.GetElementValue("//FD:Field/@Name", false);
  EXPECT_FALSE(dom.IsFirstNode()) << "an attribute's parent is its element";
}

TEST_F(DomTest, WhitespaceOnlyTextIsNoChild) {
  LoadData("job_fd_prefix.xml");
  ASSERT_TRUE(dom.PosNodeByAttribut("Field", "Name", "Bemerkung"));
  EXPECT_FALSE(dom.HasChilds());
  EXPECT_EQ(dom.GetField(), "");
  ASSERT_TRUE(dom.PosNodeByName("Envelope", "ToFlow"));
  EXPECT_FALSE(dom.HasChilds());
  EXPECT_EQ(dom.GetAnzChilds(), 0);

  dom.Load(FileWith("p.xml", "<r><a xml:space=\"preserve\">  </a></r>"));
  ASSERT_TRUE(dom.PosNode("a"));
  EXPECT_EQ(dom.GetField(), "  ");
}

}  // namespace
}  // namespace quenda::testing
