// The settings dialog and its seven pages built for real from their layouts under Wine: every
// control exists with its class, place and visibility; a few are read back through the real
// dialog items; the keys reach the right dialog; and each view is photographed for a person to
// look at (bin/screenshots/).

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "ui/DialogLayouts.h"
#include "win32/ProcessHelpers.h"
#include "win32/Win32DialogSystem.h"

namespace linkscope::testing {
namespace {

HWND H(WindowHandle w) { return reinterpret_cast<HWND>(w); }

// A dialog handler whose steps run one per timer tick, once the dialog is on screen.
class Script : public IDialogHandler {
 public:
  using Step = std::function<void()>;
  void OnInitDialog(WindowHandle dialog, IDialogItems& items) override {
    self = dialog;
    this->items = &items;
    SetTimer(H(dialog), 1, 150, nullptr);
  }
  void OnTimer(std::uint32_t) override {
    if (next < steps.size()) steps[next++]();
  }
  void OnOk() override { log.push_back("dialog ok"); }
  void OnCancel() override { log.push_back("dialog cancel"); }

  WindowHandle self = 0;
  IDialogItems* items = nullptr;
  std::vector<Step> steps;
  std::size_t next = 0;
  std::vector<std::string> log;
};

class PageRecorder : public IDialogHandler {
 public:
  explicit PageRecorder(std::vector<std::string>* log) : log_(log) {}
  void OnInitDialog(WindowHandle, IDialogItems& items) override { this->items = &items; }
  void OnOk() override { log_->push_back("page ok"); }
  void OnCancel() override { log_->push_back("page cancel"); }
  IDialogItems* items = nullptr;

 private:
  std::vector<std::string>* log_;
};

// Every control of the layout against the window built from it.
void ExpectBuiltAsLaidOut(HWND dialog, const DialogLayout& layout) {
  SCOPED_TRACE("dialog " + std::to_string(layout.resourceId));
  HWND child = GetWindow(dialog, GW_CHILD);
  for (const ControlLayout& c : layout.controls) {
    // Children come in template order; pages created inside the dialog come first.
    while (child != nullptr && GetDlgCtrlID(child) != c.id) child = GetWindow(child, GW_HWNDNEXT);
    ASSERT_NE(nullptr, child) << "control " << c.id;
    char className[64] = "";
    GetClassNameA(child, className, sizeof className);
    EXPECT_EQ(0, lstrcmpiA(className, ControlClassName(c.kind))) << c.id << " " << className;
    const LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
    EXPECT_EQ(!c.hidden, (style & WS_VISIBLE) != 0) << c.id;
    // The dialog manager converts the origin and the size each on its own.
    RECT origin{c.x, c.y, c.width, c.height};
    MapDialogRect(dialog, &origin);
    const RECT expected{origin.left, origin.top, origin.left + origin.right,
                        origin.top + origin.bottom};
    RECT actual;
    GetWindowRect(child, &actual);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
    EXPECT_EQ(expected.left, actual.left) << c.id;
    EXPECT_EQ(expected.top, actual.top) << c.id;
    EXPECT_EQ(expected.right, actual.right) << c.id;
    // A drop-down list is as high as its closed field; the layout height includes its list.
    // Neither is a list box that keeps to whole lines.
    const bool integral = c.kind == ControlKind::ListBox && (c.style & kLbsNoIntegralHeight) == 0;
    if (c.kind != ControlKind::DropDownList && !integral) {
      EXPECT_EQ(expected.bottom, actual.bottom) << c.id;
    }
    child = GetWindow(child, GW_HWNDNEXT);
  }
}

std::string UnixPath(const std::string& windowsPath) {
  // The build folder is reached through drive Z:, which is the Unix root.
  std::string path = windowsPath.size() > 2 && windowsPath[1] == ':' ? windowsPath.substr(2)
                                                                     : windowsPath;
  for (char& ch : path) {
    if (ch == '\\') ch = '/';
  }
  return path;
}

// A picture of the whole screen through ImageMagick. Wine starts the Unix program but reports
// the start as failed, so the picture is waited for as a file. A missing tool only loses it.
void Screenshot(const std::string& name) {
  const std::string folder = ProgramFolder() + "screenshots\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string file = folder + name + ".png";
  DeleteFileA(file.c_str());
  RunCommand("Z:\\usr\\bin\\import -window root " + UnixPath(file), ProgramFolder(), nullptr);
  for (int i = 0; i < 100; ++i) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data) &&
        data.nFileSizeLow > 0) {
      Sleep(300);  // the tool may still be writing
      return;
    }
    Sleep(100);
  }
  std::printf("screenshot %s not taken\n", name.c_str());
}

class DialogsUnderWine : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                  ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
  }
  Win32DialogSystem dialogs_{GetModuleHandleA(nullptr)};
};

TEST_F(DialogsUnderWine, SettingsDialogAndEveryPageAreBuiltFromTheirLayouts) {
  const char* captions[] = {"Status",   "Statistics", "Site Survey", "Encryption",
                            "Advanced", "Profiles",   "Info"};
  Script dialog;
  std::vector<std::string> pageLog;
  PageRecorder page(&pageLog);
  WindowHandle current = 0;
  dialog.steps.push_back([&] {
    HWND self = H(dialog.self);
    ExpectBuiltAsLaidOut(self, SettingsDialogLayout());
    IDialogItems& items = *dialog.items;
    EXPECT_TRUE(items.DialogVisible());
    EXPECT_EQ("Linkscope Utility", items.Title());
    EXPECT_EQ("E&xit", items.Text(kIdCancel));
    EXPECT_FALSE(items.IsVisible(kIdResetButton));
    EXPECT_FALSE(items.IsVisible(kIdWindowsCheckBox));
    for (int i = 0; i < kPageCount; ++i) items.TabInsert(kIdTabControl, i, captions[i]);
    items.ComboAdd(kIdAdapterSelector, "ORVEX PCI Skyrelay");
    items.ComboSelect(kIdAdapterSelector, 0);
    items.ComboAdd(kIdProfileSelector, "Default");
    items.ComboAdd(kIdProfileSelector, "Office*");
    items.ComboSelect(kIdProfileSelector, 1);
  });
  for (int i = 0; i < kPageCount; ++i) {
    const int resourceId = kPageResourceIds[i];
    dialog.steps.push_back([&, i, resourceId] {
      IDialogItems& items = *dialog.items;
      if (current != 0) dialogs_.DestroyPage(current);
      const WindowHandle parent =
          resourceId == kTabHostedPageId ? items.Window(kIdTabControl) : dialog.self;
      current = dialogs_.CreatePage(*PageLayout(resourceId), parent, page);
      ASSERT_NE(0u, current) << resourceId;
      EXPECT_EQ(H(parent), GetParent(H(current)));
      EXPECT_EQ(H(current), GetWindow(H(parent), GW_CHILD)) << "the page lies over its siblings";
      ExpectBuiltAsLaidOut(H(current), *PageLayout(resourceId));
      EXPECT_FALSE(page.items->DialogVisible());
      page.items->ShowDialog(true);
      items.TabSelect(kIdTabControl, i);
    });
    // A step of its own, so that the page has drawn itself before its picture is taken.
    dialog.steps.push_back([&, resourceId] {
      IDialogItems& p = *page.items;
      switch (resourceId) {
        case kStatusPageId:
          p.ComboAdd(1024, "Ad-Hoc");
          p.ComboAdd(1024, "Infrastructure");
          p.ComboSelect(1024, 1);
          p.SetText(1009, "Harbour");
          p.SetText(1003, "Associated - BSSID: 00-40-96-A1-00-01");
          p.ProgressSetRange(1021, 0, 100);
          p.ProgressSetPos(1021, 80);
          p.SetText(1031, "80 %");
          EXPECT_EQ("&Operating Mode", p.Text(1013));
          EXPECT_EQ("Infrastructure", p.Text(1024));
          break;
        case kSiteSurveyPageId:
          EXPECT_EQ(0, p.ListViewInsertColumn(1033, 0, "BSSID", 110));
          p.ListViewInsertColumn(1033, 1, "SSID", 80);
          EXPECT_EQ(0, p.ListViewInsertRow(1033, 0, "00-40-96-A1-00-01"));
          p.ListViewSetCell(1033, 0, 1, "Harbour");
          EXPECT_EQ("Harbour", p.ListViewCell(1033, 0, 1));
          EXPECT_FALSE(p.IsVisible(kIdCancel));
          break;
        case kAdvancedPageId:
          p.TrackSetRange(1052, 256, 2346);
          p.TrackSetPos(1052, 4000);
          EXPECT_EQ(2346, p.TrackPos(1052));
          p.SetText(1059, "2346");
          p.SetText(1060, "Disabled");
          p.CheckRadio(1050, 1063, 1063);
          EXPECT_EQ(kCheckChecked, p.Check(1063));
          break;
        case kProfilesPageId:
          p.ListAdd(1086, "Default");
          p.ListAdd(1086, "Office (in use)");
          EXPECT_EQ("Existing &profiles", std::string(PageLayout(resourceId)->controls[0].text));
          EXPECT_FALSE(p.IsVisible(1092));
          EXPECT_EQ("Static", p.Text(1093));
          break;
        case kInfoPageId:
          p.SetText(1066, "1.2.3.4");
          EXPECT_EQ("&Driver Version", p.Text(1063));
          break;
        default:
          break;
      }
    });
    dialog.steps.push_back([resourceId] { Screenshot("dialog-" + std::to_string(resourceId)); });
  }
  dialog.steps.push_back([&] {
    dialogs_.DestroyPage(current);
    dialogs_.EndDialog(dialog.self, 5);
  });
  EXPECT_EQ(5, dialogs_.DoModal(SettingsDialogLayout(), 0, dialog));
  EXPECT_EQ(dialog.steps.size(), dialog.next);
  EXPECT_TRUE(pageLog.empty());
}

// Enter and Escape go to the innermost dialog around the focus: a page's default button and
// cancel command answer them there; on the frame's own controls Escape closes the frame.
TEST_F(DialogsUnderWine, KeysReachTheDialogAroundTheFocus) {
  Script dialog;
  std::vector<std::string> log;
  PageRecorder advanced(&log);
  WindowHandle page = 0;
  auto press = [](HWND target, WPARAM key) {
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
  };
  dialog.steps.push_back([&] {
    page = dialogs_.CreatePage(*PageLayout(kAdvancedPageId), dialog.self, advanced);
    advanced.items->ShowDialog(true);
    advanced.items->Focus(1052);
    EXPECT_EQ(1052, advanced.items->FocusedControl());
    dialog.items->Focus(kIdTabControl);
    EXPECT_EQ(kIdTabControl, dialog.items->FocusedControl());
    EXPECT_EQ(0, advanced.items->FocusedControl());
    press(H(advanced.items->Window(1052)), VK_RETURN);
    press(H(advanced.items->Window(1052)), VK_ESCAPE);
  });
  dialog.steps.push_back([&] {
    EXPECT_EQ((std::vector<std::string>{"page ok", "page cancel"}), log);
    EXPECT_TRUE(dialog.log.empty());
    press(H(dialog.items->Window(kIdTabControl)), VK_ESCAPE);
  });
  dialog.steps.push_back([&] {
    EXPECT_EQ(std::vector<std::string>{"dialog cancel"}, dialog.log);
    dialogs_.EndDialog(dialog.self, 2);
  });
  EXPECT_EQ(2, dialogs_.DoModal(SettingsDialogLayout(), 0, dialog));
  EXPECT_EQ(dialog.steps.size(), dialog.next);
}

// Disabling the control that has the focus hands the focus on inside its page (to the next
// tab stop, or to the page itself when none is left), so that Escape still reaches the page
// rather than the frame, which would close.
TEST_F(DialogsUnderWine, DisablingTheFocusedControlKeepsTheKeysOnItsPage) {
  struct Case {
    int resourceId;
    int focused;
    std::vector<int> disabledFirst;
    int focusAfter;  // 0: the page itself
  };
  const Case cases[] = {
      {kStatusPageId, 1018, {}, 1019},           // Change: on to Submit
      {kSiteSurveyPageId, 1034, {1033}, 1036},   // Re-Scan: on to the view's first choice
      // Re-Scan with every other control of the page already disabled.
      {kSiteSurveyPageId, 1034, {1033, 1036, 1037, 1038, 1039, 1040}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.resourceId);
    Script dialog;
    std::vector<std::string> log;
    PageRecorder recorder(&log);
    auto press = [](WPARAM key) {
      HWND target = GetFocus();
      PostMessageA(target, WM_KEYDOWN, key, 1);
      PostMessageA(target, WM_KEYUP, key, 0xC0000001);
    };
    WindowHandle page = 0;
    dialog.steps.push_back([&] {
      page = dialogs_.CreatePage(*PageLayout(c.resourceId), dialog.self, recorder);
      recorder.items->ShowDialog(true);
      for (int id : c.disabledFirst) recorder.items->Enable(id, false);
      recorder.items->Focus(c.focused);
      ASSERT_EQ(c.focused, recorder.items->FocusedControl());
      recorder.items->Enable(c.focused, false);
      EXPECT_EQ(c.focusAfter, recorder.items->FocusedControl());
      ASSERT_NE(nullptr, GetFocus());
      if (c.focusAfter == 0) {
        EXPECT_EQ(H(page), GetFocus());
      }
      press(VK_ESCAPE);
    });
    dialog.steps.push_back([&] {
      EXPECT_EQ(std::vector<std::string>{"page cancel"}, log);
      EXPECT_TRUE(dialog.log.empty());
      dialogs_.DestroyPage(page);
      dialogs_.EndDialog(dialog.self, 2);
    });
    EXPECT_EQ(2, dialogs_.DoModal(SettingsDialogLayout(), 0, dialog));
    EXPECT_EQ(dialog.steps.size(), dialog.next);
  }
}

// A long operation inside a handler keeps the dialog's timers running by dispatching between
// its steps; a quit request met there ends it and stays for the main loop.
TEST_F(DialogsUnderWine, DispatchingBetweenStepsDeliversTicksAndKeepsAQuit) {
  Script dialog;
  int ticksInside = 0;
  bool quitSeen = true;
  dialog.steps.push_back([&] {
    const std::size_t before = dialog.next;
    SetTimer(H(dialog.self), 7, 10, nullptr);
    // However late the tick comes on a busy machine, it is waited for.
    const DWORD start = GetTickCount();
    while (dialog.next == before && GetTickCount() - start < kPatienceMs) {
      Sleep(20);
      dialogs_.DispatchPending();  // the next timer tick runs the next step
    }
    ticksInside = static_cast<int>(dialog.next - before);
    KillTimer(H(dialog.self), 7);
    PostQuitMessage(3);
    quitSeen = !dialogs_.DispatchPending();
  });
  dialog.steps.push_back([] {});
  EXPECT_EQ(-1, dialogs_.DoModal(SettingsDialogLayout(), 0, dialog));
  EXPECT_GE(ticksInside, 1);
  EXPECT_TRUE(quitSeen);
  // The quit request reached the modal loop as well, which passed it on.
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(3u, msg.wParam);
}

TEST_F(DialogsUnderWine, ModalDialogDestroyedFromOutsideEndsItsLoop) {
  Script dialog;
  dialog.steps.push_back([&] { DestroyWindow(H(dialog.self)); });
  EXPECT_EQ(-1, dialogs_.DoModal(SettingsDialogLayout(), 0, dialog));
}

}  // namespace
}  // namespace linkscope::testing
