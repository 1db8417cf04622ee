#include "platform/posix/command_shell.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/posix/control_registry.h"
#include "platform/posix/windows_names.h"
#include "system/win1252.h"

namespace qov {
namespace {

using posix::Command;

// Calls and shells started from shells, nested deeper than this, stop: a
// batch file that calls itself must end.
constexpr int kMaxDepth = 16;

bool has_extension(std::string_view name, std::string_view ext) {
  return name.size() >= ext.size() && posix::same_name(name.substr(name.size() - ext.size()), ext);
}

bool is_batch(std::string_view name) {
  return has_extension(name, ".bat") || has_extension(name, ".cmd");
}

void say(FILE* to, const std::string& w1252_text) {
  std::string text = utf8_from_w1252(w1252_text);
  std::fwrite(text.data(), 1, text.size(), to);
  std::fflush(to);
}

void not_recognized(const std::string& program) {
  say(stderr, "'" + program +
                  "' is not recognized as an internal or external command,\n"
                  "operable program or batch file.\n");
}

} // namespace

CommandShell::CommandShell(PosixMachine& machine)
    : CommandShell(machine, posix::Environment::of_process(), 0) {}

CommandShell::CommandShell(PosixMachine& machine, posix::Environment env, int depth)
    : machine_(machine), env_(std::move(env)), depth_(depth) {}

int CommandShell::run_line(std::string_view line) {
  std::optional<std::vector<Command>> commands = prepare(line, nullptr);
  if (!commands)
    return kCannotParse;
  return run_commands(*commands);
}

std::optional<std::string> CommandShell::lookup(std::string_view name) {
  if (std::optional<std::string> value = env_.get(name))
    return value;
  if (posix::same_name(name, "CD"))
    return machine_.current_folder();
  if (posix::same_name(name, "ERRORLEVEL"))
    return std::to_string(errorlevel_);
  return std::nullopt;
}

std::optional<std::vector<Command>>
CommandShell::prepare(std::string_view line, const std::vector<std::string>* arguments) {
  std::string expanded = posix::expand_variables(
      line, [this](std::string_view name) { return lookup(name); }, arguments);
  std::string error;
  std::optional<std::vector<Command>> commands = posix::parse_command_line(expanded, &error);
  if (commands && !check_nested(*commands, depth_, &error))
    commands.reset();
  if (!commands)
    say(stderr, "The syntax of the command is incorrect (" + error + "): " + expanded + "\n");
  return commands;
}

// A shell started with /C runs its line later, after the commands before it;
// reading that line now keeps a line that cannot be read from running in
// part.
bool CommandShell::check_nested(const std::vector<Command>& commands, int depth,
                                std::string* error) {
  for (const Command& c : commands) {
    if (c.kind != Command::Kind::kProgram || !is_shell(c.program))
      continue;
    std::optional<std::string> line = posix::shell_line(c.arguments);
    if (!line)
      continue;
    if (depth >= kMaxDepth) {
      *error = "shells nested too deeply";
      return false;
    }
    std::optional<std::vector<Command>> inner = posix::parse_command_line(*line, error);
    if (!inner || !check_nested(*inner, depth + 1, error))
      return false;
  }
  return true;
}

int CommandShell::run_commands(const std::vector<Command>& commands) {
  for (const Command& c : commands)
    errorlevel_ = run(c);
  return errorlevel_;
}

int CommandShell::run(const Command& c) {
  switch (c.kind) {
  case Command::Kind::kSet:
    env_.set(c.name, c.value);
    return 0;
  case Command::Kind::kShowSet:
    return show_variables(c.name);
  case Command::Kind::kEcho:
    say(stdout, c.text + "\n");
    return 0;
  case Command::Kind::kEchoState:
    return 0;
  case Command::Kind::kCall:
  case Command::Kind::kProgram:
    return run_program(c.program, c.arguments);
  }
  return 0;
}

int CommandShell::show_variables(const std::string& prefix) {
  int shown = 0;
  for (const auto& [name, value] : env_.entries()) {
    if (name.size() < prefix.size() || !posix::same_name(name.substr(0, prefix.size()), prefix))
      continue;
    say(stdout, name + "=" + value + "\n");
    ++shown;
  }
  if (shown > 0)
    return 0;
  say(stderr, "Environment variable " + prefix + " not defined\n");
  return 1;
}

bool CommandShell::is_shell(std::string_view program) const {
  std::string_view base = posix::program_base(program);
  if (posix::same_name(base, "cmd.exe") || posix::same_name(base, "cmd"))
    return true;
  std::optional<std::string> comspec = env_.get("COMSPEC");
  auto slashes = [](std::string_view text) {
    std::string s(text);
    for (char& ch : s)
      ch = ch == '/' ? '\\' : ch;
    return s;
  };
  return comspec && posix::same_name(slashes(*comspec), slashes(program));
}

// A program's Windows name, tried as written and, without an extension,
// with the extensions Windows tries.
std::optional<PosixMachine::Found> CommandShell::find_program(const std::string& program) {
  std::optional<PosixMachine::Found> found = machine_.find(program);
  if (found && !found->folder)
    return found;
  if (posix::program_base(program).find('.') != std::string_view::npos)
    return std::nullopt;
  for (const char* ext : {".com", ".exe", ".bat", ".cmd"}) {
    found = machine_.find(program + ext);
    if (found && !found->folder)
      return found;
  }
  return std::nullopt;
}

int CommandShell::run_program(const std::string& program, const std::string& arguments) {
  if (is_shell(program))
    return run_shell(arguments);
  std::string_view base = posix::program_base(program);
  if (posix::same_name(base, "regsvr32.exe") || posix::same_name(base, "regsvr32"))
    return posix::run_regsvr32(machine_, arguments);
  std::optional<PosixMachine::Found> found = find_program(program);
  if (!found) {
    not_recognized(program);
    return kNotRecognized;
  }
  if (is_batch(found->windows))
    return run_batch(*found, program, arguments);
  return run_host(found->host, program, arguments);
}

int CommandShell::run_shell(const std::string& arguments) {
  std::optional<std::string> line = posix::shell_line(arguments);
  if (!line)
    return 0; // no interactive session on this machine
  if (depth_ >= kMaxDepth) {
    say(stderr, "Shells nested too deeply.\n");
    return 1;
  }
  CommandShell inner(machine_, env_, depth_ + 1);
  return inner.run_line(*line);
}

int CommandShell::run_batch(const PosixMachine::Found& file, const std::string& program,
                            const std::string& arguments) {
  if (depth_ >= kMaxDepth) {
    say(stderr, "Batch files nested too deeply.\n");
    return 1;
  }
  std::ifstream in(file.host, std::ios::binary);
  if (!in) {
    say(stderr, "The batch file cannot be found.\n");
    return 1;
  }
  std::vector<std::string> args = {program};
  for (std::string& a : posix::split_arguments(arguments))
    args.push_back(std::move(a));
  ++depth_;
  std::string line;
  int result = errorlevel_;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    std::size_t first = line.find_first_not_of(" \t@");
    if (first == std::string::npos || line[first] == ':')
      continue; // blank lines, labels and :: comments
    std::optional<std::vector<Command>> commands = prepare(line, &args);
    if (!commands) {
      result = kCannotParse; // the real shell leaves the batch file too
      break;
    }
    result = run_commands(*commands);
  }
  --depth_;
  return result;
}

int CommandShell::run_host(const std::string& host, const std::string& program,
                           const std::string& arguments) {
  std::optional<std::string> folder = machine_.current_host_folder();
  if (access(host.c_str(), X_OK) != 0 || !folder) {
    not_recognized(program);
    return kNotRecognized;
  }
  std::vector<std::string> argv_text = {program};
  for (std::string& a : posix::split_arguments(arguments))
    argv_text.push_back(std::move(a));
  std::vector<char*> argv;
  for (std::string& a : argv_text)
    argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> env_text = env_.strings();
  std::vector<char*> envp;
  for (std::string& e : env_text)
    envp.push_back(e.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folder->c_str());
  std::fflush(nullptr);
  pid_t pid = 0;
  int rc = posix_spawn(&pid, host.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    say(stderr, "'" + program + "' cannot be run: " + std::strerror(rc) + "\n");
    return kNotRecognized;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status))
    return WEXITSTATUS(status);
  return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : 1;
}

} // namespace qov
