#include "platform/posix/record_file.h"

#include <gtest/gtest.h>

#include "platform/posix/posix_machine.h"
#include "system/trace.h"
#include "tests/support/installer_run.h"

namespace qov {
namespace {
using Mode = RecordFile::OpenMode;

std::string record(const std::string& text) {
  std::string r = text;
  r.resize(78, ' ');
  return r + "\r\n";
}

std::span<const char, kRecordSize> bytes(const std::string& r) {
  return std::span<const char, kRecordSize>(r.data(), kRecordSize);
}

class RecordFileTest : public ::testing::Test {
protected:
  RecordFileTest() { m.make_folder("c/QOVEXEMF"); }

  // Every record an input reading gives, then the status that ended it.
  std::vector<std::string> read_all(const std::string& name) {
    PosixRecordFile f(machine);
    std::vector<std::string> records;
    RecordStatus s = f.open(name, Mode::kInput);
    char buffer[kRecordSize];
    while (s == "00" && (s = f.read_next(buffer)) == "00")
      records.emplace_back(buffer, kRecordSize);
    records.push_back(s);
    f.close();
    return records;
  }

  testing::TempMachine m;
  PosixMachine machine{posix::MachineMap::in_folder(m.root()), m.root()};
  const std::string name = "c:/qovexemf/qovinst.dir";
};

TEST_F(RecordFileTest, GivesAStatusForEveryOperation) {
  PosixRecordFile f(machine);
  char buffer[kRecordSize];
  std::string a = record("06.000C:\\A"), bad = std::string(80, 'x');
  EXPECT_EQ(f.open(name, Mode::kInput), "35");
  EXPECT_EQ(f.open(name, Mode::kUpdate), "35");
  EXPECT_EQ(f.open(name, Mode::kExtend), "35");
  EXPECT_EQ(f.open("c:/qovexerm/qovinst.dir", Mode::kOutput), "30");
  EXPECT_EQ(f.close(), "42");

  EXPECT_EQ(f.open(name, Mode::kOutput), "00");
  EXPECT_EQ(f.open(name, Mode::kInput), "41");
  EXPECT_EQ(f.write(bytes(a)), "00");
  EXPECT_EQ(f.write(bytes(bad)), "44");
  EXPECT_EQ(f.read_next(buffer), "47");
  EXPECT_EQ(f.rewrite(bytes(a)), "49");
  EXPECT_EQ(f.close(), "00");

  EXPECT_EQ(f.open(name, Mode::kUpdate), "00");
  EXPECT_EQ(f.rewrite(bytes(a)), "43");
  EXPECT_EQ(f.write(bytes(a)), "48");
  EXPECT_EQ(f.read_next(buffer), "00");
  EXPECT_EQ(f.rewrite(bytes(bad)), "44");
  EXPECT_EQ(f.rewrite(bytes(a)), "00");
  EXPECT_EQ(f.rewrite(bytes(a)), "43");
  EXPECT_EQ(f.read_next(buffer), "10");
  EXPECT_EQ(f.read_next(buffer), "46");
  EXPECT_EQ(f.close(), "00");
  EXPECT_EQ(m.read_file("c/QOVEXEMF/qovinst.dir"), a);
}

TEST_F(RecordFileTest, RewritesInPlaceAndExtendsAtTheEnd) {
  std::string a = record("06.000C:\\A"), b = record("06.000C:\\B"), c = record("06.010C:\\C");
  std::string erased = record("");
  m.write_file("c/QOVEXEMF/QovInst.DIR", a + b);
  PosixRecordFile f(machine);
  char buffer[kRecordSize];
  ASSERT_EQ(f.open(name, Mode::kUpdate), "00");
  ASSERT_EQ(f.read_next(buffer), "00");
  ASSERT_EQ(f.read_next(buffer), "00");
  EXPECT_EQ(std::string(buffer, kRecordSize), b);
  EXPECT_EQ(f.rewrite(bytes(erased)), "00");
  EXPECT_EQ(f.close(), "00");
  ASSERT_EQ(f.open(name, Mode::kExtend), "00");
  EXPECT_EQ(f.write(bytes(c)), "00");
  EXPECT_EQ(f.close(), "00");
  EXPECT_EQ(read_all(name), (std::vector<std::string>{a, erased, c, "10"}));
}

TEST_F(RecordFileTest, ReadsADamagedFileAsLinesAndMendsItBeforeWriting) {
  std::string damaged = "06.000C:\\LF ONLY\n" + record("06.000C:\\WHOLE") + "\n\n" + "06.000C:\\" +
                        std::string(100, 'L') + "\r\n" + std::string("\x01\xff\0z", 4) +
                        "\r\n06.000C:\\SHORT";
  std::vector<std::string> expected = {record("06.000C:\\LF ONLY"),
                                       record("06.000C:\\WHOLE"),
                                       record("06.000C:\\" + std::string(69, 'L')),
                                       record(std::string("\x01\xff\0z", 4)),
                                       record("06.000C:\\SHORT"),
                                       "10"};
  m.write_file("c/QOVEXEMF/qovinst.dir", damaged);
  EXPECT_EQ(read_all(name), expected);
  EXPECT_EQ(m.read_file("c/QOVEXEMF/qovinst.dir"), damaged) << "reading changes nothing";

  PosixRecordFile f(machine);
  char buffer[kRecordSize];
  ASSERT_EQ(f.open(name, Mode::kUpdate), "00");
  ASSERT_EQ(f.read_next(buffer), "00");
  EXPECT_EQ(f.rewrite(bytes(record("06.010C:\\NEW"))), "00");
  EXPECT_EQ(f.close(), "00");
  expected[0] = record("06.010C:\\NEW");
  EXPECT_EQ(read_all(name), expected);
  std::string mended = m.read_file("c/QOVEXEMF/qovinst.dir");
  EXPECT_EQ(mended.size(), 5 * kRecordSize);

  m.write_file("c/QOVEXEMF/qovinst.dir", std::string(3 << 20, 'x') + "\n06.000C:\\LAST");
  ASSERT_EQ(f.open(name, Mode::kExtend), "00");
  EXPECT_EQ(f.write(bytes(record("06.000C:\\ADDED"))), "00");
  EXPECT_EQ(f.close(), "00");
  EXPECT_EQ(read_all(name),
            (std::vector<std::string>{record(std::string(78, 'x')), record("06.000C:\\LAST"),
                                      record("06.000C:\\ADDED"), "10"}));
}

} // namespace
} // namespace qov
