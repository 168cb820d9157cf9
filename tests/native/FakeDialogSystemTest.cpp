// What native tests of the dialog and its pages rely on from the fake beyond the contract: its
// modal loop runs the test's callback, in which timer ticks and the user's actions reach the
// handler, nested dialogs and message boxes included.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fakes/FakeDialogSystem.h"
#include "fakes/FakeWindowSystem.h"
#include "ui/DialogLayouts.h"

namespace linkscope {
namespace {

// A handler that closes on Cancel and asks a question on OK, as dialogs of the program do.
class Closer : public IDialogHandler {
 public:
  Closer(IDialogSystem& dialogs, IWindowSystem& windows) : dialogs_(dialogs), windows_(windows) {}
  void OnInitDialog(WindowHandle dialog, IDialogItems& items) override {
    self = dialog;
    this->items = &items;
    log.push_back("init");
  }
  void OnTimer(std::uint32_t id) override { log.push_back("timer " + std::to_string(id)); }
  void OnOk() override {
    const int answer = windows_.ShowMessage(self, "Save?", "Linkscope", kMbYesNo | kMbDefButton2);
    log.push_back(answer == kIdYes ? "yes" : "no");
  }
  void OnCancel() override {
    log.push_back("cancel");
    dialogs_.EndDialog(self, kIdCancel);
  }
  void OnDestroy() override {
    log.push_back("destroy");
    if (whileDestroyed) whileDestroyed();  // a message box shown there, and what runs under it
  }

  std::function<void()> whileDestroyed;
  WindowHandle self = 0;
  IDialogItems* items = nullptr;
  std::vector<std::string> log;

 private:
  IDialogSystem& dialogs_;
  IWindowSystem& windows_;
};

TEST(FakeDialogSystemTest, ModalLoopRunsTicksAndMessageBoxesUntilTheDialogEnds) {
  FakeDialogSystem dialogs;
  FakeWindowSystem windows;
  Closer closer(dialogs, windows);
  // The message box is a loop of its own: a tick arrives while it is up.
  windows.answer = [&](const FakeWindowSystem::Message&) {
    dialogs.Timer(closer.self, 130);
    return kIdNo;
  };
  int depthInside = 0;
  dialogs.modalLoop = [&](WindowHandle dialog, const DialogLayout& layout) {
    EXPECT_EQ(kSettingsDialogId, layout.resourceId);
    EXPECT_TRUE(dialogs.Items(dialog)->DialogVisible());
    depthInside = dialogs.ModalDepth();
    dialogs.Timer(dialog, 130);
    dialogs.PressEnter(dialog);
    dialogs.PressEscape(dialog);
    dialogs.Timer(dialog, 130);  // after the end: the window is gone, nothing arrives
  };
  EXPECT_EQ(kIdCancel, dialogs.DoModal(SettingsDialogLayout(), 0, closer));
  EXPECT_EQ(1, depthInside);
  EXPECT_EQ(0, dialogs.ModalDepth());
  EXPECT_EQ(
      (std::vector<std::string>{"init", "timer 130", "timer 130", "no", "cancel", "destroy"}),
      closer.log);
  EXPECT_EQ(0, dialogs.modalsLeftOpen);
  ASSERT_EQ(1u, windows.messages.size());
  EXPECT_EQ(kMbYesNo | kMbDefButton2, windows.messages[0].style);
}

TEST(FakeDialogSystemTest, DialogLeftOpenByTheTestIsCountedAndDestroyed) {
  FakeDialogSystem dialogs;
  FakeWindowSystem windows;
  Closer closer(dialogs, windows);
  EXPECT_EQ(kIdCancel, dialogs.DoModal(SettingsDialogLayout(), 0, closer));
  EXPECT_EQ(1, dialogs.modalsLeftOpen);
  EXPECT_EQ((std::vector<std::string>{"init", "destroy"}), closer.log);
  EXPECT_FALSE(dialogs.Exists(closer.self));
}

TEST(FakeDialogSystemTest, PagesLiveInTheirParentAndUsersReachOnlyWhatTheySee) {
  FakeDialogSystem dialogs;
  FakeWindowSystem windows;
  Closer frame(dialogs, windows);
  Closer status(dialogs, windows);
  Closer profiles(dialogs, windows);
  WindowHandle statusPage = 0;
  WindowHandle profilesPage = 0;
  dialogs.modalLoop = [&](WindowHandle dialog, const DialogLayout&) {
    statusPage = dialogs.CreatePage(*PageLayout(kStatusPageId), dialog, status);
    profilesPage = dialogs.CreatePage(*PageLayout(kProfilesPageId),
                                      frame.items->Window(kIdTabControl), profiles);
    EXPECT_EQ(dialog, dialogs.ParentOf(statusPage));
    EXPECT_EQ(frame.items->Window(kIdTabControl), dialogs.ParentOf(profilesPage));
    EXPECT_EQ((std::vector<WindowHandle>{statusPage, profilesPage}), dialogs.Pages());
    // A page starts hidden, with the controls of its layout.
    FakeDialogItems& items = *dialogs.Items(profilesPage);
    EXPECT_FALSE(items.DialogVisible());
    EXPECT_FALSE(items.IsVisible(1094));
    EXPECT_EQ("Static", items.Text(1093));
    // The hidden wizard button cannot be clicked; the user types only up to the limit.
    dialogs.Click(profilesPage, 1094);
    EXPECT_EQ((std::vector<std::string>{"init"}), profiles.log);
    items.EditLimitText(1092, 15);
    items.Type(1092, std::string(20, 'n'));
    EXPECT_EQ(std::string(15, 'n'), items.Text(1092));
    // The tab control reports the user's choice, not the program's.
    frame.items->TabInsert(kIdTabControl, 0, "Status");
    frame.items->TabInsert(kIdTabControl, 1, "Statistics");
    dialogs.ChooseTab(dialog, kIdTabControl, 1);
    dialogs.PressEscape(dialog);
  };
  dialogs.DoModal(SettingsDialogLayout(), 0, frame);
  // The frame's window went first, then the pages inside it.
  EXPECT_EQ("destroy", frame.log.back());
  EXPECT_EQ("destroy", status.log.back());
  EXPECT_EQ("destroy", profiles.log.back());
  EXPECT_TRUE(dialogs.Pages().empty());
}

// A box shown by a page's OnDestroy runs messages: the page destroyed again under it, or its
// dialog, hears nothing more, keeps its controls until its OnDestroy returns, and each goes once.
TEST(FakeDialogSystemTest, DestructionsUnderADestroyingPagesBoxTakeEachWindowOnce) {
  FakeDialogSystem dialogs;
  FakeWindowSystem windows;
  Closer frame(dialogs, windows);
  Closer page(dialogs, windows);
  dialogs.modalLoop = [&](WindowHandle dialog, const DialogLayout&) {
    const WindowHandle window = dialogs.CreatePage(*PageLayout(kSiteSurveyPageId), dialog, page);
    page.whileDestroyed = [&] {
      dialogs.DestroyPage(window);
      dialogs.DestroyNow(dialog);
      dialogs.PressEscape(window);
      EXPECT_NE(nullptr, dialogs.Items(window));
    };
    dialogs.DestroyPage(window);
    EXPECT_FALSE(dialogs.Exists(dialog));
  };
  dialogs.DoModal(SettingsDialogLayout(), 0, frame);
  EXPECT_EQ((std::vector<std::string>{"init", "destroy"}), page.log);
  EXPECT_EQ((std::vector<std::string>{"init", "destroy"}), frame.log);
  EXPECT_EQ(0u, dialogs.DialogCount());
}

TEST(FakeDialogSystemTest, DispatchingBetweenStepsRunsTheTestsTicks) {
  FakeDialogSystem dialogs;
  FakeWindowSystem windows;
  Closer closer(dialogs, windows);
  int ticks = 0;
  dialogs.pending = [&] {
    dialogs.Timer(closer.self, 130);
    return ++ticks < 2;
  };
  dialogs.modalLoop = [&](WindowHandle dialog, const DialogLayout&) {
    EXPECT_TRUE(dialogs.DispatchPending());
    EXPECT_FALSE(dialogs.DispatchPending());  // the program is ending
    dialogs.PressEscape(dialog);
  };
  dialogs.DoModal(SettingsDialogLayout(), 0, closer);
  EXPECT_EQ(2, dialogs.dispatches);
  EXPECT_EQ((std::vector<std::string>{"init", "timer 130", "timer 130", "cancel", "destroy"}),
            closer.log);
}

}  // namespace
}  // namespace linkscope
