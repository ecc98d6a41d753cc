// Generated inputs for the benchmarks: DAMOS-OSP object stores of a given size with
// twenty target objects spread through the file, and FlowData jobs of a given number of
// fields with a customer configuration table of 300 parameters whose rules read the job
// through placeholders. Everything is deterministic (the same sizes give the same bytes).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quenda::bench {

// The twenty target labels, in slot order (slot 1 first).
const std::vector<std::string>& StoreLabels();

// Writes an object store of about `bytes` bytes to the native path `path`: a header,
// records (":OId=..." lines, "=Kgs:Name=" + name) of calibration and measurement objects,
// comment lines, mixed CR LF, LF and CR line ends. The twenty targets lie at fixed
// fractions of the file, the last within its final kilobytes; several targets are also
// mentioned in comment lines before and after their record, and other objects carry
// names that begin with a target label. Throws std::runtime_error when writing fails.
void WriteObjectStore(const std::string& path, std::uint64_t bytes);

// Writes a store of about `bytes` bytes to `path` that holds the lines of the store
// `sample`: its leading lines that are not records stay at the top, its other lines are
// spread through the file as the twenty targets are (the last near the end), CR LF ended,
// among filler lines. Throws std::runtime_error when reading or writing fails.
void WritePaddedStore(const std::string& sample, const std::string& path, std::uint64_t bytes);

// Number of parameters in the generated configuration table.
constexpr int kParameterCount = 300;

// Writes a FlowData job with `fields` fields in the FromFlow envelope (named "F000001"
// up; a few tables of flow type Datas among them) and a ToFlow envelope with a few
// fields. Throws std::runtime_error when writing fails.
void WriteJob(const std::string& path, int fields);

// Writes the customer configuration table: kParameterCount rows marked "*" whose rules
// (ADDS, KV1, NEXT, STR-1, LASTC, CEXT) hold one to three placeholders naming fields spread
// over the first `fields` fields of the job, some near its end, in the three query forms
// the rules use. Throws std::runtime_error when writing fails.
void WriteConfigTable(const std::string& path, int fields);

// The size of the file `path` in bytes.
std::uint64_t FileSize(const std::string& path);

}  // namespace quenda::bench
