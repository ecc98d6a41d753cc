#include "audit/release_report.h"

#include <nlohmann/json.hpp>

#include "text/cp1252.h"

namespace quenda::audit {
namespace {

using Json = nlohmann::json;

// A missing or mistyped field of the report, named in the message.
struct MissingField {
  std::string name;
};

std::string Text(const Json& object, const char* key, const std::string& where) {
  const auto it = object.find(key);
  if (it == object.end() || !it->is_string()) throw MissingField{where + key};
  return Utf8ToCp1252(it->get<std::string>());
}

const Json& Member(const Json& object, const char* key, Json::value_t type) {
  const auto it = object.find(key);
  if (it == object.end() || it->type() != type) throw MissingField{key};
  return *it;
}

int Number(const Json& object, const char* key, const std::string& where) {
  const auto it = object.find(key);
  if (it == object.end() || !it->is_number_integer()) throw MissingField{where + key};
  return it->get<int>();
}

void ReadLists(const Json& json, ReleaseReport& r) {
  for (const Json& p : Member(json, "parameters", Json::value_t::array)) {
    r.parameters.push_back({Text(p, "name", "parameters."), Text(p, "value", "parameters."),
                            Text(p, "table", "parameters."), Text(p, "rule", "parameters."),
                            Number(p, "line", "parameters.")});
  }
  for (const Json& s : Member(json, "slots", Json::value_t::array)) {
    const std::string at = "slots.";
    r.slots.push_back({Number(s, "slot", at), Text(s, "label", at), Text(s, "kind", at),
                       Text(s, "format", at), Text(s, "length", at), Text(s, "dummy", at),
                       Text(s, "value", at)});
  }
  for (const Json& f : Member(json, "inputs", Json::value_t::array)) {
    r.inputs.push_back({Text(f, "path", "inputs."), Text(f, "role", "inputs.")});
  }
  for (const Json& f : Member(json, "files", Json::value_t::array)) {
    r.files.push_back({Text(f, "path", "files."), ""});
  }
}

ReleaseReport Read(const Json& json) {
  ReleaseReport r;
  const Json& run = Member(json, "run", Json::value_t::object);
  r.programDir = Text(run, "programDir", "run.");
  r.currentDir = Text(run, "currentDir", "run.");
  r.commandLine = Text(run, "commandLine", "run.");
  r.reason = Text(json, "reason", "");
  r.exitStatus = Number(json, "exitStatus", "");
  r.job = Text(json, "job", "");
  const Json& c = Member(json, "configuration", Json::value_t::object);
  r.customerGroup = Text(c, "customerGroup", "configuration.");
  r.toolVersion = Text(c, "toolVersion", "configuration.");
  r.ba = Text(c, "ba", "configuration.");
  r.kolpatoren = Text(c, "kolpatoren", "configuration.");
  r.testMode = c.value("testMode", false);
  ReadLists(json, r);
  return r;
}

}  // namespace

std::optional<std::string> ReleaseReport::Parameter(const std::string& name) const {
  for (const ReportParameter& p : parameters) {
    if (p.name == name) return p.value;
  }
  return std::nullopt;
}

const ReportSlot* ReleaseReport::SlotOf(const std::string& label) const {
  for (const ReportSlot& s : slots) {
    if (!s.label.empty() && s.label == label) return &s;
  }
  return nullptr;
}

const ReportFile* ReleaseReport::InputOf(const std::string& role) const {
  for (const ReportFile& f : inputs) {
    if (f.role == role) return &f;
  }
  return nullptr;
}

std::optional<ReleaseReport> ParseReleaseReport(const std::string& json, std::string& why) {
  const Json parsed = Json::parse(json, nullptr, false);
  if (!parsed.is_object()) {
    why = "ist kein JSON-Objekt";
    return std::nullopt;
  }
  if (parsed.value("schemaVersion", Json()) != Json(2)) {
    why = "hat nicht schemaVersion 2";
    return std::nullopt;
  }
  try {
    return Read(parsed);
  } catch (const MissingField& missing) {
    why = "hat kein gültiges Feld " + missing.name;
  } catch (const Json::exception&) {
    why = "hat ein Feld falschen Typs";
  }
  return std::nullopt;
}

}  // namespace quenda::audit
