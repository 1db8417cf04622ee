#include "tests/support/in_process.h"

#include <cstdio>

#include "app/main_flow.h"
#include "system/external_programs.h"
#include "system/fixed_text.h"
#include "system/platform_services.h"
#include "system/process_exit.h"
#include "system/trace.h"
#include "ui/gui_library.h"

namespace qov::testing {

int32_t RecordingExtractor::extract(ExtractionBlock& block, std::string* error) {
  calls.push_back({name_of(block.archive), name_of(block.destination), block});
  if (result != 0)
    *error = "test failure";
  return result;
}

void InstallerTest::SetUp() {
  reset_run_state();
  trace_path_ = dir_.path() + "/trace.jsonl";
  std::remove(trace_path_.c_str()); // SetUp may run again inside a table test
  open_trace(trace_path_);
  set_stop_hook([](int status) { throw ProcessStopped{status}; });
  machine = FakePlatform();
  extractor = RecordingExtractor();
  set_platform(&machine);
  answers("");
}

void InstallerTest::TearDown() {
  set_stop_hook(nullptr);
  close_trace();
  set_gui_library(nullptr);
  set_external_programs(nullptr);
  set_platform(nullptr);
}

void InstallerTest::answers(const std::string& text) {
  std::string error;
  script = AnswerFile::parse(text, &error);
  ASSERT_TRUE(script) << error;
  script->path = "(test answers)";
  gui = std::make_unique<ScriptGui>(*script);
  dialog = std::make_unique<ScriptFolderDialog>(*script);
  programs = std::make_unique<HelperPrograms>(&extractor, dialog.get());
  set_gui_library(gui.get());
  set_external_programs(programs.get());
}

std::optional<int> InstallerTest::run(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const ProcessStopped& stopped) {
    return stopped.status;
  }
  return std::nullopt;
}

std::vector<TraceEntry> InstallerTest::trace() const {
  return read_trace(trace_path_);
}

std::vector<int> InstallerTest::gui_codes() const {
  std::vector<int> codes;
  for (const TraceEntry& e : calls_named(trace(), "gui"))
    codes.push_back(e.code());
  return codes;
}

} // namespace qov::testing
