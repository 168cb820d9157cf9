#include "text/TextFit.h"

namespace linkscope {

namespace {

bool IsBreak(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// How many bytes a UTF-8 sequence takes that starts with `lead` (0 for a byte that starts none).
std::size_t SequenceLength(unsigned char lead) {
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

std::size_t TrimBreaks(const std::string& text, std::size_t end) {
  while (end > 0 && IsBreak(text[end - 1])) --end;
  return end;
}

}  // namespace

std::string FitWords(const std::string& text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  // The last break at or before the limit ends the last whole word that fits.
  for (std::size_t i = maxBytes + 1; i-- > 0;) {
    if (!IsBreak(text[i])) continue;
    const std::size_t end = TrimBreaks(text, i);
    if (end > 0) return text.substr(0, end);
    break;
  }
  // One word longer than the field: cut it, but step back over a sequence the cut would
  // split (a lead byte up to three bytes back whose sequence runs past the limit).
  std::size_t end = maxBytes;
  for (std::size_t back = 1; back <= 3 && back <= end; ++back) {
    const auto c = static_cast<unsigned char>(text[end - back]);
    if (IsContinuation(c)) continue;
    if (SequenceLength(c) > back) end -= back;
    break;
  }
  return text.substr(0, end);
}

}  // namespace linkscope
