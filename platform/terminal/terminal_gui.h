// The terminal back end of the GUI library: the installer's windows, picture
// boards, stored panels and messages on a text terminal, used by keyboard
// and mouse.
//
// State is kept in a PanelStore like every back end, so the codes that only
// keep state are answered as the answer-file back end answers them. On top:
// - code 0 opens a window (the main window with its title; a window naming a
//   panel in characters 9 to 16 shows that panel over it), code 12 closes the
//   last, code 16 gives the terminal back;
// - code 19 shows the panel and waits: a button returns its key code, Esc 27,
//   closing -5; on a stored panel with a list, moving the selection writes
//   the new line into the list's value and returns key code 0;
// - code 48 shows a message box; a question ("q" in letter 1) answers "y"
//   or "n" in letter 4, Esc leaves it NUL.
// Pictures are drawn from the bitmaps beside the configuration file, or as
// boxes with the captions the file gives (Sp2Files).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/gui/panel_store.h"
#include "platform/terminal/board_layout.h"
#include "platform/terminal/screen.h"
#include "platform/terminal/sp2_files.h"
#include "ui/gui_library.h"

namespace qov {

class TerminalGui : public GuiLibrary {
public:
  explicit TerminalGui(terminal::Screen& screen,
                       terminal::FolderResolver resolve = terminal::host_folder_ignoring_case);
  int32_t call(int16_t code, std::span<uint8_t> block) override;

  PanelStore& panels() { return panels_; }
  terminal::Screen& screen() { return screen_; }

  // Draws the open windows under a box of `rows` x `columns` cells that the
  // caller draws next (a dialog); gives that box's place. When the terminal
  // cannot hold both, draws the request to enlarge it and gives nothing.
  std::optional<terminal::Rect> draw_under_box(int rows, int columns);
  // Draws the open windows alone and shows them.
  void redraw();

private:
  struct Window {
    std::string panel; // "" for the main window
    std::wstring title;
    int rows = 0, columns = 0; // from the definition; 0 when not given
  };
  // What the converse in progress acts on.
  struct Conversing {
    std::string panel;
    std::vector<terminal::Target> targets; // list targets have code 0
    int focus = -1;                        // index into targets
    std::vector<std::string> lines;        // of the list
    int selected = -1, first = 0;          // list line selected, first shown
    terminal::Rect list_area;
    std::wstring status; // caption of the focused picture button
  };

  void open_window(std::span<uint8_t> block);
  void close_window();
  void converse(std::span<uint8_t> block);
  int16_t converse_board();
  int16_t converse_list(std::span<uint8_t> dir_value);
  void message(std::span<uint8_t> block);

  // Window sizes and places.
  terminal::Rect window_area(const Window& w, bool main);
  int needed_rows();
  int needed_columns();
  bool draw_windows(int extra_rows, int extra_columns);
  void draw_enlarge_request(int rows, int columns);
  void draw_window(const Window& w, bool main);
  void draw_board(const Panel& panel, const terminal::Rect& content, bool active);
  void draw_stored(const Panel& panel, const terminal::Rect& content, bool active);
  // A caption written over a board's picture once all pictures are drawn.
  struct Caption {
    terminal::Rect place; // where the text goes
    terminal::Rect cells; // what it writes on its row, the focus marks included
    std::wstring text;
    terminal::Style style;
  };
  void draw_picture_item(const FieldDefinition& field, const terminal::Rect& content, bool active,
                         std::vector<Caption>& captions);

  bool is_active(const std::string& panel) const { return conversing_.panel == panel; }
  void move_focus(int step);
  void redraw_conversing();

  terminal::Screen& screen_;
  terminal::Sp2Files files_;
  PanelStore panels_;
  std::vector<Window> windows_;
  std::string board_ = "PANEL001"; // the board panel the main window shows
  Conversing conversing_;
  bool keep_list_focus_ = false;
};

} // namespace qov
