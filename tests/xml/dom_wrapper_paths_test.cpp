// DOMWrapper operations on document paths: appending, cloning, removing, attributes.
#include <gtest/gtest.h>
#include <libxml/parser.h>

#include "text/cp1252.h"
#include "xml/dom_test_support.h"
#include "xml/dom_wrapper.h"

namespace quenda::testing {
namespace {

const std::string kToFlow = "//FD:Envelope[@Name='ToFlow']";
const std::string kFromFields = "//FD:Envelope[@Name='FromFlow']/FD:Fields";

std::string Header(const std::string& operation) {
  return "Error in Function 'DOMWrapper." + operation + "' \r\nArgument(s) : ";
}

TEST_F(DomTest, AppendNodeWithAttributesAndSameLevel) {
  LoadData("job_fd_prefix.xml");
  dom.AppendNode(kToFlow, "FD:Fields");
  dom.AppendNode(kToFlow + "/FD:Fields", "FD:Field", "7", "Name;FlowType", "Zahl;String");
  dom.GetElementValue(kToFlow + "/FD:Fields/FD:Field", false);
  EXPECT_EQ(dom.GetXML(), "<FD:Field Name=\"Zahl\" FlowType=\"String\">7</FD:Field>");

  dom.AppendNode("//FD:Field[@Name='Jobsource']", "FD:Field", "x", "Name", "Neu", true);
  EXPECT_EQ(dom.GetElementValue(kFromFields + "/FD:Field[last()]/@Name", false), "Neu");
  EXPECT_EQ(dom.GetElementValue(kFromFields + "/FD:Field[last()]", false), "x");
}

TEST_F(DomTest, AppendNodeFailuresLeaveTheElementUnattached) {
  struct Case {
    std::string path, name, names, values;
    bool sameLevel;
  } cases[] = {
      {kToFlow, "Neu", "a;b", "1", false},   // no value for b
      {kToFlow, "Neu", "a", "", false},      // no value at all
      {kToFlow, "Neu", "a;", "1;2", false},  // empty attribute name
      {"//FD:Fehlt", "Neu", "", "", false},  // nothing found
      {"/*", "Neu", "", "", true},           // a second root element
      {kToFlow, "Neu Feld", "", "", false},  // no XML name
  };
  LoadData("job_fd_prefix.xml");
  for (const auto& c : cases) {
    EXPECT_EQ(
        ErrorText([&] { dom.AppendNode(c.path, c.name, "v", c.names, c.values, c.sameLevel); }),
        Header("AppendNode") + "\r\n" + c.path + "\r\n" + c.name + "\r\nv\r\n" + c.names + "\r\n" +
            c.values + "\r\n" + (c.sameLevel ? "Wahr" : "Falsch"));
  }
  EXPECT_EQ(dom.CountElementsByTagName("Neu"), 0);
  EXPECT_EQ(dom.CountElementsByTagName("*"), 19);
}

TEST_F(DomTest, CloneNodesAndCloneNodeCopyRecords) {
  const std::string path = CopyOf("job_fd_prefix.xml");
  dom.Load(path, kFdDeclaration);
  dom.CloneNodes("//FD:Datas/FD:Data[1]", "//FD:Datas");
  EXPECT_EQ(dom.CountElementsByTagName("FD:Data"), 3);
  EXPECT_EQ(dom.GetElementValue("//FD:Data[3]//FD:Field[@Name='Variante']", false), "V01");
  ASSERT_TRUE(dom.PosNode("Data"));
  dom.CloneNode();
  EXPECT_EQ(dom.CountElementsByTagName("FD:Data"), 4);
  dom.Save(path);
  const std::string saved = fx.dir.Read("job_fd_prefix.xml");
  EXPECT_EQ(saved.find("xmlns:FD", saved.find("<FD:Envelope")), std::string::npos) << saved;

  dom.GetElementValue("/*", false);
  EXPECT_THROW(dom.CloneNode(), Error) << "one root element only";
  EXPECT_EQ(ErrorText([&] { dom.CloneNodes("//FD:Fehlt", "//FD:Datas"); }),
            Header("CloneNodes") + "\r\n//FD:Fehlt\r\n//FD:Datas");
}

TEST_F(DomTest, RemoveNodeAndRemoveNodes) {
  LoadData("job_fd_prefix.xml");
  const std::string bemerkung = "//FD:Field[@Name='Bemerkung']";
  dom.RemoveNode(kFromFields, bemerkung);
  EXPECT_FALSE(dom.CheckElementByName(bemerkung) || dom.GetElementValue(bemerkung, true) != "");
  EXPECT_EQ(dom.CountElementsByTagName("FD:Field"), 9);
  EXPECT_EQ(ErrorText([&] { dom.RemoveNode(kToFlow, "//FD:Field[@Name='Jobsource']"); }),
            Header("RemoveNode") + "\r\n" + kToFlow + "\r\n//FD:Field[@Name='Jobsource']");

  // The current node stays usable after its subtree was removed.
  ASSERT_TRUE(dom.PosNodeByAttribut("Field", "Name", "Motor"));
  dom.RemoveNodes("//FD:Datas", "FD:Data");
  EXPECT_EQ(dom.CountElementsByTagName("FD:Data"), 0);
  EXPECT_EQ(dom.GetField(), "2.0 TDI & DPF");
  EXPECT_EQ(dom.CountElementsByTagName("FD:Field"), 5);

  // Removing the parent itself ends in a failure once it has no parent of its own.
  EXPECT_EQ(ErrorText([&] { dom.RemoveNodes("//FD:Datas", "."); }),
            Header("RemoveNodes") + "\r\n//FD:Datas\r\n.");
  EXPECT_EQ(dom.CountElementsByTagName("FD:Datas"), 0);
}

TEST_F(DomTest, SetAttributesByPosition) {
  LoadData("job_fd_prefix.xml");
  dom.SetAttributes("//FD:Envelope", 0, "X\xe4");
  EXPECT_EQ(dom.CountElementsByTagName("FD:Envelope"), 2);
  EXPECT_FALSE(dom.PosNodeByName("Envelope", "FromFlow"));
  EXPECT_TRUE(dom.PosNodeByName("Envelope", "x\xc4"));
  EXPECT_EQ(ErrorText([&] { dom.SetAttributes("//FD:Envelope", 1, "v"); }),
            Header("SetAttributes") + "\r\n//FD:Envelope\r\n1\r\nv")
      << "the second envelope has one attribute only";
}

TEST_F(DomTest, AppendChildNodefromTextParsesSafely) {
  LoadData("job_fd_prefix.xml");
  const std::string text = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><FD:Fields xmlns:FD=\"" +
                           kFlowDataUri + "\"><FD:Field Name=\"T\">\xfc</FD:Field></FD:Fields>";
  dom.AppendChildNodefromText(kToFlow, text, kFdDeclaration);
  EXPECT_EQ(dom.GetElementValue(kToFlow + "/FD:Fields/FD:Field[@Name='T']", false), "\xfc");

  const std::string bad[] = {"<FD:Fields/>", "<a>", "<!DOCTYPE a [<!ENTITY e 'x'>]><a>&e;</a>"};
  for (const auto& nodeText : bad) {
    EXPECT_EQ(ErrorText([&] { dom.AppendChildNodefromText(kToFlow, nodeText); }),
              Header("AppendChildNodefromText") + "\r\n" + kToFlow + "\r\n" + nodeText);
  }
}

TEST_F(DomTest, AppendChildNodefromNodeCopiesForeignNodes) {
  LoadData("job_fd_prefix.xml");
  const std::string foreign =
      "<x:Fields xmlns:x=\"" + kFlowDataUri + "\"><x:Field>1</x:Field></x:Fields>";
  xmlDoc* other =
      xmlReadMemory(foreign.data(), static_cast<int>(foreign.size()), nullptr, nullptr, 0);
  ASSERT_NE(other, nullptr);
  dom.AppendChildNodefromNode(kToFlow, xmlDocGetRootElement(other));
  EXPECT_EQ(dom.GetElementValue(kToFlow + "/FD:Fields/FD:Field", false), "1");
  EXPECT_NE(xmlDocGetRootElement(other), nullptr) << "the owner keeps its node";
  EXPECT_EQ(ErrorText([&] { dom.AppendChildNodefromNode("/", xmlDocGetRootElement(other)); }),
            Header("AppendChildNodefromNode") + "\r\n/\r\n1");
  xmlFreeDoc(other);
  EXPECT_EQ(ErrorText([&] { dom.AppendChildNodefromNode(kToFlow, nullptr); }),
            Header("AppendChildNodefromNode") + "\r\n" + kToFlow + "\r\n");
}

TEST_F(DomTest, SetElementValueSetsTextOfFirstMatch) {
  LoadData("job_fd_prefix.xml");
  dom.SetElementValue("//FD:Field[@Name='Variante']", "V9");
  EXPECT_EQ(dom.GetElementValue("//FD:Data[1]//FD:Field[@Name='Variante']", false), "V9");
  EXPECT_EQ(dom.GetElementValue("//FD:Data[2]//FD:Field[@Name='Variante']", false), "V02");
  // Replacing the text of an element whose descendant is the current node keeps it usable.
  ASSERT_TRUE(dom.PosNodeByAttribut("Field", "Name", "Motor"));
  dom.SetElementValue("//FD:Datas", "leer");
  EXPECT_EQ(dom.GetField(), "2.0 TDI & DPF");
  EXPECT_EQ(dom.CountElementsByTagName("FD:Data"), 0);
  EXPECT_EQ(ErrorText([&] { dom.SetElementValue("//FD:Fehlt", "1"); }),
            Header("SetElementValue") + "//FD:Fehlt");
}

}  // namespace
}  // namespace quenda::testing
