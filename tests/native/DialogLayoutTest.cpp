// The dialog layouts against the control tables the dialogs were drawn from: every control with
// its id, kind and (where the table fixes it) position and size; the hidden ones hidden; and
// nothing the tables do not list.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/DialogSystem.h"
#include "ui/DialogLayouts.h"

namespace linkscope {
namespace {

using K = ControlKind;
constexpr int kAny = -1000;
constexpr int N = kNoControlId;

struct Expected {
  int id;
  ControlKind kind;
  int x = kAny;
  int y = kAny;
  int w = kAny;
  int h = kAny;
  bool hidden = false;
};

std::string Describe(const Expected& e) {
  return "control " + std::to_string(e.id) + " at " + std::to_string(e.x) + "," +
         std::to_string(e.y);
}

bool Matches(const ControlLayout& c, const Expected& e) {
  return c.id == e.id && c.kind == e.kind && (e.x == kAny || c.x == e.x) &&
         (e.y == kAny || c.y == e.y) && (e.w == kAny || c.width == e.w) &&
         (e.h == kAny || c.height == e.h);
}

void ExpectControls(const DialogLayout& layout, const std::vector<Expected>& table) {
  SCOPED_TRACE("dialog " + std::to_string(layout.resourceId));
  EXPECT_EQ(table.size(), layout.controls.size());
  std::vector<bool> used(layout.controls.size(), false);
  for (const Expected& e : table) {
    bool found = false;
    for (std::size_t i = 0; i < layout.controls.size() && !found; ++i) {
      if (!used[i] && Matches(layout.controls[i], e)) {
        used[i] = found = true;
        EXPECT_EQ(e.hidden, layout.controls[i].hidden) << Describe(e);
      }
    }
    EXPECT_TRUE(found) << Describe(e) << " is missing or differs";
  }
}

TEST(DialogLayoutTest, SettingsDialog) {
  const DialogLayout& d = SettingsDialogLayout();
  EXPECT_EQ(130, d.resourceId);
  EXPECT_EQ(287, d.width);
  EXPECT_EQ(271, d.height);
  EXPECT_STREQ("Linkscope Utility", d.title);
  ExpectControls(d, {
                        {1001, K::DropDownList, 50, 9, 159, 43},
                        {N, K::Label, 53, 31, 52, 8},
                        {1085, K::DropDownList, 110, 28, 99, 60},
                        {1003, K::Tab, 12, 48, 268, 190},
                        {1064, K::PushButton, 167, 248, 19, 14, true},
                        {1084, K::CheckBox, 14, 251, 128, 10, true},
                        {2, K::PushButton, 192, 248, 50, 14},
                    });
  EXPECT_STREQ("&Current Profile:", d.controls[1].text);
  EXPECT_STREQ("&Reset", d.Find(1064)->text);
  EXPECT_STREQ("Use Windows to configure this card", d.Find(1084)->text);
  EXPECT_EQ(kBsAutoCheckBox, d.Find(1084)->style & kBsTypeMask);
  EXPECT_STREQ("E&xit", d.Find(2)->text);
}

TEST(DialogLayoutTest, StatusPage) {
  std::vector<Expected> table;
  for (int id : {1013, 1014, 1015, 1016, 1082, 1012, 1022, 1020, 1031, 1023, 1032}) {
    table.push_back({id, K::Label});
  }
  for (int id : {1024, 1025, 1026, 1029, 1030}) table.push_back({id, K::DropDownList});
  table.push_back({1009, K::Edit});
  for (int id : {1018, 1019, 2, 1099}) table.push_back({id, K::PushButton});
  table.push_back({1003, K::Edit});
  table.push_back({1021, K::Progress});
  table.push_back({1028, K::Progress});
  ExpectControls(*PageLayout(kStatusPageId), table);
  EXPECT_NE(0u, PageLayout(kStatusPageId)->Find(1003)->style & kEsReadOnly);
}

TEST(DialogLayoutTest, StatisticsPage) {
  const DialogLayout& d = *PageLayout(kStatisticsPageId);
  ExpectControls(d, {
                        {1079, K::Label, 101, 7},   {1080, K::Label, 167, 7},
                        {1077, K::GroupBox, 7, 16, 237, 42},
                        {1065, K::Label, 20, 28},   {1067, K::Label, 20, 43},
                        {1069, K::Label, 101, 28},  {1070, K::Label, 101, 43},
                        {1073, K::Label, 167, 28},  {1074, K::Label, 167, 43},
                        {1078, K::GroupBox, 7, 62, 237, 42},
                        {1066, K::Label, 20, 76},   {1068, K::Label, 20, 90},
                        {1071, K::Label, 101, 76},  {1072, K::Label, 101, 90},
                        {1075, K::Label, 167, 76},  {1076, K::Label, 167, 90},
                        {N, K::GroupBox, 7, 103, 237, 26},
                        {1081, K::Label, 13, 113},  {1082, K::Label, 101, 113},
                        {1083, K::Label, 167, 113}, {1, K::PushButton, 194, 147},
                    });
  // Headings and values are centred; the reset button is the default one.
  for (int id : {1079, 1080, 1069, 1070, 1071, 1072, 1073, 1074, 1075, 1076, 1082, 1083}) {
    EXPECT_EQ(kSsCenter, d.Find(id)->style & kSsCenter) << id;
  }
  EXPECT_EQ(kBsDefPushButton, d.Find(1)->style & kBsTypeMask);
}

TEST(DialogLayoutTest, SiteSurveyPage) {
  const DialogLayout& d = *PageLayout(kSiteSurveyPageId);
  ExpectControls(d, {
                        {1033, K::ListView, 7, 14, 237, 105},
                        {1034, K::PushButton, 184, 137},
                        {2, K::PushButton, 15, 135, kAny, kAny, true},
                        // The channel view over the list, its choice, the least crowded
                        // channel below and Repeat beside Re-Scan.
                        {1035, K::Graph, 7, 14, 237, 105, true},
                        {1036, K::RadioButton},
                        {1037, K::RadioButton},
                        {1038, K::RadioButton},
                        {1039, K::Label, 7, 140},
                        {1040, K::CheckBox, 130, 139},
                    });
  const std::uint32_t list = d.Find(1033)->style;
  EXPECT_NE(0u, list & kLvsReport);
  EXPECT_NE(0u, list & kWsBorder);
  EXPECT_EQ(0u, list & kLvsSingleSel);  // several rows may be selected
}

TEST(DialogLayoutTest, EncryptionPage) {
  ExpectControls(*PageLayout(kEncryptionPageId),
                 {
                     {1049, K::Label, 46, 14},         {1081, K::DropDownList, 130, 11},
                     {1039, K::Label, 46, 38},         {1040, K::Label, 46, 51},
                     {1041, K::Label, 46, 64},         {1042, K::Label, 46, 78},
                     {1035, K::Edit, 90, 35},          {1036, K::Edit, 90, 49},
                     {1037, K::Edit, 90, 63},          {1038, K::Edit, 90, 77},
                     {1044, K::Label, 46, 105},        {1043, K::DropDownList, 130, 101},
                     {1045, K::Label, 46, 119},        {1046, K::DropDownList, 130, 115},
                     {1047, K::Label, 46, 131},        {1048, K::DropDownList, 130, 129},
                     {1019, K::PushButton, 187, 154},  {N, K::GroupBox, 7, 3},
                     {N, K::GroupBox, 7, 26},          {N, K::GroupBox, 7, 92},
                 });
  for (int id = 1035; id <= 1038; ++id) {
    const ControlLayout& key = *PageLayout(kEncryptionPageId)->Find(id);
    EXPECT_NE(0u, key.style & kWsBorder) << id;
    EXPECT_NE(0u, key.style & kEsAutoHScroll) << id;
  }
}

TEST(DialogLayoutTest, AdvancedPage) {
  const DialogLayout& d = *PageLayout(kAdvancedPageId);
  ExpectControls(d, {
                        {N, K::GroupBox, 7, 7},            {N, K::GroupBox, 7, 49},
                        {N, K::GroupBox, 7, 114},          {1054, K::Label, 42, 29},
                        {1050, K::RadioButton, 141, 15},   {1051, K::RadioButton, 141, 28},
                        {1063, K::RadioButton, 141, 41},   {1055, K::Label, 157, 16},
                        {1056, K::Label, 157, 29},         {1064, K::Label, 157, 41},
                        {1058, K::Label, 26, 60},          {1052, K::Trackbar, 122, 56, 100, 15},
                        {1059, K::Label, 155, 76},         {1060, K::Label, 42, 72},
                        {1057, K::Label, 26, 89},          {1053, K::Trackbar, 122, 84, 100, 15},
                        {1061, K::Label, 156, 104},        {1062, K::Label, 42, 102},
                        {1083, K::CheckBox, 35, 124},      {1, K::PushButton, 193, 148},
                    });
  EXPECT_NE(0u, d.Find(1050)->style & kWsGroup);
  EXPECT_EQ(0u, d.Find(1051)->style & kWsGroup);
  EXPECT_EQ(0u, d.Find(1063)->style & kWsGroup);
  for (int id : {1050, 1051, 1063}) EXPECT_STREQ("", d.Find(id)->text) << id;
  for (int id : {1052, 1053}) {
    EXPECT_EQ(kTbsAutoTicks | kTbsTop, d.Find(id)->style & (kTbsAutoTicks | kTbsTop)) << id;
  }
  EXPECT_EQ(0xFF0000u, d.Find(1060)->textColour);  // blue
  EXPECT_EQ(0xFF0000u, d.Find(1062)->textColour);
  EXPECT_EQ(kDefaultColour, d.Find(1059)->textColour);
  EXPECT_EQ(kBsDefPushButton, d.Find(1)->style & kBsTypeMask);
}

TEST(DialogLayoutTest, ProfilesPage) {
  const DialogLayout& d = *PageLayout(kProfilesPageId);
  ExpectControls(d, {
                        {N, K::GroupBox, 7, 7, 99, 158},
                        {1086, K::ListBox, 11, 20, 91, 66},
                        {1087, K::PushButton, 22, 91, 69, 15},
                        {1088, K::PushButton, 22, 109, 69, 15},
                        {1089, K::PushButton, 22, 127, 69, 15},
                        {1091, K::PushButton, 22, 145, 69, 15},
                        {1096, K::GroupBox, 109, 7, 142, 88},
                        {1090, K::Edit, 112, 19, 135, 73, true},
                        {N, K::GroupBox, 109, 95, 142, 70},
                        {1093, K::Label, 114, 104, 133, 43},
                        {1092, K::Edit, 114, 148, 58, 12, true},
                        {1094, K::PushButton, 174, 148, 35, 12, true},
                        {1095, K::PushButton, 212, 148, 35, 12, true},
                    });
  EXPECT_STREQ("Existing &profiles", d.controls[0].text);
  EXPECT_STREQ("&Wizard", d.controls[8].text);
  EXPECT_STREQ("Static", d.Find(1093)->text);
  EXPECT_STREQ("Create", d.Find(1094)->text);
  const std::uint32_t preview = d.Find(1090)->style;
  EXPECT_EQ(kEsMultiLine | kEsReadOnly | kWsVScroll,
            preview & (kEsMultiLine | kEsReadOnly | kWsVScroll));
  EXPECT_EQ(kLbsNotify | kWsVScroll | kWsBorder,
            d.Find(1086)->style & (kLbsNotify | kWsVScroll | kWsBorder));
}

TEST(DialogLayoutTest, InfoPage) {
  std::vector<Expected> table{{1000, K::Bitmap}};
  for (int id : {1063, 1064, 1065, 1069, 1066, 1067, 1068, 1070}) table.push_back({id, K::Label});
  ExpectControls(*PageLayout(kInfoPageId), table);
}

TEST(DialogLayoutTest, PagesAreHiddenChildrenThatFitTheirTab) {
  const DialogLayout& dialog = SettingsDialogLayout();
  const ControlLayout& tab = *dialog.Find(kIdTabControl);
  EXPECT_EQ(nullptr, PageLayout(kSettingsDialogId));
  std::set<int> seen;
  for (int id : kPageResourceIds) {
    const DialogLayout* page = PageLayout(id);
    ASSERT_NE(nullptr, page) << id;
    SCOPED_TRACE("page " + std::to_string(id));
    seen.insert(id);
    // Not visible until it has its data; its own keys (not kDsControl).
    EXPECT_EQ(kWsChild, page->style);
    // In the tab control's display area, below the captions (about 14 units).
    int left = page->x;
    int top = page->y;
    if (id != kTabHostedPageId) {
      left -= tab.x;
      top -= tab.y;
    }
    EXPECT_GE(left, 2);
    EXPECT_GE(top, 14);
    EXPECT_LE(left + page->width, tab.width - 2);
    EXPECT_LE(top + page->height, tab.height - 2);
    // Every control inside the page, and no id twice.
    std::set<int> ids;
    for (const ControlLayout& c : page->controls) {
      EXPECT_GE(c.x, 0) << c.id;
      EXPECT_GE(c.y, 0) << c.id;
      EXPECT_LE(c.x + c.width, page->width) << c.id;
      if (c.kind != K::DropDownList) {
        EXPECT_LE(c.y + c.height, page->height) << c.id;
      }
      EXPECT_GT(c.width, 0) << c.id;
      EXPECT_GT(c.height, 0) << c.id;
      if (c.id != kNoControlId) {
        EXPECT_TRUE(ids.insert(c.id).second) << "twice: " << c.id;
      }
    }
  }
  EXPECT_EQ(7u, seen.size());
  EXPECT_EQ((std::vector<int>{132, 145, 134, 135, 139, 148, 141}),
            std::vector<int>(std::begin(kPageResourceIds), std::end(kPageResourceIds)));
  for (const ControlLayout& c : dialog.controls) {
    EXPECT_LE(c.x + c.width, dialog.width) << c.id;
    // A drop-down list's height includes its opened list, which may reach beyond the frame.
    if (c.kind != K::DropDownList) {
      EXPECT_LE(c.y + c.height, dialog.height) << c.id;
    }
  }
}

}  // namespace
}  // namespace linkscope
