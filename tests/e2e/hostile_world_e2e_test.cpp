// Runs of the sample job that end successfully although the world around them is hostile:
// an entry the user decides not to write, and a patch explanation file that is executable
// while no editor is set. Neither may run a command or end the run in failure.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "dab/mask.h"
#include "support/sample_site.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

using testing::kProject;
using testing::kTarvell;
using testing::SampleSite;

using Answers = std::vector<std::string>;

const Answers kLoad = {"text V2", "button Yes", "button OK", "text GRB", "button OK"};
const std::string kDab = std::string(kProject) + "dab/MX21K47_01.dab";

Answers Plus(Answers a, const Answers& more) {
  a.insert(a.end(), more.begin(), more.end());
  return a;
}

// Cancel leaves Tarvell.Bat alone: an entry piece that could not be written is never
// checked, and the run ends as every successful run does.
TEST(HostileWorld, CancelEndsSuccessfullyWithoutCheckingTheEntry) {
  SampleSite s;
  s.Edit(kDab, "PRO_50 = 98C1B6A7AFC1A49F",
         "PRO_50 = " + EncodeMask("x\"&echo INJ>pwned.txt&\"", kMaskKey));
  const std::string before = s.Read(kTarvell);
  const auto r = s.Run(Plus(kLoad, {"text 12", "button Cancel"}));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(s.Read(kTarvell), before);
  EXPECT_NE(r.err.find("[Meldung \"Fertig\"] Quenda ist beendet! -> OK"), std::string::npos)
      << r.err;
}

#ifndef _WIN32
// A batch service has no editor: an empty patch code must not start the explanation file
// itself, even when the share marks it executable.
TEST(HostileWorld, WithoutAnEditorTheExplanationFileIsNeverRun) {
  SampleSite s;
  const std::string patumf = "site/shares/projekte/003/Vertraulich/Patches/Vorgaben/Patumf.txt";
  s.Write(patumf, "#!/bin/sh\ntouch '" + s.Path("ran") + "'\n");
  fs::permissions(s.Path(patumf), fs::perms::owner_all, fs::perm_options::add);
  unsetenv("VISUAL");
  unsetenv("EDITOR");
  const auto r = s.Run(Plus(kLoad, {"text", "text 12", "button Yes"}));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_FALSE(s.Has("ran")) << "the explanation file ran as a program";
  const std::string dialogs = s.Read("run/dialogs.jsonl");
  EXPECT_NE(dialogs.find("Kein Editor eingestellt: "), std::string::npos) << dialogs;
  EXPECT_NE(dialogs.find("Patumf.txt kann nicht ge\xC3\xB6"
                         "ffnet werden"),
            std::string::npos);
}
#endif

}  // namespace
}  // namespace quenda
