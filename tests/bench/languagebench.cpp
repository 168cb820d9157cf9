// What the language table costs on a hostile language file under Wine, against the platform's
// own read of the same value: opening the file (10000 listed languages, a 1 MiB value, binary
// bytes) and looking up the huge value. Prints one line per measure; not a test.
//   languagebench [ROUNDS]

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "text/LanguageTable.h"
#include "win32/Win32PrivateProfile.h"

namespace {

double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

std::string HostileFile() {
  std::string ini = "[Languages]\r\n";
  for (int n = 1; n <= 10000; ++n) {
    ini += "Language-" + std::to_string(n) + "=L" + std::to_string(n) + "\r\n";
  }
  ini += "[L1]\r\nFormat=%s%n%s%n%x\r\nHuge=" + std::string(1 << 20, 'h') + "\r\nBinary=\x01\x7F";
  ini += '\0';
  ini += "\x80\xFF\r\n";
  for (int c = 1; c < 256; ++c) ini += static_cast<char>(c);
  ini += "\r\nAfter=ok\r\n";
  return ini;
}

bool WriteFileText(const std::string& path, const std::string& text) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(h);
  return ok && written == text.size();
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 50;
  if (rounds <= 0) return 1;
  // The table reads res\Wlan.ini relative to the current directory, as the program does.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "languagebench\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  CreateDirectoryA((folder + "res").c_str(), nullptr);
  const std::string file = folder + "res\\Wlan.ini";
  if (!WriteFileText(file, HostileFile()) || !SetCurrentDirectoryA(folder.c_str())) {
    std::fprintf(stderr, "cannot write %s\n", file.c_str());
    return 1;
  }

  linkscope::Win32PrivateProfile profile;
  linkscope::LanguageTable table(profile);
  const double start = Now();
  table.ChooseFile();
  const std::size_t languages = table.Languages().size();
  const double opened = Now();
  std::size_t total = 0;
  for (int i = 0; i < rounds; ++i) total += table.Lookup("Huge", "").size();
  const double looked = Now();
  char buffer[2000];
  for (int i = 0; i < rounds; ++i) {
    total += GetPrivateProfileStringA("L1", "Huge", "", buffer, sizeof buffer, ".\\res\\Wlan.ini");
  }
  const double direct = Now();

  std::printf("opening the file and listing its %u languages: %.1f ms\n",
              static_cast<unsigned>(languages), (opened - start) * 1000);
  std::printf("%d lookups of the 1 MiB value: %.1f ms (%.2f x the platform's own read)\n", rounds,
              (looked - opened) * 1000, (looked - opened) / (direct - looked));
  std::printf("%d reads by the platform: %.1f ms (%u bytes in all)\n", rounds,
              (direct - looked) * 1000, static_cast<unsigned>(total));

  SetCurrentDirectoryA(temp);
  DeleteFileA(file.c_str());
  RemoveDirectoryA((folder + "res").c_str());
  RemoveDirectoryA(folder.c_str());
  return 0;
}
