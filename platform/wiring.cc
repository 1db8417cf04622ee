#include "platform/wiring.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>

#include "platform/gui/answer_file.h"
#include "platform/gui/script_gui.h"
#include "platform/programs/helper_programs.h"
#include "platform/terminal/screen.h"
#include "platform/terminal/terminal_folder_dialog.h"
#include "platform/terminal/terminal_gui.h"
#include "platform/terminal/terminal_progress.h"
#include "system/external_programs.h"
#include "system/process_exit.h"
#include "system/trace.h"
#include "ui/gui_library.h"

namespace qov {
namespace {

struct Layers {
  std::optional<AnswerFile> answers;
  std::unique_ptr<GuiLibrary> gui;
  std::unique_ptr<FolderDialog> dialog;
  std::unique_ptr<ExtractionProgress> progress; // the terminal's, when it is the front end
  std::unique_ptr<Extractor> extractor;
  std::unique_ptr<HelperPrograms> programs;
};

Layers& layers() {
  static Layers l;
  return l;
}

[[noreturn]] void fail(int status, const std::string& message) {
  std::fprintf(stderr, "qov-setup: %s\n", message.c_str());
  stop_process_with(status);
}

} // namespace

void wire_platform() {
  std::string error;
  if (!open_trace_from_environment(&error))
    fail(2, error);
  Layers& l = layers();

  const char* script = std::getenv("QOV_GUI_SCRIPT");
  if (script != nullptr && *script != '\0') {
    l.answers = AnswerFile::load(script, &error);
    if (!l.answers)
      fail(99, "answer file " + error);
    l.gui = std::make_unique<ScriptGui>(*l.answers);
    l.dialog = std::make_unique<ScriptFolderDialog>(*l.answers);
  } else if (isatty(STDIN_FILENO) && isatty(STDOUT_FILENO)) {
    auto gui = std::make_unique<TerminalGui>(terminal::Screen::instance());
    l.dialog = std::make_unique<TerminalFolderDialog>(*gui, nullptr);
    l.progress = std::make_unique<TerminalProgress>(*gui);
    l.gui = std::move(gui);
  } else {
    fail(2, "no GUI library back end: set QOV_GUI_SCRIPT to an answer file, "
            "or run in a terminal");
  }

  l.extractor = std::make_unique<UnavailableExtractor>();
  l.programs = std::make_unique<HelperPrograms>(l.extractor.get(), l.dialog.get());
  set_gui_library(l.gui.get());
  set_external_programs(l.programs.get());
}

} // namespace qov
