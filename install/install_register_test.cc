#include "install/install_register.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "install/install_choices.h"
#include "system/fixed_text.h"
#include "tests/support/in_process.h"
#include "ui/gui_library.h"
#include "ui/panel_blocks.h"
#include "ui/screen_tables.h"
#include "ui/stored_panel_format.h"
#include "ui/update_panel_data.h"

namespace qov::testing {
namespace {

const char* const kMf = "c:/qovexemf/qovinst.dir";
const char* const kRm = "c:/qovexerm/qovinst.dir";

std::string padded(std::string text, std::size_t width) {
  text.resize(width, ' ');
  return text;
}

// An install record as the register holds it.
std::string rec(const std::string& version, const std::string& folder,
                const std::string& mark = "") {
  return version + padded(folder.substr(0, 69), 69) + padded(mark, 3) + "\r\n";
}
const std::string kErased = std::string(78, ' ') + "\r\n";

// A line of the update list.
std::string list_line(const std::string& folder, bool pos, const std::string& runtime,
                      const std::string& version) {
  std::string shown = version;
  if (shown[0] == '0')
    shown[0] = ' ';
  return padded(folder.substr(0, 40), 40) + " " + (pos ? "X" : " ") + "  " + runtime + shown;
}

std::string family_part() {
  return std::string(register_fields.file_name + 9, 2);
}
std::string update_folder() {
  return std::string(view(install_choices.update_folder));
}
std::string update_line() {
  return std::string(view(install_choices.update_line));
}
std::size_t list_position() {
  return std::stoul(std::string(register_fields.list_position, 4));
}
// Line n of the update list, from 1.
std::string listed(std::size_t n) {
  return std::string(register_fields.update_list + 57 * (n - 1), 57);
}

struct Install {
  const char* module;
  const char* family;
  const char* version;
  char country_digit;
  std::string folder;
};

class InstallRegisterTest : public InstallerTest {
protected:
  void SetUp() override {
    InstallerTest::SetUp();
    machine.add_folder("C:\\qovexemf");
    machine.add_folder("C:\\qovexerm");
  }

  // What the menus and the target folder selection leave before the
  // installation is recorded.
  void install(const Install& i) {
    set_text(install_choices.module_code, i.module);
    set_text(install_choices.runtime_family, i.family);
    set_text(install_choices.version_code, i.version);
    install_choices.country_digit[0] = i.country_digit;
    set_text(install_choices.update_folder, i.folder);
    record_installation();
  }

  std::vector<std::string> record_file_ops() const {
    std::vector<std::string> ops;
    for (const TraceEntry& e : calls_named(trace(), "record_file"))
      ops.push_back(e["op"] + " " + e["file"] + " " + e["status"]);
    return ops;
  }
};

TEST_F(InstallRegisterTest, EmptyMachineHasNoFolderAndTheFirstInstallationCreatesTheRegister) {
  find_recorded_folder();
  EXPECT_TRUE(is_spaces(install_choices.update_folder));
  EXPECT_EQ(family_part(), "rm");
  EXPECT_TRUE(machine.files.empty());

  install({"apl", "mf", "600", '0', "C:\\QOV\\EMPRESA"});
  EXPECT_EQ(machine.content(kMf), "06.000C:\\QOV\\EMPRESA" + std::string(55, ' ') + "   \r\n");
  EXPECT_FALSE(machine.has_file(kRm));
  EXPECT_EQ(family_part(), "rm"); // left at the other family

  std::vector<std::string> expected = {
      "open-input c:/qovexemf/qovinst.dir 35",  "open-input c:/qovexerm/qovinst.dir 35",
      "open-update c:/qovexemf/qovinst.dir 35", "open-output c:/qovexemf/qovinst.dir 00",
      "read c:/qovexemf/qovinst.dir 10",        "close c:/qovexemf/qovinst.dir 00",
      "open-extend c:/qovexemf/qovinst.dir 00", "write c:/qovexemf/qovinst.dir 00",
      "close c:/qovexemf/qovinst.dir 00",       "open-update c:/qovexerm/qovinst.dir 35"};
  EXPECT_EQ(record_file_ops(), expected);

  reset_register_fields(); // the next run
  find_recorded_folder();
  EXPECT_EQ(update_folder(), padded("C:\\QOV\\EMPRESA", 80));
  EXPECT_EQ(family_part(), "mf");
}

TEST_F(InstallRegisterTest, WithoutTheRuntimeFolderNothingIsRecorded) {
  machine.folders.clear();
  install({"apl", "rm", "600", '0', "C:\\QOV"});
  EXPECT_TRUE(machine.files.empty());
}

TEST_F(InstallRegisterTest, RecordsOneInstallationPerFolderFamilyAndZavodMark) {
  const std::string kLong = "C:\\" + std::string(72, 'L'); // 75 characters
  struct Case {
    const char* name;
    std::string mf_before, rm_before;
    std::vector<Install> installs;
    std::string mf_after, rm_after;
  };
  const Case cases[] = {
      {"same folder twice",
       "",
       "",
       {{"apl", "mf", "600", '0', "C:\\QOV"}, {"apl", "mf", "601", '1', "C:\\QOV"}},
       rec("06.011", "C:\\QOV"),
       ""},
      {"pos then apl into one folder",
       "",
       "",
       {{"pos", "mf", "600", '2', "C:\\QOV"}, {"apl", "mf", "600", '2', "C:\\QOV"}},
       rec("06.002", "C:\\QOV", "pos") + rec("06.002", "C:\\QOV"),
       ""},
      {"the other family's record of the folder is erased, mark or not",
       rec("05.200", "C:\\OTHER") + rec("05.200", "C:\\QOV", "pos") + rec("05.200", "C:\\QOV"),
       "",
       {{"apl", "rm", "600", '0', "C:\\QOV"}},
       rec("05.200", "C:\\OTHER") + kErased + kErased,
       rec("06.000", "C:\\QOV")},
      {"a folder longer than 69 characters is cut and never found again",
       "",
       "",
       {{"apl", "mf", "600", '0', kLong}, {"apl", "mf", "600", '0', kLong}},
       rec("06.000", kLong) + rec("06.000", kLong),
       ""},
      {"a record found is rewritten in place",
       rec("05.200", "C:\\A") + rec("05.200", "C:\\B") + rec("05.200", "C:\\C"),
       rec("06.000", "C:\\D"),
       {{"apl", "mf", "600", '1', "C:\\B"}},
       rec("05.200", "C:\\A") + rec("06.001", "C:\\B") + rec("05.200", "C:\\C"),
       rec("06.000", "C:\\D")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    machine.files.clear();
    if (!c.mf_before.empty())
      machine.add_file(kMf, c.mf_before);
    if (!c.rm_before.empty())
      machine.add_file(kRm, c.rm_before);
    for (const Install& i : c.installs)
      install(i);
    EXPECT_EQ(machine.content(kMf), c.mf_after);
    EXPECT_EQ(machine.content(kRm), c.rm_after);
  }
}

// Opening an existing register for output would empty it: when opening it
// for extension fails for any reason but a missing file, the installation
// is not recorded and the register stays as it was.
TEST_F(InstallRegisterTest, FailedExtensionLeavesTheRegisterAsItWas) {
  const std::string before = rec("06.000", "C:\\A") + rec("05.200", "C:\\B", "pos");
  machine.add_file(kMf, before);
  machine.extend_failure = "30";
  install({"apl", "mf", "600", '0', "C:\\NEW"});
  EXPECT_EQ(machine.content(kMf), before);
  for (const std::string& op : record_file_ops())
    EXPECT_NE(op.rfind("open-output", 0), 0u) << op;
}

TEST_F(InstallRegisterTest, ProposesTheHighestVersionFirstReadWithMfBeforeRm) {
  std::string mf, rm;
  for (int i = 0; i < 70; ++i) {
    // Version texts 05.10d ... with two records of the highest, 06.012.
    std::string version = (i == 10 || i == 40) ? "06.012" : "05.1" + std::to_string(i % 10) + "0";
    mf += rec(version, "C:\\MF\\" + std::to_string(i), i % 2 ? "pos" : "");
    if (i == 5)
      mf += kErased + rec("xx.000", "C:\\BAD") + rec("06.999", ""); // skipped
  }
  rm = rec("06.012", "C:\\RM\\0") + rec("09.999", "C:\\RM\\1") + rec("06.000", "C:\\RM\\2") +
       rec("06.000", "C:\\RM\\3") + rec("06.000", "C:\\RM\\4");
  machine.add_file(kMf, mf);
  machine.add_file(kRm, rm);

  find_recorded_folder();
  EXPECT_EQ(update_folder(), padded("C:\\MF\\0", 80));
  EXPECT_EQ(family_part(), "mf");
  list_installations();

  // 61 lines of the "mf" file from position 58, one of the "rm" file.
  EXPECT_EQ(list_position(), 3592u);
  EXPECT_EQ(listed(2), list_line("C:\\MF\\0", false, "MfCobol", "05.100"));
  EXPECT_EQ(listed(3), list_line("C:\\MF\\1", true, "MfCobol", "05.110"));
  EXPECT_EQ(listed(62), list_line("C:\\MF\\60", false, "MfCobol", "05.100"));
  EXPECT_EQ(listed(63), list_line("C:\\RM\\0", false, "RmCobol", "06.012"));
  EXPECT_TRUE(is_spaces(ConstField(register_fields.update_list).subspan(57 * 63)));

  EXPECT_EQ(update_line(), list_line("C:\\MF\\10", false, "MfCobol", "06.012"));
  EXPECT_EQ(update_folder(), padded("C:\\MF\\10", 80));
  EXPECT_EQ(std::string(register_fields.best_version, 6), "06.012");
  EXPECT_EQ(family_part(), "rm");
}

TEST_F(InstallRegisterTest, ListingReadsOnlyRmWhenStartedThere) {
  machine.add_file(kMf, rec("09.000", "C:\\MF"));
  machine.add_file(kRm, rec("06.000", "C:\\RM"));
  std::memcpy(register_fields.file_name + 9, "rm", 2);
  list_installations();
  EXPECT_EQ(list_position(), 115u);
  EXPECT_EQ(update_line(), list_line("C:\\RM", false, "RmCobol", "06.000"));
}

TEST_F(InstallRegisterTest, BestVersionIsKeptAcrossListings) {
  machine.add_file(kMf, rec("06.000", "C:\\A"));
  list_installations();
  EXPECT_EQ(update_folder(), padded("C:\\A", 80));
  std::string proposed = update_line();

  // No record beats 06.000 now: update_folder stays spaces, update_line as it was.
  machine.add_file(kMf, rec("05.900", "C:\\B"));
  std::memcpy(register_fields.file_name + 9, "mf", 2);
  list_installations();
  EXPECT_TRUE(is_spaces(install_choices.update_folder));
  EXPECT_EQ(update_line(), proposed);
  EXPECT_EQ(listed(2), list_line("C:\\B", false, "MfCobol", "05.900"));
}

TEST_F(InstallRegisterTest, UpdateLineSetsTheChoicesAndTheUpdateScreen) {
  struct Case {
    std::string record;
    bool in_rm;
    std::string line_end; // characters 41-57 of the line
    const char *version, *version_bitmap, *country, *digit, *country_bitmap;
    const char *family, *runtime_bitmap, *extension;
  };
  const Case cases[] = {
      {rec("05.200", "C:\\OLD", "pos"), false, " X  MfCobol 5.200", "600", "cd_ver60.bmp",
       "portugal", "0", "cd_por.bmp  ", "mf", "cd_mf.bmp   ", "in@"},
      {rec("06.010", "C:\\NEW"), true, "    RmCobol 6.010", "601", "cd_ver60.bmp", "portugal", "0",
       "cd_por.bmp  ", "rm", "cd_rm.bmp   ", "co@"},
      {rec("07.121", "C:\\ANG"), false, "    MfCobol 7.121", "712", "cd_ver71.bmp", "angola  ", "1",
       "cd_ang.bmp  ", "mf", "cd_mf.bmp   ", "in@"},
      {rec("06.00x", "C:\\MOC"), false, "    MfCobol 6.00x", "600", "cd_ver60.bmp", "mocambiq", "2",
       "cd_moc.bmp  ", "mf", "cd_mf.bmp   ", "in@"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.record);
    reset_register_fields();
    reset_screen_tables();
    machine.files.clear();
    machine.add_file(c.in_rm ? kRm : kMf, c.record);
    list_installations();
    EXPECT_EQ(update_line().substr(40), c.line_end);
    apply_update_line();
    InstallChoices& ch = install_choices;
    EXPECT_EQ(view(ch.version_code), c.version);
    EXPECT_EQ(view(ch.version_bitmap), c.version_bitmap);
    EXPECT_EQ(view(ch.country), c.country);
    EXPECT_EQ(view(ch.country_digit), c.digit);
    EXPECT_EQ(view(ch.country_bitmap), c.country_bitmap);
    EXPECT_EQ(view(ch.runtime_family), c.family);
    EXPECT_EQ(view(ch.runtime_bitmap), c.runtime_bitmap);
    EXPECT_EQ(view(ch.archive_extension), c.extension);
    ScreenTable screen = update_screen();
    EXPECT_EQ(view(bitmap_name(screen[2])), c.country_bitmap);
    EXPECT_EQ(view(bitmap_name(screen[3])), c.runtime_bitmap);
    EXPECT_EQ(view(bitmap_name(screen[4])), c.version_bitmap);
    EXPECT_EQ(view(bitmap_name(screen[1])), "cd_actu.bmp ");
  }
}

TEST_F(InstallRegisterTest, ShowsTheListInTheFieldDirOfPsetup) {
  machine.add_file(kMf, rec("06.000", "C:\\A") + rec("06.010", "C:\\B", "pos"));
  machine.add_file(kRm, rec("05.200", "C:\\C"));
  gui_call(kGuiLoadStoredPanel, psetup_stored_panel());
  list_installations();
  show_installation_list();

  const std::string list = list_line("C:\\B", true, "MfCobol", "06.010") +
                           list_line("C:\\A", false, "MfCobol", "06.000") +
                           list_line("C:\\B", true, "MfCobol", "06.010") +
                           list_line("C:\\C", false, "RmCobol", "05.200") + " ";
  Panel* panel = gui->panels().find("PSETUP  ");
  ASSERT_NE(panel, nullptr);
  ASSERT_TRUE(panel->fields.count(1));
  const FieldDefinition& dir = panel->fields[1];
  std::span<const uint8_t> value = dir.value();
  EXPECT_EQ(std::string(value.begin(), value.end()), list);
  // Name and picture before the value, the kind after it, kept.
  std::string variable(dir.variable.begin(), dir.variable.end());
  EXPECT_EQ(variable, "DIR     X(57)     " + list + "LISTBOX ");
  EXPECT_EQ(dir.entry(7), static_cast<int16_t>(list.size()));
  EXPECT_EQ(dir.entry(4), static_cast<int16_t>(variable.size()));
  EXPECT_EQ(view(psetup_dir_value()), list.substr(0, 57));

  std::vector<int> codes = gui_codes();
  EXPECT_EQ(codes, (std::vector<int>{kGuiLoadStoredPanel, kGuiGetField, kGuiSetField}));
  auto calls = calls_named(trace(), "gui");
  EXPECT_EQ(calls[1]["out"].substr(0, 4), "0000"); // code 8 was answered
  EXPECT_EQ(calls[2]["out"].substr(0, 4), "0000"); // code 7 was taken
}

// Registers damaged by hand: readers skip what is not a valid record, and a
// new installation keeps every valid record where it was.
TEST_F(InstallRegisterTest, DamagedRegistersKeepTheirValidRecords) {
  const std::string good = rec("06.000", "C:\\GOOD");
  std::string binary = rec("06.000", "C:\\BIN");
  binary[0] = '\xff';
  binary[30] = '\0';
  std::string lf_only = "06.000C:\\LF" + std::string(66, ' ') + "\n";
  struct Case {
    const char* name;
    std::string content;
  };
  const Case cases[] = {
      {"short last record", good + "06.000C:\\SHORT"},
      {"binary bytes", binary + std::string(80, '\0') + good + std::string(200, '\x80')},
      {"lines ending in LF alone", good + lf_only + lf_only + lf_only},
      {"only the short record", "06.000C:\\SHORT"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reset_register_fields();
    machine.files.clear();
    machine.add_file(kMf, c.content);
    bool has_good = c.content.find(good) != std::string::npos;

    find_recorded_folder();
    EXPECT_EQ(update_folder(), has_good ? padded("C:\\GOOD", 80) : std::string(80, ' '));
    list_installations();
    std::string list(register_fields.update_list, 4000);
    EXPECT_EQ(list.find(list_line("C:\\GOOD", false, "MfCobol", "06.000")) != std::string::npos,
              has_good);
    install({"apl", "mf", "600", '0', "C:\\NEW"});
    std::string after = machine.content(kMf);
    EXPECT_EQ(after.substr(0, c.content.size()), c.content);
  }
}

} // namespace
} // namespace qov::testing
