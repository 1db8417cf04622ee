// The command shell's reading of a line, without running anything.
//
// The input is a command line. The target replaces its references, reads
// it, splits each command's arguments, and reads again the line that a
// "cmd /C" among its commands would run. It aborts when
// - replacing references with no variable known and outside a batch file
//   changes the line (an unknown name stays as written);
// - a refused line comes without a reason;
// - a command read has no program (a call or a program) or no name (set).
#include <string>

#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_targets.h"
#include "platform/posix/command_line.h"

namespace qov::posix {
namespace {

constexpr std::string_view kTarget = "command_line";

std::optional<std::string> known(std::string_view name) {
  if (name == "comspec" || name == "COMSPEC")
    return std::string("C:\\WINDOWS\\system32\\cmd.exe");
  if (name == "cd" || name == "CD")
    return std::string("C:\\QOV\\EMPRESA");
  if (name == "x")
    return std::string("%x%&|\"");
  return std::nullopt;
}

std::optional<std::string> unknown(std::string_view) {
  return std::nullopt;
}

void read_line(std::string_view line, int depth) {
  std::string error;
  std::optional<std::vector<Command>> commands = parse_command_line(line, &error);
  if (!commands) {
    if (error.empty())
      fuzz::fail(kTarget, "refused without a reason: " + fuzz::shown(line));
    return;
  }
  for (const Command& c : *commands) {
    switch (c.kind) {
    case Command::Kind::kSet:
      if (c.name.empty())
        fuzz::fail(kTarget, "set without a name: " + fuzz::shown(line));
      break;
    case Command::Kind::kCall:
    case Command::Kind::kProgram:
      if (c.program.empty())
        fuzz::fail(kTarget, "a command without a program: " + fuzz::shown(line));
      split_arguments(c.arguments);
      program_base(c.program);
      if (depth == 0)
        if (std::optional<std::string> inner = shell_line(c.arguments))
          read_line(expand_variables(*inner, known), depth + 1);
      break;
    default:
      break;
    }
  }
}

void run_one(std::string_view line) {
  if (expand_variables(line, unknown) != line)
    fuzz::fail(kTarget, "an unknown reference changed: " + fuzz::shown(line));
  std::vector<std::string> arguments = {"qov.bat", "a b", "%1"};
  expand_variables(line, known, &arguments);
  read_line(expand_variables(line, known), 0);
  read_line(line, 0);
}

} // namespace
} // namespace qov::posix

void qov::fuzz::check_command_line(std::string_view input) {
  qov::posix::run_one(input);
}

QOV_FUZZ_ENTRY(qov::fuzz::check_command_line)
