#pragma once
// Where the adapter side says in words what it could not do. The layers above decide how it
// reaches the user: the tray program shows a message box, linkscope-cli a line on standard
// error (text/Messages implements it).

#include <string>

namespace linkscope {

class IProblemReport {
 public:
  virtual ~IProblemReport() = default;
  // A fixed text that no language changes.
  virtual void ShowFixed(const std::string& text) const = 0;
};

}  // namespace linkscope
