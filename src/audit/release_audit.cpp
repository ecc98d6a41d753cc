#include "audit/release_audit.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "audit/batch_audit.h"
#include "audit/conservation_audit.h"
#include "audit/customer_table.h"
#include "audit/dab_audit.h"
#include "audit/slot_values.h"
#include "text/cp1252.h"

namespace quenda::audit {
namespace {

using Faults = std::vector<std::string>;

// The files of the release read once each; a file that cannot be read is one finding.
class Reader {
 public:
  Reader(const ReleaseSource& source, AuditLog& log) : source_(source), log_(log) {}

  const std::string* Get(const std::string& path) {
    auto it = cache_.find(path);
    if (it == cache_.end()) {
      std::string why;
      std::optional<std::string> bytes = source_.Read(path, why);
      if (!bytes) log_.Fail("QR-FILE", path, "kann nicht gelesen werden: " + why);
      it = cache_.emplace(path, std::move(bytes)).first;
    }
    return it->second ? &*it->second : nullptr;
  }

 private:
  const ReleaseSource& source_;
  AuditLog& log_;
  std::map<std::string, std::optional<std::string>> cache_;
};

std::string BaseName(const std::string& path) {
  const std::string name = FileNameOf(path);
  return name.substr(0, name.find('.'));
}

// The customer table row of each parameter of the report (empty when unreadable).
std::vector<TableRow> ParameterRows(const ReleaseReport& r, Reader& reader) {
  std::vector<TableRow> rows;
  for (const ReportParameter& p : r.parameters) {
    const std::string* table = reader.Get(p.table);
    rows.push_back(table != nullptr ? CustomerTableRow(*table, p.line).value_or(TableRow())
                                    : TableRow());
  }
  return rows;
}

std::vector<SlotSource> SlotSources(const ReleaseReport& r, const std::vector<TableRow>& rows) {
  std::vector<SlotSource> sources;
  for (const ReportSlot& s : r.slots) {
    if (s.label.empty()) continue;
    SlotSource source{s.slot, s.label, s.kind, s.format, s.length, s.dummy, ""};
    for (std::size_t k = 0; k < r.parameters.size(); ++k) {  // a later row wins
      const auto at = rows[k].find("Array_Nr");
      if (at != rows[k].end() && !at->second.empty() && at->second == std::to_string(s.slot)) {
        source.raw = r.parameters[k].value;
      }
    }
    sources.push_back(source);
  }
  return sources;
}

void CheckRun(const ReleaseReport& r, const std::string& reportPath, AuditLog& log) {
  Faults faults;
  if (r.exitStatus != 0 || r.reason != "success") {
    faults.push_back("der Lauf endete nicht erfolgreich (reason " + r.reason + ", exitStatus " +
                     std::to_string(r.exitStatus) + ")");
  }
  log.Check("QR-RUN", reportPath, "der Lauf endete erfolgreich", faults);
}

// The slot values of the report against the values worked out again.
void CheckReportSlots(const ReleaseReport& r, const std::string& reportPath,
                      const std::vector<std::string>& actual, AuditLog& log) {
  Faults faults;
  for (const ReportSlot& s : r.slots) {
    if (s.label.empty() || s.slot < 0 || s.slot > 20) continue;
    if (s.value != actual[static_cast<std::size_t>(s.slot)]) {
      faults.push_back("Slot " + std::to_string(s.slot) + " " + s.label + ": Wert >" + s.value +
                       "<, nachgerechnet >" + actual[static_cast<std::size_t>(s.slot)] + "<");
    }
  }
  log.Check("QR-KON-VALUE", reportPath, "Slotwerte wie aus den Parametern nachgerechnet", faults);
}

std::string VariantSwitch(const std::string& commandLine) {
  const std::size_t a = commandLine.find('"');
  const std::size_t b = a == std::string::npos ? a : commandLine.find('"', a + 1);
  if (b == std::string::npos) return {};
  std::string fields = commandLine.substr(a + 1, b - a - 1);
  for (int k = 0; k < 2; ++k) {
    const std::size_t bar = fields.find('|');
    if (bar == std::string::npos) return {};
    fields = fields.substr(bar + 1);
  }
  return fields.substr(0, fields.find('|'));
}

// The blocks the file with `suffix` ('s', 'n', 'o', 'g', 'a', 't') must hold.
ExpectedConservation ExpectedFile(char suffix, const ReleaseReport& r,
                                  const std::vector<SlotSource>& sources,
                                  const std::vector<std::string>& actual) {
  ExpectedConservation e;
  if (suffix == 's' || suffix == 'n') {
    e.header = suffix == 's' ? "aktuelle" : "dummy";
    const int first = suffix == 'n' && r.customerGroup == "003" ? 4 : 1;
    for (const SlotSource& s : sources) {
      if (s.slot < first || s.slot > 20) continue;
      const std::string& value = actual[static_cast<std::size_t>(s.slot)];
      e.values[s.label] = suffix == 's' ? value : DummySlotValue(s, value);
    }
    return e;
  }
  if (VariantSwitch(r.commandLine) != "0") return e;
  const bool tuning = r.Parameter("FlgTuningS").value_or("") == "1";
  const bool named = suffix != 't' && (suffix != 'g' || tuning);
  for (const SlotSource& s : sources) {
    if (s.slot < 1 || s.slot > 3) continue;
    std::string value = !named || s.slot == 1 ? ""
                        : s.slot == 2         ? std::string(1, suffix) + ".hex"
                                              : "X";
    SlotSource plain = s;
    plain.format = "";
    plain.kind = "KTX";  // padded to the length whatever the kind
    e.values[s.label] = PrepareSlotValue(plain, value);
  }
  return e;
}

const ReportFile* OutputNamed(const ReleaseReport& r, const std::string& tail,
                              const std::string& other = "") {
  for (const ReportFile& f : r.files) {
    if (EndsWithIgnoreCase(f.path, tail) && f.path != other) return &f;
  }
  return nullptr;
}

void CheckConservation(const ReleaseReport& r, const std::vector<SlotSource>& sources,
                       const std::vector<std::string>& actual, Reader& reader, AuditLog& log) {
  const ReportFile* storeInput = r.InputOf("objectStore");
  const std::string* store = storeInput != nullptr ? reader.Get(storeInput->path) : nullptr;
  for (const ReportFile& f : r.files) {
    if (!EndsWithIgnoreCase(f.path, ".kon") || FileNameOf(f.path).size() < 5) continue;
    const std::string name = FileNameOf(f.path);
    const char suffix =
        static_cast<char>(std::tolower(static_cast<unsigned char>(name[name.size() - 5])));
    if (std::string("snogat").find(suffix) == std::string::npos) continue;
    const std::string* bytes = reader.Get(f.path);
    if (bytes == nullptr) continue;
    AuditConservationFile(r, f.path, *bytes, store != nullptr ? *store : std::string(),
                          ExpectedFile(suffix, r, sources, actual), log);
  }
}

// The lines the data-version DAB file appends to its base.
std::vector<std::string> AppendedDabLines(const ReleaseReport& r, const std::vector<TableRow>& rows,
                                          const std::string& basePath,
                                          const std::string& versionText) {
  std::vector<std::string> lines;
  for (std::size_t k = 0; k < r.parameters.size(); ++k) {
    const auto at = rows[k].find("Name_DAB");
    if (at == rows[k].end() || at->second.empty()) continue;
    const std::string& value = r.parameters[k].value;
    lines.push_back(at->second + " = " + (value.empty() ? "NULL" : value));
  }
  const auto p = [&](const char* name) { return r.Parameter(name).value_or(""); };
  std::string base = basePath;
  while (!base.empty() && base.front() == ' ') base.erase(0, 1);
  while (!base.empty() && base.back() == ' ') base.pop_back();
  lines.push_back("APP-Datei = " + p("ApplPathName") + "\\" + p("ApplFileName"));
  lines.push_back("KON-Datei = " + base.substr(0, base.size() >= 6 ? base.size() - 6 : 0) +
                  versionText + ".kon");
  lines.push_back("DST-Text = " + versionText);
  lines.push_back("EPK-DST = " + p("SoftwareName"));
  if (!p("PST_Kennung_Variant").empty()) lines.push_back("PST-Text = " + p("PST_Kennung_Variant"));
  return lines;
}

// The DAB files; returns the path of the data-version DAB file (empty when none).
std::string CheckDabFiles(const ReleaseReport& r, const std::vector<TableRow>& rows, Reader& reader,
                          AuditLog& log) {
  const ReportFile* input = r.InputOf("dab");
  const ReportFile* copy =
      input != nullptr ? OutputNamed(r, "\\" + FileNameOf(input->path), input->path) : nullptr;
  if (copy != nullptr) {
    const std::string* source = reader.Get(input->path);
    const std::string* bytes = reader.Get(copy->path);
    if (source != nullptr && bytes != nullptr) {
      AuditDabCopy(input->path, *source, copy->path, *bytes, BaseName(input->path), log);
    }
  }
  std::string version = r.Parameter("DataVersion").value_or("");
  if (r.customerGroup == "JAP" && version.size() > 2) version = version.substr(version.size() - 2);
  const ReportFile* base = copy != nullptr ? copy : input;
  const ReportFile* target = OutputNamed(r, version + ".dab", base != nullptr ? base->path : "");
  if (target == nullptr || base == nullptr) return target != nullptr ? target->path : "";
  const std::string* baseBytes = reader.Get(base->path);
  const std::string* bytes = reader.Get(target->path);
  if (baseBytes != nullptr && bytes != nullptr) {
    AuditDataVersionDab(target->path, *bytes, *baseBytes,
                        AppendedDabLines(r, rows, base->path, version), log);
  }
  return target->path;
}

// Each copy of a hex, DAMOS or application input: a file of the release with its name.
void CheckByteCopies(const ReleaseReport& r, Reader& reader, AuditLog& log) {
  for (const ReportFile& in : r.inputs) {
    if (in.role != "hex" && in.role != "damos" && in.role != "application") continue;
    const ReportFile* copy = OutputNamed(r, "\\" + FileNameOf(in.path), in.path);
    if (copy == nullptr) continue;
    const std::string* source = reader.Get(in.path);
    const std::string* bytes = reader.Get(copy->path);
    if (source != nullptr && bytes != nullptr)
      AuditByteCopy(in.path, *source, copy->path, *bytes, log);
  }
}

// Sets `text` to the content of each element "Field" with the attribute Name `name` at and
// below `node` and its following siblings, in document order (so the last one stays).
void LastFieldText(const xmlNode* node, const std::string& name, std::string& text) {
  for (; node != nullptr; node = node->next) {
    if (node->type != XML_ELEMENT_NODE) continue;
    if (xmlStrEqual(node->name, BAD_CAST "Field")) {
      xmlChar* attribute = xmlGetProp(node, BAD_CAST "Name");
      if (attribute != nullptr && name == reinterpret_cast<const char*>(attribute)) {
        xmlChar* content = xmlNodeGetContent(node);
        text = content != nullptr ? reinterpret_cast<const char*>(content) : "";
        xmlFree(content);
      }
      xmlFree(attribute);
    }
    LastFieldText(node->children, name, text);
  }
}

// The text of the last element "Field" (in whatever namespace) whose attribute Name is
// `name`, in the job `xml`, as CP1252; empty when there is none or the job is no XML. Read
// with libxml2 of its own, without network and without expanding entities.
std::string XmlFieldText(const std::string& xml, const std::string& name) {
  const std::unique_ptr<xmlDoc, void (*)(xmlDoc*)> doc(
      xmlReadMemory(xml.data(), static_cast<int>(xml.size()), nullptr, nullptr,
                    XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
      &xmlFreeDoc);
  if (!doc) return {};
  std::string text;
  LastFieldText(xmlDocGetRootElement(doc.get()), name, text);
  return Utf8ToCp1252(text);
}

// The customer plant index the run kept: the security-mask rule writes it into the job's
// field Customer_plant_index; without that rule it is empty.
std::string PlantIndex(const ReleaseReport& r, Reader& reader) {
  bool masked = false;
  for (const ReportParameter& p : r.parameters) masked = masked || p.rule.starts_with("XXX=");
  if (!masked) return {};
  const std::string* job = reader.Get(r.job);
  return job != nullptr ? XmlFieldText(*job, "Customer_plant_index") : std::string();
}

void CheckBatchFiles(const ReleaseReport& r, const std::string& newDab,
                     const std::string& seriesToolsRoot, Reader& reader, AuditLog& log) {
  if (const ReportFile* bat = OutputNamed(r, "\\ParaSerie.bat")) {
    if (const std::string* bytes = reader.Get(bat->path)) {
      AuditReleaseBatch(r, bat->path, *bytes, seriesToolsRoot, PlantIndex(r, reader), log);
    }
  }
  if (const ReportFile* tarvell = OutputNamed(r, "\\Tarvell.Bat");
      tarvell != nullptr && !newDab.empty()) {
    if (const std::string* bytes = reader.Get(tarvell->path)) {
      AuditCollectionBatch(r, tarvell->path, *bytes, newDab, log);
    }
  }
}

}  // namespace

void AuditRelease(const ReleaseReport& report, const std::string& reportPath,
                  const ReleaseSource& source, const std::string& seriesToolsRoot, AuditLog& log) {
  Reader reader(source, log);
  CheckRun(report, reportPath, log);
  const std::vector<TableRow> rows = ParameterRows(report, reader);
  const std::vector<SlotSource> sources = SlotSources(report, rows);
  const std::vector<std::string> actual = ActualSlotValues(sources);
  CheckReportSlots(report, reportPath, actual, log);
  CheckConservation(report, sources, actual, reader, log);
  const std::string newDab = CheckDabFiles(report, rows, reader, log);
  CheckByteCopies(report, reader, log);
  CheckBatchFiles(report, newDab, seriesToolsRoot, reader, log);
}

}  // namespace quenda::audit
