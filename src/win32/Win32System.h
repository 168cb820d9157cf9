#pragma once
#include "platform/System.h"

namespace linkscope {

class Win32System : public ISystem {
 public:
  ~Win32System() override;
  bool GetVersion(OsVersion* version) override;
  void Beep(std::uint32_t kind) override;
  void Sleep(std::uint32_t milliseconds) override;
  std::uint32_t TickCount() override;
  std::string CurrentDirectory() override;
  std::string LocalTime() override;
  bool WriteWholeFile(const std::string& path, const std::string& bytes) override;
  EventHandle MakeEvent(bool manualReset, bool initiallySignalled) override;
  void CloseEvent(EventHandle event) override;
  bool DefineDosName(std::uint32_t flags, const std::string& name,
                       const std::string& target) override;
  bool StartSockets() override;
  void EndProcess(int exitCode) override;

 private:
  bool socketsStarted_ = false;
};

}  // namespace linkscope
