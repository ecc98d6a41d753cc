#include "conservation/object_records.h"

#include <bitset>
#include <cstring>
#include <unordered_map>

#include "conservation/object_store.h"

namespace quenda {
namespace {

constexpr std::string_view kMarker = "=Kgs:Name=";
// The marker is looked for by its "N": a store is full of "=" and ":", which would stop
// a search for the first character at every field.
constexpr std::size_t kAnchor = 5;
constexpr std::size_t npos = std::string_view::npos;

// The position of the next marker at or after `from`, or npos.
std::size_t NextMarker(std::string_view text, std::size_t from) {
  const std::size_t tail = kMarker.size() - kAnchor;
  for (std::size_t p = from + kAnchor; p + tail <= text.size(); ++p) {
    const void* hit = std::memchr(text.data() + p, kMarker[kAnchor], text.size() - tail + 1 - p);
    if (hit == nullptr) return npos;
    p = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
    // The search ends `tail` bytes before the text does, so the whole marker is in it; a
    // comparison of a fixed size, which the compiler makes two loads of.
    if (std::memcmp(text.data() + p - kAnchor, kMarker.data(), kMarker.size()) == 0) {
      return p - kAnchor;
    }
  }
  return npos;
}

// The start of the line holding a position, for positions that never decrease: each
// byte is looked at once at most over the whole scan.
class LineStarts {
 public:
  explicit LineStarts(std::string_view text) : text_(text) {}
  std::size_t Of(std::size_t pos) {
    for (std::size_t i = pos; i > seen_; --i) {
      if (text_[i - 1] == '\r' || text_[i - 1] == '\n') {
        start_ = i;
        break;
      }
    }
    seen_ = pos;
    return start_;
  }

 private:
  std::string_view text_;
  std::size_t seen_ = 0;   // bytes before this position have been looked at
  std::size_t start_ = 0;  // the line start found for the last position
};

// Where the search of one label stands.
struct LabelSearch {
  std::string_view result;
  std::size_t resumeAt = 0;  // an occurrence before this overlaps the one last taken
  bool settled = false;
};

// Takes the label's key found at `found`, ending before `after`. True when that settles
// the label: a record, or no ";" behind the key (none behind any later one either).
bool Take(std::string_view text, std::size_t found, std::size_t after, LineStarts& lines,
          LabelSearch& search) {
  const std::size_t semicolon = text.find(';', after);
  if (semicolon == npos) return search.settled = true;
  const std::size_t lineStart = lines.Of(found);
  search.result = text.substr(lineStart, semicolon - lineStart + 1);
  search.resumeAt = after;
  return search.settled = text.substr(lineStart, 4) == ":OId";
}

// The labels looked for. A name's length and last character turn most names of a store
// away before the map is asked, which for a few labels compares the name with each.
class Searches {
 public:
  void Add(std::string_view label) {
    map_.try_emplace(label);
    filter_.set(Key(label));
  }
  std::size_t Size() const { return map_.size(); }
  LabelSearch* Find(std::string_view name) {
    if (!filter_.test(Key(name))) return nullptr;
    const auto found = map_.find(name);
    return found != map_.end() ? &found->second : nullptr;
  }

 private:
  static std::size_t Key(std::string_view name) {
    const auto last = name.empty() ? 0u : static_cast<unsigned char>(name.back());
    return (name.size() & 0xFF) << 8 | last;
  }

  std::unordered_map<std::string_view, LabelSearch> map_;
  std::bitset<1 << 16> filter_;
};

void Scan(std::string_view text, Searches& searches) {
  std::size_t open = searches.Size();
  LineStarts lines(text);
  for (std::size_t p = NextMarker(text, 0); open > 0 && p != npos; p = NextMarker(text, p + 1)) {
    const std::size_t nameStart = p + kMarker.size();
    const std::size_t colon = text.find(':', nameStart);
    if (colon == npos) return;  // no later marker either: it holds a ":" itself
    LabelSearch* search = searches.Find(text.substr(nameStart, colon - nameStart));
    if (search == nullptr || search->settled || p < search->resumeAt) continue;
    if (Take(text, p, colon + 1, lines, *search)) --open;
  }
}

}  // namespace

std::vector<std::string> FindObjectRecords(std::string_view text,
                                           const std::vector<std::string>& labels) {
  Searches searches;
  for (const std::string& label : labels) {
    if (label.find(':') == std::string::npos) searches.Add(label);
  }
  Scan(text, searches);
  std::vector<std::string> records;
  records.reserve(labels.size());
  for (const std::string& label : labels) {
    const LabelSearch* found = searches.Find(label);
    records.push_back(found != nullptr ? std::string(found->result)
                                       : FindObjectRecord(text, label));
  }
  return records;
}

}  // namespace quenda
