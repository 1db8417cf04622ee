#include "platform/terminal/screen.h"

#include <algorithm>
#include <chrono>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#define NCURSES_NOMACROS
#include <curses.h>

namespace qov::terminal {
namespace {

// State the signal handlers read.
volatile sig_atomic_t g_active = 0;
volatile sig_atomic_t g_hangup = 0;
SCREEN* g_screen = nullptr;
bool g_saved_modes = false;
struct termios g_original_modes;

constexpr int kWaitMs = 200;

void give_back_terminal() {
  if (g_active) {
    g_active = 0;
    endwin();
  }
  if (g_saved_modes)
    tcsetattr(STDIN_FILENO, TCSANOW, &g_original_modes);
}

void on_fatal_signal(int sig) {
  give_back_terminal();
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

void on_hangup(int) {
  g_hangup = 1;
}

void install_handlers() {
  static bool done = false;
  if (done)
    return;
  done = true;
  if (tcgetattr(STDIN_FILENO, &g_original_modes) == 0)
    g_saved_modes = true;
  std::atexit(give_back_terminal);
  struct sigaction fatal {};
  fatal.sa_handler = on_fatal_signal;
  sigemptyset(&fatal.sa_mask);
  for (int sig : {SIGINT, SIGTERM, SIGQUIT, SIGABRT})
    sigaction(sig, &fatal, nullptr);
  struct sigaction hangup {};
  hangup.sa_handler = on_hangup;
  sigemptyset(&hangup.sa_mask);
  sigaction(SIGHUP, &hangup, nullptr);
}

// Our texts are shown as UTF-8 whatever locale the process got.
void use_utf8() {
  std::setlocale(LC_CTYPE, "");
  if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0)
    std::setlocale(LC_CTYPE, "C.UTF-8");
}

struct StyleColours {
  short fg, bg;
  attr_t attrs; // with colours
  attr_t mono;  // without
};

StyleColours colours_of(Style s) {
  switch (s) {
  case Style::kScreen:
    return {-1, -1, A_NORMAL, A_NORMAL};
  case Style::kWindow:
    return {COLOR_WHITE, COLOR_BLUE, A_NORMAL, A_NORMAL};
  case Style::kTitle:
    return {COLOR_YELLOW, COLOR_BLUE, A_BOLD, A_BOLD};
  case Style::kButton:
    return {COLOR_BLACK, COLOR_CYAN, A_NORMAL, A_NORMAL};
  case Style::kFocus:
    return {COLOR_BLACK, COLOR_YELLOW, A_BOLD, A_REVERSE | A_BOLD};
  case Style::kLabel:
    return {COLOR_BLACK, COLOR_WHITE, A_NORMAL, A_NORMAL};
  case Style::kList:
    return {COLOR_BLACK, COLOR_WHITE, A_NORMAL, A_NORMAL};
  case Style::kSelected:
    return {COLOR_WHITE, COLOR_BLACK, A_NORMAL, A_UNDERLINE};
  case Style::kDialog:
    return {COLOR_BLACK, COLOR_WHITE, A_NORMAL, A_NORMAL};
  case Style::kField:
    return {COLOR_BLACK, COLOR_CYAN, A_NORMAL, A_UNDERLINE};
  case Style::kWarning:
    return {COLOR_WHITE, COLOR_RED, A_BOLD, A_BOLD};
  }
  return {-1, -1, A_NORMAL, A_NORMAL};
}

short nearest_colour(Rgb c) {
  if (COLORS >= 256) {
    auto level = [](int v) { return v < 48 ? 0 : v < 115 ? 1 : (v - 35) / 40; };
    int r = level(c.r), g = level(c.g), b = level(c.b);
    static constexpr int kSteps[6] = {0, 95, 135, 175, 215, 255};
    auto dist = [](int a, int b) { return (a - b) * (a - b); };
    int cube = dist(kSteps[r], c.r) + dist(kSteps[g], c.g) + dist(kSteps[b], c.b);
    int grey_level = std::min(23, std::max(0, (c.r + c.g + c.b) / 3 - 3) / 10);
    int grey = 8 + 10 * grey_level;
    int grey_dist = dist(grey, c.r) + dist(grey, c.g) + dist(grey, c.b);
    return static_cast<short>(grey_dist < cube ? 232 + grey_level : 16 + 36 * r + 6 * g + b);
  }
  // The eight basic colours: each channel on or off.
  short n = 0;
  if (c.r >= 128)
    n |= COLOR_RED;
  if (c.g >= 128)
    n |= COLOR_GREEN;
  if (c.b >= 128)
    n |= COLOR_BLUE;
  return n;
}

// Our key for an ncurses key code; 0 for keys nothing uses.
int key_of(int code) {
  switch (code) {
  case KEY_ENTER:
    return kEnter;
  case KEY_BTAB:
    return kBackTab;
  case KEY_UP:
    return kUp;
  case KEY_DOWN:
    return kDown;
  case KEY_LEFT:
    return kLeft;
  case KEY_RIGHT:
    return kRight;
  case KEY_PPAGE:
    return kPageUp;
  case KEY_NPAGE:
    return kPageDown;
  case KEY_HOME:
    return kHome;
  case KEY_END:
    return kEnd;
  case KEY_BACKSPACE:
    return kBackspace;
  case KEY_DC:
    return kDelete;
  default:
    return 0;
  }
}

} // namespace

Screen& Screen::instance() {
  static Screen screen;
  return screen;
}

bool Screen::active() const {
  return g_active != 0;
}

bool Screen::closed() const {
  return closed_ || g_hangup;
}

bool Screen::start() {
  if (g_active)
    return true;
  if (closed() || !isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO))
    return false;
  install_handlers();
  use_utf8();
  if (g_screen == nullptr) {
    g_screen = newterm(nullptr, stdout, stdin);
    if (g_screen == nullptr)
      return false;
    set_term(g_screen);
    set_escdelay(25);
    // Home and End come in several forms, whatever the terminal description
    // says; knowing them all keeps them from arriving as Esc and letters.
    for (const char* home : {"\033[1~", "\033[7~", "\033[H", "\033OH"})
      define_key(home, KEY_HOME);
    for (const char* end : {"\033[4~", "\033[8~", "\033[F", "\033OF"})
      define_key(end, KEY_END);
  }
  g_active = 1;
  raw();
  noecho();
  nonl();
  keypad(stdscr, TRUE);
  wtimeout(stdscr, kWaitMs);
  curs_set(0);
  mousemask(BUTTON1_PRESSED | BUTTON1_CLICKED | BUTTON4_PRESSED | BUTTON5_PRESSED, nullptr);
  mouseinterval(0);
  colour_ = has_colors();
  if (colour_) {
    start_color();
    use_default_colors();
    for (int s = 0; s <= static_cast<int>(Style::kWarning); ++s) {
      StyleColours c = colours_of(static_cast<Style>(s));
      init_pair(static_cast<short>(s + 1), c.fg, c.bg);
    }
  }
  werase(stdscr);
  return true;
}

void Screen::stop() {
  give_back_terminal();
}

void Screen::close_session() {
  closed_ = true;
}

int Screen::rows() const {
  return g_active ? LINES : 0;
}

int Screen::columns() const {
  return g_active ? COLS : 0;
}

bool Screen::input_gone() {
  struct pollfd p {
    STDIN_FILENO, POLLIN, 0
  };
  if (poll(&p, 1, 0) < 0)
    return false;
  return (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

Event Screen::next() {
  Event e;
  while (true) {
    if (closed() || !g_active) {
      closed_ = true;
      e.kind = Event::Kind::kClose;
      return e;
    }
    auto asked = std::chrono::steady_clock::now();
    wint_t ch = 0;
    int got = wget_wch(stdscr, &ch);
    if (got == ERR) {
      // A wait that ends long before its time, again and again, is an input
      // at its end (the terminal went away without a hangup signal).
      bool quick =
          std::chrono::steady_clock::now() - asked < std::chrono::milliseconds(kWaitMs / 4);
      quick_errors_ = quick ? quick_errors_ + 1 : 0;
      if (quick_errors_ > 20 || input_gone())
        close_session();
      continue;
    }
    quick_errors_ = 0;
    if (got == KEY_CODE_YES) {
      if (ch == KEY_RESIZE) {
        e.kind = Event::Kind::kResize;
        return e;
      }
      if (ch == KEY_F(10)) {
        close_session();
        continue;
      }
      if (ch == KEY_MOUSE) {
        MEVENT m;
        if (getmouse(&m) != OK)
          continue;
        e.kind = Event::Kind::kMouse;
        e.row = m.y;
        e.column = m.x;
        if (m.bstate & BUTTON4_PRESSED)
          e.mouse = Event::Mouse::kWheelUp;
        else if (m.bstate & BUTTON5_PRESSED)
          e.mouse = Event::Mouse::kWheelDown;
        else if (m.bstate & (BUTTON1_PRESSED | BUTTON1_CLICKED))
          e.mouse = Event::Mouse::kPress;
        else
          continue;
        return e;
      }
      e.kind = Event::Kind::kKey;
      e.key = key_of(static_cast<int>(ch));
      if (e.key == 0)
        continue;
      return e;
    }
    switch (ch) {
    case 17: // Ctrl-Q
      close_session();
      continue;
    case 3: // Ctrl-C: the raw terminal gives it as a key; it interrupts as usual.
      std::raise(SIGINT);
      continue;
    case 27:
      e.key = kEscape;
      return e;
    case '\t':
      e.key = kTab;
      return e;
    case '\r':
    case '\n':
      e.key = kEnter;
      return e;
    case 8:
    case 127:
      e.key = kBackspace;
      return e;
    default:
      break;
    }
    if (ch < 32)
      continue;
    e.kind = Event::Kind::kText;
    e.text = static_cast<wchar_t>(ch);
    return e;
  }
}

void Screen::clear() {
  if (!g_active)
    return;
  wbkgdset(stdscr, ' ');
  werase(stdscr);
}

namespace {

void set_style(Style s, bool colour) {
  StyleColours c = colours_of(s);
  if (colour)
    attr_set(c.attrs, static_cast<short>(static_cast<int>(s) + 1), nullptr);
  else
    attr_set(c.mono, 0, nullptr);
}

Rect visible(const Rect* clip) {
  Rect screen{0, 0, LINES, COLS};
  if (clip == nullptr)
    return screen;
  int top = std::max(clip->row, 0), left = std::max(clip->column, 0);
  int bottom = std::min(clip->row + clip->rows, LINES);
  int right = std::min(clip->column + clip->columns, COLS);
  return {top, left, std::max(0, bottom - top), std::max(0, right - left)};
}

} // namespace

void Screen::fill(const Rect& area, Style style) {
  if (!g_active)
    return;
  std::wstring blank(static_cast<std::size_t>(std::max(0, area.columns)), L' ');
  for (int r = area.row; r < area.row + area.rows; ++r)
    text(r, area.column, blank, style);
}

void Screen::text(int row, int column, std::wstring_view s, Style style, const Rect* clip) {
  if (!g_active)
    return;
  Rect v = visible(clip);
  if (row < v.row || row >= v.row + v.rows)
    return;
  int first = std::max(0, v.column - column);
  int last = std::min(static_cast<int>(s.size()), v.column + v.columns - column);
  if (first >= last)
    return;
  set_style(style, colour_);
  std::wstring part(s.substr(first, last - first));
  mvaddnwstr(row, column + first, part.c_str(), static_cast<int>(part.size()));
  attr_set(A_NORMAL, 0, nullptr);
}

void Screen::frame(const Rect& area, std::wstring_view title, Style style) {
  if (!g_active || area.rows < 2 || area.columns < 2)
    return;
  fill(area, style);
  std::wstring line(static_cast<std::size_t>(area.columns - 2), L'─');
  text(area.row, area.column, L"┌" + line + L"┐", style);
  text(area.row + area.rows - 1, area.column, L"└" + line + L"┘", style);
  for (int r = area.row + 1; r < area.row + area.rows - 1; ++r) {
    text(r, area.column, L"│", style);
    text(r, area.column + area.columns - 1, L"│", style);
  }
  if (!title.empty()) {
    std::wstring t = L" " + std::wstring(title) + L" ";
    int room = area.columns - 4;
    if (static_cast<int>(t.size()) > room)
      t = t.substr(0, static_cast<std::size_t>(std::max(0, room)));
    text(area.row, area.column + (area.columns - static_cast<int>(t.size())) / 2, t, Style::kTitle);
  }
}

void Screen::picture_cell(int row, int column, Rgb upper, Rgb lower, const Rect* clip) {
  if (!g_active || !colour_)
    return;
  Rect v = visible(clip);
  if (!v.contains(row, column))
    return;
  int pair = alloc_pair(nearest_colour(upper), nearest_colour(lower));
  if (pair < 0)
    return;
  cchar_t cell;
  wchar_t half[2] = {L'▀', L'\0'};
  setcchar(&cell, half, A_NORMAL, 0, &pair);
  mvadd_wch(row, column, &cell);
}

bool Screen::has_colour() const {
  return colour_;
}

void Screen::cursor(int row, int column) {
  if (!g_active)
    return;
  if (row < 0) {
    curs_set(0);
    return;
  }
  wmove(stdscr, row, column);
  curs_set(1);
}

void Screen::show() {
  if (g_active)
    wrefresh(stdscr);
}

} // namespace qov::terminal
