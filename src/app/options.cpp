#include "app/options.h"

#include "platform/command_line.h"

namespace quenda {
namespace {

bool TakeValue(const std::vector<std::string>& args, std::size_t& i, std::string& target,
               std::string& error) {
  if (i + 1 >= args.size()) {
    error = "Option " + args[i] + " braucht einen Wert";
    return false;
  }
  target = args[++i];
  return true;
}

bool TakeFormat(const std::vector<std::string>& args, std::size_t& i, Options& o,
                std::string& error) {
  std::string format;
  if (!TakeValue(args, i, format, error)) return false;
  o.formatGiven = true;
  if (format == "text" || format == "sarif") {
    o.checkFormat = format == "text" ? CheckFormat::kText : CheckFormat::kSarif;
    return true;
  }
  error = "--format " + format + ": erlaubt sind text und sarif";
  return false;
}

// An option or word of a run of a job was given: the commands that run none take none.
bool RunOptionsGiven(const Options& o) {
  return o.headless || !o.answersFile.empty() || !o.transcriptFile.empty() ||
         !o.reportFile.empty() || !o.words.empty();
}

// --check-config takes only --program-dir and --format beside it; --format belongs to it.
bool CheckConfigAlone(const Options& o, std::string& error) {
  if (!o.checkConfig) {
    if (!o.formatGiven || !o.checkReleaseReport.empty()) return true;
    error = "--format gilt nur zusammen mit --check-config oder --check-release";
    return false;
  }
  if (!RunOptionsGiven(o)) return true;
  error =
      "--check-config nimmt außer --program-dir und --format keine weiteren Optionen oder Wörter";
  return false;
}

// --verify takes only --program-dir and --inputs beside it; --inputs only goes with it.
bool VerifyAlone(const Options& o, std::string& error) {
  if (o.verifyReport.empty() ? !o.verifyInputs : !o.checkConfig && !RunOptionsGiven(o)) {
    return true;
  }
  error =
      "--verify BERICHT nimmt außer --program-dir und --inputs keine weiteren Optionen oder "
      "Wörter; --inputs nur mit --verify";
  return false;
}

// --check-release takes only --program-dir and --format beside it.
bool CheckReleaseAlone(const Options& o, std::string& error) {
  if (o.checkReleaseReport.empty() ||
      (!RunOptionsGiven(o) && !o.checkConfig && o.verifyReport.empty() && !o.verifyInputs &&
       o.planFile.empty() && o.applyPlan.empty())) {
    return true;
  }
  error =
      "--check-release BERICHT nimmt außer --program-dir und --format keine weiteren "
      "Optionen oder Wörter";
  return false;
}

// --plan makes no report; --apply takes the plan's command line, folder and answers.
bool PlanAlone(const Options& o, std::string& error) {
  const bool elsewhere = !o.checkConfig && o.verifyReport.empty();
  if (!o.planFile.empty() && (!elsewhere || !o.reportFile.empty() || !o.applyPlan.empty())) {
    error = "--plan DATEI nimmt weder --report noch --apply, --verify oder --check-config";
    return false;
  }
  if (!o.applyPlan.empty() &&
      (!elsewhere || !o.programDir.empty() || !o.answersFile.empty() || !o.words.empty())) {
    error =
        "--apply PLAN nimmt außer --report, --transcript und --headless keine weiteren Optionen "
        "oder Wörter: Programmordner, Kommandozeile und Antworten stehen im Plan";
    return false;
  }
  return true;
}

// --qualify needs --out and takes only --kit beside it; both go only with it.
bool QualifyAlone(const Options& o, std::string& error) {
  const bool nothingElse = !RunOptionsGiven(o) && !o.checkConfig && o.verifyReport.empty() &&
                           o.checkReleaseReport.empty() && o.planFile.empty() &&
                           o.applyPlan.empty() && o.programDir.empty();
  if (o.qualify ? !o.qualifyOut.empty() && nothingElse
                : o.qualifyOut.empty() && o.qualifyKit.empty()) {
    return true;
  }
  error =
      "--qualify braucht --out ORDNER und nimmt außer --kit keine weiteren Optionen oder Wörter; "
      "--out und --kit nur mit --qualify";
  return false;
}

}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error) {
  Options o;
  std::size_t i = 0;
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--") {
      ++i;
      break;
    }
    if (a == "--headless") {
      o.headless = true;
    } else if (a == "--check-config") {
      o.checkConfig = true;
    } else if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--version") {
      o.version = true;
    } else if (a == "--program-dir") {
      if (!TakeValue(args, i, o.programDir, error)) return std::nullopt;
    } else if (a == "--answers") {
      if (!TakeValue(args, i, o.answersFile, error)) return std::nullopt;
    } else if (a == "--transcript") {
      if (!TakeValue(args, i, o.transcriptFile, error)) return std::nullopt;
    } else if (a == "--format") {
      if (!TakeFormat(args, i, o, error)) return std::nullopt;
    } else if (a == "--report") {
      if (!TakeValue(args, i, o.reportFile, error)) return std::nullopt;
    } else if (a == "--verify") {
      if (!TakeValue(args, i, o.verifyReport, error)) return std::nullopt;
    } else if (a == "--check-release") {
      if (!TakeValue(args, i, o.checkReleaseReport, error)) return std::nullopt;
    } else if (a == "--plan") {
      if (!TakeValue(args, i, o.planFile, error)) return std::nullopt;
    } else if (a == "--apply") {
      if (!TakeValue(args, i, o.applyPlan, error)) return std::nullopt;
    } else if (a == "--inputs") {
      o.verifyInputs = true;
    } else if (a == "--qualify") {
      o.qualify = true;
    } else if (a == "--out") {
      if (!TakeValue(args, i, o.qualifyOut, error)) return std::nullopt;
    } else if (a == "--kit") {
      if (!TakeValue(args, i, o.qualifyKit, error)) return std::nullopt;
    } else if (a.size() > 2 && a.rfind("--", 0) == 0) {
      error = "Unbekannte Option: " + a;
      return std::nullopt;
    } else {
      break;
    }
  }
  o.optionWords = i;
  for (; i < args.size(); ++i) o.words.push_back(args[i]);
  if (!CheckConfigAlone(o, error) || !VerifyAlone(o, error) || !PlanAlone(o, error) ||
      !CheckReleaseAlone(o, error) || !QualifyAlone(o, error)) {
    return std::nullopt;
  }
  return o;
}

std::string CommandLineText(const Options& options) {
  return ProgramCommandText(options.optionWords, options.words);
}

std::string UsageText() {
  return "Aufruf: quenda [--program-dir DIR] [--headless] [--answers FILE] [--transcript FILE]\n"
         "              [--report FILE] [--] [TEXT...]\n"
         "       quenda --check-config [--program-dir DIR] [--format text|sarif]\n"
         "       quenda --verify REPORT [--program-dir DIR] [--inputs]\n"
         "       quenda --check-release REPORT [--program-dir DIR] [--format text|sarif]\n"
         "       quenda --plan FILE [--program-dir DIR] [--answers FILE] [--] [TEXT...]\n"
         "       quenda --apply PLAN [--report FILE]\n"
         "       quenda --qualify --out FOLDER [--kit DIR]\n"
         "       quenda --help | --version\n"
         "\n"
         "Quenda - Schnittstelle FLOW/SEU: nimmt einen Job aus dem Flow-System (FlowData-XML)\n"
         "und bereitet die Freigabe einer Steuergeräte-Software vor.\n"
         "\n"
         "  TEXT...            die Kommandozeile des Programms, z. B. "
         "T:\\003\\Flow\\Transfer\\job.xml,7,P\n"
         "  --program-dir DIR  Programmordner mit Config.ini (sonst der Ordner des Programms)\n"
         "  --headless         ohne Fenster: Laden, einmal Start, dann Ende\n"
         "  --answers FILE     Antworten für Dialoge im headless-Betrieb, eine pro Zeile:\n"
         "                     'button Yes|No|OK|Cancel', 'text ...', 'file PFAD'\n"
         "  --transcript FILE  jeder Dialog als eine JSON-Zeile (wird angehängt)\n"
         "  --check-config     prüft Parameter_Global.csv und die Config_NNN.csv-Tabellen,\n"
         "                     ohne einen Job zu bearbeiten: eine Zeile je Befund\n"
         "                     (DATEI:ZEILE: Fehler: ... / Warnung: ...)\n"
         "  --format sarif     die Befunde als SARIF 2.1.0 (JSON) statt als Text\n"
         "  --report FILE      Freigabebericht (JSON) am Ende des Laufs, jedes Ende\n"
         "  --verify REPORT    prüft die Ausgaben eines Freigabeberichts an ihrem SHA-256:\n"
         "                     eine Zeile je Datei (ok / geändert / fehlt), dann die Zahlen\n"
         "  --inputs           mit --verify: auch die Eingaben des Laufs\n"
         "  --check-release REPORT  liest die Freigabe eines Berichts neu und prüft ihren\n"
         "                     Inhalt: eine Zeile je Prüfung (ok / Fehler), dann die Zahlen\n"
         "  --plan FILE        der ganze Lauf ohne zu schreiben: jede Datei, die er schreiben\n"
         "                     würde, mit vorher/nachher (JSON in FILE, lesbar auf stdout)\n"
         "  --apply PLAN       führt einen Plan aus, mit seinen Antworten; veraltet: Status 4\n"
         "  --qualify          führt die mitgelieferten Referenzfälle in einer Kopie aus und\n"
         "                     vergleicht jede Ausgabe; Bericht in --out FOLDER\n"
         "  --kit DIR          mit --qualify: die Referenzfälle dieses Ordners\n"
         "\n"
         "Exit-Status: 0 erfolgreich beendet, 1 Abbruch oder Ende, 2 falsche Option,\n"
         "3 Frage im headless-Betrieb ohne Antwort, 5 erfolgreich beendet, aber Bericht\n"
         "oder Dialogprotokoll nicht geschrieben, 130 von außen beendet (Signal).\n"
         "Mit --check-config: 0 ohne Fehler (Warnungen erlaubt), 1 mit Fehlern,\n"
         "2 falsche Option oder Config.ini nicht lesbar.\n"
         "Mit --verify: 0 alles unverändert, 1 eine Datei geändert oder fehlt,\n"
         "2 Bericht nicht lesbar oder nicht schemaVersion 2.\n"
         "Mit --check-release: 0 alles in Ordnung, 1 ein Befund, 2 Bericht nicht lesbar.\n"
         "Mit --plan: 0 der Lauf würde erfolgreich enden, 1 er würde anders enden.\n"
         "Mit --apply: 4 der Plan ist veraltet, nichts wurde geschrieben.\n"
         "Mit --qualify: 0 jeder Fall bestanden, 1 ein Fall nicht bestanden,\n"
         "2 Referenzfälle fehlen oder Bericht nicht geschrieben.\n";
}

}  // namespace quenda
