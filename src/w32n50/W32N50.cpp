// W32N50.dll: the NDIS user-mode request library, with the adapters' miniport drivers
// simulated inside it. The simulated environment comes from W32N50-environment.json beside the
// DLL and is read again whenever that file changes; why a file was not taken is written to
// W32N50-diagnostics.txt beside it.

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>

#include "sim/EnvironmentFile.h"
#include "sim/SimHost.h"
#include "win32/Win32Registry.h"
#include "win32/Win32System.h"

namespace {

using linkscope::AdapterRegistryInfo;
using linkscope::OverlappedRecord;
using linkscope::RequestBlock;
namespace sim = linkscope::sim;

constexpr char kEnvironmentFile[] = "W32N50-environment.json";
constexpr char kDiagnosticsFile[] = "W32N50-diagnostics.txt";
// An environment file is a page of text; anything this large is not one.
constexpr ULONGLONG kMaxEnvironmentBytes = 4u << 20;

class Library {
 public:
  Library() {
    linkscope::OsVersion version;
    if (system_.GetVersion(&version)) {
      nt_ = version.platform == linkscope::kPlatformNt;
      win9x_ = version.platform == linkscope::kPlatformWin9x;
      sim::FamilyOfVersion(version, &family_);
    }
    host_ = std::make_unique<sim::SimHost>(system_, registry_, family_);
    netCardPath_ = host_->NetCardRegistryPath();
    folder_ = ModuleFolder();
  }

  std::mutex& Mutex() { return mutex_; }
  bool IsNt() const { return nt_; }
  bool Is9x() const { return win9x_; }
  const char* NetCardPath() const { return netCardPath_.c_str(); }

  // Every entry point looks at the file first, so an edit shows at the next request.
  sim::SimHost& Host() {
    Refresh();
    return *host_;
  }

 private:
  static std::string ModuleFolder() {
    HMODULE self = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&ModuleFolder), &self)) {
      return std::string();
    }
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(self, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return std::string();
    std::string s(path, n);
    return s.substr(0, s.find_last_of("\\/") + 1);
  }

  void Diagnose(const std::string& text) {
    if (text == lastDiagnosis_) return;
    lastDiagnosis_ = text;
    const std::string path = folder_ + kDiagnosticsFile;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string line = text + "\r\n";
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
  }

  static std::string Keeping(bool haveEnvironment) {
    return haveEnvironment ? "; keeping the environment read before"
                           : "; no environment: no adapters";
  }

  void Refresh() {
    const std::string path = folder_ + kEnvironmentFile;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
      stamped_ = false;
      Diagnose(path + ": not found" + Keeping(haveEnvironment_));
      return;
    }
    const ULONGLONG size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (stamped_ && size == size_ && CompareFileTime(&data.ftLastWriteTime, &written_) == 0) {
      return;
    }
    stamped_ = true;
    size_ = size;
    written_ = data.ftLastWriteTime;
    if (size > kMaxEnvironmentBytes) {
      Diagnose(path + ": larger than 4 MiB" + Keeping(haveEnvironment_));
      return;
    }
    std::string text;
    if (!ReadWhole(path, &text)) {
      // Most likely caught while being written; the next change is read again.
      stamped_ = false;
      Diagnose(path + ": cannot be read" + Keeping(haveEnvironment_));
      return;
    }
    sim::SimEnvironment environment;
    sim::EnvironmentError error;
    if (!sim::ParseEnvironment(text, &environment, &error)) {
      Diagnose(path + ": " + error.Describe() + Keeping(haveEnvironment_));
      return;
    }
    host_->SetEnvironment(environment);
    haveEnvironment_ = true;
    Diagnose(path + ": read, " + std::to_string(environment.adapters.size()) + " adapters, " +
             std::to_string(environment.networks.size()) + " networks");
  }

  static bool ReadWhole(const std::string& path, std::string* text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string out;
    char chunk[4096];
    DWORD got = 0;
    bool ok = true;
    while (ok) {
      if (!ReadFile(file, chunk, sizeof chunk, &got, nullptr)) ok = false;
      else if (got == 0) break;
      else out.append(chunk, got);
      if (out.size() > kMaxEnvironmentBytes) ok = false;
    }
    CloseHandle(file);
    if (ok) *text = std::move(out);
    return ok;
  }

  std::mutex mutex_;
  linkscope::Win32Registry registry_;
  linkscope::Win32System system_;
  bool nt_ = false;
  bool win9x_ = false;
  sim::SimOsFamily family_ = sim::SimOsFamily::Nt5;
  std::unique_ptr<sim::SimHost> host_;
  std::string netCardPath_;
  std::string folder_;
  bool stamped_ = false;
  ULONGLONG size_ = 0;
  FILETIME written_{};
  bool haveEnvironment_ = false;
  std::string lastDiagnosis_;
};

Library& Lib() {
  static Library library;
  return library;
}

HANDLE ToHandle(linkscope::AdapterHandle h) {
  return h == linkscope::kNoAdapter ? INVALID_HANDLE_VALUE : reinterpret_cast<HANDLE>(h);
}

}  // namespace

// Nothing may leave these functions by exception: each one answers with its failure value.

extern "C" unsigned char W32N_IsWindowsNT(void) {
  try {
    return Lib().IsNt() ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

extern "C" unsigned char W32N_IsWindows95(void) {
  try {
    return Lib().Is9x() ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

extern "C" HANDLE W32N_OpenAdapterA(const char* deviceName) {
  try {
    if (deviceName == nullptr) return INVALID_HANDLE_VALUE;
    const std::size_t n = strnlen(deviceName, MAX_PATH);
    if (n == MAX_PATH) return INVALID_HANDLE_VALUE;
    Library& lib = Lib();
    std::lock_guard<std::mutex> lock(lib.Mutex());
    return ToHandle(lib.Host().Open(std::string(deviceName, n)));
  } catch (...) {
    return INVALID_HANDLE_VALUE;
  }
}

extern "C" void W32N_CloseAdapter(HANDLE adapter) {
  try {
    Library& lib = Lib();
    std::lock_guard<std::mutex> lock(lib.Mutex());
    lib.Host().Close(reinterpret_cast<linkscope::AdapterHandle>(adapter));
  } catch (...) {
  }
}

extern "C" unsigned long W32N_MakeNdisRequest(HANDLE adapter, RequestBlock* request,
                                              OverlappedRecord* overlapped,
                                              unsigned char synchronous) {
  (void)synchronous;  // every request completes before it returns
  try {
    if (request == nullptr) return ERROR_INVALID_PARAMETER;
    Library& lib = Lib();
    std::lock_guard<std::mutex> lock(lib.Mutex());
    const std::uint32_t rc =
        lib.Host().Request(reinterpret_cast<linkscope::AdapterHandle>(adapter), request);
    if (overlapped != nullptr && overlapped->event != nullptr) {
      SetEvent(static_cast<HANDLE>(overlapped->event));
    }
    return rc;
  } catch (...) {
    return ERROR_GEN_FAILURE;
  }
}

extern "C" const char* W32N_GetNetCardRegistryPath(void) {
  try {
    return Lib().NetCardPath();
  } catch (...) {
    return "";
  }
}

extern "C" unsigned long W32N_GetAdapterRegistryInfoBySubkeyIndex(AdapterRegistryInfo* info,
                                                                  int index) {
  try {
    Library& lib = Lib();
    std::lock_guard<std::mutex> lock(lib.Mutex());
    return lib.Host().AdapterRegistryInfo(info, index);
  } catch (...) {
    return ERROR_GEN_FAILURE;
  }
}
