#include "platform/wiring.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>

#include "platform/gui/answer_file.h"
#include "platform/gui/script_gui.h"
#include "platform/posix/posix_machine.h"
#include "platform/programs/helper_programs.h"
#include "platform/programs/reredodi.h"
#include "platform/terminal/screen.h"
#include "platform/terminal/terminal_folder_dialog.h"
#include "platform/terminal/terminal_gui.h"
#include "platform/terminal/terminal_progress.h"
#include "system/external_programs.h"
#include "system/platform_services.h"
#include "system/process_exit.h"
#include "system/trace.h"
#include "ui/gui_library.h"

namespace qov {
namespace {

struct Layers {
  std::unique_ptr<PosixMachine> machine;
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

  l.machine = PosixMachine::from_environment(&error);
  if (!l.machine)
    fail(2, error);
  set_platform(l.machine.get());
  set_current_machine(l.machine.get());

  const char* script = std::getenv("QOV_GUI_SCRIPT");
  if (script != nullptr && *script != '\0') {
    l.answers = AnswerFile::load(script, &error);
    if (!l.answers)
      fail(99, "answer file " + error);
    l.gui = std::make_unique<ScriptGui>(*l.answers);
    l.dialog = std::make_unique<ScriptFolderDialog>(*l.answers);
  } else if (isatty(STDIN_FILENO) && isatty(STDOUT_FILENO)) {
    // Pictures and the folder dialog reach the machine through its names.
    PosixMachine* machine = l.machine.get();
    auto gui = std::make_unique<TerminalGui>(
        terminal::Screen::instance(),
        [machine](const std::string& folder) { return machine->existing(folder); });
    l.dialog = std::make_unique<TerminalFolderDialog>(*gui, machine);
    l.progress = std::make_unique<TerminalProgress>(*gui);
    l.gui = std::move(gui);
  } else {
    fail(2, "no GUI library back end: set QOV_GUI_SCRIPT to an answer file, "
            "or run in a terminal");
  }

  l.extractor = std::make_unique<ReredodiExtractor>(*l.machine, l.progress.get());
  l.programs = std::make_unique<HelperPrograms>(l.extractor.get(), l.dialog.get());
  set_gui_library(l.gui.get());
  set_external_programs(l.programs.get());
}

} // namespace qov
