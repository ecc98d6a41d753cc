// The Win32 services themselves (built and run only for Windows, under Wine here).
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/native_path.h"
#include "platform/profile_string.h"
#include "platform/system.h"
#include "support/fake_system.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

using testing::TempDir;

TEST(Win32System, FoldersAndNamesComeFromTheSystem) {
  auto system = MakeNativeSystem();
  const std::string temp = system->TempPath();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '\\') << temp;
  EXPECT_TRUE(fs::is_directory(NativePath(temp))) << temp;
  const std::string windows = system->WindowsDirectory();
  EXPECT_TRUE(fs::is_directory(NativePath(windows))) << windows;
  EXPECT_NE(windows.back(), '\\') << windows;
  EXPECT_FALSE(system->LogonUserName().empty());
  EXPECT_FALSE(system->GetEnv("USERPROFILE").empty());
  EXPECT_EQ(system->GetEnv("QUENDA_GIBT_ES_NICHT"), "");
  SetEnvironmentVariableA("QUENDA_TEST_WERT",
                          "a\xE4"
                          "b");
  EXPECT_EQ(system->GetEnv("QUENDA_TEST_WERT"),
            "a\xE4"
            "b");
  EXPECT_TRUE(fs::exists(NativePath(system->ExecutableDir()) / "quenda_tests.exe"))
      << system->ExecutableDir();
}

TEST(Win32System, RunAndWaitWaitsForTheProgramAndReportsAMissingOne) {
  TempDir dir;
  auto system = MakeNativeSystem();
  const std::string marker = dir.File("marker.txt");
  EXPECT_NO_THROW(system->RunAndWait("cmd.exe /c echo x> \"" + marker + "\"", SW_HIDE));
  EXPECT_TRUE(fs::exists(marker)) << "the program has ended when RunAndWait returns";
  try {
    system->RunAndWait("gibtsnicht_quenda.exe", 1);
    FAIL() << "a missing program is an error";
  } catch (const Error& e) {
    EXPECT_EQ(e.Number(), kErrFileNotFound) << e.Description();
  }
}

TEST(Win32ProfileString, TheSystemServiceReadsTheFile) {
  TempDir dir;
  dir.Write("a.ini", "[System]\r\nConfigPath = \"C:\\cfg\"\r\nConfigPath=second\r\nLang=" +
                         std::string(300, 'v') + "\r\n[system]\r\nOther=x\r\n");
  const Files files;
  const std::string ini = dir.File("a.ini");
  EXPECT_EQ(ReadProfileString(files, ini, "SYSTEM", "configpath", "d"), "C:\\cfg");
  EXPECT_EQ(ReadProfileString(files, ini, "System", "Fehlt", "dflt  "), "dflt");
  EXPECT_EQ(ReadProfileString(files, ini, "System", "Other", "d"), "d") << "first section only";
  EXPECT_EQ(ReadProfileString(files, ini, "System", "Lang", "").size(), 255u);
  EXPECT_EQ(ReadProfileString(files, dir.File("none.ini"), "System", "ConfigPath", "d"), "d");
}

TEST(Win32Files, ResetAttributesMakesAReadOnlyFileWritable) {
  TempDir dir;
  dir.Write("ro.log", "x");
  const std::string path = dir.File("ro.log");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  const Files files;
  EXPECT_THROW(files.WriteAll(path, "y"), Error) << "a read-only file stays as it is";
  files.ResetAttributes(path);
  EXPECT_EQ(GetFileAttributesA(path.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
            0u);
  files.WriteAll(path, "y");
  EXPECT_EQ(dir.Read("ro.log"), "y");
}

TEST(Win32Files, Cp1252NamesReachTheDisk) {
  TempDir dir;
  const Files files;
  const std::string path = PathText(dir.Path()) +
                           "\\Pr\xFC"
                           "fung.txt";  // CP1252
  files.WriteAll(path, "inhalt");
  EXPECT_TRUE(fs::exists(dir.Path() / fs::path(u8"Prüfung.txt")));
  EXPECT_EQ(files.ReadAll(path), "inhalt");
}

}  // namespace
}  // namespace quenda
