// The Statistics page on the whole program with a scripted adapter: the ten counters in their
// cells, the reset by Enter, and the page that hides when the counters cannot be read.

#include <gtest/gtest.h>

#include <algorithm>

#include "device/StatisticsRecord.h"
#include "native/ScriptedApp.h"
#include "ui/CStatisticsPage.h"
#include "ui/DialogLayouts.h"

namespace linkscope::testing {
namespace {

std::vector<std::uint8_t> Record(std::uint32_t first) {
  StatisticsRecord r;
  for (std::size_t i = 0; i < StatisticsRecord::kCounterCount; ++i) {
    r.counters[i] = first + static_cast<std::uint32_t>(i);
  }
  const auto raw = r.Encode();
  return std::vector<std::uint8_t>(raw.begin(), raw.end());
}

class StatisticsPage : public ScriptedApp {
 protected:
  void OnStatisticsPage(const std::function<void(WindowHandle dialog)>& inside) {
    Start();
    Tick();
    Tick();
    dialogs.modalLoop = [&](WindowHandle dialog, const DialogLayout&) {
      // The Status page the dialog opens on reports that this adapter has no configuration
      // to read; what counts here is what the Statistics page says.
      windows.messages.clear();
      dialogs.ChooseTab(dialog, kIdTabControl, 1);
      inside(dialog);
    };
    windows.SendRegistered(frame, app.MainFrame()->TrayCallbackMessage(), 1,
                           kMouseLeftDoubleClick);
    dialogs.modalLoop = nullptr;
  }
  WindowHandle PageWindow() { return dialogs.Pages().back(); }
  FakeDialogItems& Page() { return *dialogs.Items(PageWindow()); }
  std::size_t Calls(std::uint32_t oid) {
    std::size_t n = 0;
    for (const auto& c : library.calls) n += c.oid == oid ? 1 : 0;
    return n;
  }
};

TEST_F(StatisticsPage, ShowsTenCountersUnsignedFollowsTheTickAndEnterResets) {
  std::vector<std::uint8_t> record = Record(100);
  record[0] = record[1] = record[2] = record[3] = 0xFF;  // 4294967295 data frames sent
  library.Answer(OID_PRIV_STATISTICS, record);
  OnStatisticsPage([&](WindowHandle dialog) {
    ASSERT_EQ(kStatisticsPageId, dialogs.ResourceOf(PageWindow()));
    EXPECT_TRUE(Page().DialogVisible());
    EXPECT_EQ("Re&jected Packets", Page().Text(1081));
    EXPECT_EQ("R&eset", Page().Text(CStatisticsPage::kIdResetButton));
    // Cell by cell: the counter at each offset; the rejected row has Tx (offset 40) first.
    const std::pair<int, const char*> cells[] = {
        {1069, "4294967295"}, {1070, "101"}, {1071, "102"}, {1072, "103"}, {1073, "104"},
        {1074, "105"},        {1075, "106"}, {1076, "107"}, {1083, "108"}, {1082, "110"}};
    for (const auto& [id, text] : cells) EXPECT_EQ(text, Page().Text(id)) << id;

    library.Answer(OID_PRIV_STATISTICS, Record(500));
    Tick();
    EXPECT_EQ("500", Page().Text(1069));

    // Enter resets; the counters are read again at once.
    library.Answer(OID_PRIV_STATISTICS, Record(0));
    library.calls.clear();
    dialogs.PressEnter(PageWindow());
    ASSERT_EQ(1u, Calls(OID_PRIV_STATISTICS_RESET));
    EXPECT_EQ(0u, library.calls[0].length);
    EXPECT_FALSE(library.calls[0].hasBuffer);
    EXPECT_EQ("0", Page().Text(1069));
    EXPECT_TRUE(windows.messages.empty());

    // A refused reset says so and still shows what the adapter counts.
    library.Fail(OID_PRIV_STATISTICS_RESET);
    library.Answer(OID_PRIV_STATISTICS, Record(7));
    dialogs.Click(PageWindow(), CStatisticsPage::kIdResetButton);
    ASSERT_EQ(1u, windows.messages.size());
    EXPECT_EQ("Failed to reset statistics", windows.messages[0].text);
    EXPECT_EQ("7", Page().Text(1069));

    // Escape does nothing on this page.
    dialogs.PressEscape(PageWindow());
    EXPECT_TRUE(app.SettingsDialog().IsOpen());
    dialogs.PressEscape(dialog);
  });
}

TEST_F(StatisticsPage, AFailedReadHidesThePageUntilItIsCreatedAgain) {
  const std::vector<std::uint8_t> shortRecord(44, 0);
  library.Answer(OID_PRIV_STATISTICS, shortRecord);
  OnStatisticsPage([&](WindowHandle dialog) {
    // At creation the failure is told.
    EXPECT_FALSE(Page().DialogVisible());
    ASSERT_EQ(1u, windows.messages.size());
    EXPECT_EQ("Failed to get statistics", windows.messages[0].text);

    library.Answer(OID_PRIV_STATISTICS, Record(1));
    dialogs.ChooseTab(dialog, kIdTabControl, 0);
    dialogs.ChooseTab(dialog, kIdTabControl, 1);
    EXPECT_TRUE(Page().DialogVisible());

    // On a tick it is silent, and later good reads do not bring the page back.
    library.Answer(OID_PRIV_STATISTICS, shortRecord);
    Tick();
    EXPECT_FALSE(Page().DialogVisible());
    library.Answer(OID_PRIV_STATISTICS, Record(2));
    Tick();
    EXPECT_FALSE(Page().DialogVisible());
    EXPECT_EQ(1, std::count_if(windows.messages.begin(), windows.messages.end(),
                               [](const auto& m) { return m.text == "Failed to get statistics"; }));

    dialogs.ChooseTab(dialog, kIdTabControl, 0);
    dialogs.ChooseTab(dialog, kIdTabControl, 1);
    EXPECT_TRUE(Page().DialogVisible());
    EXPECT_EQ("2", Page().Text(1069));
    dialogs.PressEscape(dialog);
  });
}

}  // namespace
}  // namespace linkscope::testing
