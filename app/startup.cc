#include "app/startup.h"

#include <cstring>
#include <string_view>

#include "install/install_choices.h"
#include "system/fixed_text.h"
#include "system/primitives.h"
#include "system/process_exit.h"
#include "ui/message_block.h"

namespace qov {
namespace {

constexpr std::string_view kMarker = "AUTORUN\\BIN";

// Start-up's own work fields.
struct StartupFields {
  char remainder[80];
  char cd_suffix[1];
  char drive_letter[1];
  char env_name[8];
  char env_value[80];
};
StartupFields g;

InstallChoices& choices() {
  return install_choices;
}
Field name_text() {
  return primitive_area.name_text;
}

void upper_case_name_text() {
  for (char& c : name_text())
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
}

// Splits the name text at the first marker (in 105 characters it can only
// start at positions 1 to 95): the CD root in front of it, the remainder after it up to a further
// marker or the end.
void split_start_folder() {
  std::string_view text = view(name_text());
  std::size_t at = text.find(kMarker);
  set_spaces(choices().cd_root);
  set_spaces(g.remainder);
  if (at == std::string_view::npos) {
    set_text(choices().cd_root, text);
    return;
  }
  set_text(choices().cd_root, text.substr(0, at));
  std::string_view after = text.substr(at + kMarker.size());
  set_text(g.remainder, after.substr(0, after.find(kMarker)));
}

// Goes back from the last position to the second over NULs, then over
// spaces, and turns everything after the last character kept into NUL.
void trim_cd_root() {
  Field root = choices().cd_root;
  std::size_t i = root.size() - 1;
  while (i > 1 && root[i] == '\0')
    --i;
  while (i > 1 && root[i] == ' ')
    --i;
  std::fill(root.begin() + i + 1, root.end(), '\0');
}

bool suffix_given() {
  return g.cd_suffix[0] != '\0';
}

// The first probe is the start folder's, with what followed the marker in
// it; the drives are probed at their roots alone. (A start folder below the
// CD's autorun\bin thus fails its own probe, and the drive search still
// finds the CD.)
bool probe_cd(bool with_suffix) {
  NameJoiner name(name_text());
  name.folder(choices().cd_root).literal("autorun\\bin\\setup.exe");
  if (with_suffix && suffix_given())
    name.literal(std::string_view(g.cd_suffix, 1));
  return file_exists();
}

// Probes the start folder, then the drives D: to Z:. Without a CD, shows the
// error and stops the process.
void find_cd() {
  g.drive_letter[0] = 'C';
  for (bool first = true; !probe_cd(first); first = false) {
    ++g.drive_letter[0];
    if (g.drive_letter[0] > 'Z' || choices().cd_root[1] != ':') {
      show_message(cd_not_found_message());
      stop_process();
    }
    // The root of the drive, with its backslash: every name joined from it
    // is then absolute, whatever the drive's current folder.
    set_nuls(choices().cd_root);
    choices().cd_root[0] = g.drive_letter[0];
    choices().cd_root[1] = ':';
    choices().cd_root[2] = '\\';
  }
}

void set_cd_variable(std::string_view name, std::string_view file) {
  set_text(g.env_name, name);
  NameJoiner(g.env_value).cd_root(choices().cd_root).literal(file);
  set_environment(g.env_name, g.env_value);
}

void detect_system_folder() {
  set_text(choices().system32_present, "N");
  NameJoiner(name_text()).choice(choices().windows_folder).literal("\\system32\\msvcrt.dll");
  if (file_exists())
    set_text(choices().system32_present, "S");
}

} // namespace

void run_startup() {
  get_current_folder();
  upper_case_name_text();
  copy_field(choices().start_folder, ConstField(name_text()).first(80));
  split_start_folder();
  g.cd_suffix[0] = g.remainder[0];
  trim_cd_root();
  std::memcpy(choices().cd_root_initial, choices().cd_root, sizeof choices().cd_root);

  find_cd();

  NameJoiner folder(name_text());
  folder.folder(choices().cd_root).literal("autorun\\bin");
  if (suffix_given())
    folder.literal(std::string_view(g.cd_suffix, 1));
  change_folder();

  set_cd_variable("sp2cfg", "autorun\\bin\\qovsp2.cfg");
  set_cd_variable("qprcfg", "autorun\\bin\\qovqpr.cfg");

  set_text(g.env_name, "windir");
  read_environment(g.env_name, choices().windows_folder);
  detect_system_folder();
}

} // namespace qov
