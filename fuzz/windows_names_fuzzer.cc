// Windows names through the machine map, over arbitrary text.
//
// The machine: drives C: and D: and the share \\SERVER\QOV in a temporary
// folder that also holds a folder outside every root. The input is up to
// four Windows-1252 names, one a line: each but the last is made the current
// folder (change_folder, then set_drive on its first character); the last
// is resolved as an existing name and as a name to create. The target aborts
// when
// - a host path given for a name, or the current folder, lies outside the
//   drive and share roots (".." never climbs out, no name reaches the host);
// - the current folder's Windows name does not lead back to it;
// - resolving a name created or changed anything.
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_targets.h"
#include "platform/posix/machine_map.h"
#include "platform/posix/posix_machine.h"

namespace qov {
namespace {
namespace fs = std::filesystem;

constexpr std::string_view kTarget = "windows_names";

struct Machine {
  Machine() : root(fuzz::temp_root(kTarget)) {
    for (const char* folder : {"c/QOV/EMPRESA/dados", "c/WINDOWS/system32", "d/AUTORUN/BIN",
                               "unc/SERVER/QOV/Dados", "outside/c"})
      fs::create_directories(root + "/" + folder);
    for (const char* file : {"c/WINDOWS/system32/msvcrt.dll", "d/AUTORUN/BIN/setup.exe",
                             "unc/SERVER/QOV/x.txt", "outside/secret.txt"})
      fuzz::write_host_file(root + "/" + file, "x");
    roots = {root + "/c", root + "/d", root + "/unc/SERVER/QOV"};
    tree = fuzz::tree_of(root);
  }

  std::string root;
  std::vector<std::string> roots;
  fuzz::Tree tree;
};

Machine& machine() {
  static Machine m;
  return m;
}

void check_inside(const Machine& m, const std::string& host, std::string_view name) {
  std::string path = fs::path(host).lexically_normal().string();
  while (path.size() > 1 && path.back() == '/')
    path.pop_back();
  for (const std::string& root : m.roots)
    if (path == root || path.rfind(root + "/", 0) == 0)
      return;
  fuzz::fail(kTarget, "\"" + fuzz::shown(name) + "\" resolves outside the machine: " + host);
}

void run_one(std::string_view input) {
  Machine& m = machine();
  PosixMachine machine(posix::MachineMap::in_folder(m.root), m.root + "/d/AUTORUN/BIN");
  std::vector<std::string> names;
  std::size_t at = 0;
  while (names.size() < 4) {
    std::size_t end = input.find('\n', at);
    names.emplace_back(input.substr(at, end == std::string_view::npos ? end : end - at));
    if (end == std::string_view::npos)
      break;
    at = end + 1;
  }
  for (std::size_t i = 0; i + 1 < names.size(); ++i) {
    machine.change_folder(names[i]);
    if (!names[i].empty())
      machine.set_drive(names[i][0]);
    std::optional<std::string> current = machine.current_host_folder();
    if (!current)
      continue;
    check_inside(m, *current, names[i]);
    std::string windows = machine.current_folder();
    std::optional<PosixMachine::Found> again = machine.find(windows);
    if (!again || again->host != *current)
      fuzz::fail(kTarget, "the current folder " + fuzz::shown(windows) + " does not lead back to " +
                              *current);
  }
  const std::string& last = names.back();
  if (std::optional<std::string> host = machine.existing(last))
    check_inside(m, *host, last);
  if (std::optional<std::string> host = machine.for_create(last))
    check_inside(m, *host, last);
  machine.file_info(last);
  machine.folders_in(last);
  if (fuzz::tree_of(m.root) != m.tree)
    fuzz::fail(kTarget, "resolving \"" + fuzz::shown(last) + "\" changed the machine");
}

} // namespace
} // namespace qov

void qov::fuzz::check_windows_names(std::string_view input) {
  qov::run_one(input);
}

QOV_FUZZ_ENTRY(qov::fuzz::check_windows_names)
