#pragma once
// When the tray icon tells of a change of the link in a balloon. The tick reports each
// snapshot; a change is told once it has lasted a few seconds, so that a link that flaps
// gives one balloon for where it ends up, or none when it ends up where it was. Nothing is
// told for what the program found at start, nor for the link's changes while the settings
// dialog is open (the person sees them there, and most are the dialog's own doing). The
// card's leaving is told at once: the icon goes with it.

#include <cstdint>
#include <optional>
#include <string>

#include "app/LinkTooltip.h"
#include "app/TrayIcon.h"
#include "ui/LinkSnapshot.h"

namespace linkscope {

// Where the link stands, as far as a person cares.
struct LinkOutcome {
  enum class Kind { NoCard, Down, Up, Refused };
  Kind kind = Kind::NoCard;
  // Up: the SSID; Refused: the management message; Down: what the status line says (not
  // compared: scanning and joining are one outcome).
  std::string detail;

  bool operator==(const LinkOutcome& o) const {
    return kind == o.kind && (kind == Kind::Down || kind == Kind::NoCard || detail == o.detail);
  }
  bool operator!=(const LinkOutcome& o) const { return !(*this == o); }
};

LinkOutcome OutcomeOf(const LinkSnapshot& snapshot);

class LinkNotifier {
 public:
  // How long a new outcome must last before it is told.
  static constexpr std::uint32_t kSettleMs = 4000;
  // After the first snapshot, what the card does is its start, not news.
  static constexpr std::uint32_t kStartQuietMs = 15000;
  // The link's changes just after the dialog closed are still the dialog's doing.
  static constexpr std::uint32_t kAfterDialogQuietMs = 10000;

  // Takes the tick's snapshot (its time is the clock's tick count); the change to tell now,
  // if any, as the outcome told before and the one reached.
  struct Change {
    LinkOutcome from;
    LinkOutcome to;
  };
  std::optional<Change> Observe(const LinkSnapshot& snapshot, bool dialogOpen);

  // What was told last (or taken silently).
  const std::optional<LinkOutcome>& Told() const { return told_; }

 private:
  std::optional<Change> Tell(const LinkOutcome& outcome);

  std::optional<LinkOutcome> told_;
  std::optional<LinkOutcome> candidate_;
  std::uint32_t candidateSince_ = 0;
  std::uint32_t startQuietUntil_ = 0;
  std::uint32_t dialogQuietUntil_ = 0;
};

// The balloon for a change, in the language of `texts`.
TrayBalloon BalloonFor(const LinkNotifier::Change& change, const TrayTexts& texts);

}  // namespace linkscope
