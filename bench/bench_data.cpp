#include "bench_data.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>

namespace quenda::bench {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// A file written through a large buffer; throws when it cannot be written.
class Output {
 public:
  explicit Output(const std::string& path) : path_(path), file_(std::fopen(path.c_str(), "wb")) {
    if (!file_) throw std::runtime_error("cannot create " + path);
    buffer_.reserve(1 << 20);
  }
  void Put(const std::string& text) {
    buffer_ += text;
    written_ += text.size();
    if (buffer_.size() >= (1 << 20)) Flush();
  }
  std::uint64_t Written() const { return written_; }
  void Close() {
    Flush();
    if (std::fclose(file_.release()) != 0) throw std::runtime_error("cannot write " + path_);
  }

 private:
  void Flush() {
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_.get()) != buffer_.size()) {
      throw std::runtime_error("cannot write " + path_);
    }
    buffer_.clear();
  }
  std::string path_;
  std::unique_ptr<std::FILE, FileCloser> file_;
  std::string buffer_;
  std::uint64_t written_ = 0;
};

// A small deterministic generator (the same on every platform).
class Random {
 public:
  std::uint32_t Next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(state_ >> 33);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }

 private:
  std::uint64_t state_ = 0x5eed;
};

std::string Padded(std::uint64_t n, int width) {
  std::string text = std::to_string(n);
  return std::string(text.size() < static_cast<std::size_t>(width) ? width - text.size() : 0, '0') +
         text;
}

const char* Kind(std::size_t target) {
  static const char* const kinds[] = {"KTX", "KWB", "FKL"};
  return kinds[target % 3];
}

std::string LengthAttribute(const std::string& kind, int value) {
  const std::string n = std::to_string(value);
  if (kind == "KTX") return "MaxAnz=" + n + ":MinAnz=0";
  if (kind == "KWB") return "Anz=" + n;
  return "AnzX=" + n + ":AnzY=1";
}

std::string LineEnd(Random& random) {
  const int r = random.Below(20);
  return r == 0 ? "\n" : r == 1 ? "\r" : "\r\n";
}

// A calibration or measurement record of about 150 to 250 bytes.
std::string Record(std::uint64_t id, const std::string& name, const std::string& kind,
                   Random& random) {
  const bool measurement = kind.empty();
  std::string line = ":OId=" + std::to_string(id) + ":Ver=" + std::to_string(random.Below(9) + 1) +
                     ":Typ=" + (measurement ? "M" : "K") + ":STYP=" + (measurement ? "MWE" : kind) +
                     ":Grp=" + (measurement ? "Mgr" : "Kgs") + ":Name=" + name + ":" +
                     LengthAttribute(measurement ? "KWB" : kind, 4 + random.Below(60)) +
                     ":Ein=-:Fkt=FN_" + Padded(random.Below(5000), 4) + ":Adr=0x" +
                     Padded(0x80000 + random.Below(0x7ffff), 7) + ":Kom=";
  const int words = 3 + random.Below(12);
  for (int w = 0; w < words; ++w) line += w == 0 ? "Wert" : " Kennwert";
  return line + ";";
}

// Where target i lies, as a fraction of the file.
double TargetPlace(std::size_t i) {
  static const double places[] = {0.01, 0.05, 0.10, 0.15, 0.20, 0.25, 0.30, 0.35, 0.40,  0.45,
                                  0.50, 0.55, 0.60, 0.65, 0.70, 0.80, 0.90, 0.97, 0.995, 0.9995};
  return places[i];
}

// Target i: objects whose names begin with its label, a note naming it before its record
// (every second one), the record, and a note after it (every third one).
std::string TargetBlock(std::size_t i, Random& random) {
  const std::string& label = StoreLabels()[i];
  const std::uint64_t id = 9000000 + 2 * i;
  std::string block = Record(id, label + "_X", Kind(i), random) + LineEnd(random);
  if (i % 2 == 0) block += "Verweis=Kgs:Name=" + label + ": siehe unten;" + LineEnd(random);
  block += Record(id + 1, label, Kind(i), random) + LineEnd(random);
  if (i % 3 == 0) block += "Notiz=Kgs:Name=" + label + ": geprueft;" + LineEnd(random);
  return block;
}

// One line that names no target: mostly records of calibration and measurement objects,
// some comments and notes.
std::string FillerLine(std::uint64_t& id, Random& random) {
  const int r = random.Below(100);
  if (r == 0)
    return "* Gruppe " + std::to_string(id) + " = Kgs:Name ohne Eintrag" + LineEnd(random);
  if (r == 1 && id > 10)
    return "Verweis=Kgs:Name=KL_" + Padded(id - 5, 8) + ": alt;" + LineEnd(random);
  const bool measurement = r < 30;
  const std::string name = (measurement ? "MW_" : "KL_") + Padded(id, 8);
  const std::string line = Record(id, name, measurement ? "" : Kind(id), random);
  ++id;
  return line + LineEnd(random);
}

// Writes `header`, then filler lines up to `bytes`, block i going in when the output
// passes its place (the places of the twenty targets, spread over the blocks).
void WriteFilledStore(const std::string& path, std::uint64_t bytes, const std::string& header,
                      const std::vector<std::string>& blocks, Random& random) {
  Output out(path);
  out.Put(header);
  std::uint64_t id = 1;
  std::size_t next = 0;
  const std::size_t places = StoreLabels().size();
  while (out.Written() < bytes || next < blocks.size()) {
    const bool due =
        next < blocks.size() &&
        out.Written() >= TargetPlace(next * places / blocks.size()) * static_cast<double>(bytes);
    out.Put(due ? blocks[next++] : FillerLine(id, random));
  }
  out.Close();
}

std::string FieldValue(int n) { return "W" + Padded(n, 7) + ".abc.hex"; }

// A table field: three records of five fields, "T" + number + "_" + field number.
std::string Table(int n) {
  const std::string name = "T" + Padded(n, 6);
  std::string text =
      "<FD:Field Name=\"" + name + "\" FlowType=\"Datas\"><FD:Datas Table=\"" + name + "\">\n";
  for (int record = 0; record < 3; ++record) {
    text += "<FD:Data><FD:Fields>";
    for (int f = 1; f <= 5; ++f) {
      text += "<FD:Field Name=\"" + name + "_" + std::to_string(f) + "\" FlowType=\"Text\">" +
              FieldValue(n * 10 + f) + "</FD:Field>";
    }
    text += "</FD:Fields></FD:Data>\n";
  }
  return text + "</FD:Datas></FD:Field>\n";
}

std::string FieldName(int n) { return "F" + Padded(n, 6); }

// A placeholder for the field `name` in one of the three query forms (one with blanks).
std::string Placeholder(const std::string& name, int form) {
  switch (form % 4) {
    case 0:
      return "{//FD:Envelope[@Name='FromFlow']/FD:Fields/FD:Field[@Name='" + name + "']}";
    case 1:
      return "{//FD:Envelope[@Name='FromFlow']//FD:Field[@Name='" + name + "']}";
    case 2:
      return "{//FD:Field[@Name='" + name + "']}";
    default:
      return "{ //FD:Field[ @Name = '" + name + "' ] }";
  }
}

// The field read by placeholder `k` of parameter `p`: the first twenty parameters read
// the last fields of the job, every 50th a field of a table record, one in 97 a field
// that does not exist (optional), the others fields spread over the job.
std::string PlaceholderField(int p, int k, int fields) {
  if (p % 97 == 5) return "FEHLT_" + std::to_string(p);
  if (p % 50 == 7 && fields >= 500) return "T" + Padded(500, 6) + "_" + std::to_string(k + 2);
  int n = p < 20 ? fields - p - k : 1 + static_cast<int>((p * 7919LL + k * 104729LL) % fields);
  if (n % 1000 == 500) ++n;  // a table, not a text field
  return FieldName(std::max(1, std::min(n, fields)));
}

std::string RuleText(int p, int fields) {
  // Table fields lie deeper than the envelope's own fields: only "//" reaches them.
  const bool table = p % 50 == 7;
  auto field = [&](int k) {
    return Placeholder(PlaceholderField(p, k, fields), table ? 2 + k % 2 : p + k);
  };
  if (p % 97 == 5) return "ADDS=" + field(0) + "+'-'";
  switch (p % 6) {
    case 0:
      return "ADDS=" + field(0) + "+'-'+" + field(1);
    case 1:
      return "KV1=" + field(0) + "*" + field(1) + "*" + field(2);
    case 2:
      return "NEXT=" + field(0);
    case 3:
      return "STR-1=" + field(0);
    case 4:
      return "LASTC=" + field(0);
    default:
      return "CEXT=" + field(0);
  }
}

}  // namespace

const std::vector<std::string>& StoreLabels() {
  static const std::vector<std::string> labels = [] {
    std::vector<std::string> all;
    for (int i = 1; i <= 20; ++i) all.push_back("KD_KONS_" + Padded(i, 2));
    return all;
  }();
  return labels;
}

void WriteObjectStore(const std::string& path, std::uint64_t bytes) {
  Random random;
  std::vector<std::string> blocks;
  for (std::size_t i = 0; i < StoreLabels().size(); ++i) blocks.push_back(TargetBlock(i, random));
  WriteFilledStore(path, bytes,
                   "DAMOS-OSP Export V4.2\r\n* Objekte des Projekts, erzeugt fuer Messungen\r\n",
                   blocks, random);
}

void WritePaddedStore(const std::string& sample, const std::string& path, std::uint64_t bytes) {
  std::ifstream in(sample, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + sample);
  std::string header;
  std::vector<std::string> records;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (records.empty() && line.rfind(":OId", 0) != 0) {
      header += line + "\r\n";
    } else {
      records.push_back(line + "\r\n");
    }
  }
  Random random;
  WriteFilledStore(path, bytes, header, records, random);
}

void WriteJob(const std::string& path, int fields) {
  Output out(path);
  out.Put(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<FD:FlowData xmlns:FD=\"http://flow.quenda.local/namespace/FlowData\">\n"
      "<FD:Envelope Name=\"FromFlow\">\n<FD:Fields>\n");
  for (int n = 1; n <= fields; ++n) {
    if (n % 1000 == 500) {
      out.Put(Table(n));
      continue;
    }
    out.Put("<FD:Field Name=\"" + FieldName(n) + "\" FlowType=\"Text\">" + FieldValue(n) +
            "</FD:Field>\n");
  }
  out.Put("</FD:Fields>\n</FD:Envelope>\n<FD:Envelope Name=\"ToFlow\">\n<FD:Fields>\n");
  for (int n = 1; n <= 5; ++n) {
    out.Put("<FD:Field Name=\"" + FieldName(n) + "\" FlowType=\"Text\">zurueck</FD:Field>\n");
  }
  out.Put("</FD:Fields>\n</FD:Envelope>\n</FD:FlowData>\n");
  out.Close();
}

void WriteConfigTable(const std::string& path, int fields) {
  Output out(path);
  out.Put(
      "Field1_Name_XML;Description;Quenda;CNT;Label;Array_Nr;Format;Dummy;Name_DAB;Rule;"
      "Required_for_CNT;Required_for_Quenda;XML_Optional\r\n");
  for (int p = 0; p < kParameterCount; ++p) {
    const bool optional = p % 97 == 5;
    out.Put("P" + Padded(p, 3) + ";Parameter " + std::to_string(p) + ";*;x;;;;;;" +
            RuleText(p, fields) + ";;;" + (optional ? "*" : "") + "\r\n");
  }
  out.Close();
}

std::uint64_t FileSize(const std::string& path) { return std::filesystem::file_size(path); }

}  // namespace quenda::bench
