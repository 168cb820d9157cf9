#include "contract/DialogItemsContract.h"

#include <vector>

namespace linkscope {

namespace {

ControlLayout Control(int id, ControlKind kind, std::uint32_t style, int x, int y, int w, int h,
                      const char* text = "") {
  return ControlLayout::Make(id, kind, style, x, y, w, h, text);
}

// One control of every kind.
const DialogLayout& ContractPage() {
  static const DialogLayout layout = [] {
    DialogLayout d;
    d.resourceId = 900;
    d.style = kWsChild;
    d.width = 300;
    d.height = 220;
    ControlLayout hidden = Control(101, ControlKind::Label, 0, 5, 15, 60, 8, "Hidden label");
    hidden.hidden = true;
    d.controls = {
        Control(100, ControlKind::Label, 0, 5, 5, 60, 8, "Label text"),
        hidden,
        Control(102, ControlKind::PushButton, kBsPushButton | kWsDisabled, 70, 5, 40, 14,
                "Disabled"),
        Control(110, ControlKind::DropDownList, kCbsDropDownList | kWsVScroll, 5, 30, 80, 60),
        Control(111, ControlKind::ListBox, kLbsNotify | kWsVScroll | kWsBorder, 90, 30, 80, 40),
        Control(120, ControlKind::Edit, kEsAutoHScroll | kWsBorder, 5, 75, 80, 12),
        Control(130, ControlKind::CheckBox, kBsAutoCheckBox, 90, 75, 60, 10, "Check"),
        Control(140, ControlKind::RadioButton, kBsAutoRadioButton | kWsGroup, 5, 90, 40, 10, "A"),
        Control(141, ControlKind::RadioButton, kBsAutoRadioButton, 50, 90, 40, 10, "B"),
        Control(142, ControlKind::RadioButton, kBsAutoRadioButton, 95, 90, 40, 10, "C"),
        Control(150, ControlKind::Progress, kWsBorder, 5, 105, 100, 10),
        Control(160, ControlKind::Trackbar, kTbsAutoTicks | kTbsTop, 110, 100, 100, 15),
        Control(170, ControlKind::ListView, kLvsReport | kLvsShowSelAlways | kWsBorder, 5, 120,
                200, 60),
        Control(180, ControlKind::Tab, 0, 210, 5, 85, 40),
        Control(200, ControlKind::Graph, 0, 210, 110, 85, 60),
        Control(190, ControlKind::PushButton, kBsPushButton, 210, 50, 40, 14, "Push"),
        Control(kIdOk, ControlKind::PushButton, kBsDefPushButton, 210, 70, 40, 14, "OK"),
        Control(kIdCancel, ControlKind::PushButton, kBsPushButton, 210, 90, 40, 14, "Cancel"),
    };
    return d;
  }();
  return layout;
}

class Recorder : public IDialogHandler {
 public:
  void OnInitDialog(WindowHandle dialog, IDialogItems& items) override {
    window = dialog;
    this->items = &items;
    events.push_back("init");
    if (onInit) onInit(dialog, items);
  }
  void OnCommand(int id, int code) override {
    events.push_back("command " + std::to_string(id) + " " + std::to_string(code));
  }
  void OnNotify(const DialogNotification& n) override {
    // Drawing notifications come as the system pleases; the contract does not count them.
    if (n.code != kNmCustomDraw) events.push_back("notify " + std::to_string(n.id));
  }
  void OnOk() override { events.push_back("ok"); }
  void OnCancel() override { events.push_back("cancel"); }
  void OnDestroy() override { events.push_back("destroy"); }

  std::function<void(WindowHandle, IDialogItems&)> onInit;
  WindowHandle window = 0;
  IDialogItems* items = nullptr;
  std::vector<std::string> events;
};

int Count(const std::vector<std::string>& events, const std::string& event) {
  int n = 0;
  for (const std::string& e : events) n += e == event ? 1 : 0;
  return n;
}

// The contract page, built in the world's host window for the length of a test.
class OpenPage {
 public:
  explicit OpenPage(DialogWorld& world) : world_(world) {
    window = world.Dialogs().CreatePage(ContractPage(), world.Host(), recorder);
    items = recorder.items;
    recorder.events.clear();
  }
  ~OpenPage() {
    if (window != 0) world_.Dialogs().DestroyPage(window);
  }
  bool Ok() const { return window != 0 && items != nullptr; }

  Recorder recorder;
  WindowHandle window = 0;
  IDialogItems* items = nullptr;

 private:
  DialogWorld& world_;
};

}  // namespace

TEST_P(DialogItemsContract, PageIsBuiltFromItsLayoutAndGoesWithItsHandler) {
  Recorder recorder;
  const WindowHandle page = world_->Dialogs().CreatePage(ContractPage(), world_->Host(), recorder);
  ASSERT_NE(0u, page);
  EXPECT_EQ(page, recorder.window);
  ASSERT_EQ(std::vector<std::string>{"init"}, recorder.events);
  IDialogItems& items = *recorder.items;
  // A page starts hidden: it shows itself once it has its data.
  EXPECT_FALSE(items.DialogVisible());
  EXPECT_EQ("Label text", items.Text(100));
  EXPECT_TRUE(items.IsVisible(100));
  EXPECT_FALSE(items.IsVisible(101));
  EXPECT_FALSE(items.IsEnabled(102));
  EXPECT_TRUE(items.IsEnabled(190));
  for (const ControlLayout& c : ContractPage().controls) {
    EXPECT_NE(0u, items.Window(c.id)) << c.id;
  }
  EXPECT_EQ(0u, items.Window(4242));
  world_->Dialogs().DestroyPage(page);
  EXPECT_EQ("destroy", recorder.events.back());
}

TEST_P(DialogItemsContract, PageInsideAControlOfAModalDialogGoesWithIt) {
  Recorder page;
  Recorder dialog;
  WindowHandle pageWindow = 0;
  dialog.onInit = [&](WindowHandle self, IDialogItems& items) {
    pageWindow = world_->Dialogs().CreatePage(ContractPage(), items.Window(180), page);
    world_->Dialogs().EndDialog(self, 77);
  };
  DialogLayout modal = ContractPage();
  modal.style = kWsPopup | kWsCaption | kDsModalFrame;
  modal.title = "Contract modal";
  EXPECT_EQ(77, world_->Dialogs().DoModal(modal, world_->Host(), dialog));
  EXPECT_NE(0u, pageWindow);
  EXPECT_EQ((std::vector<std::string>{"init", "destroy"}), dialog.events);
  EXPECT_EQ((std::vector<std::string>{"init", "destroy"}), page.events);
}

TEST_P(DialogItemsContract, DropDownListKeepsOrderAndSelectionRules) {
  OpenPage page(*world_);
  ASSERT_TRUE(page.Ok());
  IDialogItems& items = *page.items;
  EXPECT_EQ(0, items.ComboAdd(110, "Infrastructure"));
  EXPECT_EQ(1, items.ComboAdd(110, "Ad-Hoc"));  // appended, not sorted
  EXPECT_EQ(2, items.ComboCount(110));
  EXPECT_EQ("Ad-Hoc", items.ComboItemText(110, 1));
  EXPECT_EQ(-1, items.ComboSelection(110));
  EXPECT_EQ("", items.Text(110));
  EXPECT_EQ(1, items.ComboSelect(110, 1));
  EXPECT_EQ("Ad-Hoc", items.Text(110));
  // Out of range: refused (what becomes of the selection differs between systems).
  EXPECT_EQ(-1, items.ComboSelect(110, 2));
  items.ComboSelect(110, 0);
  EXPECT_EQ(-1, items.ComboSelect(110, -1));
  EXPECT_EQ(-1, items.ComboSelection(110));
  items.ComboSelect(110, 0);
  items.ComboReset(110);
  EXPECT_EQ(0, items.ComboCount(110));
  EXPECT_EQ(-1, items.ComboSelection(110));
  // Commands come from the user only.
  EXPECT_TRUE(page.recorder.events.empty());
}

TEST_P(DialogItemsContract, DropDownListPrefixSearchIsCaselessAndWraps) {
  OpenPage page(*world_);
  ASSERT_TRUE(page.Ok());
  IDialogItems& items = *page.items;
  // The channels of a domain that has only 10 and 11: channel 1 finds "10".
  items.ComboAdd(110, "10");
  items.ComboAdd(110, "11");
  EXPECT_EQ(0, items.ComboSelectPrefix(110, -1, "1"));
  EXPECT_EQ(1, items.ComboSelectPrefix(110, -1, "11"));
  // Not found: the selection stays.
  EXPECT_EQ(-1, items.ComboSelectPrefix(110, -1, "3"));
  EXPECT_EQ(1, items.ComboSelection(110));

  items.ComboReset(110);
  items.ComboAdd(110, "Alpha");
  items.ComboAdd(110, "Beta");
  items.ComboAdd(110, "alpine");
  EXPECT_EQ(0, items.ComboSelectPrefix(110, -1, "ALP"));
  EXPECT_EQ(2, items.ComboSelectPrefix(110, 0, "al"));
  EXPECT_EQ(0, items.ComboSelectPrefix(110, 2, "al"));  // round from the top
  EXPECT_EQ(-1, items.ComboSelectPrefix(110, -1, "Alphabet"));
  EXPECT_EQ(0, items.ComboSelection(110));
}

TEST_P(DialogItemsContract, ListBoxKeepsOrderAndSelection) {
  OpenPage page(*world_);
  ASSERT_TRUE(page.Ok());
  IDialogItems& items = *page.items;
  EXPECT_EQ(0, items.ListAdd(111, "Default"));
  EXPECT_EQ(1, items.ListAdd(111, "Office (in use)"));
  EXPECT_EQ(2, items.ListAdd(111, "Attic"));
  EXPECT_EQ(3, items.ListCount(111));
  EXPECT_EQ("Attic", items.ListItemText(111, 2));
  EXPECT_EQ(-1, items.ListSelection(111));
  EXPECT_EQ(1, items.ListSelect(111, 1));
  EXPECT_EQ(1, items.ListSelection(111));
  EXPECT_EQ(-1, items.ListSelect(111, 3));  // out of range: refused
  EXPECT_EQ(-1, items.ListSelect(111, -1));
  EXPECT_EQ(-1, items.ListSelection(111));
  items.ListReset(111);
  EXPECT_EQ(0, items.ListCount(111));
}

TEST_P(DialogItemsContract, EditLimitBindsTypingButNotTheProgram) {
  OpenPage page(*world_);
  ASSERT_TRUE(page.Ok());
  IDialogItems& items = *page.items;
  items.EditLimitText(120, 15);
  EXPECT_EQ(15, items.EditLimit(120));
  world_->Type(page.window, 120, "ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ("ABCDEFGHIJKLMNO", items.Text(120));
  // The characters the limit refused are reported as such; every key reports a change (Wine
  // does so even for a refused one).
  EXPECT_EQ(5, Count(page.recorder.events, "command 120 1281"));
  EXPECT_EQ(20, Count(page.recorder.events, "command 120 768"));
  ASSERT_TRUE(items.SetText(120, "0123456789ABCDEF0123"));
  EXPECT_EQ("0123456789ABCDEF0123", items.Text(120));
  // Typing over a selection replaces it.
  items.SetText(120, "0123456789");
  items.EditSetSelection(120, 2, 5);
  world_->Type(page.window, 120, "xy");
  EXPECT_EQ("01xy56789", items.Text(120));
}

TEST_P(DialogItemsContract, ProgramChangesReportOnlyAnEditBoxsNewText) {
  OpenPage page(*world_);
  ASSERT_TRUE(page.Ok());
  IDialogItems& items = *page.items;
  items.SetText(100, "label");
  items.ComboAdd(110, "x");
  items.ComboSelect(110, 0);
  items.ComboSelectPrefix(110, -1, "x");
  items.ListAdd(111, "x");
  items.ListSelect(111, 0);
  items.SetCheck(130, kCheckChecked);
  items.CheckRadio(140, 142, 140);
  items.TrackSetRange(160, 0, 10);
  items.TrackSetPos(160, 5);
  items.TabInsert(180, 0, "tab");
  items.EditSetSelection(120, 0, 1);
  EXPECT_TRUE(page.recorder.events.empty());
  // A new text in an edit box is a change of its contents, whoever made it.
  items.SetText(120, "abc");
  EXPECT_EQ(1, Count(page.recorder.events, "command 120 768"));
}

TEST_P(DialogItemsContract, EditSelectionIsClampedToTheText) {
  OpenPage page(*world_);
  ASSERT_TRUE(page.Ok());
  IDialogItems& items = *page.items;
  items.SetText(120, "ABCDEFGH");
  int start = -5;
  int end = -5;
  items.EditSetSelection(120, 3, -1);  // to the end
  items.EditSelection(120, &start, &end);
  EXPECT_EQ(3, start);
  EXPECT_EQ(8, end);
  items.EditSetSelection(120, 5, 100);
  items.EditSelection(120, &start, &end);
  EXPECT_EQ(5, start);
  EXPECT_EQ(8, end);
  items.EditSetSelection(120, 6, 2);
  items.EditSelection(120, &start, &end);
  EXPECT_EQ(2, start);
  EXPECT_EQ(6, end);
  items.EditScrollCaret(120);
}

TEST_P(DialogItemsContract, PasswordCharacterHidesNothingFromTheProgram) {
  OpenPage page(*world_);
  ASSERT_TRUE(page.Ok());
  IDialogItems& items = *page.items;
  EXPECT_EQ(0, items.EditPasswordChar(120));
  items.EditSetPasswordChar(120, '*');
  EXPECT_EQ('*', items.EditPasswordChar(120));
  items.SetText(120, "1A2B3C4D5E");
  EXPECT_EQ("1A2B3C4D5E", items.Text(120));
  items.EditSetPasswordChar(120, 0);
  EXPECT_EQ(0, items.EditPasswordChar(120));
}

TEST_P(DialogItemsContract, ToolTipsBelongToTheirControls) {
  OpenPage page(*world_);
  ASSERT_TRUE(page.Ok());
  IDialogItems& items = *page.items;
  EXPECT_EQ("", items.ToolTip(190));
  items.SetToolTip(190, "Create a new profile from current configuration");
  items.SetToolTip(102, "Delete selected profile");
  EXPECT_EQ("Create a new profile from current configuration", items.ToolTip(190));
  EXPECT_EQ("Delete selected profile", items.ToolTip(102));
  items.SetToolTip(190, "Replaced");
  EXPECT_EQ("Replaced", items.ToolTip(190));
  EXPECT_EQ("", items.ToolTip(130));
}

TEST_P(DialogItemsContract, CheckBoxesAndRadioButtons) {
  OpenPage page(*world_);
  ASSERT_TRUE(page.Ok());
  IDialogItems& items = *page.items;
  EXPECT_EQ(kCheckUnchecked, items.Check(130));
  items.SetCheck(130, kCheckChecked);
  EXPECT_EQ(kCheckChecked, items.Check(130));
  // The user's click turns an automatic box over and reports the click.
  world_->Click(page.window, 130);
  EXPECT_EQ(kCheckUnchecked, items.Check(130));
  EXPECT_EQ(std::vector<std::string>{"command 130 0"}, page.recorder.events);

  items.CheckRadio(140, 142, 141);
  EXPECT_EQ(kCheckUnchecked, items.Check(140));
  EXPECT_EQ(kCheckChecked, items.Check(141));
  items.CheckRadio(140, 142, 142);
  EXPECT_EQ(kCheckUnchecked, items.Check(141));
  EXPECT_EQ(kCheckChecked, items.Check(142));
}

TEST_P(DialogItemsContract, ProgressAndTrackbarClampToTheirRanges) {
  OpenPage page(*world_);
  ASSERT_TRUE(page.Ok());
  IDialogItems& items = *page.items;
  items.ProgressSetRange(150, 0, 40);
  items.ProgressSetPos(150, 25);
  EXPECT_EQ(25, items.ProgressPos(150));
  items.ProgressSetPos(150, 55);
  EXPECT_EQ(40, items.ProgressPos(150));
  items.ProgressSetPos(150, -3);
  EXPECT_EQ(0, items.ProgressPos(150));

  items.TrackSetRange(160, 256, 2346);
  EXPECT_EQ(256, items.TrackMin(160));
  EXPECT_EQ(2346, items.TrackMax(160));
  items.TrackSetTickFrequency(160, 100);
  items.TrackSetPos(160, 1000);
  EXPECT_EQ(1000, items.TrackPos(160));
  items.TrackSetPos(160, 3000);
  EXPECT_EQ(2346, items.TrackPos(160));
  items.TrackSetPos(160, 0);
  EXPECT_EQ(256, items.TrackPos(160));
  // A narrower range takes the thumb with it.
  items.TrackSetPos(160, 2000);
  items.TrackSetRange(160, 1, 100);
  EXPECT_EQ(100, items.TrackPos(160));
  items.TrackSetRange(160, 500, 2347);
  EXPECT_EQ(500, items.TrackPos(160));
}

TEST_P(DialogItemsContract, ListViewRowsColumnsAndSelection) {
  OpenPage page(*world_);
  ASSERT_TRUE(page.Ok());
  IDialogItems& items = *page.items;
  const char* headers[] = {"BSSID", "SSID", "Signal", "Channel", "Encryption", "BSS"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(i, items.ListViewInsertColumn(170, i, headers[i], 60));
  EXPECT_EQ(6, items.ListViewColumnCount(170));
  EXPECT_EQ("Encryption", items.ListViewColumnText(170, 4));

  EXPECT_EQ(0, items.ListViewInsertRow(170, 0, "00-40-96-A1-00-01"));
  EXPECT_EQ(1, items.ListViewInsertRow(170, 50, "00-40-96-A1-00-02"));  // beyond the end
  EXPECT_EQ(2, items.ListViewRowCount(170));
  EXPECT_TRUE(items.ListViewSetCell(170, 1, 1, "Harbour"));
  EXPECT_TRUE(items.ListViewSetCell(170, 1, 2, "80 %"));
  EXPECT_FALSE(items.ListViewSetCell(170, 5, 1, "no such row"));
  EXPECT_EQ("00-40-96-A1-00-02", items.ListViewCell(170, 1, 0));
  EXPECT_EQ("Harbour", items.ListViewCell(170, 1, 1));
  EXPECT_EQ("80 %", items.ListViewCell(170, 1, 2));
  EXPECT_EQ("", items.ListViewCell(170, 0, 1));

  // Several rows may be selected.
  EXPECT_EQ(2, items.ListViewInsertRow(170, 2, "00-40-96-A1-00-03"));
  EXPECT_EQ(-1, items.ListViewNextSelected(170, -1));
  items.ListViewSelectRow(170, 0, true);
  items.ListViewSelectRow(170, 2, true);
  EXPECT_EQ(0, items.ListViewNextSelected(170, -1));
  EXPECT_EQ(2, items.ListViewNextSelected(170, 0));
  EXPECT_EQ(-1, items.ListViewNextSelected(170, 2));
  items.ListViewSelectRow(170, 0, false);
  EXPECT_EQ(2, items.ListViewNextSelected(170, -1));

  items.ListViewDeleteAllRows(170);
  EXPECT_EQ(0, items.ListViewRowCount(170));
  EXPECT_EQ(6, items.ListViewColumnCount(170));
}

TEST_P(DialogItemsContract, ListViewColumnsFitTheirWidestText) {
  OpenPage page(*world_);
  ASSERT_TRUE(page.Ok());
  IDialogItems& items = *page.items;
  for (int i = 0; i < 3; ++i) items.ListViewInsertColumn(170, i, "Ch", 200);
  EXPECT_EQ(200, items.ListViewColumnWidth(170, 1));
  items.ListViewInsertRow(170, 0, "x");
  items.ListViewSetCell(170, 0, 1, "6");
  const int narrow = items.ListViewNeededWidth(170, 1, true);
  EXPECT_GT(narrow, 0);
  EXPECT_LT(narrow, 200) << "a column needs no more than its header and cells";
  EXPECT_LT(items.ListViewNeededWidth(170, 1, false), narrow) << "\"Ch\" is wider than \"6\"";
  items.ListViewSetColumnWidth(170, 1, narrow);
  EXPECT_EQ(narrow, items.ListViewColumnWidth(170, 1));
  items.ListViewSetCell(170, 0, 1, "A network with a long name");
  EXPECT_GT(items.ListViewNeededWidth(170, 1, true), narrow);
  // Inside the borders of a list 200 units wide.
  EXPECT_GT(items.ListViewClientWidth(170), 200);
  EXPECT_LT(items.ListViewClientWidth(170), 400);
}

TEST_P(DialogItemsContract, TabsSelectWithoutReportingIt) {
  OpenPage page(*world_);
  ASSERT_TRUE(page.Ok());
  IDialogItems& items = *page.items;
  const char* captions[] = {"Status", "Statistics", "Site Survey", "Encryption",
                            "Advanced", "Profiles",   "Info"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(i, items.TabInsert(180, i, captions[i]));
  EXPECT_EQ(7, items.TabCount(180));
  EXPECT_EQ("Site Survey", items.TabCaption(180, 2));
  EXPECT_EQ(0, items.TabSelection(180));
  EXPECT_EQ(0, items.TabSelect(180, 6));
  EXPECT_EQ(6, items.TabSelection(180));
  EXPECT_EQ(-1, items.TabSelect(180, 7));
  EXPECT_EQ(6, items.TabSelection(180));
  items.TabDeleteAll(180);
  EXPECT_EQ(0, items.TabCount(180));
  EXPECT_EQ(-1, items.TabSelection(180));
  EXPECT_TRUE(page.recorder.events.empty());
}

TEST_P(DialogItemsContract, TextsStatesAndTheDialogItself) {
  OpenPage page(*world_);
  ASSERT_TRUE(page.Ok());
  IDialogItems& items = *page.items;
  EXPECT_TRUE(items.SetText(100, "Caf\xE9 \"%s%n\""));  // shown as it is
  EXPECT_EQ("Caf\xE9 \"%s%n\"", items.Text(100));
  items.Enable(190, false);
  EXPECT_FALSE(items.IsEnabled(190));
  items.Enable(190, true);
  EXPECT_TRUE(items.IsEnabled(190));
  // A control that is disabled while it has the focus does not keep it.
  items.Focus(190);
  EXPECT_EQ(190, items.FocusedControl());
  items.Enable(190, false);
  EXPECT_NE(190, items.FocusedControl());
  items.Enable(190, true);
  // A control's own visibility, while its page is still hidden.
  items.Show(101, true);
  EXPECT_TRUE(items.IsVisible(101));
  items.Show(100, false);
  EXPECT_FALSE(items.IsVisible(100));
  items.ShowDialog(true);
  EXPECT_TRUE(items.DialogVisible());
  // A disabled dialog lets go of the focus and keeps its controls' own states.
  EXPECT_TRUE(items.DialogEnabled());
  items.Focus(190);
  items.EnableDialog(false);
  EXPECT_FALSE(items.DialogEnabled());
  EXPECT_EQ(0, items.FocusedControl());
  EXPECT_TRUE(items.IsEnabled(190));
  items.EnableDialog(true);
  EXPECT_TRUE(items.DialogEnabled());
  items.ShowDialog(false);
  EXPECT_FALSE(items.DialogVisible());
  EXPECT_TRUE(items.SetTitle("Page title"));
  EXPECT_EQ("Page title", items.Title());
}

// Counts its pictures; each one fills the whole surface.
class CountingPainter : public ICanvasPainter {
 public:
  void Paint(ICanvas& canvas) override {
    ++paints;
    canvas.FillRect(canvas.Bounds(), canvas.SystemColourOf(SystemColour::Window));
  }
  int paints = 0;
};

TEST_P(DialogItemsContract, AGraphIsPaintedByItsPainterOnlyOnScreen) {
  OpenPage page(*world_);
  ASSERT_TRUE(page.Ok());
  IDialogItems& items = *page.items;
  CountingPainter painter;
  // A control of another kind takes no painter.
  items.SetPainter(190, &painter);
  items.Redraw(190);
  // The page has not shown yet (and its host never does in the real world).
  items.SetPainter(200, &painter);
  items.Redraw(200);
  EXPECT_EQ(0, painter.paints);
  // Its text is what a screen reader reads for the picture.
  EXPECT_TRUE(items.SetText(200, "Harbour: channel 1, 82 %"));
  EXPECT_EQ("Harbour: channel 1, 82 %", items.Text(200));
  // A painter taken off is never called again, also once the page shows.
  items.SetPainter(200, nullptr);
  items.ShowDialog(true);
  items.Redraw(200);
  EXPECT_EQ(0, painter.paints);
  EXPECT_TRUE(page.recorder.events.empty());
}

TEST_P(DialogItemsContract, ClicksReachTheHandler) {
  OpenPage page(*world_);
  ASSERT_TRUE(page.Ok());
  world_->Click(page.window, 190);
  world_->Click(page.window, kIdOk);
  world_->Click(page.window, kIdCancel);
  world_->Click(page.window, 102);  // disabled: nothing
  EXPECT_EQ((std::vector<std::string>{"command 190 0", "ok", "cancel"}), page.recorder.events);
}

TEST_P(DialogItemsContract, AnImageControlShowsABitmapFileAndNothingForAMissingOne) {
  const std::string file = world_->BitmapFile();
  if (file.empty()) GTEST_SKIP() << "no bitmap file in this world";
  DialogLayout d;
  d.resourceId = 901;
  d.style = kWsChild;
  d.width = 100;
  d.height = 60;
  d.controls = {Control(200, ControlKind::Bitmap, kSsBitmap, 5, 5, 40, 20)};
  Recorder recorder;
  const WindowHandle page = world_->Dialogs().CreatePage(d, world_->Host(), recorder);
  ASSERT_NE(nullptr, recorder.items);
  IDialogItems& items = *recorder.items;
  EXPECT_FALSE(items.HasImage(200));
  EXPECT_FALSE(items.SetImageFile(200, file + ".missing"));
  EXPECT_FALSE(items.HasImage(200));
  EXPECT_TRUE(items.SetImageFile(200, file));
  EXPECT_TRUE(items.HasImage(200));
  EXPECT_TRUE(items.SetImageFile(200, file));
  EXPECT_TRUE(items.HasImage(200));
  // A file that does not load takes the image away.
  EXPECT_FALSE(items.SetImageFile(200, file + ".missing"));
  EXPECT_FALSE(items.HasImage(200));
  EXPECT_FALSE(items.SetImageFile(999, file)) << "no such control";
  world_->Dialogs().DestroyPage(page);
}

}  // namespace linkscope
