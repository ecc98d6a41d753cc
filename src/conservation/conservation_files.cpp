#include "conservation/conservation_files.h"

#include <algorithm>
#include <vector>

#include "conservation/conservation_block.h"
#include "conservation/slot_value.h"
#include "session/session.h"
#include "session/termination.h"
#include "text/tokens.h"

namespace quenda {
namespace {

const char* const kTitleLine = "* K o n s e r v i e r u n g";

void WriteHeader(ConservationFile& f, const std::string& which) {
  f.WriteLine(kTitleLine);
  f.WriteLine("");
  f.WriteLine("* " + which + " Helmo HW-TTNR und SW-TTNR");
  f.WriteLine("");
  f.WriteLine("");
}

// Replaces the file on disk with every line at once.
void Save(Session& s, const ConservationFile& f) {
  try {
    s.files.WriteLines(f.path, f.lines);
  } catch (const Error& e) {
    ErrorEnd(s,
             "Konservierungsdatei " + f.path + " kann nicht geschrieben werden: " + e.Description(),
             EndStyle::Box(48), "Abbruch");
  }
}

void WriteValueFile(Session& s, const std::string& path, ConservationPass pass, int first) {
  ConservationFile f{path, {}};
  WriteHeader(f, pass == ConservationPass::kActual ? "aktuelle" : "dummy");
  for (int i = first; i <= s.spec.SpecCount; ++i) WriteSlotBlock(s, f, i, pass);
  Save(s, f);
}

// `hexName` empty: the variant file without hex name.
void WriteVariantFile(Session& s, const std::string& path, const std::string& hexName) {
  ConservationFile f{path, {}};
  if (s.env.CommandFields[2] == "0") {
    for (int i = 1; i <= 3; ++i) WriteIdentificationBlock(s, f, i, !hexName.empty(), hexName);
  }
  Save(s, f);
}

}  // namespace

std::vector<LineValue> ConservationLineValues(const Session& s) {
  std::vector<LineValue> values;
  const int last = std::min(s.state.izeile, ParamTable::kRows - 1);
  for (int row = 0; row <= last; ++row) {
    if (s.params.At(row, ParamTable::kArrayNr).empty()) continue;
    const std::string& name = s.params.At(row, ParamTable::kName);
    for (int column : {ParamTable::kLabel, ParamTable::kDummy, ParamTable::kValue}) {
      values.push_back({name, s.params.At(row, column)});
    }
  }
  for (const std::string& ident : s.spec.IdentValue) values.push_back({"IdentValue", ident});
  values.push_back({"HexBaseName", s.spec.HexBaseName});
  return values;
}

std::string WriteConservationFiles(Session& s, const std::string& dabFilePath,
                                   const std::string& dabNewName) {
  const std::string folder = GetToken(SplitPath(dabFilePath), 0, "|");
  const std::string stem = folder + "\\" + GetToken(dabNewName, 0, ".");
  WriteValueFile(s, stem + "s.kon", ConservationPass::kActual, 1);
  WriteValueFile(s, stem + "n.kon", ConservationPass::kDummy,
                 s.job.CfgKundenGruppe == "003" ? 4 : 1);
  WriteVariantFile(s, stem + "o.kon", "o.hex");
  if (s.job.FlgTuningS == "1") {
    WriteVariantFile(s, stem + "g.kon", "g.hex");
    WriteVariantFile(s, stem + "a.kon", "a.hex");
    WriteVariantFile(s, stem + "t.kon", "");
  } else {
    WriteVariantFile(s, stem + "g.kon", "");
  }
  return folder;
}

}  // namespace quenda
