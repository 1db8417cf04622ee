// The terminal session shared by the GUI library, the folder dialog and the
// extraction progress: ncurses (wide-character build) on standard input and
// output, the input events they wait for, and the drawing they use.
//
// The terminal is given back in its original state on every way out: stop(),
// the end of the process (atexit), and the signals SIGINT, SIGTERM, SIGQUIT
// and SIGABRT (which then go on to end the process). When the terminal goes
// away (SIGHUP, or the input reaching its end) the session counts as closed,
// like after the close keys F10 and Ctrl-Q: from then on every wait returns
// at once with a close event, so that the installer winds down by itself.
#pragma once

#include <string>
#include <string_view>

#include "platform/terminal/bmp_image.h"
#include "platform/terminal/board_layout.h"

namespace qov::terminal {

enum class Style {
  kScreen,   // outside every window
  kWindow,   // a window's background and frame
  kTitle,    // a window's title
  kButton,   // a button without the focus
  kFocus,    // the button or list line with the focus
  kLabel,    // a picture shown by its caption
  kList,     // the lines of a list
  kSelected, // the selected line of a list without the focus
  kDialog,   // a message box or dialog
  kField,    // an editable field
  kWarning,  // a notice about the terminal itself
};

struct Event {
  enum class Kind { kKey, kText, kMouse, kResize, kClose };
  enum class Mouse { kPress, kWheelUp, kWheelDown };
  Kind kind = Kind::kKey;
  int key = 0;      // kKey: a Key
  wchar_t text = 0; // kText: the character typed
  Mouse mouse = Mouse::kPress;
  int row = 0, column = 0; // kMouse: the cell
};

// Keys of kKey events.
enum Key : int {
  kTab = 9,
  kEnter = 10,
  kEscape = 27,
  kBackTab = 0x10000,
  kUp,
  kDown,
  kLeft,
  kRight,
  kPageUp,
  kPageDown,
  kHome,
  kEnd,
  kBackspace,
  kDelete,
};

class Screen {
public:
  // The process has one terminal.
  static Screen& instance();

  // Takes over the terminal; true when it is ours (again). Idempotent.
  bool start();
  // Gives the terminal back. Idempotent; start() may follow.
  void stop();
  bool active() const;
  // The close keys were pressed or the terminal went away.
  bool closed() const;

  int rows() const;
  int columns() const;

  // Waits for the next event. While closed, gives kClose at once.
  Event next();

  // Drawing, clipped to the screen and to `clip` when given.
  void clear();
  void fill(const Rect& area, Style style);
  void text(int row, int column, std::wstring_view text, Style style, const Rect* clip = nullptr);
  void frame(const Rect& area, std::wstring_view title, Style style);
  // A cell of a picture: its upper and lower half in two colours.
  void picture_cell(int row, int column, Rgb upper, Rgb lower, const Rect* clip = nullptr);
  bool has_colour() const;
  // Puts the cursor there (shown) or hides it (row < 0).
  void cursor(int row, int column);
  // Sends what was drawn to the terminal.
  void show();

private:
  Screen() = default;
  void close_session();
  bool input_gone();

  bool closed_ = false;
  bool colour_ = false;
  int quick_errors_ = 0;
};

} // namespace qov::terminal
