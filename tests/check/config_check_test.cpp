// The configuration check on copies of the sample site with one fault written into a table
// each: every fault gives exactly the findings listed (file, line, level, text).
#include "check/config_check.h"

#include <gtest/gtest.h>

#include "app/options.h"
#include "app/program.h"
#include "check/row_layout_check.h"
#include "platform/files.h"
#include "platform/system.h"
#include "support/sample_site.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

using testing::kConfig012;
using testing::kGlobalTable;
using testing::SampleSite;

const std::string kData = "\\\\quenda-fs\\tools\\TOOLS\\Kolpator\\Data";
const std::string kGlobal = kData + "\\Parameter_Global.csv";
const std::string k012 = kData + "\\Config_012.csv";

// One change of a sample table: `from` replaced by `to`; with an empty `from` the file
// becomes `to`.
struct Edit {
  const char* file;
  std::string from;
  std::string to;
};

std::vector<std::string> CheckSite(const SampleSite& s, const std::string& folder = kData) {
  auto system = MakeNativeSystem();
  Options options;
  options.programDir = s.Path("site/program");
  const ProgramSetup setup = PrepareProgram(options, *system);
  const Files files(setup.site.Drives);
  std::vector<std::string> lines;
  const Findings findings = CheckConfiguration(files, setup.site, folder);
  for (const Finding& f : findings.All()) {
    lines.push_back(FormatFinding(f));
  }
  return lines;
}

std::string Err(const std::string& file, int line, const std::string& text) {
  return file + ":" + std::to_string(line) + ": Fehler: " + text;
}
std::string Warn(const std::string& file, int line, const std::string& text) {
  return file + ":" + std::to_string(line) + ": Warnung: " + text;
}

struct Case {
  const char* name;
  Edit edit;
  std::vector<std::string> findings;
};

const std::string kWerkeRule =
    "GET={\\\\quenda-fs\\tools\\TOOLS\\Quenda\\Listen\\Werke.csv,CustomerCode,1}";
const std::string kDabRule =
    "ADDS={//FD:Envelope[@Name='FromFlow']/FD:Fields/FD:Field[@Name='Imp_BaseDAB']}";
const std::string kIdent = "ERG=WERT(1[1,3,4,5])+-+WERT(2[4])";

std::string GetRule(const std::string& arguments) {
  return "GET={\\\\quenda-fs\\tools\\TOOLS\\Quenda\\Listen\\" + arguments + "}";
}

std::vector<Case> GlobalCases() {
  const std::string tooMany = "Die Zeile passt nicht zur Kopfzeile: ";
  return {
      {"GlobalEmpty",
       {kGlobalTable, "", ""},
       {Err(kGlobal, 1, "Die Tabelle ist leer (keine Kopfzeile)")}},
      {"GlobalLineTooLong",
       {kGlobalTable, "2;047;EDC21;;001;012;046;001;003", "2;047;EDC21;;001;012;046;001;003;x"},
       {Err(kGlobal, 3,
            tooMany +
                "10 Felder, aber nur 9 Spalten; ein Lauf bricht beim Einlesen der Tabelle ab")}},
      {"GlobalColumnMissing",
       {kGlobalTable, ";KundenGruppe", ";Gruppe"},
       {Err(kGlobal, 1, "Die Spalte >KundenGruppe< fehlt")}},
      {"GlobalColumnWithBlanks",
       {kGlobalTable, ";SG;", "; SG;"},
       {Err(kGlobal, 1,
            "Der Spaltenname > SG< hat Leerzeichen am Rand; eine Suche nach dem Namen ohne sie "
            "findet die Spalte nicht"),
        Err(kGlobal, 1, "Die Spalte >SG< fehlt")}},
      {"GlobalColumnTwice",
       {kGlobalTable, ";KundenGruppe", ";KundenGruppe;sg"},
       {Err(kGlobal, 1, "Die Spalte >sg< gibt es schon als Spalte 3; gelesen wird nur die erste")}},
      {"GlobalConfigurationWithoutTable",
       {kGlobalTable, "3;047;MED9;;001;013", "3;047;MED9;;001;19"},
       {Err(kGlobal, 4, "Keine Configuration " + kData + "\\Config_019.csv vorhanden!")}},
      {"ExpressionWithoutEquals",
       {kGlobalTable, "Imp_Variante=PROTO", "Imp_Variante PROTO"},
       {Err(
           kGlobal, 2,
           "Expression >DATA6.Imp_Variante PROTO< hat kein \"=\"; ein Lauf meldet \"Fehler\" und wählt keine Zeile"_cp)}},
      {"ExpressionWithoutDot",
       {kGlobalTable, "DATA6.Imp_Variante=PROTO", "DATA6Imp_Variante=PRO.TO"},
       {Err(
           kGlobal, 2,
           "Expression >DATA6Imp_Variante=PRO.TO< hat kein \".\" vor dem \"=\"; ein Lauf meldet \"Fehler\" und wählt keine Zeile"_cp)}},
      {"ExpressionFieldEndsInBlank",
       {kGlobalTable, "Imp_Variante=PROTO", "Imp_Variante =PROTO"},
       {Err(kGlobal, 2,
            "Der Feldname >Imp_Variante < in Expression >DATA6.Imp_Variante =PROTO< hat "
            "Leerzeichen am Rand; ein Lauf findet das Feld im Job nicht")}},
      {"ExpressionWithoutTable",
       {kGlobalTable, "DATA6.Imp_Variante=PROTO", " .Imp_Variante=PROTO"},
       {Err(kGlobal, 2, "Expression >.Imp_Variante=PROTO< nennt keine Tabelle vor dem \".\"")}},
      {"IndexNoWholeNumber",
       {kGlobalTable, "1;047;EDC21;DATA6", "1,5;047;EDC21;DATA6"},
       {Err(kGlobal, 2, "Index >1,5< ist keine ganze Zahl")}},
      {"IndexTwice",
       {kGlobalTable, "5;112;EDC21;DATA6", "1;112;EDC21;DATA6"},
       {Err(kGlobal, 6,
            "Index 1 steht schon in Zeile 2; der Filter \"Index = 1\" wählt beide Zeilen"_cp)}},
      {"SecondUnconditionalRow",
       {kGlobalTable, "3;047;MED9;", "3;047;EDC21;"},
       {Warn(
           kGlobal, 4,
           "Zweite Zeile ohne Expression für Kunde >047< und SG >EDC21< (die erste steht in Zeile 3): sie wird nie gewählt"_cp)}},
      {"RepeatedCondition",
       {kGlobalTable, "5;112;EDC21;DATA6.Imp_Variante=TUNING", "5;112;EDC21;DATA6.Imp_Variante=X"},
       {}},
      {"ConditionOfAnEarlierRow",
       {kGlobalTable, "5;112;EDC21;DATA6.Imp_Variante=TUNING",
        "5;047;EDC21;DATA6.Imp_Variante=PROTO "},
       {Warn(
           kGlobal, 6,
           "Die Bedingung >DATA6.Imp_Variante=PROTO< für Kunde >047< und SG >EDC21< steht schon in Zeile 2: diese Zeile wird nie gewählt"_cp)}},
      {"ToolVersionRunsACommand",
       {kGlobalTable, "2;047;EDC21;;001;012;046;", "2;047;EDC21;;001;012;046&calc;"},
       {Err(kGlobal, 3,
            "Der Wert für ToolVersion enthält ein Zeichen, das in einer Befehlszeile wirkt (& | < "
            "> ^ ( ) % ! oder ein Trennzeichen) und kann nicht in ParaSerie.bat geschrieben "
            "werden: >046&calc<; ein Lauf bricht vor dem Schreiben ab"_cp)}},
      {"BaLeftAsText",
       {kGlobalTable, "2;047;EDC21;;001;", "2;047;EDC21;;A01;"},
       {Warn(
           kGlobal, 3,
           "Spalte ba: >A01< ist keine Zahl; das Format \"000\" lässt den Wert als Text stehen"_cp)}},
  };
}

std::vector<Case> CustomerCases() {
  return {
      {"CustomerTableEmpty",
       {kConfig012, "", ""},
       {Err(k012, 1, "Die Tabelle ist leer (keine Kopfzeile)")}},
      {"CustomerLineTooLong",
       {kConfig012, "Imp_CustomerHWNo']};;*;", "Imp_CustomerHWNo']};;*;;"},
       {Err(k012, 4,
            "Die Zeile passt nicht zur Kopfzeile: 14 Felder, aber nur 13 Spalten; ein Lauf bricht "
            "beim Einlesen der Tabelle ab")}},
      {"CustomerColumnMissing",
       {kConfig012, ";Name_DAB;", ";NameDAB;"},
       {Err(k012, 1, "Die Spalte >Name_DAB< fehlt")}},
      {"UnknownFunction",
       {kConfig012, "KV1={", "KVX={"},
       {Err(k012, 7, "Funktion = KVX nicht bekannt")}},
      {"FunctionNameWithBlank",
       {kConfig012, "ADDS='DE AD'", "ADDS ='DE AD'"},
       {Err(k012, 26, "Funktion = ADDS  nicht bekannt")}},
      {"FunctionNameInLowerCase", {kConfig012, "ADDS='DE AD'", "adds='DE AD'"}, {}},
      {"CloseWithoutOpen",
       {kConfig012, kDabRule, "ADDS=Imp_BaseDAB}"},
       {Err(k012, 5, "Platzhalter mit \"}\" ohne \"{\" davor in der Regel >ADDS=Imp_BaseDAB}<")}},
      {"OpenWithoutClose",
       {kConfig012, kDabRule, "ADDS={Imp_BaseDAB"},
       {Err(k012, 5, "Platzhalter mit \"{\" ohne \"}\" danach in der Regel >ADDS={Imp_BaseDAB<")}},
      {"InpWithoutList",
       {kConfig012, "INP={PST-Kennung der Variante}", "INP=PST-Kennung"},
       {Err(k012, 12, "Die Regel >INP=PST-Kennung< hat keine Argumentliste {...}")}},
      {"InpWithTwoArguments",
       {kConfig012, "INP={PST-Kennung der Variante}", "INP={PST-Kennung, Variante}"},
       {Err(k012, 12,
            "INP braucht 1 Argument in {...}, die Regel >INP={PST-Kennung, Variante}< hat 2")}},
      {"GetWithTwoArguments",
       {kConfig012, kWerkeRule, GetRule("Werke.csv,CustomerCode")},
       {Err(k012, 14,
            "GET braucht 3 Argumente in {...}, die Regel >" + GetRule("Werke.csv,CustomerCode") +
                "< hat 2")}},
      {"KeyFieldBeyond16Bit",
       {kConfig012, "SecurityAccess.csv,0}", "SecurityAccess.csv,70000}"},
       {Err(
           k012, 15,
           "Das Schlüsselfeld >70000< der Regel >XXX={Werkskennung für SecurityAccess,\\\\quenda-fs\\tools\\TOOLS\\Quenda\\Listen\\SecurityAccess.csv,70000}< ist keine 16-Bit-Zahl"_cp)}},
      {"ResultFieldNoNumber",
       {kConfig012, kWerkeRule, GetRule("Werke.csv,CustomerCode,eins")},
       {Err(k012, 14,
            "Das Ergebnisfeld >eins< der Regel >" + GetRule("Werke.csv,CustomerCode,eins") +
                "< ist keine 16-Bit-Zahl")}},
      {"ListFileMissing",
       {kConfig012, kWerkeRule, GetRule("Werk.csv,CustomerCode,1")},
       {Err(k012, 14,
            "Die Listendatei >\\\\quenda-fs\\tools\\TOOLS\\Quenda\\Listen\\Werk.csv< der Regel >" +
                GetRule("Werk.csv,CustomerCode,1") + "< gibt es nicht")}},
      {"GetOfUnknownParameter",
       {kConfig012, kWerkeRule, GetRule("Werke.csv, CustomerCode,1")},
       {Err(k012, 14, "GET liest den Parameter > CustomerCode<, den keine markierte Zeile hat")}},
      {"GetOfLaterParameter",
       {kConfig012, kWerkeRule, GetRule("Werke.csv,SwTTNR,1")},
       {Warn(k012, 14,
             "GET liest den Parameter >SwTTNR<, der erst in Zeile 18 berechnet wird: sein Wert ist "
             "hier noch leer")}},
      {"DivWithoutSlash",
       {kConfig012, "}/1000", "}1000"},
       {Err(k012, 13,
            "DIV ohne \"/\" im Argument der Regel "
            ">DIV={//FD:Envelope[@Name='FromFlow']/FD:Fields/FD:Field[@Name='Imp_Takt']}1000<")}},
      {"ArrayNrNoNumber",
       {kConfig012, "KT_DATENSTAND;4;", "KT_DATENSTAND;vier;"},
       {Err(k012, 6, "Array_Nr >vier< des Parameters DataVersion ist keine Zahl")}},
      {"ArrayNr21",
       {kConfig012, "KT_DATENSTAND;4;", "KT_DATENSTAND;21;"},
       {Err(k012, 6, "Array_Nr 21 des Parameters DataVersion liegt nicht zwischen 0 und 20")}},
      {"SlotLeftOut",
       {kConfig012, "FK_LAMBDA;7;", "FK_LAMBDA;;"},
       {Warn(k012, 2, "Slots bis 20 sind belegt, aber nicht: 7"),
        Warn(k012, 21, "Label >FK_LAMBDA< ohne Array_Nr: die Zeile belegt keinen Slot")}},
      {"ExpressionWithoutBracket",
       {kConfig012, kIdent, "ERG=WERT(1)+-+WERT(2[4])"},
       {Err(k012, 19, "Ausdruck >WERT(1)+-+WERT(2[4])<: Verweis >WERT(1)< hat kein \"[\"")}},
      {"ExpressionSlot21",
       {kConfig012, kIdent, "ERG=WERT(21[4])"},
       {Err(k012, 19,
            "Ausdruck >WERT(21[4])<: Verweis >WERT(21[4])< nennt den Slot >21<, erlaubt sind 0 bis "
            "20")}},
      {"ExpressionPosition0",
       {kConfig012, kIdent, "ERG=WERT(1[0,3])"},
       {Err(k012, 19,
            "Ausdruck >WERT(1[0,3])<: Verweis >WERT(1[0,3])< hat die ungültige Position >0<"_cp)}},
      {"ExpressionBadRange",
       {kConfig012, kIdent, "ERG=WERT(2[vier])"},
       {Err(
           k012, 19,
           "Ausdruck >WERT(2[vier])<: Verweis >WERT(2[vier])< hat den ungültigen Bereich >vier<"_cp)}},
      {"ExpressionOfUndefinedSlot",
       {kConfig012, kIdent, "ERG=WERT(0[X])+WERT(0[2])"},
       {Warn(k012, 19,
             "Ausdruck >WERT(0[X])+WERT(0[2])< nennt den Slot 0, den keine Zeile belegt")}},
      {"MarkedRowWithoutName",
       {kConfig012, "JobNumber;Auftrags", ";Auftrags"},
       {Err(k012, 2, "Markierte Zeile ohne Namen (Field1_Name_XML)")}},
      {"UncRule",
       {kConfig012, "ADDS='DE AD'+' BE EF'", "UNC"},
       {Err(k012, 26,
            "Die Regel >UNC< hat keinen Pfad, aus dem sie die Freigabe bilden könnte"_cp)}},
      {"UnmarkedRowIsNotJudged", {kConfig012, "PRUEFER;none", "PRUEFER;KVX=1"}, {}},
  };
}

const std::string kShifted = ": die Spalten der Zeile sind wohl verrutscht";

// Faults of a row as a whole: its slot columns, and columns that slid by one.
std::vector<Case> RowLayoutCases() {
  return {
      {"RowShiftedAfterTheLabel",
       {kConfig012, "KW_DATUM;12;STR;00000000;;ADDS", "KW_DATUM;;12;STR;00000000;ADDS"},
       {Warn(k012, 2, "Slots bis 20 sind belegt, aber nicht: 12"),
        Warn(k012, 24, "Label >KW_DATUM< ohne Array_Nr: die Zeile belegt keinen Slot"),
        Warn(k012, 24, "Format >12< sieht aus wie eine Slotnummer" + kShifted),
        Warn(k012, 24, "Dummy >STR< ist ein Format" + kShifted)}},
      {"ArrayNrWithoutLabel",
       {kConfig012, "FK_LAMBDA;7;", ";7;"},
       {Warn(k012, 21,
             "Array_Nr >7< ohne Label: die Zeile belegt den Slot ohne Label; das Laden des "
             "Objektspeichers findet dazu kein Objekt")}},
      {"FormatTypo",
       {kConfig012, "FK_LAMBDA;7;HEX", "FK_LAMBDA;7;HXE"},
       {Warn(k012, 21,
             "Format >HXE< ist weder HEX, LNI, STR noch leer: ein Lauf schreibt den Wert als "
             "einfachen Text")}},
      {"FormatInLowerCase", {kConfig012, "FK_LAMBDA;7;HEX", "FK_LAMBDA;7;hex"}, {}},
      {"FormatOfARowWithoutSlotIsUnused",
       {kConfig012, "Kundennummer;*;*;;;;;KUNDE-NR", "Kundennummer;*;*;;;XYZ;STR;KUNDE-NR"},
       {}},
      {"NameDabHoldsAFormat",
       {kConfig012, "KW_TAKT;17;STR;-;TAKT-MHZ", "KW_TAKT;17;STR;-;STR"},
       {Warn(k012, 13, "Name_DAB >STR< ist ein Format" + kShifted)}},
      {"DummyHoldsTheSlotNumber",
       {kConfig012, "FK_LAMBDA;7;HEX;00000000;", "FK_LAMBDA;;HEX;7;"},
       {Warn(k012, 2, "Slots bis 20 sind belegt, aber nicht: 7"),
        Warn(k012, 21, "Label >FK_LAMBDA< ohne Array_Nr: die Zeile belegt keinen Slot"),
        Warn(k012, 21, "Dummy >7< sieht aus wie eine Slotnummer" + kShifted)}},
      {"DummyNumberBesideItsSlot",
       {kConfig012, "FK_LAMBDA;7;HEX;00000000;", "FK_LAMBDA;7;HEX;12;"},
       {}},
      {"SameSlotAndLabelAgain",
       {kConfig012, "Freigabe;Freigabekennung",
        "Extra;;*;;FK_LAMBDA;7;HEX;-;;none;;;\r\nFreigabe;Freigabekennung"},
       {Warn(k012, 28, "Slot 7 ist schon in Zeile 21 belegt; diese spätere Zeile gilt"_cp)}},
      {"SameSlotOtherLabel",
       {kConfig012, "Freigabe;Freigabekennung",
        "Extra;;*;;FK_X;7;HEX;-;;none;;;\r\nFreigabe;Freigabekennung"},
       {Err(k012, 28,
            "Slot 7 ist schon in Zeile 21 belegt mit dem Label >FK_LAMBDA<; diese spätere Zeile "
            "ersetzt es durch >FK_X<"_cp)}},
      {"IdentificationSlot3Again",
       {kConfig012, "Freigabe;Freigabekennung",
        "Extra;;*;;KW_IDENT;3;STR;-;;none;;;\r\nFreigabe;Freigabekennung"},
       {Err(k012, 28,
            "Slot 3 ist schon in Zeile 19 belegt; diese spätere Zeile ersetzt einen "
            "Identifikationsslot (1 bis 3)"_cp)}},
      {"Slot4AgainIsNoIdentificationSlot",
       {kConfig012, "Freigabe;Freigabekennung",
        "Extra;;*;;KT_DATENSTAND;4;;00;;none;;;\r\nFreigabe;Freigabekennung"},
       {Warn(k012, 28, "Slot 4 ist schon in Zeile 6 belegt; diese spätere Zeile gilt"_cp)}},
  };
}

const std::string kUtf8 =
    "Die Tabelle ist als UTF-8 gespeichert; die Tabellen sind Windows-1252 (ANSI): ";
const std::string kAsMeant = " (geprüft ist der Inhalt in Windows-1252)"_cp;
const std::string kBom = "\xEF\xBB\xBF";

std::string NoForm(const std::string& code) {
  return "ein Lauf liest das Zeichen " + code + ", das es in Windows-1252 nicht gibt,";
}

std::string SampleBytes(const char* table) {
  SampleSite s;
  return s.Read(table);
}

// A table saved as UTF-8 is named once; the findings its bytes would cause are left out,
// the table's own faults are still found.
std::vector<Case> EncodingCases() {
  const std::string bomText = kUtf8 + "die Datei beginnt mit der Byte-Order-Mark >" + kBom +
                              "<, die ein Lauf als Teil des ersten Spaltennamens liest" + kAsMeant;
  const std::string config = SampleBytes(kConfig012);
  const std::string global = SampleBytes(kGlobalTable);
  std::string faulty = config;
  faulty.replace(faulty.find("KV1={"), 5, "KVX={");
  return {
      {"CustomerTableWithByteOrderMark", {kConfig012, "", kBom + config}, {Err(k012, 1, bomText)}},
      {"GlobalTableWithByteOrderMark",
       {kGlobalTable, "", kBom + global},
       {Err(kGlobal, 1, bomText)}},
      {"CustomerTableInUtf8",
       {kConfig012, "", Cp1252ToUtf8(config)},
       {Err(k012, 1, kUtf8 + "ein Lauf liest >ü< in Zeile 15 als >Ã¼<"_cp + kAsMeant)}},
      {"Utf8TableWithItsOwnFault",
       {kConfig012, "", kBom + Cp1252ToUtf8(faulty)},
       {Err(k012, 1, bomText), Err(k012, 7, "Funktion = KVX nicht bekannt")}},
      {"Utf8Sign",
       {kConfig012, "Kundennummer;", "Kundennummer \xC3\x97;"},
       {Err(k012, 1, kUtf8 + "ein Lauf liest >\xD7< in Zeile 3 als >\xC3\x97<" + kAsMeant)}},
      {"LetterBeyondCp1252",
       {kConfig012, "Kundennummer;", "Kundennummer \xC5\xBF;"},
       {Err(k012, 1, kUtf8 + NoForm("U+017F") + " in Zeile 3 als >\xC5\xBF<" + kAsMeant)}},
      {"FirstCodeAfterTheLetters",
       {kConfig012, "Kundennummer;", "Kundennummer \xC6\x80;"},
       {Err(k012, 1, kUtf8 + NoForm("U+0180") + " in Zeile 3 als >\xC6\x80<" + kAsMeant)}},
  };
}

// A table that a run reads but cannot use: only its header, a field holding NUL.
std::vector<Case> UnusableContentCases() {
  const std::string config = SampleBytes(kConfig012);
  const std::string header = config.substr(0, config.find("\r\n") + 2);
  return {
      {"CustomerTableHeaderOnly",
       {kConfig012, "", header},
       {Err(k012, 1,
            "Die Tabelle hat nur die Kopfzeile; ein Lauf liest keinen Parameter und bricht ab")}},
      {"NulInAField",
       {kConfig012, "Kundennummer;", std::string("Kunden\0nummer;", 14)},
       {Err(k012, 3,
            "Feld 2 enthält das Zeichen NUL (Code 0): >Kunden{0}nummer<; ein Lauf liest den Wert "
            "nur bis dorthin oder bricht ab"_cp)}},
  };
}

void RunCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SampleSite s;
    if (c.edit.from.empty()) {
      s.Write(c.edit.file, c.edit.to);
    } else {
      s.Edit(c.edit.file, c.edit.from, c.edit.to);
    }
    EXPECT_EQ(CheckSite(s), c.findings)
        << c.name << ": >" << c.edit.from << "< -> >" << c.edit.to << "<";
  }
}

TEST(ConfigCheck, SampleSiteChecksClean) {
  SampleSite s;
  EXPECT_EQ(CheckSite(s), std::vector<std::string>{});
}

TEST(ConfigCheck, EachFaultOfTheGlobalTableIsFoundOnItsLine) { RunCases(GlobalCases()); }

TEST(ConfigCheck, EachFaultOfACustomerTableIsFoundOnItsLine) { RunCases(CustomerCases()); }

TEST(ConfigCheck, EachFaultOfARowLayoutIsFoundOnItsLine) { RunCases(RowLayoutCases()); }

TEST(ConfigCheck, ATableSavedAsUtf8IsNamedOnce) { RunCases(EncodingCases()); }

TEST(ConfigCheck, ContentARunCannotUseIsFound) { RunCases(UnusableContentCases()); }

TEST(ConfigCheck, SummaryCountsInSingularAndPlural) {
  const std::pair<int, const char*> cases[] = {
      {0, "0 Fehler, 0 Warnungen"}, {1, "1 Fehler, 1 Warnung"}, {2, "2 Fehler, 2 Warnungen"}};
  for (const auto& [n, expected] : cases) {
    TableReport report("T:\\x.csv");
    for (int i = 0; i < n; ++i) {
      report.Error(FindingKind::kIndex, 2, "e");
      report.Warning(FindingKind::kIndex, 2, "w");
    }
    Findings findings;
    findings.Add(report);
    EXPECT_EQ(FindingSummary(findings), expected) << n << " of each";
  }
}

TEST(ConfigCheck, ASlotNumberIsOneToTwentyWithoutLeadingZero) {
  const std::pair<const char*, bool> cases[] = {
      {"1", true}, {"20", true},  {"21", false}, {"0", false},   {"07", false},
      {"", false}, {"1a", false}, {"-1", false}, {"120", false}, {"00", false}};
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(LooksLikeSlotNumber(text), expected) << ">" << text << "<";
  }
}

TEST(ConfigCheck, MissingTablesAreNamed) {
  SampleSite s;
  s.Remove(kGlobalTable);
  EXPECT_EQ(CheckSite(s), std::vector<std::string>{Err(kGlobal, 1, "Die Tabelle gibt es nicht")});
  SampleSite t;
  t.Remove(kConfig012);
  const std::string none = "Keine Configuration " + k012 + " vorhanden!";
  EXPECT_EQ(CheckSite(t), (std::vector<std::string>{Err(kGlobal, 2, none), Err(kGlobal, 3, none)}));
}

TEST(ConfigCheck, CustomerTableWithoutThirdColumn) {
  SampleSite s;
  s.Write(kConfig012, "Field1_Name_XML;Rule\r\nA;none\r\n");
  const std::vector<std::string> findings = CheckSite(s);
  ASSERT_FALSE(findings.empty());
  EXPECT_EQ(findings.back(),
            Err(k012, 1, "Die Tabelle hat keine dritte Spalte (die Auswahlmarke)"));
  EXPECT_EQ(findings.size(), 12u) << "eleven missing columns and the selection mark";
}

TEST(ConfigCheck, TheRowAfterThe301stMarkedRowFails) {
  SampleSite s;
  std::string table = s.Read(kConfig012).substr(0, s.Read(kConfig012).find("\r\n") + 2);
  for (int i = 0; i < 302; ++i) table += "P" + std::to_string(i) + ";;*;;;;;;;none;;;\r\n";
  s.Write(kConfig012, table);
  EXPECT_EQ(CheckSite(s),
            std::vector<std::string>{Err(
                k012, 303, "Mehr als 301 markierte Zeilen: ein Lauf bricht bei dieser Zeile ab")});
}

TEST(ConfigCheck, ASecondRowForASlotAtTheEndOfTheTable) {
  SampleSite s;
  s.Write(kConfig012, s.Read(kConfig012) + "Extra;;*;;FK_LAMBDA;7;HEX;-;;none;;;\r\n");
  EXPECT_EQ(CheckSite(s),
            std::vector<std::string>{Warn(
                k012, 30, "Slot 7 ist schon in Zeile 21 belegt; diese spätere Zeile gilt"_cp)});
}

TEST(ConfigCheck, ListFileOnADriveWithoutMapping) {
#if defined(_WIN32)
  GTEST_SKIP() << "on Windows every drive is used as it is";
#endif
  SampleSite s;
  const std::string rule = "GET={Q:\\Werke.csv,CustomerCode,1}";
  s.Edit(kConfig012, kWerkeRule, rule);
  EXPECT_EQ(CheckSite(s), std::vector<std::string>{Err(
                              k012, 14,
                              "Die Listendatei >Q:\\Werke.csv< der Regel >" + rule +
                                  "< liegt auf keinem Laufwerk der Laufwerkszuordnung [Paths]")});
}

// Where [System] ConfigPath names another folder, the tools share's pair is the one of
// test mode and is checked after the run's own pair.
TEST(ConfigCheck, TestModeTablesOnTheToolsShareAreCheckedToo) {
  SampleSite s;
  s.Write("site/shares/projekte/Konfig/Parameter_Global.csv", s.Read(kGlobalTable));
  for (const char* n : {"012", "013", "014"}) {
    const std::string name = std::string("Config_") + n + ".csv";
    s.Write("site/shares/projekte/Konfig/" + name,
            s.Read("site/shares/tools/TOOLS/Kolpator/Data/" + name));
  }
  s.Edit("site/shares/projekte/Konfig/Config_012.csv", "KV1={", "KVY={");
  s.Edit(kConfig012, "KV1={", "KVX={");
  const std::string own = "\\\\quenda-fs\\projekte\\Konfig";
  EXPECT_EQ(CheckSite(s, own), (std::vector<std::string>{
                                   Err(own + "\\Config_012.csv", 7, "Funktion = KVY nicht bekannt"),
                                   Err(k012, 7, "Funktion = KVX nicht bekannt")}));
}

}  // namespace
}  // namespace quenda
