#include "fakes/FakeSystem.h"

namespace linkscope {

bool FakeSystem::GetVersion(OsVersion* out) {
  if (!versionWorks) return false;
  *out = version;
  return true;
}

void FakeSystem::Sleep(std::uint32_t milliseconds) {
  now += milliseconds;
  if (onSleep) onSleep(milliseconds);
}

EventHandle FakeSystem::MakeEvent(bool, bool) {
  if (!eventsWork) return 0;
  const EventHandle event = nextEvent_;
  nextEvent_ += 4;
  openEvents.insert(event);
  ++eventsCreated;
  return event;
}

void FakeSystem::CloseEvent(EventHandle event) { openEvents.erase(event); }

bool FakeSystem::DefineDosName(std::uint32_t flags, const std::string& name,
                               const std::string& target) {
  dosNames.push_back(DosName{flags, name, target});
  return true;
}

}  // namespace linkscope
