#include "platform/terminal/sp2_config.h"

namespace qov::terminal {
namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view strip(std::string_view s) {
  while (!s.empty() && (is_blank(s.front())))
    s.remove_prefix(1);
  while (!s.empty() && (is_blank(s.back()) || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

// Splits off the first word of `s`; `s` keeps the rest, stripped.
std::string_view take_word(std::string_view& s) {
  std::size_t end = 0;
  while (end < s.size() && !is_blank(s[end]))
    ++end;
  std::string_view word = s.substr(0, end);
  s = strip(s.substr(end));
  return word;
}

} // namespace

std::string lower_ascii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  return out;
}

Sp2Config Sp2Config::parse(std::string_view text) {
  Sp2Config config;
  while (!text.empty()) {
    std::size_t eol = text.find('\n');
    std::string_view line = strip(text.substr(0, eol));
    text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
    if (line.empty() || line.front() == '#')
      continue;
    std::string_view keyword = take_word(line);
    std::string_view name = take_word(line);
    if (lower_ascii(keyword) != "bitmap" || name.empty() || line.empty())
      continue;
    config.captions_[lower_ascii(name)] = std::string(line);
  }
  return config;
}

std::string Sp2Config::caption(std::string_view bitmap) const {
  auto it = captions_.find(lower_ascii(bitmap));
  return it == captions_.end() ? std::string(bitmap) : it->second;
}

bool Sp2Config::has_caption(std::string_view bitmap) const {
  return captions_.count(lower_ascii(bitmap)) > 0;
}

} // namespace qov::terminal
