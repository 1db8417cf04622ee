#include "system/win1252.h"

#include <cstdint>

namespace qov {
namespace {

// Code points of the bytes 0x80 to 0x9F; the undefined ones map to themselves.
constexpr char32_t kHighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t code_point(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F)
    return kHighTable[byte - 0x80];
  return byte;
}

void append_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

char byte_for(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
    return static_cast<char>(cp);
  for (int i = 0; i < 32; ++i)
    if (kHighTable[i] == cp)
      return static_cast<char>(0x80 + i);
  return '?';
}

} // namespace

std::string w1252(std::string_view utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    auto b = static_cast<unsigned char>(utf8[i]);
    char32_t cp = b;
    std::size_t len = 1;
    if (b >= 0xF0)
      len = 4, cp = b & 0x07;
    else if (b >= 0xE0)
      len = 3, cp = b & 0x0F;
    else if (b >= 0xC0)
      len = 2, cp = b & 0x1F;
    if (i + len > utf8.size())
      len = 1, cp = '?';
    for (std::size_t k = 1; k < len; ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    out += byte_for(cp);
    i += len;
  }
  return out;
}

std::string utf8_from_w1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    append_utf8(out, code_point(static_cast<unsigned char>(c)));
  return out;
}

} // namespace qov
