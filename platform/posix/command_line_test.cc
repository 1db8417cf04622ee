#include "platform/posix/command_line.h"

#include <gtest/gtest.h>

namespace qov::posix {
namespace {

std::optional<std::string> known(std::string_view name) {
  if (name == "comspec" || name == "COMSPEC")
    return std::string("C:\\WINDOWS\\system32\\cmd.exe");
  if (name == "X")
    return std::string("1");
  return std::nullopt;
}

TEST(CommandLine, ExpandsKnownNamesAndLeavesTheOthers) {
  const std::pair<const char*, const char*> cases[] = {
      {"%comspec% /C call qov.bat", "C:\\WINDOWS\\system32\\cmd.exe /C call qov.bat"},
      {"echo %NOPE% %X%", "echo %NOPE% 1"},
      {"echo %NOPE%X%", "echo %NOPE1"},
      {"echo 100% %X", "echo 100% %X"},
      {"echo %%X%%", "echo %1%"},
  };
  for (const auto& [line, expected] : cases)
    EXPECT_EQ(expand_variables(line, known), expected) << line;

  std::vector<std::string> args = {"qov.bat", "a b", "c"};
  EXPECT_EQ(expand_variables("echo %0 %1 %2 %3 %* %%X %X%", known, &args),
            "echo qov.bat a b c  a b c %X 1");
}

std::string shown(std::string_view line) {
  std::string error;
  std::optional<std::vector<Command>> commands = parse_command_line(line, &error);
  if (!commands)
    return "refused";
  std::string s;
  for (const Command& c : *commands) {
    switch (c.kind) {
    case Command::Kind::kSet:
      s += "[set " + c.name + "=" + c.value + "]";
      break;
    case Command::Kind::kShowSet:
      s += "[show " + c.name + "]";
      break;
    case Command::Kind::kEcho:
      s += "[echo " + c.text + "]";
      break;
    case Command::Kind::kEchoState:
      s += "[echo-state]";
      break;
    case Command::Kind::kCall:
      s += "[call " + c.program + "|" + c.arguments + "]";
      break;
    case Command::Kind::kProgram:
      s += "[run " + c.program + "|" + c.arguments + "]";
      break;
    }
  }
  return s;
}

TEST(CommandLine, ReadsTheCommandsOfALine) {
  const std::pair<const char*, const char*> cases[] = {
      {"set cobdir=qovxxx & C:\\W\\cmd.exe /C call posto.bat",
       "[set cobdir=qovxxx ][run C:\\W\\cmd.exe|/C call posto.bat]"},
      {"SET \"a=b c\"  & set", "[set a=b c][show ]"},
      {"set a=x=y&set b=", "[set a=x=y][set b=]"},
      {"@echo off", "[echo-state]"},
      {"echo.", "[echo ]"},
      {"echo  %CD% & rem & nothing | here", "[echo  %CD% ]"},
      {"rem everything & echo x", ""},
      {"   ", ""},
      {"call \"C:\\Minha Pasta\\qov.bat\" 1 \"2 3\"", "[call C:\\Minha Pasta\\qov.bat|1 \"2 3\"]"},
      {"C:\\WINDOWS\\system32\\regsvr32.exe /s C:\\WINDOWS\\system32\\comdlg32.ocx",
       "[run C:\\WINDOWS\\system32\\regsvr32.exe|/s C:\\WINDOWS\\system32\\comdlg32.ocx]"},
      {"echo a^&b \"c&d\"", "[echo a&b \"c&d\"]"},
      {"set x=1 & prog | more", "refused"},
      {"set x=1 & prog > out", "refused"},
      {"set x=1 && prog", "refused"},
      {"set x=1 & & prog", "refused"},
      {"set x=1 &", "refused"},
      {"prog \"unclosed", "refused"},
      {"set =x", "refused"},
      {"set /a x=1", "refused"},
      {"(echo x)", "refused"},
      {"call", "refused"},
      {"prog ^", "refused"},
  };
  for (const auto& [line, expected] : cases)
    EXPECT_EQ(shown(line), expected) << line;
}

TEST(CommandLine, FindsTheLineOfAShellAndItsArguments) {
  EXPECT_EQ(shell_line("/C call qov.bat").value_or("-"), "call qov.bat");
  EXPECT_EQ(shell_line("/q /d /c \"echo a\"").value_or("-"), "echo a");
  EXPECT_EQ(shell_line("/K \"a\" \"b\"").value_or("-"), "\"a\" \"b\"");
  EXPECT_FALSE(shell_line("call qov.bat"));
  EXPECT_EQ(split_arguments(" /s  \"C:\\a b\\x.ocx\" y"),
            (std::vector<std::string>{"/s", "C:\\a b\\x.ocx", "y"}));
  EXPECT_EQ(program_base("C:\\WINDOWS/system32\\REGSVR32.EXE"), "REGSVR32.EXE");
}

} // namespace
} // namespace qov::posix
