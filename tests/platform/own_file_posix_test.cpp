// Planted links, second names, other users' files and nodes at the names a run writes: each
// write (replace, append, rewrite, run log, transcript) leaves what they point to unchanged.
// The cases that need a second user run as root and plant with uid 4242.
#include "platform/own_file.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

#include "platform/files.h"
#include "platform/line_file.h"
#include "platform/site_settings.h"
#include "platform/system.h"
#include "support/fake_system.h"
#include "text/cp1252.h"
#include "ui/transcript.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

constexpr uid_t kOther = 4242;
const std::string kVictim = "geheim\r\n";

const std::pair<const char*, std::function<void(const std::string&)>> kWrites[] = {
    {"replace", [](auto& p) { Files().WriteLines(p, {"neu"}); }},
    {"append", [](auto& p) { Files().AppendLines(p, {"neu"}); }},
    {"rewrite", [](auto& p) { Files().RewriteLines(p, {"neu"}); }},
    {"run log", [](auto& p) { LineFile().Open(Files(), p); }},
    {"transcript", [](auto& p) { Transcript(p).Message("T", "neu", 0, "OK"); }},
};

// Plants at `name` ('s') a symbolic link to `victim`, ('h') a second name of it, ('f') a copy
// of it, ('p') a FIFO or ('c') a character device, belonging to `owner` (0: the user).
bool Plant(char at, const std::string& name, const std::string& victim, uid_t owner) {
  const bool made = at == 's'   ? symlink(victim.c_str(), name.c_str()) == 0
                    : at == 'h' ? link(victim.c_str(), name.c_str()) == 0
                    : at == 'f' ? fs::copy_file(victim, name)
                    : at == 'p' ? mkfifo(name.c_str(), 0666) == 0
                                : mknod(name.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
  return made && (owner == 0 || lchown(name.c_str(), owner, owner) == 0);
}

// In a sticky folder everybody may write to (as /tmp) a symbolic link is followed only when
// it is the user's own or the folder owner's, and the run log follows none; a second name of
// the victim's file and another user's file are never written. Outside such a folder another
// user's file is the site's to share, but never the run log's. A FIFO and a device stay what
// they are, and no write waits on the FIFO.
TEST(PlantedNames, OnlyTheUsersOwnRegularFilesAreWritten) {
  const struct {
    bool otherFolder;  // the folder is kOther's
    mode_t folderMode;
    char at;
    uid_t owner;
    bool written;  // by every write but the run log
    const char* says;
  } cases[] = {
      {false, 01777, 's', kOther, false, "ist eine symbolische Verknüpfung"},
      {true, 01777, 's', kOther, true, "ist eine symbolische Verknüpfung"},
      {false, 01777, 'h', 0, false, "hat einen weiteren Namen (harte Verknüpfung)"},
      {false, 01777, 'f', kOther, false, "gehört einem anderen Benutzer"},
      {false, 0755, 'f', kOther, true, "gehört einem anderen Benutzer"},
      {false, 0755, 'p', 0, false, "ist keine gewöhnliche Datei"},
      {false, 0755, 'c', 0, false, "ist keine gewöhnliche Datei"},
  };
  for (const auto& c : cases) {
    if (c.owner != 0 && geteuid() != 0) continue;  // needs uid 4242
    for (const auto& [kind, write] : kWrites) {
      testing::TempDir dir;
      const fs::path shared = dir.Path() / "shared";
      fs::create_directory(shared);
      ASSERT_EQ(c.otherFolder ? chown(shared.c_str(), kOther, kOther) : 0, 0);
      ASSERT_EQ(chmod(shared.c_str(), c.folderMode), 0);
      dir.Write("victim.txt", kVictim);
      const std::string name = (shared / "Tarvell.Bat").string();
      if (!Plant(c.at, name, dir.File("victim.txt"), c.owner)) {
        ASSERT_EQ(c.at, 'c');
        continue;  // no device node may be made here
      }
      std::string refusal;
      try {
        write(name);
      } catch (const Error& e) {
        refusal = e.Description();
      }
      const bool runLog = std::string(kind) == "run log";
      const bool written = c.written && !runLog;
      const std::string at = std::string(1, c.at) + " " + kind + ": " + refusal;
      EXPECT_EQ(refusal.empty(), written) << at;
      const char* kept = c.at == 'f' ? "shared/Tarvell.Bat" : c.at < 'p' ? "victim.txt" : nullptr;
      EXPECT_TRUE(!kept || (dir.Read(kept) != kVictim) == written) << at;
      const char* says = runLog && c.at == 's' ? "ist eine symbolische Verknüpfung" : c.says;
      EXPECT_TRUE(written || refusal.find(name + " " + Utf8ToCp1252(says)) != std::string::npos)
          << at;
    }
  }
}

TEST(NodesAtTheName, CheckedWriteTargetSeesThroughProcLinks) {
  // /proc/self/fd/N of a pipe ends in a FIFO the kernel shows as a link to "pipe:[…]".
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  const std::string path = "/proc/self/fd/" + std::to_string(ends[1]);
  EXPECT_THROW(CheckedWriteTarget(path, path, LinkRule::kProtectedLinks), Error) << path;
  close(ends[0]);
  close(ends[1]);
}

// The private temporary folder: made for the user alone, and refused when it is a link or
// another user's.
TEST(PrivateFolder, MadeForTheUserAloneAndRefusedOtherwise) {
  const std::pair<char, const char*> cases[] = {
      {'-', ""},                                  // missing: made
      {'s', "ist eine symbolische Verknüpfung"},  // a link to the user's own folder
      {'o', "gehört einem anderen Benutzer (uid 4242)"},
  };
  for (const auto& [at, says] : cases) {
    if (at == 'o' && geteuid() != 0) continue;
    testing::TempDir dir;
    const fs::path folder = dir.Path() / "quenda-0";
    const std::string what(1, at);
    if (at == 's') fs::create_directory(dir.Path() / "real");
    if (at == 's') fs::create_directory_symlink(dir.Path() / "real", folder);
    ASSERT_EQ(at == 'o' ? mkdir(folder.c_str(), 0700) + chown(folder.c_str(), kOther, 0) : 0, 0);
    try {
      MakePrivateFolder(folder, folder.string());
      EXPECT_EQ(std::string(says), "") << what << " was accepted";
      struct stat st {};
      ASSERT_EQ(lstat(folder.c_str(), &st), 0) << what;
      EXPECT_EQ(st.st_mode & (S_IFMT | 0777), S_IFDIR | 0700u) << what;
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), kErrPermissionDenied) << what;
      EXPECT_EQ(e.Description(),
                "Der private temporäre Ordner "_cp + folder.string() + " " + Utf8ToCp1252(says))
          << what;
    }
  }
}

// Sets the variable `name` to `value` (unset for nullptr) until the end of the scope.
struct EnvSetting {
  EnvSetting(const char* name, const char* value) : name(name) {
    if (const char* was = std::getenv(name)) old = was;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~EnvSetting() { old ? setenv(name, old->c_str(), 1) : unsetenv(name); }
  const char* name;
  std::optional<std::string> old;
};

// Without [Site] TempDir: $XDG_RUNTIME_DIR/quenda, else $TMPDIR/quenda-<uid>.
TEST(PrivateFolder, SystemTempPathIsTheUsersOwnFolder) {
  testing::TempDir dir;
  fs::create_directories(dir.Path() / "runtime");
  fs::create_directories(dir.Path() / "tmp");
  const std::string own = dir.File("tmp") + "/quenda-" + std::to_string(geteuid()) + "/";
  const EnvSetting tmpdir("TMPDIR", (dir.File("tmp") + "/").c_str());
  for (const char* xdg : {"runtime", static_cast<const char*>(nullptr)}) {
    const EnvSetting runtime("XDG_RUNTIME_DIR", xdg ? dir.File(xdg).c_str() : nullptr);
    EXPECT_EQ(MakeNativeSystem()->TempPath(), xdg ? dir.File("runtime") + "/quenda/" : own);
  }
}

// A refused private folder stops no command that needs none (--verify, --check-config): the
// settings carry the refusal, and only a run is refused; a site's TempDir asks no system.
TEST(PrivateFolder, RefusalIsCarriedBySettingsAndSkippedWithASiteTempDir) {
  static const std::string kRefusal =
      "Der private temporäre Ordner /t/quenda-0 gehört einem anderen Benutzer (uid 4242)"_cp;
  struct Refusing : testing::FakeSystem {
    int asked = 0;
    std::string TempPath() override {
      ++asked;
      throw Error(kErrPermissionDenied, kRefusal);
    }
  } system;
  const SiteSettings refused = LoadSiteSettings("", "/p", system);
  EXPECT_EQ(refused.TempDir + refused.TempDirRefused, kRefusal);
  const SiteSettings site = LoadSiteSettings("[Site]\r\nTempDir=/eigen\r\n", "/p", system);
  EXPECT_EQ(site.TempDir + site.TempDirRefused, "/eigen/");
  EXPECT_EQ(system.asked, 1);
}

}  // namespace
}  // namespace quenda
