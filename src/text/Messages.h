#pragma once
// The program's message boxes: OK messages and Yes/No questions whose texts are looked up at
// the moment they are shown.

#include <string>

#include "device/ProblemReport.h"
#include "platform/WindowSystem.h"
#include "text/TextSource.h"

namespace linkscope {

class Messages : public IProblemReport {
 public:
  Messages(IWindowSystem& windows, const ITextSource& texts) : windows_(windows), texts_(texts) {}

  // The window the boxes belong to (0 for none).
  void SetOwner(WindowHandle owner) { owner_ = owner; }
  // A modal window in front of the owner (the settings dialog) has disabled it: while it is
  // up, boxes belong to it, so that it takes no input until they are answered. 0 when none.
  void SetModalOwner(WindowHandle window) { modalOwner_ = window; }
  WindowHandle Owner() const { return modalOwner_ != 0 ? modalOwner_ : owner_; }

  // An OK message with the text of `key` (or the default).
  void Show(const std::string& key, const std::string& defaultText) const;
  // An OK message with a fixed text that no language changes.
  void ShowFixed(const std::string& text) const override;
  // A Yes/No question; true for Yes. `noIsDefault` makes No the default button.
  bool Ask(const std::string& key, const std::string& defaultText, bool noIsDefault) const;

  const ITextSource& Texts() const { return texts_; }

  static constexpr const char* kCaption = "Linkscope";

 private:
  IWindowSystem& windows_;
  const ITextSource& texts_;
  WindowHandle owner_ = 0;
  WindowHandle modalOwner_ = 0;
};

}  // namespace linkscope
