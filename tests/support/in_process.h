// Runs the installer's procedures inside the test process, on the in-memory
// machine, with the answer-file GUI back end, a recording extraction program
// and the trace written to a temporary file.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/gui/answer_file.h"
#include "platform/gui/script_gui.h"
#include "platform/programs/helper_programs.h"
#include "tests/support/fake_platform.h"
#include "tests/support/installer_run.h"
#include "tests/support/trace_reader.h"

namespace qov::testing {

// Thrown by the stop hook instead of ending the test process.
struct ProcessStopped {
  int status;
};

// Records every extraction block; succeeds unless told otherwise.
class RecordingExtractor : public Extractor {
public:
  struct Call {
    std::string archive;     // name_of the archive field
    std::string destination; // name_of the destination field
    ExtractionBlock block;
  };
  int32_t extract(ExtractionBlock& block, std::string* error) override;
  std::vector<Call> calls;
  int32_t result = 0;
};

class InstallerTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // Installs the answer file for the GUI and the folder dialog.
  void answers(const std::string& text);

  // Runs fn; returns the status if it stopped the process, nothing if it
  // returned.
  std::optional<int> run(const std::function<void()>& fn);

  // The trace so far.
  std::vector<TraceEntry> trace() const;
  // The codes of the GUI calls so far, in order.
  std::vector<int> gui_codes() const;

  FakePlatform machine;
  RecordingExtractor extractor;
  std::optional<AnswerFile> script;
  std::unique_ptr<ScriptGui> gui;
  std::unique_ptr<ScriptFolderDialog> dialog;
  std::unique_ptr<HelperPrograms> programs;

private:
  TempDir dir_;
  std::string trace_path_;
};

} // namespace qov::testing
