#include "app/command_runner.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>

#include "base/error.h"
#include "session/session.h"
#include "support/fake_system.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

TEST(CommandRunner, EveryWayACommandEndsGivesItsStatus) {
  const struct {
    const char* what;
    bool logOpen;
    std::function<void()> command;
    std::optional<int> status;
    std::string lastLine;  // the run log's last line; "-" when none may be written
  } cases[] = {
      {"returns", true, [] {}, std::nullopt, ""},
      {"ends the run", true, [] { throw RunEnded(0); }, 0, ""},
      {"unexpected error", true, [] { throw PlatformError(kErrPathNotFound, "X:\\a"); }, 1,
       "!! Abbruch !! Fehler 76: Pfad nicht gefunden: X:\\a"},
      {"error before the log is open", false, [] { throw PlatformError(kErrPermissionDenied); }, 1,
       "-"},
      {"unanswered question", true, [] { throw Unanswered("Keine Antwort"); }, 3,
       "!! Abbruch !! Keine Antwort"},
      {"unanswered before the log is open", false, [] { throw Unanswered("Keine Antwort"); }, 3,
       "-"},
      {"memory runs out", true, [] { throw std::bad_alloc(); }, 1,
       "!! Abbruch !! Fehler 7: Nicht genügend Arbeitsspeicher"_cp},
      {"memory runs out before the log is open", false, [] { throw std::bad_alloc(); }, 1, "-"},
      {"another exception", true, [] { throw std::out_of_range("vector::at"); }, 1,
       "!! Abbruch !! Fehler 60000: Unerwarteter Programmfehler: vector::at"},
      {"no exception of the library", true, [] { throw 42; }, 1,
       "!! Abbruch !! Fehler 60000: Unerwarteter Programmfehler"},
  };
  for (const auto& c : cases) {
    testing::SessionFixture f;
    // BatchMode: the end is a log line and the error file. Before the log is open the
    // command fields are known from the command line alone.
    f.S().env.CommandLineText = "\"x|4711\"";
    if (c.logOpen) f.S().env.CommandFields = f.S().env.CommandLineFields();
    if (c.logOpen) f.OpenLog();
    EXPECT_EQ(RunCommand(f.S(), c.command), c.status) << c.what;
    if (c.status == 1) {
      EXPECT_EQ(f.dir.Read("tmp/SG_4711.err").rfind("Fehler ", 0), 0u) << c.what;
    }
    if (c.lastLine == "-") {
      EXPECT_EQ(f.S().log.LastLine(), "") << c.what;
    } else if (!c.lastLine.empty()) {
      EXPECT_EQ(f.S().log.LastLine().rfind(c.lastLine, 0), 0u)
          << c.what << ": " << f.S().log.LastLine();
    }
  }
}

}  // namespace
}  // namespace quenda
