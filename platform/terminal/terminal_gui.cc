#include "platform/terminal/terminal_gui.h"

#include <algorithm>
#include <cstring>

#include "platform/terminal/terminal_text.h"
#include "ui/gui_block.h"

namespace qov {

using terminal::Event;
using terminal::Rect;
using terminal::Style;

namespace {

// A main window whose definition gives no size.
constexpr int kMainRows = 34, kMainColumns = 84;
// A panel window for a panel without a stored size.
constexpr int kPanelRows = 12, kPanelColumns = 40;

constexpr std::size_t kDirOffset = 8; // of the "DIR" value in the variable part

// The message block: title and text in its variable part.
constexpr std::size_t kTitleLength = 60, kTextLength = 180;

const wchar_t* const kBoardHints =
    L" Tab/setas: escolher · Enter: premir · Esc: voltar · F10: sair ";

std::string view_of(std::span<const uint8_t> bytes) {
  return std::string(bytes.begin(), bytes.end());
}

// The bitmap name of a picture field: 8 spaces, then the name, space-padded.
std::string bitmap_of(const FieldDefinition& field) {
  std::string name = terminal::trimmed_field(view_of(field.value()));
  std::size_t start = name.find_first_not_of(' ');
  return start == std::string::npos ? std::string() : name.substr(start);
}

Rect inner(const Rect& r) {
  return {r.row + 1, r.column + 1, std::max(0, r.rows - 2), std::max(0, r.columns - 2)};
}

bool is_key(const Event& e, int key) {
  return e.kind == Event::Kind::kKey && e.key == key;
}

bool is_press(const Event& e) {
  return is_key(e, terminal::kEnter) || (e.kind == Event::Kind::kText && e.text == L' ');
}

} // namespace

TerminalGui::TerminalGui(terminal::Screen& screen, terminal::FolderResolver resolve)
    : screen_(screen), files_(std::move(resolve)) {}

int32_t TerminalGui::call(int16_t code, std::span<uint8_t> block) {
  switch (code) {
  case kGuiOpenWindow:
    open_window(block);
    return 0;
  case kGuiCloseWindow:
    close_window();
    return 0;
  case kGuiShutdown:
    screen_.stop();
    return 0;
  case kGuiConverse:
    converse(block);
    return 0;
  case kGuiMessage:
    message(block);
    return 0;
  case kGuiClearPanel:
  case kGuiDefinePanel:
    panels_.handle(code, block);
    // The board the main window shows is the panel built last.
    if (Panel* p = panels_.current(); p != nullptr && !p->layout)
      board_ = p->name;
    return 0;
  default:
    panels_.handle(code, block);
    return 0;
  }
}

void TerminalGui::open_window(std::span<uint8_t> block) {
  panels_.handle(kGuiOpenWindow, block);
  GuiBlockView v(block);
  Window w;
  w.panel = panels_.windows().empty() ? std::string() : panels_.windows().back();
  w.title = terminal::shown_text(terminal::trimmed_field(
      view_of(v.variable_part().first(std::min<std::size_t>(100, v.variable_part().size())))));
  w.columns = std::max<int>(0, v.number(5));
  w.rows = std::max<int>(0, v.number(6));
  windows_.push_back(std::move(w));
  if (screen_.start())
    redraw();
}

void TerminalGui::close_window() {
  panels_.handle(kGuiCloseWindow, {});
  if (!windows_.empty())
    windows_.pop_back();
  if (screen_.active())
    redraw();
}

// Window geometry ---------------------------------------------------------

Rect TerminalGui::window_area(const Window& w, bool main) {
  int rows = w.rows, columns = w.columns;
  if (rows == 0 || columns == 0) {
    Panel* p = panels_.find(w.panel);
    if (main) {
      rows = kMainRows;
      columns = kMainColumns;
    } else if (p != nullptr && p->layout && p->layout->width > 0 && p->layout->height > 0) {
      rows = p->layout->height + 2;
      columns = p->layout->width + 2;
    } else {
      rows = kPanelRows;
      columns = kPanelColumns;
    }
  }
  return {(screen_.rows() - rows) / 2, (screen_.columns() - columns) / 2, rows, columns};
}

int TerminalGui::needed_rows() {
  int rows = 0;
  for (const Window& w : windows_)
    rows = std::max(rows, window_area(w, w.panel.empty()).rows);
  return rows;
}

int TerminalGui::needed_columns() {
  int columns = 0;
  for (const Window& w : windows_)
    columns = std::max(columns, window_area(w, w.panel.empty()).columns);
  return columns;
}

// Drawing -----------------------------------------------------------------

void TerminalGui::redraw() {
  conversing_.targets.clear();
  conversing_.status.clear();
  screen_.clear();
  draw_windows(0, 0);
  screen_.cursor(-1, -1);
  screen_.show();
}

std::optional<Rect> TerminalGui::draw_under_box(int rows, int columns) {
  conversing_.targets.clear();
  screen_.clear();
  if (!draw_windows(rows, columns))
    return std::nullopt;
  return Rect{(screen_.rows() - rows) / 2, (screen_.columns() - columns) / 2, rows, columns};
}

bool TerminalGui::draw_windows(int extra_rows, int extra_columns) {
  int rows = std::max(needed_rows(), extra_rows);
  int columns = std::max(needed_columns(), extra_columns);
  if (screen_.rows() < rows || screen_.columns() < columns) {
    draw_enlarge_request(rows, columns);
    return false;
  }
  for (const Window& w : windows_)
    draw_window(w, w.panel.empty());
  return true;
}

void TerminalGui::draw_enlarge_request(int rows, int columns) {
  std::wstring need = std::to_wstring(columns) + L" × " + std::to_wstring(rows);
  std::wstring now = std::to_wstring(screen_.columns()) + L" × " + std::to_wstring(screen_.rows());
  const std::wstring lines[] = {L"A janela não cabe neste terminal.",
                                L"Aumente-o para " + need + L" (agora " + now + L").",
                                L"F10: sair"};
  int row = 0;
  for (const std::wstring& line : lines)
    screen_.text(row++, 0, line, Style::kWarning);
}

void TerminalGui::draw_window(const Window& w, bool main) {
  Rect area = window_area(w, main);
  screen_.frame(area, w.title, Style::kWindow);
  Rect content = inner(area);
  Panel* p = panels_.find(main ? board_ : w.panel);
  if (p == nullptr)
    return;
  bool active = is_active(p->name);
  if (p->layout)
    draw_stored(*p, content, active);
  else
    draw_board(*p, content, active);
  if (main) {
    int bottom = area.row + area.rows - 1;
    std::wstring hints = kBoardHints;
    screen_.text(bottom, area.column + area.columns - 1 - static_cast<int>(hints.size()), hints,
                 Style::kWindow);
    if (active && !conversing_.status.empty())
      screen_.text(bottom, area.column + 2, L" ▶ " + conversing_.status + L" ", Style::kTitle);
  }
}

// Pictures first, then their captions, so that a caption running past its
// picture is not covered by the next picture. Where two captions meet, the
// one of the picture drawn on top shows and the other is left out rather
// than shown cut (a backdrop's caption under a picture set on it).
void TerminalGui::draw_board(const Panel& panel, const Rect& content, bool active) {
  std::vector<Caption> captions;
  for (const auto& [number, field] : panel.fields)
    draw_picture_item(field, content, active, captions);
  for (std::size_t i = 0; i < captions.size(); ++i) {
    const Caption& c = captions[i];
    if (std::any_of(captions.begin() + i + 1, captions.end(),
                    [&](const Caption& later) { return terminal::overlap(c.cells, later.cells); }))
      continue;
    screen_.text(c.place.row, c.place.column, c.text, c.style, &content);
    if (c.style == Style::kFocus) {
      screen_.text(c.cells.row, c.cells.column, L"▶", Style::kFocus, &content);
      screen_.text(c.cells.row, c.cells.column + c.cells.columns - 1, L"◀", Style::kFocus,
                   &content);
    }
  }
}

// A picture drawn from its bitmap carries its caption on its bottom row, so
// that every choice can be read at once. A one-row picture that is no button
// is an ornament (a separator strip) and carries none.
void TerminalGui::draw_picture_item(const FieldDefinition& field, const Rect& content, bool active,
                                    std::vector<Caption>& captions) {
  std::string name = bitmap_of(field);
  if (name.empty())
    return;
  int16_t code = field.number(18);
  int row = content.row + field.number(6), column = content.column + field.number(7);
  bool button = active && code != 0;
  bool focused = button && conversing_.focus == static_cast<int>(conversing_.targets.size());
  std::wstring caption = terminal::shown_text(files_.config().caption(name));
  const terminal::CellPicture* picture = screen_.has_colour() ? files_.picture(name) : nullptr;
  Rect area;
  if (picture != nullptr) {
    area = {row, column, picture->rows, picture->columns};
    for (int r = 0; r < picture->rows; ++r)
      for (int c = 0; c < picture->columns; ++c)
        screen_.picture_cell(row + r, column + c, picture->upper_at(c, r), picture->lower_at(c, r),
                             &content);
    if (code != 0 || picture->rows > 1) {
      Rect place = terminal::caption_place(area, static_cast<int>(caption.size()));
      Style style = code == 0 ? Style::kLabel : focused ? Style::kFocus : Style::kButton;
      area = terminal::united(area, place);
      // The focus marks stand either side of the picture and its caption.
      Rect cells = focused ? Rect{place.row, area.column - 1, 1, area.columns + 2} : place;
      captions.push_back({place, cells, caption, style});
    }
    if (focused)
      conversing_.status = caption;
  } else {
    std::wstring label = code != 0 ? L"[ " + caption + L" ]" : L" " + caption + L" ";
    Style style = code == 0 ? Style::kLabel : focused ? Style::kFocus : Style::kButton;
    screen_.text(row, column, label, style, &content);
    area = {row, column, 1, static_cast<int>(label.size())};
  }
  if (button)
    conversing_.targets.push_back({area, code});
}

void TerminalGui::draw_stored(const Panel& panel, const Rect& content, bool active) {
  const StoredPanel& layout = *panel.layout;
  screen_.text(content.row + 1, content.column, terminal::shown_text(layout.caption), Style::kTitle,
               &content);
  if (!layout.lists.empty()) {
    const StoredPanel::ListField& lf = layout.lists.front();
    Rect area{content.row + lf.row, content.column + lf.column, std::max(1, lf.lines),
              std::max(1, lf.width)};
    // Each heading stands over the character of the list line its column
    // names, as the panel places it.
    for (const StoredPanel::Heading& h : layout.headings)
      screen_.text(area.row - 1, area.column + h.column - 1, terminal::shown_text(h.text),
                   Style::kTitle, &content);
    std::vector<std::string> own_lines;
    const std::vector<std::string>* lines = &own_lines;
    int selected = -1, first = 0;
    if (active) {
      lines = &conversing_.lines;
      selected = conversing_.selected;
      first = conversing_.first;
    } else if (auto it = panel.fields.find(static_cast<int16_t>(lf.number));
               it != panel.fields.end()) {
      std::string value = view_of(it->second.value());
      for (std::size_t at = 0; at + lf.width <= value.size() && lf.width > 0; at += lf.width)
        own_lines.push_back(value.substr(at, lf.width));
    }
    bool list_focused = active && conversing_.focus == static_cast<int>(conversing_.targets.size());
    screen_.fill(area, Style::kList);
    for (int i = 0; i < area.rows && first + i < static_cast<int>(lines->size()); ++i) {
      int line = first + i;
      Style style = line != selected ? Style::kList
                    : list_focused   ? Style::kFocus
                                     : Style::kSelected;
      screen_.text(area.row + i, area.column, terminal::shown_text((*lines)[line]), style,
                   &content);
    }
    if (first > 0)
      screen_.text(area.row, area.column + area.columns, L"▲", Style::kTitle, &content);
    if (first + area.rows < static_cast<int>(lines->size()))
      screen_.text(area.row + area.rows - 1, area.column + area.columns, L"▼", Style::kTitle,
                   &content);
    if (active) {
      conversing_.list_area = area;
      conversing_.targets.push_back({area, 0});
    }
  }
  for (const StoredPanel::Button& b : layout.buttons) {
    bool focused = active && conversing_.focus == static_cast<int>(conversing_.targets.size());
    std::wstring label = L"[ " + terminal::shown_text(b.caption) + L" ]";
    int row = content.row + b.row, column = content.column + b.column;
    screen_.text(row, column, label, focused ? Style::kFocus : Style::kButton, &content);
    if (active)
      conversing_.targets.push_back(
          {{row, column, 1, static_cast<int>(label.size())}, static_cast<int16_t>(b.key)});
  }
}

// Conversing --------------------------------------------------------------

void TerminalGui::move_focus(int step) {
  conversing_.focus =
      terminal::moved_focus(terminal::reading_order(conversing_.targets), conversing_.focus, step);
}

void TerminalGui::converse(std::span<uint8_t> block) {
  GuiBlockView v(block);
  conversing_ = Conversing{};
  std::string name(v.characters(1, 8));
  if (!screen_.start()) {
    v.set_number(1, -5);
    return;
  }
  if (v.character(103) == 'n') {
    redraw();
    v.set_number(1, 0);
    return;
  }
  conversing_.panel = name;
  Panel* p = panels_.find(name);
  auto variable = v.variable_part();
  int16_t key;
  if (p != nullptr && p->layout && !p->layout->lists.empty()) {
    const StoredPanel::ListField& lf = p->layout->lists.front();
    std::size_t width = static_cast<std::size_t>(std::max(0, lf.width));
    std::span<uint8_t> dir = variable.size() >= kDirOffset + width
                                 ? variable.subspan(kDirOffset, width)
                                 : std::span<uint8_t>();
    if (auto it = p->fields.find(static_cast<int16_t>(lf.number)); it != p->fields.end() && width) {
      std::string value = view_of(it->second.value());
      for (std::size_t at = 0; at + width <= value.size(); at += width)
        conversing_.lines.push_back(value.substr(at, width));
    }
    key = converse_list(dir);
  } else {
    key = converse_board();
  }
  v.set_number(1, key);
  conversing_ = Conversing{};
}

// Draws the panel conversed; the first target takes the focus as soon as
// there is one (a terminal too small shows none).
void TerminalGui::redraw_conversing() {
  redraw();
  if (conversing_.focus < 0 && !conversing_.targets.empty()) {
    move_focus(1);
    redraw();
  }
}

int16_t TerminalGui::converse_board() {
  while (true) {
    redraw_conversing();
    Event e = screen_.next();
    switch (e.kind) {
    case Event::Kind::kClose:
      return -5;
    case Event::Kind::kResize:
      continue;
    case Event::Kind::kMouse:
      if (e.mouse == Event::Mouse::kPress) {
        int t = terminal::target_at(conversing_.targets, e.row, e.column);
        if (t >= 0)
          return conversing_.targets[t].code;
      }
      continue;
    case Event::Kind::kKey:
    case Event::Kind::kText:
      break;
    }
    if (is_key(e, terminal::kEscape))
      return 27;
    if (is_key(e, terminal::kTab) || is_key(e, terminal::kRight) || is_key(e, terminal::kDown))
      move_focus(1);
    else if (is_key(e, terminal::kBackTab) || is_key(e, terminal::kLeft) ||
             is_key(e, terminal::kUp))
      move_focus(-1);
    else if (is_press(e) && conversing_.focus >= 0 &&
             conversing_.focus < static_cast<int>(conversing_.targets.size()))
      return conversing_.targets[conversing_.focus].code;
  }
}

int16_t TerminalGui::converse_list(std::span<uint8_t> dir) {
  Conversing& c = conversing_;
  std::string value = view_of(dir);
  auto found = std::find(c.lines.begin(), c.lines.end(), value);
  c.selected = found == c.lines.end() ? -1 : static_cast<int>(found - c.lines.begin());
  redraw_conversing();
  int count = static_cast<int>(c.lines.size());
  auto keep_visible = [&] {
    int shown = std::max(1, c.list_area.rows);
    if (c.selected >= 0 && c.selected < c.first)
      c.first = c.selected;
    if (c.selected >= c.first + shown)
      c.first = c.selected - shown + 1;
    c.first = std::clamp(c.first, 0, std::max(0, count - shown));
  };
  // Selecting another line hands it to the caller at once, with key code 0.
  auto select = [&](int line) -> bool {
    if (count == 0 || dir.empty())
      return false;
    line = std::clamp(line, 0, count - 1);
    if (line == c.selected)
      return false;
    std::memcpy(dir.data(), c.lines[line].data(), std::min(dir.size(), c.lines[line].size()));
    return true;
  };
  auto list_focused = [&] {
    return c.focus >= 0 && c.focus < static_cast<int>(c.targets.size()) &&
           c.targets[c.focus].code == 0;
  };
  keep_visible();
  while (true) {
    redraw_conversing();
    Event e = screen_.next();
    if (e.kind == Event::Kind::kClose)
      return -5;
    if (e.kind == Event::Kind::kResize)
      continue;
    if (e.kind == Event::Kind::kMouse) {
      if (e.mouse != Event::Mouse::kPress) {
        c.first += e.mouse == Event::Mouse::kWheelUp ? -3 : 3;
        c.first = std::clamp(c.first, 0, std::max(0, count - std::max(1, c.list_area.rows)));
        continue;
      }
      int t = terminal::target_at(c.targets, e.row, e.column);
      if (t < 0)
        continue;
      if (c.targets[t].code != 0)
        return c.targets[t].code;
      c.focus = t;
      int line = c.first + e.row - c.list_area.row;
      if (line < count && select(line))
        return 0;
      continue;
    }
    if (is_key(e, terminal::kEscape))
      return 27;
    if (is_key(e, terminal::kTab)) {
      move_focus(1);
      continue;
    }
    if (is_key(e, terminal::kBackTab)) {
      move_focus(-1);
      continue;
    }
    if (list_focused()) {
      int page = std::max(1, c.list_area.rows);
      int wanted = c.selected;
      if (is_key(e, terminal::kUp))
        wanted = c.selected - 1;
      else if (is_key(e, terminal::kDown))
        wanted = c.selected + 1;
      else if (is_key(e, terminal::kPageUp))
        wanted = c.selected - page;
      else if (is_key(e, terminal::kPageDown))
        wanted = c.selected + page;
      else if (is_key(e, terminal::kHome))
        wanted = 0;
      else if (is_key(e, terminal::kEnd))
        wanted = count - 1;
      else if (is_key(e, terminal::kRight))
        move_focus(1);
      else if (is_key(e, terminal::kLeft))
        move_focus(-1);
      else if (is_press(e)) {
        // Enter on the list presses the panel's OK button.
        Panel* p = panels_.find(c.panel);
        for (const StoredPanel::Button& b : p->layout->buttons)
          if (b.name == "ICON-OK")
            return static_cast<int16_t>(b.key);
      }
      if (wanted != c.selected && select(std::max(0, wanted)))
        return 0;
      continue;
    }
    if (is_key(e, terminal::kRight) || is_key(e, terminal::kDown))
      move_focus(1);
    else if (is_key(e, terminal::kLeft) || is_key(e, terminal::kUp))
      move_focus(-1);
    else if (is_press(e) && c.focus >= 0 && c.focus < static_cast<int>(c.targets.size()))
      return c.targets[c.focus].code;
  }
}

// Messages ----------------------------------------------------------------

void TerminalGui::message(std::span<uint8_t> block) {
  GuiBlockView v(block);
  bool question = v.character(1) == 'q';
  // Nobody is left to answer: a question gets the answer that ends the
  // installer's questioning.
  if (!screen_.start() || screen_.closed()) {
    if (question)
      v.set_character(4, 'y');
    return;
  }
  auto variable = v.variable_part();
  std::string bytes = view_of(variable);
  std::wstring title = terminal::shown_text(terminal::trimmed_field(bytes.substr(0, kTitleLength)));
  std::wstring text = terminal::shown_text(terminal::trimmed_field(
      bytes.size() > kTitleLength ? bytes.substr(kTitleLength, kTextLength) : std::string()));
  std::vector<std::wstring> buttons =
      question ? std::vector<std::wstring>{L"Sim", L"Não"} : std::vector<std::wstring>{L"OK"};
  const char answers[] = {'y', 'n'};
  int focus = question && v.character(2) == 'n' ? 1 : 0;

  int columns = std::clamp(static_cast<int>(std::max(title.size() + 8, text.size() + 4)), 40, 66);
  std::vector<std::wstring> lines = terminal::wrapped(text, static_cast<std::size_t>(columns - 4));
  int rows = static_cast<int>(lines.size()) + 5;
  auto press = [&](int button) {
    if (question)
      v.set_character(4, answers[button]);
  };
  while (true) {
    conversing_ = Conversing{};
    std::vector<terminal::Target> targets;
    if (auto box = draw_under_box(rows, columns)) {
      screen_.frame(*box, title, Style::kDialog);
      for (std::size_t i = 0; i < lines.size(); ++i)
        screen_.text(box->row + 2 + static_cast<int>(i), box->column + 2, lines[i], Style::kDialog);
      int width = 0;
      for (const std::wstring& b : buttons)
        width += static_cast<int>(b.size()) + 7;
      int column = box->column + (columns - width + 3) / 2;
      int row = box->row + rows - 2;
      for (std::size_t i = 0; i < buttons.size(); ++i) {
        std::wstring label = L"[ " + buttons[i] + L" ]";
        screen_.text(row, column, label,
                     static_cast<int>(i) == focus ? Style::kFocus : Style::kButton);
        targets.push_back(
            {{row, column, 1, static_cast<int>(label.size())}, static_cast<int16_t>(i)});
        column += static_cast<int>(label.size()) + 3;
      }
    }
    screen_.cursor(-1, -1);
    screen_.show();
    Event e = screen_.next();
    int count = static_cast<int>(buttons.size());
    if (e.kind == Event::Kind::kClose) {
      if (question)
        v.set_character(4, 'y');
      return;
    }
    if (e.kind == Event::Kind::kMouse && e.mouse == Event::Mouse::kPress) {
      int t = terminal::target_at(targets, e.row, e.column);
      if (t >= 0) {
        press(t);
        return;
      }
    } else if (is_key(e, terminal::kEscape)) {
      if (question)
        v.set_character(4, '\0');
      return;
    } else if (is_press(e)) {
      press(focus);
      return;
    } else if (e.kind == Event::Kind::kKey &&
               (e.key == terminal::kTab || e.key == terminal::kRight || e.key == terminal::kDown)) {
      focus = (focus + 1) % count;
    } else if (e.kind == Event::Kind::kKey &&
               (e.key == terminal::kBackTab || e.key == terminal::kLeft ||
                e.key == terminal::kUp)) {
      focus = (focus + count - 1) % count;
    } else if (question && e.kind == Event::Kind::kText &&
               (e.text == L's' || e.text == L'S' || e.text == L'n' || e.text == L'N')) {
      press(e.text == L's' || e.text == L'S' ? 0 : 1);
      return;
    }
  }
}

} // namespace qov
