// Small FlowData jobs, configuration sites and dialog transcripts for the tests of the
// job intake and the rules.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "support/fake_system.h"

namespace quenda::testing {

using FieldList = std::vector<std::pair<std::string, std::string>>;

// A job file (UTF-8 XML): the FromFlow envelope with `fields` (values as XML text)
// followed by `fromFlowExtra`, and the ToFlow envelope holding `toFlow`.
std::string FlowJob(const FieldList& fields, const std::string& fromFlowExtra = {},
                    const std::string& toFlow = "<FD:Fields/>");

// A table field: FD:Field of flow type Datas with one record of `fields`.
std::string FlowTable(const std::string& table, const FieldList& fields);

// The placeholder for the FromFlow field `name`.
std::string FieldPlaceholder(const std::string& name);

// The header line of a customer configuration table.
std::string ConfigHeader();
// One row of a customer configuration table.
std::string ConfigRow(const std::string& name, const std::string& mark, const std::string& rule,
                      const std::string& optional = {});

// Records the fixture's dialogs as transcript lines (JSON, one per dialog).
class DialogLog {
 public:
  explicit DialogLog(SessionFixture& fixture);
  std::vector<std::string> Lines() const;
  std::string All() const;  // every line, each ended by "\n"

 private:
  std::string path_;
};

std::string MessageJson(const std::string& title, const std::string& text, int style,
                        const std::string& answer);
std::string InputJson(const std::string& title, const std::string& prompt,
                      const std::string& answer);

// The text of the FromFlow (or ToFlow) field `name` of the job `path`, loaded afresh.
std::string ReadJobField(SessionFixture& fixture, const std::string& path,
                         const std::string& envelope, const std::string& name);

// The Config.ini of ConfigSite: configuration folder C:\Quenda\cfg, drives C: and T:, and
// the tools share, all inside the fixture's folder.
extern const char* const kSiteConfigIni;

// A site for the configuration selection: the program folder with Config.ini, the global
// table with customers 007 (rows 1 conditional on DATA6.Variante=X, 2 plain), 008
// (configuration 99, which does not exist), 009 (table T9), O'B, 010 (blank before "="),
// 011 (table Tab, field Art), the customer tables 012 and 013 in the configuration
// folder and on the tools share, and the job T:\job.xml on the command line.
class ConfigSite {
 public:
  explicit ConfigSite(const std::string& answers = {}, const std::string& ini = kSiteConfigIni);

  // Writes the job: Jobsource FLOW5, customer 7, control unit " ME7 ", with `more`
  // replacing or adding fields, and `extra` inside the FromFlow fields.
  void Job(const FieldList& more, const std::string& extra = {});

  Session& S() { return f.S(); }
  // AktKunde|AktSg|AktBa|the four Cfg values|ConfigFile|izeile
  std::string Selected();

  SessionFixture f;
  DialogLog dialogs;
};

}  // namespace quenda::testing
