#pragma once
#include <cstdint>
#include <vector>

#include "platform/DialogSystem.h"

namespace linkscope {

class Win32DialogSystem : public IDialogSystem {
 public:
  explicit Win32DialogSystem(void* instance);
  int DoModal(const DialogLayout& layout, WindowHandle owner, IDialogHandler& handler) override;
  void EndDialog(WindowHandle dialog, int result) override;
  WindowHandle CreatePage(const DialogLayout& layout, WindowHandle parent,
                          IDialogHandler& handler) override;
  void DestroyPage(WindowHandle page) override;
  bool DispatchPending() override;

  // The in-memory dialog template (DLGTEMPLATEEX) of a layout, DWORD-aligned.
  static std::vector<std::uint32_t> BuildTemplate(const DialogLayout& layout);

 private:
  void* instance_;
};

}  // namespace linkscope
