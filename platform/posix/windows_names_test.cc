#include "platform/posix/windows_names.h"

#include <gtest/gtest.h>

namespace qov::posix {
namespace {

std::string shown(const std::optional<WindowsName>& n) {
  if (!n)
    return "invalid";
  std::string s;
  switch (n->anchor) {
  case Anchor::kCurrentFolder:
    s = "cur";
    break;
  case Anchor::kCurrentRoot:
    s = "root";
    break;
  case Anchor::kDriveCurrent:
    s = std::string(1, n->drive) + ":cur";
    break;
  case Anchor::kDriveRoot:
    s = std::string(1, n->drive) + ":root";
    break;
  case Anchor::kShare:
    s = "share " + n->server + " " + n->share;
    break;
  }
  for (const std::string& p : n->parts)
    s += "|" + p;
  return s;
}

TEST(WindowsNames, TakesNamesApartAsWindowsReadsThem) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\QOV\\EMPRESA", "C:root|QOV|EMPRESA"},
      {"c:/qovexemf/qovinst.dir", "C:root|qovexemf|qovinst.dir"},
      {"D:runtimes\\x", "D:cur|runtimes|x"},
      {"e:", "E:cur"},
      {"\\autorun\\bin", "root|autorun|bin"},
      {"autorun\\bin\\setup.exe\\", "cur|autorun|bin|setup.exe"},
      {"a\\\\b//c", "cur|a|b|c"},
      {"..\\.\\x", "cur|..|.|x"},
      {"\\\\SERVER\\QOV\\x", "share SERVER QOV|x"},
      {"//srv/share", "share srv share"},
      {"C:\\QOV\\EMPRESA. .", "C:root|QOV|EMPRESA"},
      {"C:\\Minha Pasta\\a b", "C:root|Minha Pasta|a b"},
      {"", "invalid"},
      {"1:\\x", "invalid"},
      {"C:\\a:b", "invalid"},
      {"C:\\a?b", "invalid"},
      {"\\\\server", "invalid"},
      {"\\\\server\\..\\x", "invalid"},
      {"C:\\a\tb", "invalid"},
  };
  for (const auto& [name, expected] : cases)
    EXPECT_EQ(shown(parse_windows_name(name)), expected) << name;
}

TEST(WindowsNames, DotDotNeverClimbsAboveTheRoot) {
  std::vector<std::string> folder = {"AUTORUN", "BIN"};
  walk(folder, {"..", ".", "..", "..", "..", "x", ".", "y", ".."});
  EXPECT_EQ(folder, std::vector<std::string>{"x"});
}

TEST(WindowsNames, ComparesWithoutRegardToCase) {
  EXPECT_TRUE(same_name("QOVROT.TXT", "qovrot.txt"));
  EXPECT_TRUE(same_name("GESTÃO", "gestão"));
  EXPECT_FALSE(same_name("qovrot.txt", "qovrot.tx"));
  EXPECT_FALSE(same_name("a×", "a÷"));
}

} // namespace
} // namespace qov::posix
