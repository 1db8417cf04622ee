// The layers of the Windows build: the Windows machine, the GUI library
// (the answer-file back end when QOV_GUI_SCRIPT names a file, else the Win32
// front end with the system's folder picker) and the helper programs.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "platform/gui/answer_file.h"
#include "platform/gui/script_gui.h"
#include "platform/programs/helper_programs.h"
#include "platform/windows/win32_folder_dialog.h"
#include "platform/windows/win32_gui.h"
#include "platform/windows/windows_machine.h"
#include "platform/windows/zip_extractor.h"
#include "platform/wiring.h"
#include "system/external_programs.h"
#include "system/platform_services.h"
#include "system/process_exit.h"
#include "system/trace.h"
#include "ui/gui_library.h"

namespace qov {
namespace {

struct Layers {
  WindowsMachine machine;
  std::optional<AnswerFile> answers;
  std::unique_ptr<GuiLibrary> gui;
  std::unique_ptr<FolderDialog> dialog;
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
  // Files and the standard streams in binary mode, as on POSIX: the trace
  // and the answer file are the same bytes in both builds.
  _fmode = _O_BINARY;
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  std::string error;
  if (!open_trace_from_environment(&error))
    fail(2, error);
  Layers& l = layers();
  set_platform(&l.machine);

  const char* script = std::getenv("QOV_GUI_SCRIPT");
  if (script != nullptr && *script != '\0') {
    l.answers = AnswerFile::load(script, &error);
    if (!l.answers)
      fail(99, "answer file " + error);
    l.gui = std::make_unique<ScriptGui>(*l.answers);
    l.dialog = std::make_unique<ScriptFolderDialog>(*l.answers);
  } else {
    auto gui = std::make_unique<Win32Gui>();
    l.dialog = std::make_unique<Win32FolderDialog>(gui.get());
    l.gui = std::move(gui);
  }

  l.extractor = std::make_unique<ZipExtractor>();
  l.programs = std::make_unique<HelperPrograms>(l.extractor.get(), l.dialog.get());
  set_gui_library(l.gui.get());
  set_external_programs(l.programs.get());
}

} // namespace qov
