#include "cli/CliOutput.h"

#include <algorithm>

namespace linkscope {

std::string JsonString(const std::string& text) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out = "\"";
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c >= 0x7F) {
      out += "\\u00";
      out += kDigits[c >> 4];
      out += kDigits[c & 0xF];
    } else {
      out += ch;
    }
  }
  return out + "\"";
}

std::string LabelledLines(const std::vector<std::pair<std::string, std::string>>& lines) {
  std::size_t width = 0;
  for (const auto& l : lines) width = std::max(width, l.first.size());
  std::string out;
  for (const auto& l : lines) {
    out += l.first + ":" + std::string(width - l.first.size() + 1, ' ') + l.second + "\n";
  }
  return out;
}

std::string TextTable(const std::vector<std::string>& header,
                      const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::size_t> widths(header.size(), 0);
  for (std::size_t c = 0; c < header.size(); ++c) widths[c] = header[c].size();
  for (const auto& row : rows) {
    for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c) {
      widths[c] = std::max(widths[c], row[c].size());
    }
  }
  auto line = [&](const std::vector<std::string>& cells) {
    std::string out;
    for (std::size_t c = 0; c < widths.size(); ++c) {
      const std::string cell = c < cells.size() ? cells[c] : "";
      out += cell;
      if (c + 1 < widths.size()) out += std::string(widths[c] - cell.size() + 2, ' ');
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out + "\n";
  };
  std::string out = line(header);
  for (const auto& row : rows) out += line(row);
  return out;
}

int ConsoleWindows::ShowMessage(WindowHandle, const std::string& text, const std::string&,
                                std::uint32_t style) {
  ++messages_;
  std::string line = text;
  // The core's texts may carry Windows line breaks; one message is one line block.
  std::string clean;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\r') continue;
    clean += line[i];
  }
  if ((style & kMbYesNo) == kMbYesNo) {
    err_.Write("linkscope-cli: " + clean + " (answered No)\n");
    return kIdNo;
  }
  err_.Write("linkscope-cli: " + clean + "\n");
  return kIdOk;
}

}  // namespace linkscope
