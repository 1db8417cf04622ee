// Conversion between the installer's Windows-1252 data and UTF-8.
//
// Source files are UTF-8; the texts the installer shows and stores are
// Windows-1252. Literals are written readably and converted with w1252().
#pragma once

#include <string>
#include <string_view>

namespace qov {

// UTF-8 to Windows-1252. Characters outside Windows-1252 become "?".
std::string w1252(std::string_view utf8);

// Windows-1252 to UTF-8. The five bytes that Windows-1252 leaves undefined
// map to the C1 controls of the same value, so no byte is ever lost.
std::string utf8_from_w1252(std::string_view text);

} // namespace qov
