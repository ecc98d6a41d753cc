#include "conservation/object_records.h"

#include <gtest/gtest.h>

#include <random>

#include "conservation/object_store.h"

namespace quenda {
namespace {

// Labels that are prefixes of each other, empty, or hold the marker's own characters;
// the key of "X;=Kgs" can overlap itself with a ";" inside the overlap.
const std::vector<std::string> kLabels = {"A",     "AB",     "A_B", "KT", "KT_X", "",      "Kgs",
                                          "X=Kgs", "Name=A", "A:B", ":",  "B;",   "X;=Kgs"};

std::string Pick(std::mt19937& random, const std::vector<std::string>& choices) {
  return choices[std::uniform_int_distribution<std::size_t>(0, choices.size() - 1)(random)];
}

// One piece of a line: the key of a label in its odd variants, or plain text.
std::string Piece(std::mt19937& random) {
  const std::string label = Pick(random, kLabels);
  return Pick(random,
              {"=Kgs:Name=" + label + ":", "=Kgs:Name=" + label + ":x=1",
               "Grp=Kgs:Name=" + label,  // no ":" behind the name
               "=Kgs:Name=Kgs:Name=" + label + ":", "=Kgs:Name=" + label + "=Kgs:",
               "=Kgs:Name=" + label + ":Name=" + label + ":", ":Anz=3", ";", " Text ", "=Kgs:"});
}

// A store of up to twelve lines: records, near-miss records and plain lines, with CR LF,
// LF, CR or no line end, ";" present or missing.
std::string OddStore(std::mt19937& random) {
  std::string store;
  const int lines = std::uniform_int_distribution<int>(0, 12)(random);
  for (int line = 0; line < lines; ++line) {
    store += Pick(random, {":OId=1:V=1:T=K:STYP=KTX", ":OId", ":OI=2", " :OId=3", "Notiz", ""});
    const int pieces = std::uniform_int_distribution<int>(0, 4)(random);
    for (int p = 0; p < pieces; ++p) store += Piece(random);
    store += Pick(random, {";", "", "; rest", ";;"});
    store += Pick(random, {"\r\n", "\n", "\r", "", "\r\n"});
  }
  return store;
}

std::string Shown(const std::string& text) {
  std::string shown;
  for (char c : text)
    shown += c == '\r' ? std::string("\\r") : c == '\n' ? "\\n" : std::string(1, c);
  return shown;
}

TEST(FindObjectRecords, SameAsOneSearchPerLabelOnOddStores) {
  std::mt19937 random(20240517);
  for (int round = 0; round < 5000; ++round) {
    const std::string store = OddStore(random);
    const std::vector<std::string> records = FindObjectRecords(store, kLabels);
    ASSERT_EQ(records.size(), kLabels.size());
    for (std::size_t i = 0; i < kLabels.size(); ++i) {
      ASSERT_EQ(records[i], FindObjectRecord(store, kLabels[i]))
          << "label >" << kLabels[i] << "< in store >" << Shown(store) << "<";
    }
  }
}

TEST(FindObjectRecords, EachLabelGetsItsOwnResultInOrder) {
  const std::string store =
      "Kopf\r\n"
      "Verweis=Kgs:Name=L2: siehe unten;\r\n"
      ":OId=1:V:T:STYP=KTX:Grp=Kgs:Name=L1:MaxAnz=5:x;\n"
      ":OId=2:V:T:STYP=KWB:Grp=Kgs:Name=L2:Anz=3:x;\r"
      "Notiz=Kgs:Name=L3: nur Text; mehr\r\n"
      "Notiz=Kgs:Name=L3: zweiter Text;\r\n"
      ":OId=3:V:T:STYP=KWB:Grp=Kgs:Name=L4:Anz=3 ohne Ende";
  const std::vector<std::string> labels = {"L2", "L1", "L3", "L4", "L1", "L0", "L"};
  const std::vector<std::string> expected = {
      ":OId=2:V:T:STYP=KWB:Grp=Kgs:Name=L2:Anz=3:x;",
      ":OId=1:V:T:STYP=KTX:Grp=Kgs:Name=L1:MaxAnz=5:x;",
      "Notiz=Kgs:Name=L3: zweiter Text;",  // the last non-record line
      "",                                  // no ";" behind the key
      ":OId=1:V:T:STYP=KTX:Grp=Kgs:Name=L1:MaxAnz=5:x;",
      "",
      "",  // a prefix of the names does not match them
  };
  EXPECT_EQ(FindObjectRecords(store, labels), expected);
  EXPECT_EQ(FindObjectRecords(store, {}), std::vector<std::string>{});
  EXPECT_EQ(FindObjectRecords("", {"L1"}), std::vector<std::string>{""});
}

// The search for the "N" of the marker must not miss keys at the very ends of the text
// or keys that overlap each other.
TEST(FindObjectRecords, KeysAtTheEdgesAndOverlapping) {
  const struct {
    std::string store, label, expected;
  } cases[] = {
      {"=Kgs:Name=A:;", "A", "=Kgs:Name=A:;"},
      {":OId=Kgs:Name=A:;", "A", ":OId=Kgs:Name=A:;"},
      {":OId=1=Kgs:Name=Kgs:Name=A:x;", "A", ":OId=1=Kgs:Name=Kgs:Name=A:x;"},
      {"x\r:OId=1=Kgs:Name=A", "A", ""},
      {"N=Kgs:NameN=Kgs:Name=A:;", "A", "N=Kgs:NameN=Kgs:Name=A:;"},
      // the second key begins inside the first and is passed over
      {"x=Kgs:Name=X;=Kgs:Name=X;=Kgs: a; b;", "X;=Kgs", "x=Kgs:Name=X;=Kgs:Name=X;"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindObjectRecords(c.store, {c.label}), std::vector<std::string>{c.expected})
        << "store >" << Shown(c.store) << "<";
    EXPECT_EQ(FindObjectRecord(c.store, c.label), c.expected) << "store >" << Shown(c.store) << "<";
  }
}

}  // namespace
}  // namespace quenda
