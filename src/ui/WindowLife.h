#pragma once
// The life of one window of a handler that outlives its windows (the settings dialog, each page,
// the main window). A message box, the survey's wait and the tray menu run messages, and among
// them the tick, the tray or the end of the session may destroy that window, or destroy it and
// build another one for the same handler. A handler notes a token before such a call and asks
// afterwards whether the window it started on is still there; a new window does not count, even
// at the old address. Nothing the handler held of the old window may be touched when it is not.

#include <cstdint>

namespace linkscope {

class WindowLife {
 public:
  using Token = std::uint32_t;

  // The handler's window has been created, or is being destroyed.
  void Begin() {
    ++generation_;
    alive_ = true;
  }
  void End() {
    ++generation_;
    alive_ = false;
  }

  bool Alive() const { return alive_; }
  // What a handler notes before a call that runs messages.
  Token Mark() const { return generation_; }
  // The window noted in `token` still exists.
  bool StillAlive(Token token) const { return alive_ && token == generation_; }

 private:
  Token generation_ = 0;
  bool alive_ = false;
};

}  // namespace linkscope
