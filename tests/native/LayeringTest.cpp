// Which part of the program may include which: a lower part never reaches up into one that
// is built on it (the native build already proves that none includes a Windows header).

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace linkscope {
namespace {

std::string SourcePath(const std::string& relative) {
#ifdef _WIN32
  return std::string("Z:") + LINKSCOPE_SOURCE_DIR + "/" + relative;  // Wine's view of the tree
#else
  return std::string(LINKSCOPE_SOURCE_DIR) + "/" + relative;
#endif
}

struct LayerRule {
  const char* folder;
  std::set<std::string> forbidden;  // folders below src/ it must not include from
};

// The layers as src/CMakeLists.txt links them: platform <- device <- text <- config <- ui, and
// on the dialog both the application shell and the command line, neither on the other; the
// simulator on the device layer; the Win32 layer on top of everything. The native build's layer
// check refuses a call that climbs; this refuses the include alone.
const std::vector<LayerRule>& Rules() {
  static const std::vector<LayerRule> rules = {
      {"app", {"cli", "win32", "w32n50", "sim"}},
      {"cli", {"app", "win32", "w32n50", "sim"}},
      {"ui", {"app", "cli", "win32", "w32n50", "sim"}},
      {"config", {"app", "cli", "ui", "win32", "w32n50", "sim"}},
      {"text", {"app", "cli", "ui", "config", "win32", "w32n50", "sim"}},
      {"device", {"app", "cli", "ui", "config", "text", "win32", "w32n50", "sim"}},
      {"platform", {"app", "cli", "ui", "config", "text", "device", "win32", "w32n50", "sim"}},
      {"sim", {"app", "cli", "ui", "config", "text", "win32", "w32n50"}},
  };
  return rules;
}

TEST(Layering, NoPartIncludesOneBuiltOnIt) {
  const std::regex include(R"re(#\s*include\s*([<"])([^>"]+)[>"])re");
  int files = 0;
  for (const LayerRule& rule : Rules()) {
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(SourcePath(std::string("src/") + rule.folder))) {
      const std::string ext = entry.path().extension().string();
      if (ext != ".cpp" && ext != ".h") continue;
      ++files;
      std::ifstream in(entry.path(), std::ios::binary);
      std::ostringstream text;
      text << in.rdbuf();
      const std::string source = text.str();
      for (std::sregex_iterator it(source.begin(), source.end(), include), end; it != end; ++it) {
        const std::string path = (*it)[2];
        const std::string top = path.substr(0, path.find('/'));
        EXPECT_FALSE((*it)[1] == "\"" && path.find('/') != std::string::npos &&
                     rule.forbidden.count(top) != 0)
            << entry.path().filename() << " in " << rule.folder << " includes " << path;
      }
    }
  }
  EXPECT_GE(files, 40) << "the scan found the program's sources";
}

}  // namespace
}  // namespace linkscope
