#include <windows.h>

#include <memory>
#include <string>

#include "base/error.h"
#include "platform/code_page.h"
#include "platform/system.h"

namespace quenda {
namespace {

// The folder services fill a buffer of 250 characters and report the length; the text
// is cut to it (a longer folder does not fit and gives an empty text).
template <typename Query>
std::string FolderFromBuffer(Query query) {
  char buffer[250];
  const DWORD n = query(static_cast<DWORD>(sizeof buffer), buffer);
  return n <= sizeof buffer ? std::string(buffer, n) : std::string();
}

// Process and thread handles, closed when the run is over.
struct ProcessHandles {
  PROCESS_INFORMATION info{};
  ~ProcessHandles() {
    if (info.hThread != nullptr) CloseHandle(info.hThread);
    if (info.hProcess != nullptr) CloseHandle(info.hProcess);
  }
};

class Win32System : public System {
 public:
  std::string TempPath() override {
    return FolderFromBuffer([](DWORD size, char* b) { return GetTempPathA(size, b); });
  }

  std::string WindowsDirectory() override {
    return FolderFromBuffer([](DWORD size, char* b) { return GetWindowsDirectoryA(b, size); });
  }

  std::string GetEnv(const std::string& name) override {
    const DWORD n = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
    if (n == 0) return {};
    std::string value(n, '\0');
    const DWORD written = GetEnvironmentVariableA(name.c_str(), value.data(), n);
    value.resize(written < n ? written : 0);
    return value;
  }

  std::string LogonUserName() override {
    char buffer[257];  // UNLEN + 1
    DWORD size = sizeof buffer;
    if (!GetUserNameA(buffer, &size) || size == 0) return {};
    return std::string(buffer, size - 1);  // size counts the closing NUL
  }

  std::string ComputerName() override {
    char buffer[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = sizeof buffer;
    if (!GetComputerNameA(buffer, &size)) return {};
    return std::string(buffer, size);  // size leaves out the closing NUL
  }

  std::string ExecutableDir() override {
    char buffer[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer) return ".";
    std::string path(buffer, n);
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
  }

  std::string CurrentDir() override {
    char buffer[MAX_PATH];
    const DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
    return n == 0 || n >= sizeof buffer ? std::string(".") : std::string(buffer, n);
  }

  void RunAndWait(const std::string& commandLine, int windowStyle) override {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(windowStyle);
    std::string line = commandLine;  // CreateProcessA may write into the text
    ProcessHandles process;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process.info)) {
      throw PlatformError(kErrFileNotFound, commandLine);
    }
    WaitForSingleObject(process.info.hProcess, INFINITE);
  }

  std::string DecimalSeparator() override {
    char buffer[8];
    const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer);
    return n > 1 ? std::string(buffer, static_cast<std::size_t>(n - 1)) : std::string(".");
  }

  SystemFamily Family() override { return SystemFamily::kWindows; }

  int ConsoleCodePage() override { return SystemConsoleCodePage(); }
};

}  // namespace

SystemFamily NativeSystemFamily() { return SystemFamily::kWindows; }

std::string OperatingSystemText() {
  // RtlGetVersion tells the real version; GetVersionEx is capped by the manifest.
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  std::string text = "Windows";
  if (ntdll == nullptr) return text;
  using GetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  if (const auto getVersion =
          reinterpret_cast<GetVersionFn>(GetProcAddress(ntdll, "RtlGetVersion"))) {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (getVersion(&info) == 0) {
      text += " " + std::to_string(info.dwMajorVersion) + "." +
              std::to_string(info.dwMinorVersion) + "." + std::to_string(info.dwBuildNumber);
    }
  }
  using WineVersionFn = const char*(CDECL*)();
  if (const auto wine =
          reinterpret_cast<WineVersionFn>(GetProcAddress(ntdll, "wine_get_version"))) {
    text += std::string(" (Wine ") + wine() + ")";
  }
  return text;
}

std::unique_ptr<System> MakeNativeSystem() { return std::make_unique<Win32System>(); }

}  // namespace quenda
