// Whole installations by the real binary on the demo machine: what the trace
// shows, and what is left on the machine's drives.
#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/demo_machine.h"

namespace qov::testing {
namespace {

struct Extraction {
  std::string archive, destination;
  bool well_formed; // function "UNZ", zeros, mode "2"
};

std::string field(const std::vector<unsigned char>& b, std::size_t from, std::size_t n) {
  std::string s(b.begin() + from, b.begin() + from + n);
  return s.substr(0, s.find_last_not_of(' ') + 1);
}

std::vector<Extraction> extractions(const RunResult& r) {
  std::vector<Extraction> out;
  for (const TraceEntry& e : calls_named(r.trace, "REREDODI")) {
    std::vector<unsigned char> b = from_hex(e["in"]);
    bool zeros =
        std::all_of(b.begin() + 163, b.begin() + 255, [](unsigned char c) { return c == 0; });
    out.push_back({field(b, 3, 80), field(b, 83, 80),
                   b.size() == 256 && field(b, 0, 3) == "UNZ" && zeros && b[255] == '2'});
  }
  return out;
}

std::vector<std::string> archives(const RunResult& r) {
  std::vector<std::string> names;
  for (const Extraction& x : extractions(r))
    names.push_back(x.archive);
  return names;
}

bool has_gui_code(const RunResult& r, int code) {
  auto gui = calls_named(r.trace, "gui");
  return std::any_of(gui.begin(), gui.end(), [&](const TraceEntry& e) { return e.code() == code; });
}

// "apl", Portugal, "mf", into C:\QOV\EMPRESA: the run-time into C:\, the four
// archives into the folder, the support and documentation files, the record,
// the controls registered, and the product's batch file run in the folder.
TEST(InstallationEndToEnd, AplPortugalMfInstallsAndStartsTheProduct) {
  DemoMachine m;
  RunResult r = run_setup(m.options("key 286\nkey 281\nkey 306\nfolder C:\\QOV\\EMPRESA\n"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");

  std::vector<Extraction> x = extractions(r);
  ASSERT_EQ(x.size(), 6u);
  EXPECT_EQ(archives(r),
            (std::vector<std::string>{
                "D:\\runtimes\\qovexemf.ex@", "D:\\runtimes\\qovexemf.co@",
                "D:\\portugal\\mf\\600\\qov600_1.in@", "D:\\portugal\\mf\\600\\qov600_2.in@",
                "D:\\portugal\\mf\\600\\qov600_3.in@", "D:\\portugal\\mf\\600\\emp06000.in@"}));
  for (std::size_t i = 0; i < x.size(); ++i) {
    EXPECT_TRUE(x[i].well_formed) << i;
    EXPECT_EQ(x[i].destination, i < 2 ? "c:\\" : "C:\\QOV\\EMPRESA") << i;
  }
  for (const TraceEntry& e : calls_named(r.trace, "REREDODI"))
    EXPECT_EQ(e["result"], "0") << e["error"];

  EXPECT_EQ(m.read_file("c/QOVEXEMF/qovinst.dir"),
            DemoMachine::record("06.000", "C:\\QOV\\EMPRESA", false));
  for (const char* f : {"QPRIMA32.DLL", "QPRTVW32.DLL", "QPROCX32.DLL", "msvcrt.dll", "unzip.exe"})
    EXPECT_TRUE(m.exists(std::string("c/QOVEXEMF/") + f)) << f;
  for (const char* f : {"qov.bat", "QOVROT.TXT", "qov600.doc", "emp06000.doc"})
    EXPECT_TRUE(m.exists(std::string("c/QOV/EMPRESA/") + f)) << f;
  EXPECT_EQ(m.read_file("registry/controls.txt"),
            "C:\\WINDOWS\\system32\\comdlg32.ocx\nC:\\WINDOWS\\system32\\mvzipunz.ocx\n");
  // The batch file ran in the target folder and saw cobdir, with the space
  // the command shell keeps before "&".
  EXPECT_NE(r.out.find("a correr em C:\\QOV\\EMPRESA com cobdir=qovxxx "), std::string::npos)
      << r.out;
  EXPECT_EQ(r.trace.back().call(), "exit");
}

// A second run on the same machine offers the recorded installation; "OK"
// updates it with no menu waiting.
TEST(InstallationEndToEnd, RecordedInstallationIsOfferedAndUpdated) {
  DemoMachine m;
  ASSERT_EQ(run_setup(m.options("key 286\nkey 281\nkey 306\nfolder C:\\QOV\\EMPRESA\n")).status, 0);
  RunResult r = run_setup(m.options("key 15\nfolder C:\\QOV\\EMPRESA\n"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(has_gui_code(r, 128));
  auto dialog = calls_named(r.trace, "RAVUVU32");
  ASSERT_EQ(dialog.size(), 1u);
  EXPECT_EQ(field(from_hex(dialog[0]["in"]), 165, 80), "C:\\QOV\\EMPRESA"); // the proposal
  EXPECT_EQ(archives(r).size(), 6u);
  EXPECT_EQ(m.read_file("c/QOVEXEMF/qovinst.dir"),
            DemoMachine::record("06.000", "C:\\QOV\\EMPRESA", false));
}

// "pos", Angola, "rm": eight archives from the 520 and 600 folders, one
// record with the Zavod mark, and the Zavod batch file started.
TEST(InstallationEndToEnd, PosAngolaRmInstallsEightArchives) {
  DemoMachine m;
  RunResult r = run_setup(m.options("key 281\nkey 286\nkey 275\nfolder C:\\QOV\\ZAVOD\n"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(archives(r),
            (std::vector<std::string>{
                "D:\\runtimes\\qovexerm.co@", "D:\\angola\\rm\\520\\pos600_1.co@",
                "D:\\angola\\rm\\600\\qov600_2.co@", "D:\\angola\\rm\\600\\qov600_3.co@",
                "D:\\angola\\rm\\600\\emp06001.co@", "D:\\angola\\rm\\520\\pos06001.c1@",
                "D:\\angola\\rm\\520\\fac06001.c1@", "D:\\angola\\rm\\520\\fac06001.c2@",
                "D:\\angola\\rm\\520\\fac06001.c3@"}));
  for (const TraceEntry& e : calls_named(r.trace, "REREDODI"))
    EXPECT_EQ(e["result"], "0") << e["error"];
  EXPECT_EQ(m.read_file("c/QOVEXERM/qovinst.dir"),
            DemoMachine::record("06.001", "C:\\QOV\\ZAVOD", true));
  EXPECT_TRUE(m.exists("c/QOV/ZAVOD/pos06001.doc"));
  EXPECT_TRUE(m.exists("c/QOV/ZAVOD/emp06001.doc"));
  EXPECT_NE(r.out.find("C:\\QOV\\ZAVOD"), std::string::npos) << r.out;
}

// "run": the run-time and its five support files, then back to the menus;
// nothing is recorded.
TEST(InstallationEndToEnd, RunTimeAloneReturnsToTheMenus) {
  DemoMachine m;
  RunResult r = run_setup(m.options("key 275\nkey 306\nkey 287\n"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(archives(r).size(), 2u);
  EXPECT_TRUE(calls_named(r.trace, "RAVUVU32").empty());
  for (const char* f : {"QPRIMA32.DLL", "msvcrt.dll", "unzip.exe"})
    EXPECT_TRUE(m.exists(std::string("c/QOVEXEMF/") + f)) << f;
  EXPECT_FALSE(m.exists("c/QOVEXEMF/qovinst.dir"));
  // The two controls missing on a bare Windows, then the five support files.
  EXPECT_EQ(calls_named(r.trace, "copy_file").size(), 7u);
  EXPECT_TRUE(m.exists("c/WINDOWS/system32/comdlg32.ocx"));
}

// Cancelling in the folder dialog: the run-time stays, nothing is recorded
// and nothing reaches a target folder.
TEST(InstallationEndToEnd, CancelledInstallationRecordsNothing) {
  DemoMachine m;
  RunResult r = run_setup(m.options("key 286\nkey 281\nkey 306\ncancel\nanswer y\nkey 287\n"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(archives(r).size(), 2u);
  EXPECT_TRUE(m.exists("c/QOVEXEMF/SP2IMA32.DLL"));
  EXPECT_FALSE(m.exists("c/QOVEXEMF/qovinst.dir"));
  EXPECT_FALSE(m.exists("c/usr"));
}

// Started outside the CD, the drive search finds it on D:, the dialog
// proposes the start folder, and a lower-case target gets the closing
// message instead of a launch.
TEST(InstallationEndToEnd, CdFoundByTheDriveSearchAndTheClosingMessage) {
  DemoMachine m;
  m.make_folder("c/TEMP");
  RunOptions o = m.options("key 286\nkey 281\nkey 306\nfolder c:\\qov\\emp\nanswer -\n");
  o.cwd = m.host("c/TEMP");
  RunResult r = run_setup(o);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(archives(r).front(), "D:\\runtimes\\qovexemf.ex@");
  auto dialog = calls_named(r.trace, "RAVUVU32");
  ASSERT_EQ(dialog.size(), 1u);
  EXPECT_EQ(field(from_hex(dialog[0]["in"]), 165, 80), "C:\\TEMP");
  EXPECT_TRUE(m.exists("c/qov/emp/qov.bat"));
  auto gui = calls_named(r.trace, "gui");
  ASSERT_GE(gui.size(), 1u);
  std::vector<unsigned char> last_message;
  for (const TraceEntry& e : gui)
    if (e.code() == 48)
      last_message = from_hex(e["in"]);
  ASSERT_FALSE(last_message.empty());
  std::string text(last_message.begin() + 80, last_message.end());
  EXPECT_EQ(text.substr(0, text.find('\0')),
            "Deve executar \"Qov\" na Pasta \"c:\\qov\\emp\" para configurar Instala\xe7\xe3o.");
  EXPECT_TRUE(calls_named(r.trace, "set_drive").empty());
}

// No CD anywhere: the message of code 48 and the stop, before any window.
TEST(InstallationEndToEnd, WithoutACdTheErrorComesBeforeAnyWindow) {
  TempMachine m;
  m.make_folder("c/TEMP");
  RunOptions o;
  o.machine = m.root();
  o.cwd = m.host("c/TEMP");
  o.answers = "answer -\n";
  RunResult r = run_setup(o);
  EXPECT_EQ(r.status, 0) << r.err;
  auto gui = calls_named(r.trace, "gui");
  ASSERT_EQ(gui.size(), 1u);
  EXPECT_EQ(gui[0].code(), 48);
  EXPECT_EQ(gui[0]["in"].substr(0, 40), "00000c0002000400f0003c00b400010073000000");
  EXPECT_EQ(calls_named(r.trace, "file_exists").size(), 24u);
  EXPECT_TRUE(calls_named(r.trace, "record_file").empty());
}

} // namespace
} // namespace qov::testing
