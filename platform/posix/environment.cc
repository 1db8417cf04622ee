#include "platform/posix/environment.h"

#include <cstdlib>
#include <cstring>

#include "platform/posix/windows_names.h"

extern char** environ;

namespace qov::posix {
namespace {

// The spellings of a name that the process environment holds.
std::vector<std::string> spellings(std::string_view name) {
  std::vector<std::string> found;
  for (char** e = environ; e != nullptr && *e != nullptr; ++e) {
    const char* eq = std::strchr(*e, '=');
    if (eq == nullptr || eq == *e)
      continue;
    std::string_view n(*e, static_cast<std::size_t>(eq - *e));
    if (same_name(n, name))
      found.emplace_back(n);
  }
  return found;
}

bool valid_name(std::string_view name) {
  return !name.empty() && name.find('=') == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

} // namespace

std::optional<std::string> get_process_env(std::string_view name) {
  if (!valid_name(name))
    return std::nullopt;
  if (const char* v = std::getenv(std::string(name).c_str()))
    return std::string(v);
  for (const std::string& spelling : spellings(name))
    if (const char* v = std::getenv(spelling.c_str()))
      return std::string(v);
  return std::nullopt;
}

void set_process_env(std::string_view name, std::string_view value) {
  if (!valid_name(name) || value.find('\0') != std::string_view::npos)
    return;
  std::vector<std::string> existing = spellings(name);
  std::string keep = existing.empty() ? std::string(name) : existing.front();
  for (const std::string& spelling : existing)
    if (spelling != keep)
      unsetenv(spelling.c_str());
  setenv(keep.c_str(), std::string(value).c_str(), 1);
}

Environment Environment::of_process() {
  Environment env;
  for (char** e = environ; e != nullptr && *e != nullptr; ++e) {
    const char* eq = std::strchr(*e, '=');
    if (eq == nullptr || eq == *e)
      continue;
    std::string name(*e, static_cast<std::size_t>(eq - *e));
    env.vars_.try_emplace(folded(name), name, std::string(eq + 1));
  }
  return env;
}

std::optional<std::string> Environment::get(std::string_view name) const {
  auto it = vars_.find(folded(name));
  if (it == vars_.end())
    return std::nullopt;
  return it->second.second;
}

void Environment::set(std::string_view name, std::string_view value) {
  if (!valid_name(name) || value.find('\0') != std::string_view::npos)
    return;
  std::string key = folded(name);
  if (value.empty()) {
    vars_.erase(key);
    return;
  }
  auto it = vars_.find(key);
  if (it == vars_.end())
    vars_.try_emplace(key, std::string(name), std::string(value));
  else
    it->second.second = value;
}

std::vector<std::pair<std::string, std::string>> Environment::entries() const {
  std::vector<std::pair<std::string, std::string>> list;
  for (const auto& [key, entry] : vars_)
    list.push_back(entry);
  return list;
}

std::vector<std::string> Environment::strings() const {
  std::vector<std::string> list;
  for (const auto& [key, entry] : vars_)
    list.push_back(entry.first + "=" + entry.second);
  return list;
}

} // namespace qov::posix
