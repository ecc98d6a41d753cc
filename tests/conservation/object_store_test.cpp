#include "conservation/object_store.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "conservation/conservation_fixture.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

using testing::ConservationFixture;

const std::string kStore =
    "DAMOS-OSP Export\r\n"
    ":OId=1:Ver=1:Typ=K:STYP=KTX:Grp=Kgs:Name=KT_SW:MaxAnz=21:Ein=-;\r\n"
    ":OId=2:Ver=1:Typ=K:STYP=KWB:Grp=Kgs:Name=KW_BLOCK:Anz=8:Ein=-;\n"
    ":OId=3:Ver=1:Typ=K:styp=fkl:Grp=Kgs:Name=FK_LINIE:AnzX=5:AnzY=1:x=1;\r"
    ":OId=4:Ver=1:Typ=K:STYP=KTX:Grp=Kgs:Name=KT_SWX:MaxAnz=9:x=1;\r\n"
    "Kommentar=Kgs:Name=KT_DOPPELT: nur Text;\r\n"
    ":OId=5:Ver=1:Typ=K:STYP=KWB:Grp=Kgs:Name=KT_DOPPELT:Anz=3:x=1;\r\n"
    "Notiz=Kgs:Name=KT_NUR_TEXT: a; b\r\n"
    ":OId=6:Ver=1:Typ=K:STYP=KXX:Grp=Kgs:Name=KX_FREMD:Anz=3:x=1;\r\n"
    ":OId=7:Ver=1:Typ=K:STYP=KWB:Grp=Kgs:Name=KW_OHNE:x=1;\r\n"
    ":OId=8:Ver=1:Typ=K:STYP=KWB:Grp=Kgs:Name=KW_ENDE:Anz=4;\r\n"
    ":OId=9:Ver=1:Typ=K:STYP=KWB:Grp=Kgs:Name=KW_TEXT:Anz=vier:x=1;\r\n"
    ":OId=10:Ver=1:Typ=K:STYP=KTX:Grp=Kgs:Name=KT_NULL:MaxAnz=0:x=1;\r\n";

TEST(FindObjectRecord, SearchSemantics) {
  struct Case {
    std::string label, expected;
  } cases[] = {
      {"KT_SW", ":OId=1:Ver=1:Typ=K:STYP=KTX:Grp=Kgs:Name=KT_SW:MaxAnz=21:Ein=-;"},
      // lines may end in LF or CR alone
      {"FK_LINIE", ":OId=3:Ver=1:Typ=K:styp=fkl:Grp=Kgs:Name=FK_LINIE:AnzX=5:AnzY=1:x=1;"},
      // a prefix of a longer name does not match it
      {"KT_SWX", ":OId=4:Ver=1:Typ=K:STYP=KTX:Grp=Kgs:Name=KT_SWX:MaxAnz=9:x=1;"},
      // a first occurrence in a non-record line is skipped
      {"KT_DOPPELT", ":OId=5:Ver=1:Typ=K:STYP=KWB:Grp=Kgs:Name=KT_DOPPELT:Anz=3:x=1;"},
      // only a non-record line: its text up to the next ";"
      {"KT_NUR_TEXT", "Notiz=Kgs:Name=KT_NUR_TEXT: a;"},
      {"kt_sw", ""},  // letter case counts
      {"FEHLT", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindObjectRecord(kStore, c.label), c.expected) << "label >" << c.label << "<";
  }
  EXPECT_EQ(FindObjectRecord(":OId=1:a:b:STYP=KTX=Kgs:Name=L: ohne Ende", "L"), "")
      << "no \";\" after the name";
}

TEST(FindObjectRecord, EverySearchStartsAfresh) {
  ASSERT_NE(FindObjectRecord(kStore, "KT_NUR_TEXT"), "");
  EXPECT_EQ(FindObjectRecord(kStore, "FEHLT"), "");
  EXPECT_EQ(FindObjectRecord(kStore, "KT_SW").substr(0, 6), ":OId=1");
}

TEST(GetRecordAttribute, ValueUpToNextColon) {
  const std::string record = ":OId=3:STYP=FKL:Name=F:AnzX=5:AnzY=1:x=1;";
  EXPECT_EQ(GetRecordAttribute(record, ":AnzX="), "5");
  EXPECT_EQ(GetRecordAttribute(record, ":AnzY="), "1");
  EXPECT_EQ(GetRecordAttribute(":a=:b=;", ":a="), "");
  for (const std::string& key : {std::string(":Anz="), std::string(":x=")}) {
    EXPECT_THROW(GetRecordAttribute(record, key), Error) << key << " in " << record;
  }
}

// A session whose slots 1..labels.size() carry the labels; the store file is T:\p\a.osp.
void Prepare(ConservationFixture& f, const std::vector<std::string>& labels) {
  f.WriteShare("p/a.osp", kStore);
  f.S().state.OspName = "t:\\p\\a.osp";  // lower case as the DAB reader leaves it
  for (std::size_t i = 0; i < labels.size(); ++i) {
    f.S().spec.At(static_cast<int>(i) + 1).Label = labels[i];
  }
  f.S().spec.SpecCount = static_cast<std::int16_t>(labels.size());
}

TEST(LoadObjectStore, SetsKindAndLengthAndLogsThem) {
  ConservationFixture f;
  Prepare(f, {"KT_SW", "KW_BLOCK", "FK_LINIE"});
  LoadObjectStore(f.S());
  const SpecTable& spec = f.S().spec;
  EXPECT_EQ(spec.At(1).Kind, "KTX");
  EXPECT_EQ(spec.At(1).Length, "20") << "MaxAnz 21 less one";
  EXPECT_EQ(spec.At(2).Kind, "KWB");
  EXPECT_EQ(spec.At(2).Length, "8");
  EXPECT_EQ(spec.At(3).Kind, "FKL") << "styp=fkl in lower case";
  EXPECT_EQ(spec.At(3).Length, "5");
  const std::vector<std::string> expected = {"Objektspeicher zur Analyse laden",
                                             "Länge KT_SW = 20"_cp,
                                             "Typ KT_SW = KTX",
                                             "Länge KW_BLOCK = 8"_cp,
                                             "Typ KW_BLOCK = KWB",
                                             "Länge FK_LINIE = 5"_cp,
                                             "Typ FK_LINIE = FKL"};
  EXPECT_EQ(f.LogLines(), expected);
  EXPECT_EQ(f.S().state.ObjectStoreText.Text(), kStore);
}

TEST(LoadObjectStore, NoSlotsStillLoadsTheFile) {
  ConservationFixture f;
  Prepare(f, {});
  LoadObjectStore(f.S());
  EXPECT_EQ(f.LogLines(), std::vector<std::string>{"Objektspeicher zur Analyse laden"});
  EXPECT_EQ(f.S().state.ObjectStoreText.Text(), kStore);
}

TEST(LoadObjectStore, SameLabelInTwoSlotsAndALoadReplacingTheText) {
  ConservationFixture f;
  Prepare(f, {"KW_BLOCK", "KT_SW", "KW_BLOCK"});
  LoadObjectStore(f.S());
  for (int slot : {1, 3}) {
    EXPECT_EQ(f.S().spec.At(slot).Kind, "KWB") << "slot " << slot;
    EXPECT_EQ(f.S().spec.At(slot).Length, "8") << "slot " << slot;
  }
  const std::string changed =
      ":OId=7:V:T:STYP=FKL:Grp=Kgs:Name=KW_BLOCK:AnzX=12:x;\r\n"
      ":OId=8:V:T:STYP=KTX:Grp=Kgs:Name=KT_SW:MaxAnz=4:x;\r\n";
  // A second file: Windows refuses to shorten a file while it is mapped.
  f.WriteShare("p/b.osp", changed);
  f.S().state.OspName = "t:\\p\\b.osp";
  LoadObjectStore(f.S());
  EXPECT_EQ(f.S().state.ObjectStoreText.Text(), changed);
  EXPECT_EQ(f.S().spec.At(3).Kind + f.S().spec.At(3).Length, "FKL12");
  EXPECT_EQ(f.S().spec.At(2).Kind + f.S().spec.At(2).Length, "KTX3");
}

TEST(LoadObjectStore, AbortsForMissingRecordOrUnknownKind) {
  struct Case {
    std::vector<std::string> labels;
    bool batch;
    std::string message;
  } cases[] = {
      {{"KT_SW", "", "KW_BLOCK"},
       false,
       "Eindeutige Selektion von Spezifikation für  aus DAMOS-OSP nicht möglich!"_cp},
      {{"KT_NUR_TEXT"},
       false,
       "Eindeutige Selektion von Spezifikation für KT_NUR_TEXT aus DAMOS-OSP nicht möglich!"_cp},
      {{"KT_SW", "KX_FREMD"},
       false,
       "Kenngrössenart = STYP=KXX unbekannt, bitte bei Orbisk beantragen!"_cp},
      {{"kt_sw"},
       true,
       "!! Abbruch !! Eindeutige Selektion von Spezifikation für kt_sw aus DAMOS-OSP nicht "
       "möglich!"_cp},
  };
  for (const auto& c : cases) {
    ConservationFixture f;
    Prepare(f, c.labels);
    if (c.batch) f.S().env.CommandFields[0] = "job";
    EXPECT_THROW(LoadObjectStore(f.S()), RunEnded) << c.message;
    if (c.batch) {
      EXPECT_EQ(f.LogLines().back(), c.message);
      EXPECT_EQ(f.Dialogs(), "") << "no box in BatchMode";
    } else {
      EXPECT_TRUE(f.Showed(c.message)) << f.Dialogs();
      EXPECT_NE(f.Dialogs().find("\"style\":48"), std::string::npos) << f.Dialogs();
    }
    if (c.labels.size() > 1) {
      EXPECT_EQ(f.S().spec.At(1).Kind, "KTX") << "slots before the failing one keep their kind";
      EXPECT_EQ(f.S().spec.At(1).Length, "20");
    }
  }
}

TEST(LoadObjectStore, BadLengthAttributeEndsRunNamingObject) {
  struct Case {
    std::string label, fragment;
  } cases[] = {
      {"KW_OHNE", "Objekt KW_OHNE: Attribut :Anz= fehlt"},
      {"KW_ENDE", "Objekt KW_ENDE: Attribut :Anz= ist nicht mit \":\" abgeschlossen"},
      {"KW_TEXT", "Objekt KW_TEXT: Attribut :Anz= >vier<"},
      {"KT_NULL", "Objekt KT_NULL: Attribut :MaxAnz= >0<"},
  };
  for (const auto& c : cases) {
    ConservationFixture f;
    Prepare(f, {c.label});
    EXPECT_THROW(LoadObjectStore(f.S()), RunEnded) << c.label;
    const std::string message = f.ErrorFileText();
    EXPECT_NE(message.find("DAMOS-OSP t:\\p\\a.osp, " + c.fragment), std::string::npos)
        << c.label << ": " << message;
    EXPECT_TRUE(f.Showed(message)) << f.Dialogs();
  }
}

TEST(LoadObjectStore, UnreadableFileEndsRunNamingIt) {
  ConservationFixture f;
  f.WriteShare("p/a.osp", kStore);  // the folder is there, the file is not
  f.S().state.OspName = "t:\\p\\fehlt.osp";
  EXPECT_THROW(LoadObjectStore(f.S()), RunEnded);
  EXPECT_EQ(f.ErrorFileText(),
            "Objektspeicher t:\\p\\fehlt.osp kann nicht gelesen werden: Datei nicht gefunden: "
            "t:\\p\\fehlt.osp");
}

}  // namespace
}  // namespace quenda
