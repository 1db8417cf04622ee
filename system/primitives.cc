#include "system/primitives.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "system/external_programs.h"
#include "system/fixed_text.h"
#include "system/platform_services.h"
#include "system/trace.h"

namespace qov {

PrimitiveArea primitive_area;

namespace {

PrimitiveArea& area() {
  return primitive_area;
}

// Size as 8 bytes, then day, month, year (2 bytes), then hours, minutes,
// seconds and hundredths, all most significant byte first.
void encode_details(const FileInfo& info, uint8_t (&details)[16]) {
  for (int i = 0; i < 8; ++i)
    details[i] = static_cast<uint8_t>(info.size >> (8 * (7 - i)));
  details[8] = static_cast<uint8_t>(info.day);
  details[9] = static_cast<uint8_t>(info.month);
  details[10] = static_cast<uint8_t>(info.year >> 8);
  details[11] = static_cast<uint8_t>(info.year);
  details[12] = static_cast<uint8_t>(info.hour);
  details[13] = static_cast<uint8_t>(info.minute);
  details[14] = static_cast<uint8_t>(info.second);
  details[15] = static_cast<uint8_t>(info.hundredths);
}

void store_status(int status) {
  area().status = static_cast<uint16_t>(status);
}

} // namespace

void reset_primitive_area() {
  std::memset(&primitive_area, 0, sizeof primitive_area);
  set_spaces(primitive_area.name_text);
  set_spaces(primitive_area.copy_source);
  set_spaces(primitive_area.copy_target);
  set_spaces(primitive_area.drive_letter);
  primitive_area.folder_query_length = 100;
}

void set_drive() {
  char letter = area().drive_letter[0];
  int status = platform().set_drive(letter);
  store_status(status);
  trace(TraceObject("set_drive").str("drive", std::string(1, letter)).num("status", status));
}

void change_folder() {
  std::string name = name_of(area().name_text);
  int status = platform().change_folder(name);
  store_status(status);
  trace(TraceObject("change_folder").str("name", name).num("status", status));
}

void get_current_folder() {
  area().folder_query_flags = 0;
  area().folder_query_length = 100;
  std::string folder = platform().current_folder();
  if (folder.size() > area().folder_query_length)
    folder.resize(area().folder_query_length);
  std::memcpy(area().name_text, folder.data(), folder.size());
  area().name_text[folder.size()] = '\0';
  store_status(0);
  trace(TraceObject("get_current_folder").str("name", folder));
}

bool file_exists() {
  std::memset(area().file_details, 0, sizeof area().file_details);
  std::string name = name_of(area().name_text);
  if (auto info = platform().file_info(name)) {
    encode_details(*info, area().file_details);
    store_status(0);
  } else {
    store_status(2); // no such file
  }
  bool found = std::any_of(std::begin(area().file_details), std::end(area().file_details),
                           [](uint8_t b) { return b != 0; });
  trace(TraceObject("file_exists").str("name", name).boolean("found", found));
  return found;
}

void copy_file() {
  std::string from = name_of(area().copy_source);
  std::string to = name_of(area().copy_target);
  int status = platform().copy_file(from, to);
  store_status(status);
  trace(TraceObject("copy_file").str("from", from).str("to", to).num("status", status));
}

void run_command() {
  std::string line = name_of(area().name_text);
  trace(TraceObject("run_command").str("line", line));
  area().run_result = static_cast<uint8_t>(platform().run_command(line));
}

void extract_archive() {
  ExtractionBlock& block = extraction_block();
  std::memcpy(block.function, "UNZ", 3);
  block.mode[0] = '2';
  call_reredodi();
}

namespace {
std::string trimmed(std::string_view text) {
  std::size_t end = text.find_last_not_of(' ');
  return std::string(end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1));
}
} // namespace

void set_environment(const char (&name)[8], const char (&value)[80]) {
  std::string n = trimmed(view(name));
  std::string v = trimmed(view(value));
  platform().set_env(n, v);
  trace(TraceObject("setenv").str("name", n).str("value", v));
}

void read_environment(const char (&name)[8], char (&value)[80]) {
  std::string n = trimmed(view(name));
  std::string v = platform().get_env(n).value_or("");
  set_text(value, v);
  trace(TraceObject("getenv").str("name", n).str("value", v));
}

} // namespace qov
