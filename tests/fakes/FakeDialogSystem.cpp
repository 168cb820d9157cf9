#include "fakes/FakeDialogSystem.h"

namespace linkscope {

WindowHandle FakeDialogSystem::Create(const DialogLayout& layout, WindowHandle parent,
                                      IDialogHandler& handler, bool modal) {
  const WindowHandle handle = next_;
  // Room for the controls' handles behind the dialog's own.
  next_ += 0x1000;
  Dialog& d = dialogs_[handle];
  d.layout = &layout;
  d.handler = &handler;
  d.parent = parent;
  d.items = std::make_unique<FakeDialogItems>(layout, handle + 1);
  d.items->imageFiles = &imageFiles;
  d.items->commandSink = [this, handle](int id, int code) { Command(handle, id, code); };
  d.modal = modal;
  d.order = order_++;
  handler.OnInitDialog(handle, *d.items);
  return handle;
}

int FakeDialogSystem::DoModal(const DialogLayout& layout, WindowHandle owner,
                              IDialogHandler& handler) {
  if (failCreate) return -1;
  const WindowHandle dialog = Create(layout, owner, handler, true);
  ++modalDepth_;
  // The real loop shows the dialog once its initialisation is over (and has nothing to show
  // when the initialisation destroyed it).
  auto created = dialogs_.find(dialog);
  if (created != dialogs_.end() && !created->second.ended) {
    created->second.items->ShowDialog(true);
    if (modalLoop) modalLoop(dialog, layout);
  }
  --modalDepth_;
  auto it = dialogs_.find(dialog);
  int result = kIdCancel;
  if (it != dialogs_.end()) {
    if (it->second.ended) {
      result = it->second.result;
    } else {
      ++modalsLeftOpen;
    }
  }
  Destroy(dialog);
  return result;
}

void FakeDialogSystem::EndDialog(WindowHandle dialog, int result) {
  auto it = dialogs_.find(dialog);
  if (it == dialogs_.end() || !it->second.modal) return;
  it->second.ended = true;
  it->second.result = result;
}

WindowHandle FakeDialogSystem::AddHostWindow() {
  const WindowHandle handle = next_;
  next_ += 0x1000;
  hosts_.push_back(handle);
  return handle;
}

bool FakeDialogSystem::IsKnownWindow(WindowHandle window) const {
  for (WindowHandle host : hosts_) {
    if (host == window) return true;
  }
  for (const auto& [handle, d] : dialogs_) {
    if (handle == window || d.items->OwnsWindow(window)) return true;
  }
  return false;
}

WindowHandle FakeDialogSystem::CreatePage(const DialogLayout& layout, WindowHandle parent,
                                          IDialogHandler& handler) {
  if (failCreate || !IsKnownWindow(parent)) return 0;
  return Create(layout, parent, handler, false);
}

void FakeDialogSystem::DestroyPage(WindowHandle page) { Destroy(page); }

void FakeDialogSystem::Destroy(WindowHandle dialog) {
  auto it = dialogs_.find(dialog);
  // A message box shown by a handler's OnDestroy runs messages, and a destruction asked for under
  // it (of this window, or of a parent that takes it along) finds this one already going: as
  // with windows, it hears of its destruction once and goes when the first destruction ends.
  if (it == dialogs_.end() || it->second.destroying) return;
  it->second.destroying = true;
  // The parent hears of its destruction first, then its children, as windows do.
  it->second.handler->OnDestroy();
  std::vector<WindowHandle> children;
  for (const auto& [handle, d] : dialogs_) {
    if (d.parent == dialog || it->second.items->OwnsWindow(d.parent)) children.push_back(handle);
  }
  for (WindowHandle child : children) Destroy(child);
  dialogs_.erase(dialog);
}

FakeDialogItems* FakeDialogSystem::Items(WindowHandle dialog) {
  auto it = dialogs_.find(dialog);
  return it == dialogs_.end() ? nullptr : it->second.items.get();
}

int FakeDialogSystem::ResourceOf(WindowHandle dialog) const {
  auto it = dialogs_.find(dialog);
  return it == dialogs_.end() ? 0 : it->second.layout->resourceId;
}

WindowHandle FakeDialogSystem::ParentOf(WindowHandle dialog) const {
  auto it = dialogs_.find(dialog);
  return it == dialogs_.end() ? 0 : it->second.parent;
}

std::vector<WindowHandle> FakeDialogSystem::Pages() const {
  std::map<int, WindowHandle> byOrder;
  for (const auto& [handle, d] : dialogs_) {
    if (!d.modal) byOrder[d.order] = handle;
  }
  std::vector<WindowHandle> pages;
  for (const auto& [order, handle] : byOrder) pages.push_back(handle);
  return pages;
}

IDialogHandler* FakeDialogSystem::HandlerOf(WindowHandle dialog) {
  auto it = dialogs_.find(dialog);
  // An ended dialog's loop dispatches nothing more to it, nor does a window being destroyed.
  return it == dialogs_.end() || it->second.ended || it->second.destroying ? nullptr
                                                                           : it->second.handler;
}

void FakeDialogSystem::Click(WindowHandle dialog, int id) {
  FakeDialogItems* items = Items(dialog);
  if (items == nullptr || !items->IsEnabled(id) || !items->IsVisible(id)) return;
  const FakeDialogItems::Control* c = items->Find(id);
  // A button pressed with the mouse takes the focus first.
  if (c->layout.kind == ControlKind::PushButton) items->Focus(id);
  // An automatic check box turns its own mark over before it reports the click.
  if (c->layout.kind == ControlKind::CheckBox &&
      (c->layout.style & kBsTypeMask) == kBsAutoCheckBox) {
    items->SetCheck(id, items->Check(id) == kCheckChecked ? kCheckUnchecked : kCheckChecked);
  }
  Command(dialog, id, kBnClicked);
}

void FakeDialogSystem::Command(WindowHandle dialog, int id, int code) {
  IDialogHandler* handler = HandlerOf(dialog);
  if (handler == nullptr) return;
  if (id == kIdOk && code == kBnClicked) {
    handler->OnOk();
  } else if (id == kIdCancel && code == kBnClicked) {
    handler->OnCancel();
  } else {
    handler->OnCommand(id, code);
  }
}

void FakeDialogSystem::Notify(WindowHandle dialog, const DialogNotification& notification) {
  if (IDialogHandler* handler = HandlerOf(dialog)) handler->OnNotify(notification);
}

void FakeDialogSystem::PressEnter(WindowHandle dialog) {
  if (IDialogHandler* handler = HandlerOf(dialog)) handler->OnOk();
}

void FakeDialogSystem::PressEscape(WindowHandle dialog) {
  if (IDialogHandler* handler = HandlerOf(dialog)) handler->OnCancel();
}

bool FakeDialogSystem::PressKey(WindowHandle dialog, DialogKey key) {
  IDialogHandler* handler = HandlerOf(dialog);
  return handler != nullptr && handler->OnKey(key);
}

std::vector<int> FakeDialogSystem::TabSequence(WindowHandle dialog) {
  std::vector<int> ids;
  auto stops = [&ids](const FakeDialogItems& items) {
    for (const FakeDialogItems::Control& c : items.Controls()) {
      const bool stop = c.layout.kind == ControlKind::RadioButton
                            ? c.check == kCheckChecked
                            : (c.layout.style & kWsTabStop) != 0;
      if (stop && c.visible && c.enabled) ids.push_back(c.layout.id);
    }
  };
  FakeDialogItems* frame = Items(dialog);
  if (frame == nullptr) return ids;
  for (const FakeDialogItems::Control& c : frame->Controls()) {
    if ((c.layout.style & kWsTabStop) != 0 && c.visible && c.enabled) ids.push_back(c.layout.id);
    if (c.layout.kind != ControlKind::Tab) continue;
    for (WindowHandle page : Pages()) {
      FakeDialogItems* items = Items(page);
      if ((ParentOf(page) == dialog || ParentOf(page) == c.window) && items->DialogVisible() &&
          items->DialogEnabled()) {
        stops(*items);
      }
    }
  }
  return ids;
}

void FakeDialogSystem::Timer(WindowHandle dialog, std::uint32_t timerId) {
  if (IDialogHandler* handler = HandlerOf(dialog)) handler->OnTimer(timerId);
}

void FakeDialogSystem::ChooseComboItem(WindowHandle dialog, int id, int index) {
  FakeDialogItems* items = Items(dialog);
  if (items == nullptr || !items->IsEnabled(id) || items->ComboSelect(id, index) < 0) return;
  Command(dialog, id, kCbnSelChange);
}

void FakeDialogSystem::ChooseTab(WindowHandle dialog, int id, int index) {
  FakeDialogItems* items = Items(dialog);
  if (items == nullptr || !items->IsEnabled(id) || index < 0 || index >= items->TabCount(id) ||
      items->TabSelection(id) == index) {
    return;
  }
  items->TabSelect(id, index);
  Notify(dialog, DialogNotification{id, kTcnSelChange, -1});
}

}  // namespace linkscope
