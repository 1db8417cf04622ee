// Our stand-in for the Windows command shell, on the machine.
//
// run_line replaces the %NAME% references of the line, reads it whole
// (command_line.h) and only then runs its commands in order: "set" in the
// shell's own environment, "echo" to standard output, "call" and batch files
// line by line, a shell started with "/C" (the program COMSPEC names, or any
// cmd.exe) on the rest of its line with a copy of the environment, the
// regsvr32 stand-in, and host programs that a Windows name finds on the
// machine. Anything else is "not recognized", as in the real shell.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/command_line.h"
#include "platform/posix/environment.h"
#include "platform/posix/posix_machine.h"

namespace qov {

class CommandShell {
public:
  static constexpr int kNotRecognized = 9009;
  static constexpr int kCannotParse = 255;

  // A shell with a copy of the process's environment.
  explicit CommandShell(PosixMachine& machine);

  // Runs the line and waits for it; gives the exit code of its last command.
  int run_line(std::string_view line);

  const posix::Environment& environment() const { return env_; }

private:
  CommandShell(PosixMachine& machine, posix::Environment env, int depth);

  // The commands of a line, with the lines of the shells it starts read as
  // well; nothing (and a message) when any of them cannot be read.
  std::optional<std::vector<posix::Command>> prepare(std::string_view line,
                                                     const std::vector<std::string>* arguments);
  bool check_nested(const std::vector<posix::Command>& commands, int depth, std::string* error);
  int run_commands(const std::vector<posix::Command>& commands);
  int run(const posix::Command& command);
  int run_program(const std::string& program, const std::string& arguments);
  int run_shell(const std::string& arguments);
  int run_batch(const PosixMachine::Found& file, const std::string& program,
                const std::string& arguments);
  int run_host(const std::string& host, const std::string& program, const std::string& arguments);
  int show_variables(const std::string& prefix);
  bool is_shell(std::string_view program) const;
  std::optional<std::string> lookup(std::string_view name);
  std::optional<PosixMachine::Found> find_program(const std::string& program);

  PosixMachine& machine_;
  posix::Environment env_;
  int depth_ = 0;
  int errorlevel_ = 0;
};

} // namespace qov
