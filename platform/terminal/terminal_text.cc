#include "platform/terminal/terminal_text.h"

#include "system/win1252.h"

namespace qov::terminal {
namespace {

bool is_control(char32_t c) {
  return c < 0x20 || (c >= 0x7f && c < 0xa0);
}

// Decodes one UTF-8 sequence at `at`; moves `at` past it.
char32_t decode_one(std::string_view s, std::size_t& at) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  unsigned char b = byte(at);
  int extra = b < 0x80 ? 0 : (b >> 5) == 0x6 ? 1 : (b >> 4) == 0xe ? 2 : (b >> 3) == 0x1e ? 3 : -1;
  if (extra < 0 || at + extra >= s.size()) {
    ++at;
    return 0xfffd;
  }
  char32_t c = extra == 0 ? b : b & (0x3f >> extra);
  for (int i = 1; i <= extra; ++i) {
    if ((byte(at + i) & 0xc0) != 0x80) {
      ++at;
      return 0xfffd;
    }
    c = (c << 6) | (byte(at + i) & 0x3f);
  }
  at += 1 + extra;
  return c;
}

} // namespace

std::string trimmed_field(std::string_view field) {
  std::size_t end = field.size();
  while (end > 0 && (field[end - 1] == ' ' || field[end - 1] == '\0'))
    --end;
  return std::string(field.substr(0, end));
}

std::wstring shown_utf8(std::string_view utf8) {
  std::wstring out;
  for (std::size_t at = 0; at < utf8.size();) {
    char32_t c = decode_one(utf8, at);
    out.push_back(is_control(c) ? L' ' : static_cast<wchar_t>(c));
  }
  return out;
}

std::wstring shown_text(std::string_view w1252) {
  return shown_utf8(utf8_from_w1252(w1252));
}

std::string w1252_from_typed(wchar_t c) {
  if (c < 0 || is_control(static_cast<char32_t>(c)) || c > 0x10ffff)
    return {};
  std::string utf8;
  auto cp = static_cast<char32_t>(c);
  if (cp < 0x80) {
    utf8.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    utf8.push_back(static_cast<char>(0xc0 | (cp >> 6)));
    utf8.push_back(static_cast<char>(0x80 | (cp & 0x3f)));
  } else if (cp < 0x10000) {
    utf8.push_back(static_cast<char>(0xe0 | (cp >> 12)));
    utf8.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3f)));
    utf8.push_back(static_cast<char>(0x80 | (cp & 0x3f)));
  } else {
    utf8.push_back(static_cast<char>(0xf0 | (cp >> 18)));
    utf8.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3f)));
    utf8.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3f)));
    utf8.push_back(static_cast<char>(0x80 | (cp & 0x3f)));
  }
  std::string out = w1252(utf8);
  // w1252() marks what it cannot convert with "?"; a typed "?" stays.
  if (out == "?" && cp != U'?')
    return {};
  return out;
}

std::vector<std::wstring> wrapped(const std::wstring& text, std::size_t width) {
  std::vector<std::wstring> lines;
  if (width == 0)
    return lines;
  std::size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && text[at] == L' ')
      ++at;
    if (at >= text.size())
      break;
    std::size_t end = std::min(text.size(), at + width);
    if (end < text.size() && text[end] != L' ') {
      std::size_t space = text.rfind(L' ', end);
      if (space != std::wstring::npos && space > at)
        end = space;
    }
    std::wstring line = text.substr(at, end - at);
    while (!line.empty() && line.back() == L' ')
      line.pop_back();
    lines.push_back(line);
    at = end;
  }
  return lines;
}

} // namespace qov::terminal
