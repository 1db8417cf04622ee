#include "install/install_register.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "install/install_choices.h"
#include "install/register_file.h"
#include "system/fixed_text.h"
#include "ui/gui_block.h"
#include "ui/gui_library.h"
#include "ui/panel_blocks.h"
#include "ui/screen_tables.h"

namespace qov {

RegisterFields register_fields;

namespace {

using Record = std::array<char, kRecordSize>;
using Mode = RegisterFile::Mode;

constexpr std::size_t kFolderSize = 69;
constexpr std::size_t kFirstListPosition = 58;
// A listing stops once the next line would start at or after this position.
constexpr std::size_t kListPositionLimit = 3493;
// At most this many characters of the sub-items after the field's value
// are kept when the list is put in its place.
constexpr std::size_t kKeptSubItems = 1000;

RegisterFields& fields() {
  return register_fields;
}

// --- The file name and its family part -------------------------------------

Field family_part() {
  return Field(fields().file_name).subspan(9, 2);
}
bool family_is(std::string_view family) {
  return view(family_part()) == family;
}
void set_family(std::string_view family) {
  set_text(family_part(), family);
}
std::string file_name() {
  return name_of(fields().file_name);
}

// --- The list position: 4 decimal digits ------------------------------------

std::size_t list_position() {
  std::size_t value = 0;
  for (char c : fields().list_position)
    value = value * 10 + (c >= '0' && c <= '9' ? static_cast<std::size_t>(c - '0') : 0);
  return value;
}
void set_list_position(std::size_t value) {
  char digits[5];
  std::snprintf(digits, sizeof digits, "%04zu", std::min<std::size_t>(value, 9999));
  std::memcpy(fields().list_position, digits, 4);
}

// --- Records ----------------------------------------------------------------

ConstField version_text(const Record& r) {
  return ConstField(r).subspan(0, 6);
}
ConstField folder_of(const Record& r) {
  return ConstField(r).subspan(6, kFolderSize);
}
ConstField zavod_mark_of(const Record& r) {
  return ConstField(r).subspan(75, 3);
}

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

bool is_valid(const Record& r) {
  return !is_spaces(folder_of(r)) && is_digit(r[0]) && is_digit(r[1]);
}

// The record is for update_folder: the same 69 folder characters, and
// update_folder has nothing after them.
bool is_for_update_folder(const Record& r) {
  ConstField folder(install_choices.update_folder);
  return view(folder_of(r)) == view(folder.first(kFolderSize)) &&
         is_spaces(folder.subspan(kFolderSize));
}

bool is_same_installation(const Record& r) {
  return is_for_update_folder(r) && view(zavod_mark_of(r)) == view(fields().zavod_mark);
}

Record new_record() {
  const InstallChoices& c = install_choices;
  Record r;
  r[0] = '0';
  r[1] = c.version_code[0];
  r[2] = '.';
  r[3] = c.version_code[1];
  r[4] = c.version_code[2];
  r[5] = c.country_digit[0];
  std::memcpy(r.data() + 6, c.update_folder, kFolderSize);
  std::memcpy(r.data() + 75, fields().zavod_mark, 3);
  r[78] = '\r';
  r[79] = '\n';
  return r;
}

Record erased_record() {
  Record r;
  r.fill(' ');
  r[78] = '\r';
  r[79] = '\n';
  return r;
}

void set_update_folder_from(const Record& r) {
  set_spaces(install_choices.update_folder);
  std::memcpy(install_choices.update_folder, folder_of(r).data(), kFolderSize);
}

// --- The update list --------------------------------------------------------

// The list line of a record: 40 folder characters, the Pos column, the
// run-time and the version text with a leading "0" shown as a space.
void build_line(const Record& r, Field line) {
  set_spaces(line);
  std::memcpy(line.data(), folder_of(r).data(), 40);
  if (view(zavod_mark_of(r)) == "pos")
    line[41] = 'X';
  std::memcpy(line.data() + 44, family_is("rm") ? "RmCobol" : "MfCobol", 7);
  std::memcpy(line.data() + 51, version_text(r).data(), 6);
  if (line[51] == '0')
    line[51] = ' ';
}

bool beats_best_version(const Record& r) {
  return std::memcmp(version_text(r).data(), fields().best_version, 6) > 0;
}

// Lists the valid records of the open file from the list position on, until
// the file ends or the list is full.
void list_records(RegisterFile& file) {
  Record r;
  while (file.read(r) == "00") {
    if (!is_valid(r))
      continue;
    std::size_t position = list_position();
    if (position < 1 || position - 1 + kUpdateLineSize > kUpdateListSize)
      return;
    Field line = Field(fields().update_list).subspan(position - 1, kUpdateLineSize);
    build_line(r, line);
    if (beats_best_version(r)) {
      set_update_folder_from(r);
      std::memcpy(fields().best_version, version_text(r).data(), 6);
      copy_field(install_choices.update_line, line);
    }
    set_list_position(position + kUpdateLineSize);
    if (list_position() >= kListPositionLimit)
      return;
  }
}

// --- Handing the list to the panel ------------------------------------------

std::size_t length(int16_t entry) {
  return entry < 0 ? 0 : static_cast<std::size_t>(entry);
}

// Replaces the value sub-item of the field definition just read back by the
// update list, keeping the sub-items that follow it.
void put_list_in_definition() {
  GuiBlockView v = field_definition_block().view();
  std::span<uint8_t> room = v.variable_part();
  std::size_t offset = std::min(length(v.header(5)) + length(v.header(6)), room.size());
  std::size_t old_length = std::min(length(v.header(7)), room.size() - offset);
  std::size_t following = length(v.header(9)) + length(v.header(10)) + length(v.header(11));
  std::size_t keep = std::min({following, kKeptSubItems, room.size() - offset - old_length});
  std::vector<uint8_t> kept(room.begin() + static_cast<std::ptrdiff_t>(offset + old_length),
                            room.begin() + static_cast<std::ptrdiff_t>(offset + old_length + keep));

  std::size_t new_length =
      std::min({list_position(), kUpdateListSize, room.size() - offset - kept.size()});
  std::memcpy(room.data() + offset, fields().update_list, new_length);
  std::copy(kept.begin(), kept.end(),
            room.begin() + static_cast<std::ptrdiff_t>(offset + new_length));

  long variable = static_cast<long>(v.header(4)) - static_cast<long>(old_length) +
                  static_cast<long>(new_length);
  v.set_header(7, static_cast<int16_t>(new_length));
  v.set_header(4,
               static_cast<int16_t>(std::clamp<long>(variable, 0, static_cast<long>(room.size()))));
}

} // namespace

void reset_register_fields() {
  RegisterFields& f = fields();
  std::memcpy(f.file_name, "c:/qovexemf/qovinst.dir", sizeof f.file_name);
  set_spaces(f.update_list);
  set_list_position(kFirstListPosition);
  std::memcpy(f.best_version, "000000", sizeof f.best_version);
  set_spaces(f.zavod_mark);
}

namespace {
struct Init {
  Init() { reset_register_fields(); }
} g_init;
} // namespace

void find_recorded_folder() {
  set_spaces(install_choices.update_folder);
  RegisterFile file;
  bool open = file.open(file_name(), Mode::kInput) == "00";
  for (;;) {
    if (open) {
      Record r;
      while (file.read(r) == "00") {
        if (is_valid(r)) {
          set_update_folder_from(r);
          file.close();
          return;
        }
      }
      file.close();
    }
    if (!family_is("mf"))
      return;
    set_family("rm");
    open = file.open(file_name(), Mode::kInput) == "00";
    if (!open)
      return;
  }
}

void record_installation() {
  set_family(view(install_choices.runtime_family));
  set_text(fields().zavod_mark, view(install_choices.module_code) == "pos" ? "pos" : "");

  RegisterFile file;
  if (file.open(file_name(), Mode::kUpdate) == "35")
    file.open(file_name(), Mode::kOutput);

  Record r;
  bool found = false;
  while (!found && file.status() == "00")
    found = file.read(r) == "00" && is_same_installation(r);

  bool writable = true;
  if (!found) {
    file.close();
    RecordStatus extended = file.open(file_name(), Mode::kExtend);
    // Opening for output empties the file, so it is done only when there is
    // no register yet. Any other failure leaves the register as it was and
    // the installation unrecorded.
    if (extended == "35") {
      file.close();
      file.open(file_name(), Mode::kOutput);
    } else if (extended != "00") {
      writable = false;
    }
  }

  if (writable) {
    Record record = new_record();
    if (found)
      file.rewrite(record);
    else
      file.write(record);
  }
  file.close();
  unrecord_other_family();
}

void unrecord_other_family() {
  set_family(family_is("rm") ? "mf" : "rm");
  RegisterFile file;
  if (file.open(file_name(), Mode::kUpdate) != "00")
    return;
  Record r;
  while (file.read(r) == "00") {
    if (is_for_update_folder(r))
      file.rewrite(erased_record());
  }
  file.close();
}

void list_installations() {
  set_spaces(fields().update_list);
  set_spaces(install_choices.update_folder);
  set_spaces(psetup_dir_value());
  set_list_position(kFirstListPosition);

  RegisterFile file;
  bool open = file.open(file_name(), Mode::kInput) == "00";
  if (!open) {
    set_family("rm");
    open = file.open(file_name(), Mode::kInput) == "00";
  }
  if (open)
    list_records(file);
  file.close();
  if (family_is("rm"))
    return;
  // The "rm" file follows the "mf" file; its first line is added even when
  // the "mf" file filled the list.
  set_family("rm");
  if (file.open(file_name(), Mode::kInput) != "00")
    return;
  list_records(file);
  file.close();
}

void apply_update_line() {
  InstallChoices& c = install_choices;
  ConstField line(c.update_line);

  bool rm = view(line.subspan(44, 2)) == "Rm";
  set_text(c.runtime_family, rm ? "rm" : "mf");
  set_text(c.runtime_bitmap, rm ? "cd_rm.bmp" : "cd_mf.bmp");
  set_text(c.archive_extension, rm ? "co@" : "in@");

  switch (line[56]) {
  case '0':
    set_text(c.country, "portugal");
    set_text(c.country_digit, "0");
    set_text(c.country_bitmap, "cd_por.bmp");
    break;
  case '1':
    set_text(c.country, "angola");
    set_text(c.country_digit, "1");
    set_text(c.country_bitmap, "cd_ang.bmp");
    break;
  default:
    set_text(c.country, "mocambiq");
    set_text(c.country_digit, "2");
    set_text(c.country_bitmap, "cd_moc.bmp");
    break;
  }

  const char version[3] = {line[52], line[54], line[55]};
  if (std::memcmp(version, "600", 3) < 0)
    set_text(c.version_code, "600");
  else
    std::memcpy(c.version_code, version, 3);
  NameJoiner(c.version_bitmap)
      .literal("cd_ver")
      .literal(view(c.version_code).substr(0, 2))
      .literal(".bmp");

  ScreenTable screen = update_screen();
  copy_field(bitmap_name(screen[2]), c.country_bitmap);
  copy_field(bitmap_name(screen[3]), c.runtime_bitmap);
  copy_field(bitmap_name(screen[4]), c.version_bitmap);
}

void show_installation_list() {
  ConstField line(install_choices.update_line);
  std::memcpy(fields().update_list, line.data(), kUpdateLineSize);
  copy_field(psetup_dir_value(), line);

  GuiBlockView v = field_definition_block().view();
  v.set_header(4, 9999);
  for (std::size_t entry = 5; entry <= 13; ++entry)
    v.set_header(entry, 0);
  v.clear_parts();
  v.set_number(1, 1);
  gui_call(kGuiGetField, field_definition_bytes());

  put_list_in_definition();
  gui_call(kGuiSetField, field_definition_bytes());
}

} // namespace qov
