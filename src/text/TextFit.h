#pragma once
// Cutting a text to the bytes a fixed field holds, the way a reader would want it cut.

#include <cstddef>
#include <string>

namespace linkscope {

// `text` unchanged when it has at most `maxBytes` bytes; otherwise its longest start that
// ends before a blank or a line break and fits, without the blanks and breaks at its end. A
// first word longer than the field is cut inside, but never inside a UTF-8 multi-byte
// sequence. Blanks and breaks are single ASCII bytes, which no byte of a multi-byte character
// (UTF-8, or a double-byte code page's lead byte) ever is, so a cut there splits nothing.
std::string FitWords(const std::string& text, std::size_t maxBytes);

}  // namespace linkscope
