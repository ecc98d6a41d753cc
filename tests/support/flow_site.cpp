#include "support/flow_site.h"

#include <algorithm>
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
  return "{\"kind\":\"input\",\"title\":" + JsonString(title) +
         ",\"prompt\":" + JsonString(prompt) +
         ",\"default\":\"\",\"answer\":" + JsonString(answer) + "}";
}

std::string ReadJobField(SessionFixture& fixture, const std::string& path,
                         const std::string& envelope, const std::string& name) {
  DOMWrapper doc(fixture.S().ui, fixture.S().files, fixture.S().site.FlowDataNamespaceUri);
  doc.Load(path, "xmlns:FD='" + fixture.S().site.FlowDataNamespaceUri + "'");
  return doc.GetElementValue(
      "//FD:Envelope[@Name='" + envelope + "']/FD:Fields/FD:Field[@Name='" + name + "']", false);
}

const char* const kSiteConfigIni =
    "[System]\r\nConfigPath=C:\\Quenda\\cfg\r\n"
    "[Paths]\r\nC:=c\r\nT:=share\r\n\\\\quenda-fs\\tools=tools\r\n";

namespace {

const char* const kGlobalTable =
    "Index;Kunde;SG;Expression;ba;Configuration;ToolVersion;Kolpatoren;KundenGruppe\r\n"
    "1;007;ME7;DATA6.Variante=X;1;12;3;0;3\r\n"
    "2;007;ME7;;2;13;4,6;000;1\r\n"
    "3;008;ME7;;3;99;1;1;1\r\n"
    "4;009;ME7;T9.Feld=1;4;12;1;1;1\r\n"
    "5;O'B;ME7;;5;12;1;1;1\r\n"
    "6;010;ME7;DATA6.Variante =X;6;12;1;1;1\r\n"
    "7;011;ME7;Tab.Art=Neu;7;13;1;1;1\r\n";

}  // namespace

ConfigSite::ConfigSite(const std::string& answers, const std::string& ini)
    : f(answers, ini), dialogs(f) {
  f.dir.Write("Config.ini", ini);
  f.S().env.ProgramDir = f.dir.Path().string();
  f.S().env.CommandLineText = "T:\\job.xml";
  for (const std::string folder : {"c/Quenda/cfg/", "tools/TOOLS/Kolpator/Data/"}) {
    f.dir.Write(folder + "Parameter_Global.csv", kGlobalTable);
    f.dir.Write(folder + "Config_012.csv",
                ConfigHeader() + ConfigRow("P1", "*", "KV1=a") + ConfigRow("P2", "*", "none"));
    f.dir.Write(folder + "Config_013.csv", ConfigHeader() + ConfigRow("Q", "*", "KV1=b"));
  }
  f.dir.Write("tools/TOOLS/Quenda/Cfg_Ref/readme.txt", "");
  Job({});
}

void ConfigSite::Job(const FieldList& more, const std::string& extra) {
  FieldList fields = {
      {"Jobsource", "FLOW5"}, {"Imp_CustomerCodeNumber", "7"}, {"Imp_ECU_Designation", " ME7 "}};
  for (const auto& field : more) {
    auto same = [&](const auto& existing) { return existing.first == field.first; };
    const auto found = std::find_if(fields.begin(), fields.end(), same);
    if (found != fields.end()) {
      found->second = field.second;
    } else {
      fields.push_back(field);
    }
  }
  f.dir.Write("share/job.xml", FlowJob(fields, extra));
}

std::string ConfigSite::Selected() {
  const Session& s = f.S();
  return s.state.AktKunde + "|" + s.state.AktSg + "|" + s.state.AktBa + "|" +
         s.job.CfgConfiguration + "|" + s.job.CfgToolVersion + "|" + s.job.CfgKolpatoren + "|" +
         s.job.CfgKundenGruppe + "|" + s.job.ConfigFile + "|" + std::to_string(s.state.izeile);
}

}  // namespace quenda::testing
