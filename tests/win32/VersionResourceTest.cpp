// The shipped program's identity as Windows reads it: the version Explorer and the list of
// installed programs show, the same version the Info page shows, and the manifest that gives
// it visual styles and DPI awareness. Read from the stripped copy the installer packs.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "ui/CInfoPage.h"
#include "win32/ProcessHelpers.h"

namespace linkscope::testing {
namespace {

std::string ShippedProgram() { return ProgramFolder() + "..\\dist\\linkscope.exe"; }

std::string StringValue(const std::vector<BYTE>& block, const char* name) {
  void* value = nullptr;
  UINT length = 0;
  const std::string path = std::string("\\StringFileInfo\\040904b0\\") + name;
  if (!VerQueryValueA(block.data(), path.c_str(), &value, &length) || length == 0) return "";
  return std::string(static_cast<const char*>(value));
}

TEST(VersionResource, ReadsTheInfoPagesVersionThroughGetFileVersionInfo) {
  const std::string exe = ShippedProgram();
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &handle);
  ASSERT_NE(0u, size) << exe << ": " << GetLastError();
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), length);
  const std::string numbers = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                              std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                              std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                              std::to_string(LOWORD(fixed->dwFileVersionLS));
  EXPECT_EQ("3.3.4.40", numbers);
  EXPECT_EQ(CInfoPage::ApplicationVersionText(), numbers) << "the Info page shows another version";
  EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
  EXPECT_EQ(fixed->dwFileVersionLS, fixed->dwProductVersionLS);
  EXPECT_EQ(numbers, StringValue(block, "FileVersion"));
  EXPECT_EQ(numbers, StringValue(block, "ProductVersion"));
  EXPECT_EQ("Linkscope", StringValue(block, "ProductName"));
  EXPECT_EQ("ORVEX", StringValue(block, "CompanyName"));
  EXPECT_FALSE(StringValue(block, "FileDescription").empty());
}

TEST(VersionResource, TheShippedProgramCarriesItsManifestAndIcon) {
  HMODULE module = LoadLibraryExA(ShippedProgram().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(nullptr, module);
  HRSRC manifest = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_NE(nullptr, manifest);
  const std::string text(static_cast<const char*>(LockResource(LoadResource(module, manifest))),
                         SizeofResource(module, manifest));
  for (const char* part : {"Microsoft.Windows.Common-Controls", "asInvoker", "dpiAware",
                           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
    EXPECT_NE(std::string::npos, text.find(part)) << part;
  }
  // Explorer shows the icon group with the lowest number as the program's icon.
  EXPECT_NE(nullptr, FindResourceA(module, MAKEINTRESOURCEA(128), MAKEINTRESOURCEA(14)));
  FreeLibrary(module);
}

}  // namespace
}  // namespace linkscope::testing
