#include <gtest/gtest.h>

#include "fakes/FakePrivateProfile.h"
#include "text/OemSettings.h"

namespace linkscope {
namespace {

TEST(LeadingDigitsValueTest, ReadsTheDigitsATextStartsWith) {
  EXPECT_EQ(250u, LeadingDigitsValue("250ms"));
  EXPECT_EQ(500u, LeadingDigitsValue("500"));
  EXPECT_EQ(7u, LeadingDigitsValue("007"));
  EXPECT_EQ(0u, LeadingDigitsValue("x"));
  EXPECT_EQ(0u, LeadingDigitsValue(""));
  EXPECT_EQ(0u, LeadingDigitsValue("-5"));
  EXPECT_EQ(0u, LeadingDigitsValue(" 5"));
  EXPECT_EQ(12u, LeadingDigitsValue("12 34"));
  EXPECT_EQ(4294967295u, LeadingDigitsValue("4294967295"));
  EXPECT_EQ(4294967295u, LeadingDigitsValue("4294967296"));
  EXPECT_EQ(4294967295u, LeadingDigitsValue(std::string(5000, '9')));
}

class OemSettingsTest : public ::testing::Test {
 protected:
  // A file with one language whose section holds `lines`.
  const OemSettings& With(const std::string& lines) {
    profile.SetFile(".\\res\\Wlan.ini",
                    "[Languages]\r\nLanguage-1=English\r\n[English]\r\n" + lines);
    table.ChooseFile();
    return oem;
  }
  FakePrivateProfile profile;
  LanguageTable table{profile};
  OemSettings oem{table};
};

TEST_F(OemSettingsTest, DefaultsWithoutAFile) {
  table.ChooseFile();
  EXPECT_EQ("", oem.TaskBarOkIcon());
  EXPECT_EQ("", oem.TaskBarNotOkIcon());
  EXPECT_EQ("Linkscope", oem.ToolTipText());
  EXPECT_EQ(1000u, oem.DevicePollingTimerMsec());
  EXPECT_TRUE(oem.ShowAdaptersList());
  EXPECT_EQ(40u, oem.MaxRssi());
  EXPECT_EQ(100u, oem.MaxRssiRFMD());
  EXPECT_EQ(40u, oem.MaxLinkQuality());
  EXPECT_EQ(100u, oem.MaxLinkQualityRFMD());
  EXPECT_EQ("", oem.LogoBmp());
  EXPECT_EQ("", oem.WEPKeysPasswordChar());
}

TEST_F(OemSettingsTest, ValuesComeFromTheCurrentLanguage) {
  With("TaskBarOkIcon=ok.ico\r\nTaskBarNotOkIcon=bad.ico\r\nToolTipText=Acme Wireless\r\n"
       "MaxRssi=60\r\nMaxRssiRFMD=256\r\nMaxLinkQuality=x\r\nMaxLinkQualityRFMD=90%\r\n"
       "LogoBmp=logo.bmp\r\nWEPKeysPasswordChar=*#\r\n"
       "[Deutsch]\r\nToolTipText=Acme Funk\r\n");
  EXPECT_EQ("ok.ico", oem.TaskBarOkIcon());
  EXPECT_EQ("bad.ico", oem.TaskBarNotOkIcon());
  EXPECT_EQ("Acme Wireless", oem.ToolTipText());
  EXPECT_EQ(60u, oem.MaxRssi());
  EXPECT_EQ(256u, oem.MaxRssiRFMD());
  EXPECT_EQ(0u, oem.MaxLinkQuality());
  EXPECT_EQ(90u, oem.MaxLinkQualityRFMD());
  EXPECT_EQ("logo.bmp", oem.LogoBmp());
  EXPECT_EQ("*#", oem.WEPKeysPasswordChar());
  table.SetCurrentLanguage("Deutsch");
  EXPECT_EQ("Acme Funk", oem.ToolTipText());
  EXPECT_EQ("", oem.TaskBarOkIcon());
  table.SetCurrentLanguage("Dansk");  // a section without the key
  EXPECT_EQ("Linkscope", oem.ToolTipText());
}

TEST_F(OemSettingsTest, PollingPeriodFromLeadingDigits) {
  EXPECT_EQ(250u, With("DevicePollingTimerMsec=250ms\r\n").DevicePollingTimerMsec());
  EXPECT_EQ(0u, With("DevicePollingTimerMsec=x\r\n").DevicePollingTimerMsec());
  EXPECT_EQ(500u, With("DevicePollingTimerMsec=500\r\n").DevicePollingTimerMsec());
  EXPECT_EQ(0u, With("DevicePollingTimerMsec=\r\n").DevicePollingTimerMsec());
}

TEST_F(OemSettingsTest, OnlyExactlyOneShowsTheAdapterList) {
  EXPECT_TRUE(With("ShowAdaptersList=1\r\n").ShowAdaptersList());
  EXPECT_TRUE(With("ShowAdaptersList = 1 \r\n").ShowAdaptersList());
  EXPECT_TRUE(With("Other=0\r\n").ShowAdaptersList());
  for (const char* hidden : {"0", "yes", "1x", "11", "", "\" 1\"", "01"}) {
    EXPECT_FALSE(With(std::string("ShowAdaptersList=") + hidden + "\r\n").ShowAdaptersList())
        << hidden;
  }
}

TEST_F(OemSettingsTest, BuiltInDescriptionsWhenTheFileGivesNoFirstOne) {
  const auto& builtIn = OemSettings::BuiltInDeviceDescriptions();
  ASSERT_EQ(16u, builtIn.size());
  EXPECT_EQ("ORVEX PCMCIA Skyrelay (K1)", builtIn.front());
  EXPECT_EQ("ORVEX PCI Skyrelay", builtIn[9]);
  EXPECT_EQ("ORVEX PCMCIA Skyrelay (K7)", builtIn.back());
  EXPECT_EQ(builtIn, With("DeviceDescription-2=Only Two\r\n").LoadDeviceDescriptions(builtIn));
  EXPECT_EQ(builtIn, With("DeviceDescription-1=\r\n").LoadDeviceDescriptions(builtIn));
  table.SetCurrentLanguage("");
  EXPECT_EQ(builtIn, oem.LoadDeviceDescriptions(builtIn));
  // Whoever calls passes the list to fall back on.
  const std::vector<std::string> mine{"Mine"};
  EXPECT_EQ(mine, With("").LoadDeviceDescriptions(mine));
}

TEST_F(OemSettingsTest, FileDescriptionsReplaceTheBuiltInOnesUpToTheFirstGap) {
  const auto& builtIn = OemSettings::BuiltInDeviceDescriptions();
  EXPECT_EQ(std::vector<std::string>{"Acme Card"},
            With("DeviceDescription-1=Acme Card\r\nDeviceDescription-3=Acme USB\r\n")
                .LoadDeviceDescriptions(builtIn));
  EXPECT_EQ((std::vector<std::string>{" Acme  Card ", "%s%n", "ORVEX PCI Skyrelay"}),
            With("DeviceDescription-1=\" Acme  Card \"\r\nDeviceDescription-2=%s%n\r\n"
                 "DeviceDescription-3=ORVEX PCI Skyrelay\r\n")
                .LoadDeviceDescriptions(builtIn));
}

}  // namespace
}  // namespace linkscope
