// Environment variables named as on Windows: without regard to case.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qov::posix {

// The process's own environment. get finds "windir" as WINDIR or windir (the
// exact spelling first); set replaces a variable of any spelling, keeping the
// spelling it had, so that no two spellings of one name are left.
std::optional<std::string> get_process_env(std::string_view name);
void set_process_env(std::string_view name, std::string_view value);

// The environment of one command shell: a copy of the process's, taken when
// the shell starts. The shell's "set" changes the copy, which the programs it
// starts inherit, and never the installer's own environment.
class Environment {
public:
  static Environment of_process();

  std::optional<std::string> get(std::string_view name) const;
  // An empty value removes the variable, as the shell's "set NAME=" does.
  void set(std::string_view name, std::string_view value);
  // Name and value of every variable, sorted without regard to case.
  std::vector<std::pair<std::string, std::string>> entries() const;
  // "NAME=VALUE" strings for a program started by the shell.
  std::vector<std::string> strings() const;

private:
  std::map<std::string, std::pair<std::string, std::string>> vars_; // by folded name
};

} // namespace qov::posix
