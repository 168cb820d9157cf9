#pragma once
// What the tray icon says about the link: its tooltip, and the words of its balloons. The
// words come from the language file; they are read once per language, not on every tick.

#include <string>

#include "text/TextSource.h"
#include "ui/LinkSnapshot.h"

namespace linkscope {

struct TrayTexts {
  std::string toolTip;        // "ToolTipText", the program's name in the tip
  std::string signal;         // "SignalStrength", the Status page's label
  std::string quality;        // "LinkQuality"
  std::string noAdapter;      // "TrayNoAdapter"
  std::string connectedTitle;
  std::string connectedTo;    // followed by the SSID
  std::string linkLostTitle;
  std::string disconnectedFrom;
  std::string refusedTitle;   // the text is the management message itself
  std::string cardRemovedTitle;
  std::string cardRemoved;
  std::string cardFoundTitle;  // the text says what the card found

  static TrayTexts Load(const ITextSource& texts);
};

// The SSID as a tip or a balloon can show it: up to its first NUL, control bytes as "?" (a
// line break from the air must not start a line of the tip).
std::string ShownSsid(const LinkSnapshot& snapshot);

// What the tip shows changes on the shell's side only when a person would call it a change.
// The readings jitter by a few points from one tick to the next on a link that does not
// change; the tip follows them only once they moved by kTipStep points or more from what it
// shows. A card without a network to join scans and finds itself out of range by turns, every
// tick; the tip keeps the word it has for as long as the card goes on looking. `now` with
// what `shown` said, where the difference is only that.
constexpr int kTipStep = 10;
LinkSnapshot Steadied(const LinkSnapshot& now, const LinkSnapshot& shown);

// The tooltip: the program's name, then the state as the Status page words it, with the SSID,
// signal strength and link quality while there is a link; cut to what the shell shows
// (kTrayTipCapacity - 1 bytes), whole words only.
std::string LinkTooltip(const LinkSnapshot& snapshot, const TrayTexts& texts);

}  // namespace linkscope
