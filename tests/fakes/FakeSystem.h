#pragma once
// The operating system on virtual time: Sleep advances the clock at once, so waits cost nothing
// and every run is the same.

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/System.h"

namespace linkscope {

class FakeSystem : public ISystem {
 public:
  bool GetVersion(OsVersion* out) override;
  void Beep(std::uint32_t kind) override { beeps.push_back(kind); }
  void Sleep(std::uint32_t milliseconds) override;
  std::uint32_t TickCount() override { return now; }
  std::string CurrentDirectory() override { return currentDirectory; }
  std::string LocalTime() override { return localTime; }
  bool WriteWholeFile(const std::string& path, const std::string& bytes) override {
    if (failWrites) return false;
    files[path] = bytes;
    return true;
  }
  std::string localTime = "2026-12-08 15:43:36";
  std::map<std::string, std::string> files;  // what WriteWholeFile wrote, by path
  bool failWrites = false;
  EventHandle MakeEvent(bool manualReset, bool initiallySignalled) override;
  void CloseEvent(EventHandle event) override;
  bool DefineDosName(std::uint32_t flags, const std::string& name,
                     const std::string& target) override;
  bool StartSockets() override { return socketsWork; }
  // Records the exit; the test process goes on.
  void EndProcess(int exitCode) override {
    ended = true;
    endCode = exitCode;
  }
  bool ended = false;
  int endCode = -1;

  OsVersion version{6, 1, 7601, kPlatformNt, ""};
  bool versionWorks = true;
  bool socketsWork = true;
  bool eventsWork = true;
  std::string currentDirectory = "C:\\Program Files\\Linkscope";
  std::uint32_t now = 0;
  // Runs after each Sleep has moved the clock (tests let time-driven things happen here).
  std::function<void(std::uint32_t slept)> onSleep;

  std::vector<std::uint32_t> beeps;
  struct DosName {
    std::uint32_t flags;
    std::string name;
    std::string target;
  };
  std::vector<DosName> dosNames;
  std::set<EventHandle> openEvents;
  int eventsCreated = 0;

 private:
  EventHandle nextEvent_ = 0x500;
};

}  // namespace linkscope
