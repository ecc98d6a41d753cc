// Planted links, second names, other users' files and nodes at the names a run writes: each
// write (replace, append, rewrite, run log, transcript) leaves what they point to unchanged.
// The cases that need a second user run as root and plant with uid 4242.
#include "platform/own_file.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cctype>
#include <csignal>
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
using Write = std::function<void(const std::string&)>;

const std::pair<const char*, Write> kWrites[] = {
    {"replace", [](const std::string& p) { Files().WriteLines(p, {"neu"}); }},
    {"append", [](const std::string& p) { Files().AppendLines(p, {"neu"}); }},
    {"rewrite", [](const std::string& p) { Files().RewriteLines(p, {"neu"}); }},
    {"run log",
     [](const std::string& p) {
       LineFile log;
       log.Open(Files(), p);
       log.WriteLine("neu");
     }},
    {"transcript", [](const std::string& p) { Transcript(p).Message("T", "neu", 0, "OK"); }},
};

// The description of the error `write` throws; empty when it throws none.
std::string Refusal(const Write& write, const std::string& path) {
  try {
    write(path);
  } catch (const Error& e) {
    return e.Description();
  }
  return {};
}

// Plants at `name` what `at` says: 's' a symbolic link to `victim`, 'h' a second name of it,
// 'f' a copy of it; 'p' a FIFO, 'd' a folder, 'c' a character device, or in capitals a link to
// one at `node`. The link or the copy belongs to `owner` (0: the user).
bool Plant(char at, const std::string& name, const std::string& victim, const std::string& node,
           uid_t owner) {
  const bool viaLink = std::isupper(at) != 0;
  const std::string here = viaLink ? node : name;
  const int how = std::tolower(at);
  bool made = how == 's'   ? symlink(victim.c_str(), here.c_str()) == 0
              : how == 'h' ? link(victim.c_str(), here.c_str()) == 0
              : how == 'f' ? fs::copy_file(victim, here)
              : how == 'p' ? mkfifo(here.c_str(), 0666) == 0
              : how == 'd' ? fs::create_directory(here)
                           : mknod(here.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
  if (viaLink) made = made && symlink(node.c_str(), name.c_str()) == 0;
  return made && (owner == 0 || lchown(name.c_str(), owner, owner) == 0);
}

// In a sticky folder everybody may write to (as /tmp) a symbolic link is followed only when
// it is the user's own or the folder owner's, and the run log follows none; a second name of
// the victim's file and another user's file are never written. Outside such a folder another
// user's file is the site's to share, but never the run log's. Only regular files are written:
// a FIFO, a folder and a device (or a link to one) stay what they are, and no write waits on
// the FIFO.
TEST(PlantedNames, OnlyTheUsersOwnRegularFilesAreWritten) {
  const struct {
    const char* what;
    uid_t folderOwner;  // 0: the user
    mode_t folderMode;
    char at;
    uid_t owner;
    bool written;  // by every write but the run log
    const char* says;
  } cases[] = {
      {"another user's link", 0, 01777, 's', kOther, false, "ist eine symbolische Verknüpfung"},
      {"the user's own link", 0, 01777, 's', 0, true, "ist eine symbolische Verknüpfung"},
      {"the folder owner's link", kOther, 01777, 's', kOther, true,
       "ist eine symbolische Verknüpfung"},
      {"a hard link to the victim", 0, 01777, 'h', 0, false,
       "hat einen weiteren Namen (harte Verknüpfung)"},
      {"another user's file", 0, 01777, 'f', kOther, false, "gehört einem anderen Benutzer"},
      {"another user's file, not shared", 0, 0755, 'f', kOther, true,
       "gehört einem anderen Benutzer"},
      {"a FIFO", 0, 0755, 'p', 0, false, "ist keine gewöhnliche Datei"},
      {"a folder", 0, 0755, 'd', 0, false, "ist keine gewöhnliche Datei"},
      {"a device", 0, 0755, 'c', 0, false, "ist keine gewöhnliche Datei"},
      {"a link to a FIFO", 0, 0755, 'P', 0, false, "ist keine gewöhnliche Datei"},
      {"a link to a folder", 0, 0755, 'D', 0, false, "ist keine gewöhnliche Datei"},
      {"a link to a device", 0, 0755, 'C', 0, false, "ist keine gewöhnliche Datei"},
  };
  for (const auto& c : cases) {
    if ((c.owner != 0 || c.folderOwner != 0) && geteuid() != 0) continue;  // needs uid 4242
    for (const auto& [kind, write] : kWrites) {
      testing::TempDir dir;
      const fs::path shared = dir.Path() / "shared";
      fs::create_directory(shared);
      if (c.folderOwner != 0) {
        ASSERT_EQ(chown(shared.c_str(), c.folderOwner, c.folderOwner), 0);
      }
      ASSERT_EQ(chmod(shared.c_str(), c.folderMode), 0);
      dir.Write("victim.txt", kVictim);
      const std::string name = (shared / "Tarvell.Bat").string();
      const std::string node = dir.File("node");
      if (!Plant(c.at, name, dir.File("victim.txt"), node, c.owner)) {
        ASSERT_EQ(std::tolower(c.at), 'c') << c.what;
        continue;  // no device node may be made here
      }
      struct stat planted {};
      struct stat target {};
      ASSERT_EQ(lstat(name.c_str(), &planted), 0);
      ASSERT_EQ(stat(name.c_str(), &target), 0);
      const std::string refusal = Refusal(write, name);
      const bool runLog = std::string(kind) == "run log";
      const bool written = c.written && !runLog;
      const std::string at = std::string(c.what) + ", " + kind + ": " + refusal;
      EXPECT_EQ(refusal.empty(), written) << at;
      const std::string says =
          runLog && S_ISLNK(planted.st_mode) ? "ist eine symbolische Verknüpfung" : c.says;
      if (S_ISREG(target.st_mode)) {
        const bool atVictim = S_ISLNK(planted.st_mode) || planted.st_nlink > 1;
        const std::string left = dir.Read(atVictim ? "victim.txt" : "shared/Tarvell.Bat");
        EXPECT_EQ(left != kVictim, written) << at;
      }
      struct stat after {};
      ASSERT_EQ(lstat(name.c_str(), &after), 0) << at;
      EXPECT_EQ(after.st_mode & S_IFMT, planted.st_mode & S_IFMT) << at << ": the name stays";
      if (!written) {
        EXPECT_NE(refusal.find(name + " " + Utf8ToCp1252(says)), std::string::npos) << at;
        ASSERT_EQ(stat(name.c_str(), &after), 0) << at;
        EXPECT_EQ(after.st_mode, target.st_mode) << at << ": what it ends in stays";
        EXPECT_EQ(after.st_ino, target.st_ino) << at;
      }
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

// A real limit on the size of files (SIGXFSZ ignored, so the write fails with EFBIG):
// the append stops part way and is taken back; Tarvell.Bat is byte for byte as before.
TEST(ShortAppend, FileSizeLimitLeavesTarvellBatAsItWas) {
  GTEST_FLAG_SET(death_test_style, "fast");
  testing::TempDir dir;
  const std::string before = "Tarvell.exe \"T:\\a.dab||1||x|\"\r\n";
  dir.Write("Tarvell.Bat", before);
  const std::string path = dir.File("Tarvell.Bat");
  const auto appendUnderLimit = [&] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{before.size() + 10, before.size() + 10};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) std::_Exit(4);
    try {
      Files().AppendLines(path, {std::string(100, 'x')});
    } catch (const Error& e) {
      std::_Exit(
          e.Number() == kErrDiskFull && e.Description() == "Datenträger voll: "_cp + path ? 0 : 3);
    }
    std::_Exit(2);
  };
  EXPECT_EXIT(appendUnderLimit(), ::testing::ExitedWithCode(0), "")
      << "2: no failure, 3: another error, 4: no limit";
  EXPECT_EQ(dir.Read("Tarvell.Bat"), before);
}

// The private temporary folder: made for the user alone, and refused when it is a link,
// no folder or another user's.
TEST(PrivateFolder, MadeForTheUserAloneAndRefusedOtherwise) {
  const struct {
    const char* what;
    std::function<void(const fs::path&)> plant;
    bool root;
    const char* says;  // empty: accepted
  } cases[] = {
      {"missing", [](const fs::path&) {}, false, ""},
      {"own, open to others", [](const fs::path& p) { mkdir(p.c_str(), 0777); }, false, ""},
      {"a link to the user's folder",
       [](const fs::path& p) {
         fs::create_directory(p.string() + ".real");
         fs::create_directory_symlink(p.string() + ".real", p);
       },
       false, "ist eine symbolische Verknüpfung"},
      {"a file", [](const fs::path& p) { std::fclose(std::fopen(p.c_str(), "w")); }, false,
       "ist kein Ordner"},
      {"another user's folder",
       [](const fs::path& p) {
         ASSERT_EQ(mkdir(p.c_str(), 0700) + chown(p.c_str(), kOther, kOther), 0);
       },
       true, "gehört einem anderen Benutzer (uid 4242)"},
  };
  for (const auto& c : cases) {
    if (c.root && geteuid() != 0) continue;
    testing::TempDir dir;
    const fs::path folder = dir.Path() / "quenda-0";
    c.plant(folder);
    try {
      MakePrivateFolder(folder, folder.string());
      EXPECT_EQ(std::string(c.says), "") << c.what << " was accepted";
      struct stat st {};
      ASSERT_EQ(lstat(folder.c_str(), &st), 0) << c.what;
      EXPECT_TRUE(S_ISDIR(st.st_mode)) << c.what;
      EXPECT_EQ(st.st_mode & 0777, 0700u) << c.what;
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), kErrPermissionDenied) << c.what;
      EXPECT_EQ(e.Description(),
                "Der private temporäre Ordner "_cp + folder.string() + " " + Utf8ToCp1252(c.says))
          << c.what;
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
  const std::string runtime = dir.File("runtime");
  const std::string tmp = dir.File("tmp");
  const std::string own = tmp + "/quenda-" + std::to_string(geteuid()) + "/";
  const struct {
    std::optional<std::string> xdg;
    std::string tmpdir;
    std::string expected;
  } cases[] = {
      {runtime, tmp, runtime + "/quenda/"},
      {runtime + "/", tmp, runtime + "/quenda/"},
      {std::nullopt, tmp + "/", own},
      {"", tmp, own},
      {"relativ", tmp, own},
  };
  fs::create_directories(runtime);
  fs::create_directories(tmp);
  const std::unique_ptr<System> system = MakeNativeSystem();
  for (const auto& c : cases) {
    const EnvSetting xdg("XDG_RUNTIME_DIR", c.xdg ? c.xdg->c_str() : nullptr);
    const EnvSetting tmpdir("TMPDIR", c.tmpdir.c_str());
    EXPECT_EQ(system->TempPath(), c.expected) << "XDG_RUNTIME_DIR=" << c.xdg.value_or("unset");
    struct stat st {};
    ASSERT_EQ(lstat(c.expected.c_str(), &st), 0) << c.expected;
    EXPECT_EQ(st.st_mode & 0777, 0700u) << c.expected;
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
  EXPECT_EQ(refused.TempDir, "");
  EXPECT_EQ(refused.TempDirRefused, kRefusal);
  const SiteSettings site = LoadSiteSettings("[Site]\r\nTempDir=/eigen\r\n", "/p", system);
  EXPECT_EQ(site.TempDir, "/eigen/");
  EXPECT_EQ(site.TempDirRefused, "");
  EXPECT_EQ(system.asked, 1);
}

}  // namespace
}  // namespace quenda
