// The field index answers the usual field queries with the node XPath gives, and
// DOMWrapper drops it whenever the document changes.
#include "xml/field_index.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "xml/dom_test_support.h"
#include "xml/xml_parser.h"
#include "xml/xpath_query.h"

namespace quenda::testing {
namespace {

// Attribute values as written in the XML (UTF-8) and as a query names them (CP1252).
struct Name {
  std::string xml, query;
};
const std::vector<Name> kNames = {{"A", "A"},         {"B", "B"}, {"\xC3\xA4", "\xE4"},
                                  {"A&amp;B", "A&B"}, {"", ""},   {"It&apos;s", "It's"},
                                  {"Q&quot;", "Q\""}, {"a", "a"}};
const std::vector<Name> kEnvelopes = {
    {"FromFlow", "FromFlow"}, {"ToFlow", "ToFlow"}, {"fromflow", "fromflow"}, {"", ""}};

std::size_t Below(std::mt19937& random, std::size_t n) {
  return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
}

// A random element: envelopes, field lists, fields (some holding tables), fields and
// envelopes without a plain Name attribute or in another namespace, default-namespace
// fields and unrelated elements, nested up to `depth` levels.
std::string Element(std::mt19937& random, int depth) {
  const std::string name = kNames[Below(random, kNames.size())].xml;
  const std::string envelope = kEnvelopes[Below(random, kEnvelopes.size())].xml;
  std::string children;
  const std::size_t count = depth > 0 ? Below(random, 4) : 0;
  for (std::size_t i = 0; i < count; ++i) children += Element(random, depth - 1);
  const std::string value = "v" + std::to_string(Below(random, 1000));
  switch (Below(random, 10)) {
    case 0:
    case 1:
      return "<FD:Envelope Name=\"" + envelope + "\">" + children + "</FD:Envelope>";
    case 2:
    case 3:
      return "<FD:Fields>" + children + "</FD:Fields>";
    case 4:
    case 5:
      return "<FD:Field Name=\"" + name + "\">" + value + children + "</FD:Field>";
    case 6:
      return "<o:Field Name=\"" + name + "\">" + value + "</o:Field><FD:Field o:Name=\"" + name +
             "\">" + value + "</FD:Field>";
    case 7:
      return "<Field xmlns=\"" + kFlowDataUri + "\" Name=\"" + name + "\">" + value + children +
             "</Field>";
    case 8:
      return "<o:Envelope Name=\"" + envelope + "\">" + children + "</o:Envelope><FD:Envelope>" +
             children + "</FD:Envelope>";
    default:
      return "<x>" + children + "</x>";
  }
}

std::string Document(std::mt19937& random) {
  std::string body;
  for (std::size_t i = Below(random, 4) + 1; i > 0; --i) body += Element(random, 4);
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><FD:FlowData xmlns:FD=\"" + kFlowDataUri +
         "\" xmlns:o=\"urn:other\">" + body + "</FD:FlowData>";
}

// Queries in the indexed forms with both quotes (a quote inside the literal makes the
// query one that XPath rejects), and some that the index leaves to XPath.
std::vector<std::string> Queries(const std::string& field, const std::string& envelope) {
  std::vector<std::string> queries;
  for (const char* q : {"'", "\""}) {
    const std::string f = "[@Name=" + std::string(q) + field + q + "]";
    const std::string e = "[@Name=" + std::string(q) + envelope + q + "]";
    queries.push_back("//FD:Field" + f);
    queries.push_back("//FD:Envelope" + e + "//FD:Field" + f);
    queries.push_back("//FD:Envelope" + e + "/FD:Fields/FD:Field" + f);
    queries.push_back("//o:Field" + f);
  }
  queries.push_back("//FD:Field[@Name = '" + field + "']");
  queries.push_back("//FD:Envelope[@Name='" + envelope + "']/o:Fields/FD:Field[@Name='" + field +
                    "']");
  queries.push_back("//FD:Field[@Name='" + field + "'][2]");
  queries.push_back("//u:Field[@Name='" + field + "']");
  return queries;
}

TEST(FieldIndex, SameNodeAsXPathOnGeneratedDocuments) {
  std::mt19937 random(77);
  const xml::NamespaceBindings bindings = {
      {"FD", "urn:overridden"}, {"FD", kFlowDataUri}, {"o", "urn:other"}};
  int indexed = 0, found = 0;
  for (int round = 0; round < 300; ++round) {
    const std::string text = Document(random);
    const xml::DocPtr doc = xml::ParseXml(text);
    xml::FieldIndex index;
    for (const Name& field : kNames) {
      for (const Name& envelope : kEnvelopes) {
        for (const std::string& query : Queries(field.query, envelope.query)) {
          const std::optional<xmlNode*> answer = index.Find(doc.get(), query, bindings);
          if (!answer) continue;
          ++indexed;
          found += *answer != nullptr;
          std::vector<xmlNode*> nodes;
          ASSERT_NO_THROW(nodes = xml::SelectNodes(doc.get(), reinterpret_cast<xmlNode*>(doc.get()),
                                                   query, bindings))
              << query;
          ASSERT_EQ(*answer, nodes.empty() ? nullptr : nodes.front()) << query << " in " << text;
        }
      }
    }
  }
  EXPECT_GT(indexed, 50000) << "the usual forms are answered by the index";
  EXPECT_GT(found, 10000);
}

TEST(FieldIndex, LeavesOtherQueriesAndUnboundPrefixesToXPath) {
  std::mt19937 random(5);
  const xml::DocPtr doc = xml::ParseXml(Document(random));
  xml::FieldIndex index;
  const xml::NamespaceBindings bindings = {{"FD", kFlowDataUri}};
  for (const std::string query :
       {"//FD:Field[@Name = 'A']", "//FD:Field[@Name='A'][2]", "//o:Field[@Name='A']",
        "//xml:Field[@Name='A']", "FD:Field[@Name='A']", "//FD:Field[@Name='A']/text()",
        "//FD:Envelope[@Name='A']/FD:Field[@Name='A']", "//Field[@Name='A']",
        "//FD:Field[@Name='A]", "//FD:Envelope[@Name='E']/FD:Fields/o:Field[@Name='A']"}) {
    EXPECT_EQ(index.Find(doc.get(), query, bindings), std::nullopt) << query;
  }
}

const char* const kJob =
    "<FD:FlowData xmlns:FD='http://flow.quenda.local/namespace/FlowData'>"
    "<FD:Envelope Name='FromFlow'><FD:Fields><FD:Field Name='A'>a1</FD:Field>"
    "<FD:Field Name='T' FlowType='Datas'><FD:Datas Table='T'><FD:Data><FD:Fields>"
    "<FD:Field Name='N'>n1</FD:Field></FD:Fields></FD:Data></FD:Datas></FD:Field>"
    "</FD:Fields></FD:Envelope>"
    "<FD:Envelope Name='ToFlow'><FD:Fields><FD:Field Name='A'>a2</FD:Field>"
    "<FD:Field Name='B'>b2</FD:Field><FD:Field Name='N'>n2</FD:Field></FD:Fields>"
    "</FD:Envelope></FD:FlowData>";

const std::string kFromFields = "//FD:Envelope[@Name='FromFlow']/FD:Fields";

void OnFromFlowFields(DOMWrapper& dom) {
  ASSERT_TRUE(dom.PosNodeByName("Envelope", "FromFlow"));
  ASSERT_TRUE(dom.PosNode("Fields", true));
}

// Each change makes the query's answer differ from the one the index gave before it.
// (AddNode, AddDatas and CloneNode drop the index too, though no change they can make
// alters a first match: a clone comes after its original, new elements carry no name.)
TEST_F(DomTest, EveryChangeOfTheDocumentDropsTheFieldIndex) {
  const xml::DocPtr other =
      xml::ParseXml("<FD:Field xmlns:FD='" + kFlowDataUri + "' Name='Z'>z</FD:Field>");
  const struct {
    const char* change;
    std::function<void(DOMWrapper&)> apply;
    std::string query, before, after;
  } cases[] = {
      {"AppendNode", [](DOMWrapper& d) { d.AppendNode(kFromFields, "FD:Field", "z", "Name", "Z"); },
       "//FD:Field[@Name='Z']", "", "z"},
      {"AppendChildNodefromText",
       [](DOMWrapper& d) {
         d.AppendChildNodefromText(
             kFromFields, "<FD:Field xmlns:FD='" + kFlowDataUri + "' Name='Z'>z</FD:Field>");
       },
       "//FD:Field[@Name='Z']", "", "z"},
      {"AppendChildNodefromNode",
       [&](DOMWrapper& d) {
         d.AppendChildNodefromNode(kFromFields, xmlDocGetRootElement(other.get()));
       },
       "//FD:Field[@Name='Z']", "", "z"},
      {"CloneNodes", [](DOMWrapper& d) { d.CloneNodes("//FD:Field[@Name='B']", kFromFields); },
       kFromFields + "/FD:Field[@Name='B']", "", "b2"},
      {"RemoveNode", [](DOMWrapper& d) { d.RemoveNode(kFromFields, "//FD:Field[@Name='A']"); },
       "//FD:Field[@Name='A']", "a1", "a2"},
      {"RemoveNodes", [](DOMWrapper& d) { d.RemoveNodes(kFromFields, "FD:Field[@Name='A']"); },
       "//FD:Field[@Name='A']", "a1", "a2"},
      {"SetAttributes", [](DOMWrapper& d) { d.SetAttributes("//FD:Field[@Name='A']", 0, "Q"); },
       "//FD:Field[@Name='A']", "a1", ""},
      {"SetElementValue",
       [](DOMWrapper& d) { d.SetElementValue("//FD:Field[@Name='A']/@Name", "Q"); },
       "//FD:Field[@Name='A']", "a1", "a2"},
      {"SetElementByName",
       [](DOMWrapper& d) {
         OnFromFlowFields(d);
         d.SetElementByName("FD:Field[@Name='A']/@Name", "Q");
       },
       "//FD:Field[@Name='A']", "a1", "a2"},
      {"SetChild",
       [](DOMWrapper& d) {
         OnFromFlowFields(d);
         d.SetChild("Field", "x");  // the table field loses its table
       },
       "//FD:Field[@Name='N']", "n1", "n2"},
      {"AddField",
       [](DOMWrapper& d) {
         OnFromFlowFields(d);
         d.AddField("Z", "String", "z");
       },
       "//FD:Field[@Name='Z']", "", "z"},
  };
  const std::string path = FileWith("job.xml", kJob);
  for (const auto& c : cases) {
    dom.Load(path, kFdDeclaration);
    ASSERT_EQ(dom.GetElementValue(c.query, true), c.before) << c.change << ": " << c.query;
    c.apply(dom);
    EXPECT_EQ(dom.GetElementValue(c.query, true), c.after) << c.change << ": " << c.query;
  }
  EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(DomTest, FieldIndexFollowsLoadAndTheSelectionNamespaces) {
  const std::string first = FileWith("first.xml", kJob);
  std::string changed = kJob;
  changed.replace(changed.find(">a1<"), 4, ">a9<");
  const std::string second = FileWith("second.xml", changed);
  const std::string query = "//FD:Field[@Name='A']";
  dom.Load(first, "xmlns:FD='urn:other'");
  EXPECT_EQ(dom.GetElementValue(query, true), "") << "FD bound elsewhere";
  dom.Flow_Property();
  EXPECT_EQ(dom.GetElementValue(query, true), "a1");
  dom.Load(second, kFdDeclaration);
  EXPECT_EQ(dom.GetElementValue(query, true), "a9");
  EXPECT_EQ(dom.GetXML(), "<FD:Field Name=\"A\">a9</FD:Field>") << "the field is the current node";
  dom.NewDoc("FD:FlowData");
  dom.Flow_Property();
  EXPECT_EQ(dom.GetElementValue(query, true), "") << "a new document has no fields";
}

}  // namespace
}  // namespace quenda::testing
