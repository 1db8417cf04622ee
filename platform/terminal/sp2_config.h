// The GUI library's configuration file (named by the environment variable
// "sp2cfg"): the captions shown for bitmaps that cannot be drawn.
//
// Windows-1252 text, one setting a line:
//   bitmap NAME CAPTION
// NAME is a bitmap file name (matched without regard to case), CAPTION the
// rest of the line. Blank lines and lines starting with "#" are comments;
// any other line is ignored, so a damaged file only loses captions.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace qov::terminal {

class Sp2Config {
public:
  static Sp2Config parse(std::string_view text);

  // The caption for a bitmap (Windows-1252): the configured one, or the
  // bitmap's name itself.
  std::string caption(std::string_view bitmap) const;
  bool has_caption(std::string_view bitmap) const;

private:
  std::map<std::string, std::string> captions_; // by lower-case name
};

// ASCII lower case; other bytes unchanged.
std::string lower_ascii(std::string_view text);

} // namespace qov::terminal
