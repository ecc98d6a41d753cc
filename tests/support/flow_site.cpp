#include "support/flow_site.h"

#include <fstream>
#include <sstream>

#include "platform/files.h"
#include "ui/transcript.h"
#include "xml/dom_wrapper.h"

namespace quenda::testing {
namespace {

std::string Fields(const FieldList& fields) {
  std::string out;
  for (const auto& [name, value] : fields) {
    out += "<FD:Field Name=\"" + name + "\">" + value + "</FD:Field>";
  }
  return out;
}

}  // namespace

std::string FlowJob(const FieldList& fields, const std::string& fromFlowExtra,
                    const std::string& toFlow) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<FD:FlowData xmlns:FD=\"http://flow.quenda.local/namespace/FlowData\">\n"
         "<FD:Envelope Name=\"FromFlow\"><FD:Fields>" +
         Fields(fields) + fromFlowExtra +
         "</FD:Fields></FD:Envelope>\n"
         "<FD:Envelope Name=\"ToFlow\">" +
         toFlow + "</FD:Envelope>\n</FD:FlowData>\n";
}

std::string FlowTable(const std::string& table, const FieldList& fields) {
  return "<FD:Field Name=\"" + table + "\" FlowType=\"Datas\"><FD:Datas Table=\"" + table +
         "\"><FD:Data><FD:Fields>" + Fields(fields) +
         "</FD:Fields></FD:Data></FD:Datas></FD:Field>";
}

std::string FieldPlaceholder(const std::string& name) {
  return "{//FD:Envelope[@Name='FromFlow']/FD:Fields/FD:Field[@Name='" + name + "']}";
}

std::string ConfigHeader() {
  return "Field1_Name_XML;Description;Quenda;CNT;Label;Array_Nr;Format;Dummy;Name_DAB;Rule;"
         "Required_for_CNT;Required_for_Quenda;XML_Optional\r\n";
}

std::string ConfigRow(const std::string& name, const std::string& mark, const std::string& rule,
                      const std::string& optional) {
  return " " + name + " ;desc " + name + ";" + mark + ";cnt;lab;1;fmt;dum;dab " + name + ";" +
         rule + ";r1;r2;" + optional + "\r\n";
}

DialogLog::DialogLog(SessionFixture& fixture) : path_(fixture.dir.File("transcript.jsonl")) {
  fixture.ui->SetTranscript(path_);
}

std::vector<std::string> DialogLog::Lines() const {
  std::ifstream in(path_);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string DialogLog::All() const {
  std::string out;
  for (const auto& line : Lines()) out += line + "\n";
  return out;
}

std::string MessageJson(const std::string& title, const std::string& text, int style,
                        const std::string& answer) {
  return "{\"kind\":\"message\",\"title\":" + JsonString(title) + ",\"text\":" + JsonString(text) +
         ",\"style\":" + std::to_string(style) + ",\"answer\":" + JsonString(answer) + "}";
}

std::string InputJson(const std::string& title, const std::string& prompt,
                      const std::string& answer) {
  return "{\"kind\":\"input\",\"title\":" + JsonString(title) + ",\"prompt\":" +
         JsonString(prompt) + ",\"default\":\"\",\"answer\":" + JsonString(answer) + "}";
}

std::string ReadJobField(SessionFixture& fixture, const std::string& path,
                         const std::string& envelope, const std::string& name) {
  DOMWrapper doc(fixture.S());
  doc.Load(path, "xmlns:FD='" + fixture.S().site.FlowDataNamespaceUri + "'");
  return doc.GetElementValue("//FD:Envelope[@Name='" + envelope + "']/FD:Fields/FD:Field[@Name='" +
                                 name + "']",
                             false);
}

}  // namespace quenda::testing
