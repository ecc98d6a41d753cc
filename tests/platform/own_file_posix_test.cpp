// Planted links, second names, other users' files and nodes at the names a run writes: each
// write (replace, append, rewrite, run log, transcript) leaves what they point to unchanged.
// The tests that need a second user run as root and plant with uid 4242.
#include "platform/own_file.h"

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

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

struct WriteKind {
  const char* name;
  std::function<void(const Files&, const std::string&)> write;
};

const WriteKind kWrites[] = {
    {"replace", [](const Files& f, const std::string& p) { f.WriteLines(p, {"neu"}); }},
    {"append", [](const Files& f, const std::string& p) { f.AppendLines(p, {"neu"}); }},
    {"rewrite", [](const Files& f, const std::string& p) { f.RewriteLines(p, {"neu"}); }},
    {"run log",
     [](const Files& f, const std::string& p) {
       LineFile log;
       log.Open(f, p);
       log.WriteLine("neu");
     }},
    {"transcript",
     [](const Files&, const std::string& p) { Transcript(p).Message("T", "neu", 0, "OK"); }},
};

bool IsRunLog(const WriteKind& kind) { return std::string(kind.name) == "run log"; }

// The description of the error `write` throws; empty (after a failure) when it throws none.
std::string Refusal(const WriteKind& kind, const std::string& path) {
  try {
    kind.write(Files(), path);
  } catch (const Error& e) {
    return e.Description();
  }
  return {};
}

// A sticky folder that everybody may write to, as /tmp, owned by `owner`, beside the
// victim's file victim.txt.
struct SharedFolder {
  explicit SharedFolder(uid_t owner = 0) {
    fs::create_directory(Shared());
    chmod(Shared().c_str(), 01777);
    EXPECT_EQ(chown(Shared().c_str(), owner, owner), 0);
    dir.Write("victim.txt", kVictim);
  }
  fs::path Shared() const { return dir.Path() / "shared"; }
  std::string At(const char* name) const { return (Shared() / name).string(); }
  std::string Victim() const { return dir.Read("victim.txt"); }
  testing::TempDir dir;
};

#define SKIP_UNLESS_ROOT() \
  if (geteuid() != 0) GTEST_SKIP() << "needs root to act as a second user (uid 4242)"

// A symbolic link in a shared folder is followed only when it is the user's own or the
// folder owner's; the run log follows none.
TEST(PlantedLinks, FollowedOnlyWhenTheUserOrTheFolderOwnerMadeThem) {
  SKIP_UNLESS_ROOT();
  const struct {
    const char* what;
    uid_t folderOwner;
    uid_t linkOwner;
    bool followed;
  } cases[] = {
      {"another user's link", 0, kOther, false},
      {"the user's own link", 0, 0, true},
      {"the folder owner's link", kOther, kOther, true},
  };
  for (const auto& c : cases) {
    for (const WriteKind& kind : kWrites) {
      SharedFolder f(c.folderOwner);
      const std::string name = f.At("SG_4711.err");
      ASSERT_EQ(symlink(f.dir.File("victim.txt").c_str(), name.c_str()), 0);
      ASSERT_EQ(lchown(name.c_str(), c.linkOwner, c.linkOwner), 0);
      const std::string refusal = Refusal(kind, name);
      const bool followed = c.followed && !IsRunLog(kind);
      EXPECT_EQ(refusal.empty(), followed) << c.what << ", " << kind.name << ": " << refusal;
      EXPECT_EQ(f.Victim() != kVictim, followed) << c.what << ", " << kind.name;
      if (!followed) {
        EXPECT_NE(refusal.find(name + " ist eine symbolische Verknüpfung"_cp), std::string::npos)
            << c.what << ", " << kind.name << ": " << refusal;
      }
      EXPECT_TRUE(fs::is_symlink(name)) << c.what << ", " << kind.name << ": the link stays";
    }
  }
}

// A second name of the victim's file, and a file another user left, in a shared folder are
// never written; outside a shared folder another user's file is the site's to share, but
// never the run log.
TEST(PlantedFiles, SecondNamesAndOtherUsersFilesInASharedFolderAreLeftAlone) {
  SKIP_UNLESS_ROOT();
  const struct {
    const char* what;
    bool hardLink;
    bool shared;
    bool written;  // by every write but the run log
    const char* says;
  } cases[] = {
      {"a hard link to the victim", true, true, false, "harte Verknüpfung"},
      {"another user's file", false, true, false, "gehört einem anderen Benutzer"},
      {"another user's file, not shared", false, false, true, "gehört einem anderen Benutzer"},
  };
  for (const auto& c : cases) {
    for (const WriteKind& kind : kWrites) {
      SharedFolder f;
      if (!c.shared) chmod(f.Shared().c_str(), 0755);
      const std::string name = f.At("Tarvell.Bat");
      if (c.hardLink) {
        ASSERT_EQ(link(f.dir.File("victim.txt").c_str(), name.c_str()), 0);
      } else {
        f.dir.Write("shared/Tarvell.Bat", kVictim);
        ASSERT_EQ(chown(name.c_str(), kOther, kOther), 0);
      }
      const std::string refusal = Refusal(kind, name);
      const bool written = c.written && !IsRunLog(kind);
      EXPECT_EQ(refusal.empty(), written) << c.what << ", " << kind.name << ": " << refusal;
      const std::string left = c.hardLink ? f.Victim() : f.dir.Read("shared/Tarvell.Bat");
      EXPECT_EQ(left != kVictim, written) << c.what << ", " << kind.name;
      if (!written) {
        EXPECT_NE(refusal.find(name), std::string::npos) << c.what << ", " << kind.name;
        EXPECT_NE(refusal.find(Utf8ToCp1252(c.says)), std::string::npos)
            << c.what << ", " << kind.name << ": " << refusal;
      }
    }
  }
}

// Only regular files are written: a FIFO, a socket, a folder and a character device of the
// test's own (and a link to that device) stay what they are, and no write waits on the FIFO.
TEST(NodesAtTheName, AreRefusedAsNoRegularFile) {
  const std::function<bool(const std::string&)> makers[] = {
      [](const std::string& p) { return mkfifo(p.c_str(), 0666) == 0; },
      [](const std::string& p) { return fs::create_directory(p); },
      [](const std::string& p) {
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (p.size() >= sizeof address.sun_path) return false;
        p.copy(address.sun_path, p.size());
        const bool bound = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        close(fd);
        return bound;
      },
      [](const std::string& p) { return mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; },
  };
  for (const auto& make : makers) {
    for (const WriteKind& kind : kWrites) {
      for (const bool throughLink : {false, true}) {
        testing::TempDir dir;
        const std::string node = dir.File("node");
        if (!make(node)) {
          std::printf("node kind not permitted here: skipped for %s\n", kind.name);
          continue;
        }
        struct stat before {};
        ASSERT_EQ(lstat(node.c_str(), &before), 0);
        const std::string name = throughLink ? dir.File("report.json") : node;
        if (throughLink) {
          ASSERT_EQ(symlink(node.c_str(), name.c_str()), 0);
        }
        const std::string refusal = Refusal(kind, name);
        const std::string expected = IsRunLog(kind) && throughLink
                                         ? " ist eine symbolische Verknüpfung"_cp
                                         : " ist keine gewöhnliche Datei"_cp;
        EXPECT_NE(refusal.find(name + expected), std::string::npos)
            << kind.name << " on mode " << std::oct << before.st_mode << ": " << refusal;
        struct stat after {};
        ASSERT_EQ(lstat(node.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode, before.st_mode) << kind.name << ": the node stays as it was";
        EXPECT_EQ(after.st_ino, before.st_ino) << kind.name;
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
  testing::TempDir dir;
  const std::string before = "Tarvell.exe \"T:\\a.dab||1||x|\"\r\n";
  dir.Write("Tarvell.Bat", before);
  const std::string path = dir.File("Tarvell.Bat");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlim_t size = before.size() + 10;
    const rlimit limit{size, size};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(4);
    try {
      Files().AppendLines(path, {std::string(100, 'x')});
      _exit(2);
    } catch (const Error& e) {
      const bool named = e.Description() == "Datenträger voll: "_cp + path;
      _exit(e.Number() == kErrDiskFull && named ? 0 : 3);
    }
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
  EXPECT_EQ(WEXITSTATUS(status), 0) << "2: no failure, 3: another error, 4: no limit";
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
      {"the user's own, open to others", [](const fs::path& p) { mkdir(p.c_str(), 0777); }, false,
       ""},
      {"a link to the user's folder",
       [](const fs::path& p) {
         fs::create_directory(p.string() + ".real");
         fs::create_directory_symlink(p.string() + ".real", p);
       },
       false, "ist eine symbolische Verknüpfung"},
      {"a file",
       [](const fs::path& p) {
         std::FILE* f = std::fopen(p.c_str(), "w");
         std::fclose(f);
       },
       false, "ist kein Ordner"},
      {"another user's folder",
       [](const fs::path& p) {
         mkdir(p.c_str(), 0700);
         EXPECT_EQ(chown(p.c_str(), kOther, kOther), 0);
       },
       true, "gehört einem anderen Benutzer (uid 4242)"},
  };
  for (const auto& c : cases) {
    if (c.root && geteuid() != 0) continue;
    testing::TempDir dir;
    const fs::path folder = dir.Path() / "quenda-0";
    c.plant(folder);
    const std::string text = folder.string();
    try {
      MakePrivateFolder(folder, text);
      EXPECT_EQ(std::string(c.says), "") << c.what << " was accepted";
      struct stat st {};
      ASSERT_EQ(lstat(folder.c_str(), &st), 0) << c.what;
      EXPECT_TRUE(S_ISDIR(st.st_mode)) << c.what;
      EXPECT_EQ(st.st_mode & 0777, 0700u) << c.what;
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), kErrPermissionDenied) << c.what;
      EXPECT_EQ(e.Description(),
                "Der private temporäre Ordner "_cp + text + " " + Utf8ToCp1252(c.says))
          << c.what;
    }
  }
}

// The environment variable `name` set to `value` (unset for nullptr) for the life of the
// object, then as it was.
class EnvSetting {
 public:
  EnvSetting(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    if (value == nullptr) {
      unsetenv(name);
    } else {
      setenv(name, value, 1);
    }
  }
  ~EnvSetting() {
    if (had_) {
      setenv(name_, old_.c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  bool had_ = false;
  std::string old_;
};

// Without [Site] TempDir: $XDG_RUNTIME_DIR/quenda, else $TMPDIR/quenda-<uid>.
TEST(PrivateFolder, SystemTempPathIsTheUsersOwnFolder) {
  testing::TempDir dir;
  const std::string uid = std::to_string(geteuid());
  const std::string runtime = dir.File("runtime");
  const std::string tmp = dir.File("tmp");
  const struct {
    std::optional<std::string> xdg;  // unset when empty
    std::string tmpdir;
    std::string expected;
  } cases[] = {
      {runtime, tmp, runtime + "/quenda/"},
      {runtime + "/", tmp, runtime + "/quenda/"},
      {std::nullopt, tmp + "/", tmp + "/quenda-" + uid + "/"},
      {"", tmp, tmp + "/quenda-" + uid + "/"},
      {"relativ", tmp, tmp + "/quenda-" + uid + "/"},
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
