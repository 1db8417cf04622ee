// The record-file service on Win32 files: statuses, the three ways of
// writing, and files that are not in record form.
#include "platform/windows/windows_record_file.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "tests/windows/support/temp_folder.h"

namespace qov {
namespace {

using testing::TempFolder;
using Mode = RecordFile::OpenMode;

std::array<char, kRecordSize> record_of(const std::string& text) {
  std::array<char, kRecordSize> r;
  r.fill(' ');
  text.copy(r.data(), std::min(text.size(), kRecordSize - 2));
  r[78] = '\r';
  r[79] = '\n';
  return r;
}

std::string text_of(const std::array<char, kRecordSize>& r) {
  return std::string(r.data(), kRecordSize);
}

TEST(WindowsRecordFile, WritesExtendsAndRewritesInPlace) {
  TempFolder dir;
  std::string name = dir / "qovinst.dir";
  WindowsRecordFile f;
  ASSERT_EQ(f.open(name, Mode::kOutput), "00");
  EXPECT_EQ(f.write(record_of("first")), "00");
  EXPECT_EQ(f.write(record_of("second")), "00");
  EXPECT_EQ(f.close(), "00");

  ASSERT_EQ(f.open(name, Mode::kExtend), "00");
  EXPECT_EQ(f.write(record_of("third")), "00");
  EXPECT_EQ(f.close(), "00");

  ASSERT_EQ(f.open(name, Mode::kUpdate), "00");
  std::array<char, kRecordSize> r;
  EXPECT_EQ(f.read_next(r), "00");
  EXPECT_EQ(f.read_next(r), "00");
  EXPECT_EQ(text_of(r), text_of(record_of("second")));
  EXPECT_EQ(f.rewrite(record_of("SECOND")), "00");
  EXPECT_EQ(f.read_next(r), "00");
  EXPECT_EQ(text_of(r), text_of(record_of("third")));
  EXPECT_EQ(f.read_next(r), "10");
  EXPECT_EQ(f.close(), "00");

  EXPECT_EQ(testing::read_file(name), text_of(record_of("first")) + text_of(record_of("SECOND")) +
                                          text_of(record_of("third")));
}

TEST(WindowsRecordFile, GivesTheStatusOfEachFailure) {
  TempFolder dir;
  std::string present = dir / "present.dir";
  testing::write_file(present, text_of(record_of("one")));
  std::array<char, kRecordSize> r;
  struct Case {
    const char* what;
    std::function<RecordStatus(WindowsRecordFile&)> step;
    const char* status;
  };
  const Case cases[] = {
      {"input of a missing file",
       [&](WindowsRecordFile& f) { return f.open(dir / "none.dir", Mode::kInput); }, "35"},
      {"update of a missing file",
       [&](WindowsRecordFile& f) { return f.open(dir / "none.dir", Mode::kUpdate); }, "35"},
      {"extension of a missing file",
       [&](WindowsRecordFile& f) { return f.open(dir / "none.dir", Mode::kExtend); }, "35"},
      {"output into a missing folder",
       [&](WindowsRecordFile& f) { return f.open(dir / "no\\such.dir", Mode::kOutput); }, "30"},
      {"second open",
       [&](WindowsRecordFile& f) {
         f.open(present, Mode::kInput);
         return f.open(present, Mode::kInput);
       },
       "41"},
      {"close of a file not open", [&](WindowsRecordFile& f) { return f.close(); }, "42"},
      {"rewrite without a read",
       [&](WindowsRecordFile& f) {
         f.open(present, Mode::kUpdate);
         return f.rewrite(record_of("x"));
       },
       "43"},
      {"read of a file not open", [&](WindowsRecordFile& f) { return f.read_next(r); }, "47"},
      {"read in output",
       [&](WindowsRecordFile& f) {
         f.open(dir / "new.dir", Mode::kOutput);
         return f.read_next(r);
       },
       "47"},
      {"write in input",
       [&](WindowsRecordFile& f) {
         f.open(present, Mode::kInput);
         return f.write(record_of("x"));
       },
       "48"},
      {"rewrite in input",
       [&](WindowsRecordFile& f) {
         f.open(present, Mode::kInput);
         f.read_next(r);
         return f.rewrite(record_of("x"));
       },
       "49"},
  };
  for (const Case& c : cases) {
    WindowsRecordFile f;
    EXPECT_EQ(c.step(f), c.status) << c.what;
  }
  EXPECT_EQ(testing::read_file(present), text_of(record_of("one")));
}

TEST(WindowsRecordFile, ReadsAFileNotInRecordFormAsTextLines) {
  TempFolder dir;
  std::string name = dir / "qovinst.dir";
  std::string damaged = "06.000C:\\QOV\r\n" + std::string(90, 'L') + "\nlast";
  testing::write_file(name, damaged);

  WindowsRecordFile f;
  ASSERT_EQ(f.open(name, Mode::kInput), "00");
  std::array<char, kRecordSize> r;
  ASSERT_EQ(f.read_next(r), "00");
  EXPECT_EQ(text_of(r), text_of(record_of("06.000C:\\QOV")));
  ASSERT_EQ(f.read_next(r), "00");
  EXPECT_EQ(text_of(r), text_of(record_of(std::string(78, 'L'))));
  ASSERT_EQ(f.read_next(r), "00");
  EXPECT_EQ(text_of(r), text_of(record_of("last")));
  EXPECT_EQ(f.read_next(r), "10");
  f.close();
  EXPECT_EQ(testing::read_file(name), damaged) << "reading changes nothing";
}

TEST(WindowsRecordFile, ExtendingAFileNotInRecordFormRewritesItFirst) {
  TempFolder dir;
  std::string name = dir / "qovinst.dir";
  testing::write_file(name, "short line\n");
  WindowsRecordFile f;
  ASSERT_EQ(f.open(name, Mode::kExtend), "00");
  EXPECT_EQ(f.write(record_of("added")), "00");
  f.close();
  EXPECT_EQ(testing::read_file(name),
            text_of(record_of("short line")) + text_of(record_of("added")));
  EXPECT_FALSE(testing::exists(name + ".qov-records"));
}

} // namespace
} // namespace qov
