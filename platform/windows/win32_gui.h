// The GUI library on Win32: the main window, the picture board "PANEL001"
// with its bitmap buttons, the stored panel "PSETUP" in a window of its own,
// and message boxes.
//
// State (windows, panels, fields) is kept in a PanelStore, as in the other
// back ends; this class shows it. Units: a column is 8 pixels, a row 16.
// Pictures are BMP files in the folder of the configuration file that
// "sp2cfg" names (the CD's "autorun\bin").
//
// A converse returns when the user presses a button of the panel (its key
// code), presses Esc (27) or closes the window (-5); on "PSETUP", also when
// the selection of "DIR" changes (key 0, the new line as the value).
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/gui/panel_store.h"
#include "ui/gui_library.h"

namespace qov {

class Win32Gui : public GuiLibrary {
public:
  static constexpr int kColumn = 8, kRow = 16;

  Win32Gui();
  ~Win32Gui() override;
  Win32Gui(const Win32Gui&) = delete;
  Win32Gui& operator=(const Win32Gui&) = delete;

  int32_t call(int16_t code, std::span<uint8_t> block) override;

  // The window dialogs are owned by: the panel window when open, else the
  // main window (null before it opens).
  HWND owner() const { return panel_window_ != nullptr ? panel_window_ : main_; }
  PanelStore& panels() { return panels_; }

private:
  struct Picture {
    RECT at;
    HBITMAP bitmap;
    int16_t code; // 0 for a plain picture
    std::wstring name;
  };

  static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT handle(HWND window, UINT message, WPARAM w, LPARAM l);

  void open_window(std::span<uint8_t> block);
  void open_panel_window(const Panel& panel);
  void close_window();
  void destroy_all();
  void converse(std::span<uint8_t> block);
  void message(std::span<uint8_t> block);

  void draw_panel_button(const DRAWITEMSTRUCT& item, HBITMAP picture);
  void build_board();
  void paint_board(HDC dc);
  void fill_list(std::span<const uint8_t> selected);
  HBITMAP bitmap(const std::string& name);
  int16_t wait_for_key();

  PanelStore panels_;
  HWND main_ = nullptr;
  HWND panel_window_ = nullptr;
  HWND list_ = nullptr;
  HFONT list_font_ = nullptr;
  std::vector<Picture> board_;
  std::vector<HWND> board_buttons_;
  bool board_dirty_ = true;
  std::vector<std::string> list_lines_; // Windows-1252, 57 characters each
  std::vector<int16_t> panel_keys_;     // key codes of the panel window's buttons
  std::vector<HBITMAP> panel_bitmaps_;  // their pictures (owned by bitmaps_)
  std::map<std::string, HBITMAP> bitmaps_;
  std::optional<int16_t> key_;
};

} // namespace qov
