// The blocks of a conservation file: TEXTSTRING for a text (kind "KTX"), FESTWERTEBLOCK
// for a fixed-value block ("KWB") and FESTKENNLINIE for a fixed characteristic curve
// ("FKL"). Numeric blocks list the value's bytes as decimal numbers, seven to a line.
#pragma once

#include <string>
#include <vector>

namespace quenda {

class Session;

// The conservation file being written: its path (for messages) and its lines so far.
// The writer replaces the file with all lines at once when the file is complete.
struct ConservationFile {
  std::string path;
  std::vector<std::string> lines;
  void WriteLine(std::string line) { lines.push_back(std::move(line)); }
};

// Writes the block of `kind` ("KTX", "KWB", "FKL") with `format` as the writer takes it.
// Any other kind ends the run through TerminateRun with "KgrType = <kind> noch nicht
// berücksichtigt!", empty style and title. Each of the block writers below throws Error
// 60000 (RefusedLineValue) naming the label and the file, before writing a line, for a
// label or value holding a byte no line may carry (text/line_text.h).
void WriteConservationBlock(Session& session, ConservationFile& file, const std::string& label,
                            std::string value, const std::string& kind, const std::string& format);

// Ends the run as WriteConservationBlock does unless `kind` is one of the three.
void RequireKnownKind(Session& session, const std::string& kind);

// TEXTSTRING block: the value between apostrophes, unescaped.
void WriteTextstring(ConservationFile& file, const std::string& label, const std::string& value);

// FESTWERTEBLOCK block. "STR": one number per character code; "HEX" and "LNI": blanks
// and tabs are removed from `value` (the caller sees the change), then one number per
// pair of hexadecimal digits. Any other format (compared case-sensitively) gets the single
// line "   WERT" + tab and a run-log line naming the label and the format. A pair that is
// not hexadecimal ends the run through ErrorEnd naming the file, label and pair.
void WriteFestwerteblock(Session& session, ConservationFile& file, const std::string& label,
                         std::string& value, const std::string& format);

// FESTKENNLINIE block: as FESTWERTEBLOCK, but "HEX" pairs are read without removing
// blanks first and "LNI" is no format of its own.
void WriteFestkennlinie(Session& session, ConservationFile& file, const std::string& label,
                        const std::string& value, const std::string& format);

// The value lines of `numbers`: "   WERT" + tab, then up to seven numbers each followed
// by a tab. No numbers give the single line "   WERT" + tab.
std::vector<std::string> ValueLines(const std::vector<int>& numbers);

}  // namespace quenda
