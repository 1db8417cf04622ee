// Registers edited or grown by hand: several megabytes of records, and the
// same as lines ending in LF alone. The installer offers the update, the
// folder dialog proposes the installation with the highest version, and the
// installation adds its record without losing any.
#include <gtest/gtest.h>

#include "tests/support/fault_machine.h"

namespace qov::testing {
namespace {

std::string hex_of(const std::string& text) {
  static const char* const kDigits = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : text) {
    hex += kDigits[c >> 4];
    hex += kDigits[c & 15];
  }
  return hex;
}

TEST(FaultRegister, MegabytesOfRecordsAndLinesEndingInLf) {
  constexpr int kRecords = 40000; // 3.2 MB
  for (bool lf_lines : {false, true}) {
    SCOPED_TRACE(lf_lines ? "LF lines" : "record form");
    Scenario scenario;
    CdCopyMachine m;
    std::vector<std::string> records;
    for (int i = 0; i < kRecords; ++i)
      records.push_back(
          install_record(i == 10 ? "06.090" : "05.200",
                         i == 10 ? "C:\\QOV\\MELHOR" : "D:\\APP\\" + std::to_string(i)));
    std::string bytes;
    for (const std::string& r : records)
      bytes += lf_lines ? r.substr(0, 78) + "\n" : r;
    ASSERT_GT(bytes.size(), 3u << 20);
    m.write_file("c/qovexemf/qovinst.dir", bytes);

    RunResult r = m.run(apl_answers("C:\\QOV\\EMPRESA", true));
    EXPECT_EQ(r.status, 0) << r.err;
    // The update panel was shown, and after "Cancelar" the folder dialog
    // proposes the recorded installation with the highest version.
    auto dialog = calls_named(r.trace, "RAVUVU32");
    ASSERT_EQ(dialog.size(), 1u);
    EXPECT_NE(dialog[0]["in"].find(hex_of("C:\\QOV\\MELHOR   ")), std::string::npos);

    std::string after = m.read_file("c/qovexemf/qovinst.dir");
    EXPECT_TRUE(in_record_form(after));
    std::vector<std::string> expected = records;
    expected.push_back(install_record("06.000", "C:\\QOV\\EMPRESA"));
    std::vector<std::string> got = register_records(after);
    EXPECT_TRUE(got == expected) << got.size() << " records";
    long long lost = 0;
    for (std::size_t i = 0; i < records.size(); ++i)
      lost += i >= got.size() || got[i] != records[i];
    add_to_figure("records checked", kRecords);
    add_to_figure("records lost", lost);
  }
}

} // namespace
} // namespace qov::testing
