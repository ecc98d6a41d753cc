// The resources of the built quenda.exe, read back as Windows reads them: one application
// manifest (common controls 6, per-monitor V2 DPI, the caller's rights, the system's code
// page), the version resource with this project's version, the icon.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quenda {
namespace {

class ExeResources : public ::testing::Test {
 protected:
  void SetUp() override {
    module = LoadLibraryExA(QUENDA_BINARY, nullptr,
                            LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr) << QUENDA_BINARY;
  }
  void TearDown() override {
    if (module != nullptr) FreeLibrary(module);
  }

  std::vector<std::string> Names(LPCSTR type) const {
    std::vector<std::string> names;
    EnumResourceNamesA(
        module, type,
        [](HMODULE, LPCSTR, LPSTR name, LONG_PTR out) {
          auto* list = reinterpret_cast<std::vector<std::string>*>(out);
          list->push_back(IS_INTRESOURCE(name) ? std::to_string(reinterpret_cast<UINT_PTR>(name))
                                               : std::string(name));
          return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&names));
    return names;
  }

  std::string Manifest() const {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), RT_MANIFEST);
    if (found == nullptr) return "";
    const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
    return std::string(data, SizeofResource(module, found));
  }

  HMODULE module = nullptr;
};

TEST_F(ExeResources, CarriesExactlyOneManifest) {
  EXPECT_EQ(Names(RT_MANIFEST), std::vector<std::string>{"1"});
}

TEST_F(ExeResources, ManifestAsksForStylesDpiAwarenessAndTheCallersRights) {
  const std::string manifest = Manifest();
  for (const char* part :
       {"level=\"asInvoker\"", "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
        ">true/pm</dpiAware>", ">PerMonitorV2, PerMonitor</dpiAwareness>",
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
    EXPECT_NE(manifest.find(part), std::string::npos) << part << " in\n" << manifest;
  }
  EXPECT_EQ(manifest.find("activeCodePage"), std::string::npos) << "files are written in CP1252";
}

TEST_F(ExeResources, CarriesTheIcon) {
  EXPECT_EQ(Names(RT_GROUP_ICON), std::vector<std::string>{"1"});
  EXPECT_EQ(Names(RT_ICON).size(), 4u) << "16, 32, 48 and 64 pixels";
}

std::string VersionString(const std::vector<char>& info, const std::string& name) {
  void* value = nullptr;
  UINT size = 0;
  const std::string path = "\\StringFileInfo\\040704B0\\" + name;
  if (!VerQueryValueA(info.data(), path.c_str(), &value, &size) || size == 0) return "<none>";
  return std::string(static_cast<const char*>(value));
}

TEST(ExeVersion, FieldsCarryTheProjectVersionAndTheProduct) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(QUENDA_BINARY, &ignored);
  ASSERT_GT(size, 0u) << "no version resource in " << QUENDA_BINARY;
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(QUENDA_BINARY, 0, size, info.data()));
  const std::pair<const char*, std::string> fields[] = {
      {"ProductName", "Quenda"},
      {"FileDescription", "Quenda - Schnittstelle FLOW/SEU"},
      {"FileVersion", QUENDA_PROJECT_VERSION},
      {"ProductVersion", QUENDA_PROJECT_VERSION},
      {"OriginalFilename", "quenda.exe"},
  };
  for (const auto& [name, text] : fields) EXPECT_EQ(VersionString(info, name), text) << name;
  EXPECT_NE(VersionString(info, "CompanyName"), "<none>");
  EXPECT_NE(VersionString(info, "LegalCopyright"), "<none>");
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize));
  const std::string numbers = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                              std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                              std::to_string(HIWORD(fixed->dwFileVersionLS));
  EXPECT_EQ(numbers, QUENDA_PROJECT_VERSION);
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  EXPECT_EQ(LOWORD(fixed->dwFileVersionLS), 0);
}

}  // namespace
}  // namespace quenda
