// When the tray icon tells of the link's changes: scripted histories on virtual time.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/LinkNotifier.h"

namespace linkscope {
namespace {

// "up Harbour", "down", "refused Wrong key", "none" (no card) at a time in seconds; a "*"
// in front says the settings dialog is open.
LinkSnapshot Snapshot(const std::string& what, std::uint32_t seconds) {
  LinkSnapshot s;
  s.time = seconds * 1000;
  if (what == "none") return s;
  s.adapter = true;
  const std::string word = what.substr(0, what.find(' '));
  const std::string rest = what.find(' ') == std::string::npos ? "" : what.substr(what.find(' ') + 1);
  s.deviceState = word == "up" ? 5 : word == "refused" ? 241 : 1;
  s.statusText = word == "refused" ? rest : "Scanning...";
  DeviceConfig c;
  c.state = s.deviceState;
  c.SetSsid(rest);
  s.config = c;
  return s;
}

struct Step {
  std::uint32_t second;
  std::string what;
};

// The balloons a history gives, as "second: title / text".
std::vector<std::string> Balloons(const std::vector<Step>& history) {
  LinkNotifier notifier;
  const TrayTexts texts = TrayTexts::Load(DefaultTexts());
  std::vector<std::string> told;
  for (const Step& step : history) {
    const bool dialog = step.what[0] == '*';
    const auto change =
        notifier.Observe(Snapshot(dialog ? step.what.substr(1) : step.what, step.second), dialog);
    if (!change) continue;
    const TrayBalloon b = BalloonFor(*change, texts);
    told.push_back(std::to_string(step.second) + ": " + b.title + " / " + b.text);
  }
  return told;
}

// One tick a second from `from` to `to` (inclusive) in the same state.
void Hold(std::vector<Step>* h, std::uint32_t from, std::uint32_t to, const std::string& what) {
  for (std::uint32_t t = from; t <= to; ++t) h->push_back({t, what});
}

TEST(LinkNotifierTest, OneBalloonPerLastingChangeAndNoneAtTheStartOrFromTheDialog) {
  const struct {
    const char* name;
    std::vector<std::pair<std::pair<std::uint32_t, std::uint32_t>, std::string>> spans;
    std::vector<std::string> balloons;
  } cases[] = {
      {"the start's joining is no news", {{{0, 8}, "down"}, {{9, 40}, "up Harbour"}}, {}},
      {"a lost link, told once it lasted",
       {{{0, 20}, "up Harbour"}, {{21, 40}, "down"}},
       {"25: Link lost / Disconnected from Harbour"}},
      {"a flap that comes back is nothing",
       {{{0, 20}, "up Harbour"}, {{21, 22}, "down"}, {{23, 40}, "up Harbour"}}, {}},
      {"a flap gives the outcome once",
       {{{0, 20}, "up Harbour"}, {{21, 22}, "down"}, {{23, 24}, "up Harbour"},
        {{25, 26}, "down"}, {{27, 40}, "up Lighthouse"}},
       {"31: Connected / Connected to Lighthouse"}},
      {"a refusal that retries is told once",
       {{{0, 20}, "down"}, {{21, 30}, "refused Wrong key"}, {{31, 33}, "down"},
        {{34, 50}, "refused Wrong key"}},
       {"25: Refused by the access point / Wrong key"}},
      {"the dialog's own changes are not told, nor just after it",
       {{{0, 20}, "up Harbour"}, {{21, 30}, "*down"}, {{31, 35}, "*up Lighthouse"},
        {{36, 60}, "up Lighthouse"}},
       {}},
      {"a link lost after the dialog's quiet is told",
       {{{0, 20}, "up Harbour"}, {{21, 25}, "*up Harbour"}, {{26, 40}, "up Harbour"},
        {{41, 50}, "down"}},
       {"45: Link lost / Disconnected from Harbour"}},
      {"the card goes at once, even from the dialog, and comes back with its link",
       {{{0, 20}, "*up Harbour"}, {{21, 30}, "none"}, {{31, 33}, "down"}, {{34, 40}, "up Harbour"}},
       {"21: Card removed / The wireless card was removed.",
        "38: Card found / Connected to Harbour"}},
      {"no card at the start is no news, a card put in later is", {{{0, 20}, "none"}, {{21, 40}, "down"}},
       {"25: Card found / Scanning..."}},
  };
  for (const auto& c : cases) {
    std::vector<Step> history;
    for (const auto& span : c.spans) Hold(&history, span.first.first, span.first.second, span.second);
    EXPECT_EQ(c.balloons, Balloons(history)) << c.name;
  }
}

}  // namespace
}  // namespace linkscope
