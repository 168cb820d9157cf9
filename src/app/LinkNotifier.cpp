#include "app/LinkNotifier.h"

#include "device/DeviceCodes.h"

namespace linkscope {

namespace {

// Tick counts wrap after 49 days; the difference of two still counts right.
bool Reached(std::uint32_t now, std::uint32_t until) {
  return static_cast<std::int32_t>(now - until) >= 0;
}

}  // namespace

LinkOutcome OutcomeOf(const LinkSnapshot& s) {
  LinkOutcome o;
  if (!s.adapter) return o;
  if (s.radio != 0 && s.deviceState == DeviceState::kAssociated && s.config) {
    o.kind = LinkOutcome::Kind::Up;
    o.detail = ShownSsid(s);
  } else if (s.radio != 0 && s.deviceState == DeviceState::kManagementError) {
    o.kind = LinkOutcome::Kind::Refused;
    o.detail = s.statusText;
  } else {
    o.kind = LinkOutcome::Kind::Down;
    o.detail = s.statusText;
  }
  return o;
}

std::optional<LinkNotifier::Change> LinkNotifier::Tell(const LinkOutcome& outcome) {
  Change change{*told_, outcome};
  told_ = outcome;
  candidate_.reset();
  return change;
}

std::optional<LinkNotifier::Change> LinkNotifier::Observe(const LinkSnapshot& s,
                                                          bool dialogOpen) {
  const LinkOutcome outcome = OutcomeOf(s);
  const std::uint32_t now = s.time;
  if (!told_) {
    told_ = outcome;
    startQuietUntil_ = now + kStartQuietMs;
    dialogQuietUntil_ = now;
    return std::nullopt;
  }
  if (dialogOpen) dialogQuietUntil_ = now + kAfterDialogQuietMs;
  // Pulling the card or putting it in is nobody's setting: it is told even from the dialog's
  // time, only not at the start.
  const bool cardEvent =
      outcome.kind == LinkOutcome::Kind::NoCard || told_->kind == LinkOutcome::Kind::NoCard;
  const bool quiet = !Reached(now, startQuietUntil_) ||
                     (!cardEvent && (dialogOpen || !Reached(now, dialogQuietUntil_)));
  if (quiet) {
    told_ = outcome;
    candidate_.reset();
    return std::nullopt;
  }
  if (outcome == *told_) {
    candidate_.reset();  // back where it was: nothing to tell
    return std::nullopt;
  }
  // A refused link tries again and is refused again: the trouble stays the same.
  if (told_->kind == LinkOutcome::Kind::Refused && outcome.kind == LinkOutcome::Kind::Down) {
    candidate_.reset();
    return std::nullopt;
  }
  if (outcome.kind == LinkOutcome::Kind::NoCard) return Tell(outcome);
  if (!candidate_ || *candidate_ != outcome) candidateSince_ = now;
  candidate_ = outcome;  // the latest wording of the same outcome
  if (!Reached(now, candidateSince_ + kSettleMs)) return std::nullopt;
  return Tell(outcome);
}

TrayBalloon BalloonFor(const LinkNotifier::Change& c, const TrayTexts& t) {
  using Kind = LinkOutcome::Kind;
  TrayBalloon b;
  const std::string reached = c.to.kind == Kind::Up ? t.connectedTo + " " + c.to.detail
                                                     : c.to.detail;
  if (c.to.kind == Kind::NoCard) {
    b.title = t.cardRemovedTitle;
    b.text = t.cardRemoved;
  } else if (c.from.kind == Kind::NoCard) {
    b.title = t.cardFoundTitle;
    b.text = reached;
  } else if (c.to.kind == Kind::Up) {
    b.title = t.connectedTitle;
    b.text = reached;
  } else if (c.to.kind == Kind::Refused) {
    b.title = t.refusedTitle;
    b.text = reached;
  } else {
    b.title = t.linkLostTitle;
    b.text = c.from.kind == Kind::Up ? t.disconnectedFrom + " " + c.from.detail : c.to.detail;
  }
  return b;
}

}  // namespace linkscope
