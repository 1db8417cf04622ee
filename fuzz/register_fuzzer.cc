// The install register over arbitrary file contents.
//
// Input: one flag byte, then the "mf" register's bytes, then, after the
// marker "=RM=", the "rm" register's bytes. Flag bits: 1 no "mf" file, 2 no
// "rm" file, 4 the installation is of the module "pos" (else "apl").
//
// On a temporary machine the target runs find_recorded_folder,
// list_installations with apply_update_line, and record_installation of the
// "mf" installation of C:\QOV\EMPRESA, then reads both registers back and
// aborts unless
// - both are in record form (whole 80-byte records ending in CR LF);
// - the "mf" register holds the records it held before, in order, with the
//   first record of the same installation (folder and Zavod mark) replaced
//   by the new record, or the new record added at the end when there was
//   none: no valid record is lost;
// - the "rm" register holds its records, those of the same folder erased.
// The records of a file are as the record-file service reads them: its
// 80-byte records when it is in record form, otherwise its text lines, each
// cut or padded to 78 characters and given CR LF, empty lines left out.
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/main_flow.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_targets.h"
#include "install/install_choices.h"
#include "install/install_register.h"
#include "platform/posix/machine_map.h"
#include "platform/posix/posix_machine.h"
#include "system/fixed_text.h"
#include "tests/support/register_records.h"

namespace qov {
namespace {

constexpr std::string_view kTarget = "register";
constexpr std::string_view kMarker = "=RM=";
constexpr std::string_view kFolder = "C:\\QOV\\EMPRESA";

using Records = std::vector<std::string>;

std::string folder_of(const std::string& record) {
  return record.substr(6, 69);
}

std::string padded(std::string_view text, std::size_t size) {
  std::string s(text.substr(0, size));
  s.resize(size, ' ');
  return s;
}

struct Machine {
  Machine() : root(fuzz::temp_root(kTarget)) {
    std::filesystem::create_directories(root + "/c/qovexemf");
    std::filesystem::create_directories(root + "/c/qovexerm");
    machine = std::make_unique<PosixMachine>(posix::MachineMap::in_folder(root), root);
    set_platform(machine.get());
  }
  std::string mf() const { return root + "/c/qovexemf/qovinst.dir"; }
  std::string rm() const { return root + "/c/qovexerm/qovinst.dir"; }

  std::string root;
  std::unique_ptr<PosixMachine> machine;
};

Machine& machine() {
  static Machine m;
  return m;
}

void place(const std::string& path, const std::optional<std::string_view>& bytes) {
  std::remove(path.c_str());
  if (bytes)
    fuzz::write_host_file(path, *bytes);
}

std::optional<std::string> contents(const std::string& path) {
  std::string bytes;
  if (!fuzz::read_host_file(path, &bytes))
    return std::nullopt;
  return bytes;
}

// The first valid record's folder, as find_recorded_folder gives it.
std::string expected_recorded_folder(const std::optional<std::string>& mf,
                                     const std::optional<std::string>& rm) {
  for (const auto* file : {&mf, &rm}) {
    if (!*file)
      continue;
    for (const std::string& r : testing::register_records(**file))
      if (testing::is_valid_record(r))
        return padded(folder_of(r), 80);
  }
  return std::string(80, ' ');
}

void check_same(const char* what, const Records& expected, const std::string& after) {
  if (!testing::in_record_form(after))
    fuzz::fail(kTarget, std::string(what) +
                            " register not in record form afterwards: " + fuzz::shown(after));
  Records got = testing::register_records(after);
  for (const std::string& r : expected) {
    if (!testing::is_valid_record(r))
      continue;
    bool kept = false;
    for (const std::string& g : got)
      kept = kept || g == r;
    if (!kept)
      fuzz::fail(kTarget, std::string("valid record lost from the ") + what +
                              " register: " + fuzz::shown(r));
  }
  if (got != expected)
    fuzz::fail(kTarget, std::string(what) + " register differs from what the operations write: " +
                            fuzz::shown(after));
}

void run_one(std::string_view input) {
  Machine& m = machine();
  set_platform(m.machine.get());
  unsigned flags = input.empty() ? 0 : static_cast<unsigned char>(input[0]);
  std::string_view rest = input.empty() ? input : input.substr(1);
  std::size_t marker = rest.find(kMarker);
  std::string_view mf_bytes = rest.substr(0, marker);
  std::string_view rm_bytes =
      marker == std::string_view::npos ? std::string_view() : rest.substr(marker + kMarker.size());
  bool pos = (flags & 4) != 0;
  std::optional<std::string> mf, rm;
  if ((flags & 1) == 0)
    mf = std::string(mf_bytes);
  if ((flags & 2) == 0)
    rm = std::string(rm_bytes);
  place(m.mf(), mf);
  place(m.rm(), rm);

  reset_run_state();
  find_recorded_folder();
  if (view(install_choices.update_folder) != expected_recorded_folder(mf, rm))
    fuzz::fail(kTarget, "find_recorded_folder gave \"" +
                            fuzz::shown(view(install_choices.update_folder)) + "\"");
  list_installations();
  apply_update_line();
  if (contents(m.mf()) != mf || contents(m.rm()) != rm)
    fuzz::fail(kTarget, "reading the register changed it");

  InstallChoices& c = install_choices;
  set_text(c.runtime_family, "mf");
  set_text(c.module_code, pos ? "pos" : "apl");
  set_text(c.version_code, "600");
  set_text(c.country_digit, "0");
  set_text(c.update_folder, kFolder);
  record_installation();

  std::string new_record = "06.000" + padded(kFolder, 69) + (pos ? "pos" : "   ") + "\r\n";
  Records expected_mf = mf ? testing::register_records(*mf) : Records();
  bool replaced = false;
  for (std::string& r : expected_mf) {
    if (folder_of(r) == padded(kFolder, 69) && r.substr(75, 3) == new_record.substr(75, 3)) {
      r = new_record;
      replaced = true;
      break;
    }
  }
  if (!replaced)
    expected_mf.push_back(new_record);
  std::optional<std::string> mf_after = contents(m.mf());
  if (!mf_after)
    fuzz::fail(kTarget, "the mf register is gone");
  check_same("mf", expected_mf, *mf_after);

  std::optional<std::string> rm_after = contents(m.rm());
  if (rm.has_value() != rm_after.has_value())
    fuzz::fail(kTarget, "the rm register appeared or vanished");
  if (!rm)
    return;
  Records expected_rm = testing::register_records(*rm);
  std::string erased = std::string(78, ' ') + "\r\n";
  for (std::string& r : expected_rm)
    if (folder_of(r) == padded(kFolder, 69))
      r = erased;
  check_same("rm", expected_rm, *rm_after);
}

} // namespace
} // namespace qov

void qov::fuzz::check_register(std::string_view input) {
  qov::run_one(input);
}

QOV_FUZZ_ENTRY(qov::fuzz::check_register)
