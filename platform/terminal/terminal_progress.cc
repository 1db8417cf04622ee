#include "platform/terminal/terminal_progress.h"

#include <algorithm>

#include "platform/terminal/terminal_text.h"

namespace qov {

using terminal::Event;
using terminal::Style;

namespace {

constexpr int kColumns = 64;
constexpr int kInside = kColumns - 4;

// The end of a long name is what tells archives apart.
std::wstring tail(const std::wstring& text, int width) {
  if (static_cast<int>(text.size()) <= width)
    return text;
  return L"…" + text.substr(text.size() - static_cast<std::size_t>(width - 1));
}

} // namespace

std::wstring progress_bar(uint64_t done, uint64_t total, int width) {
  if (total == 0)
    return std::to_wstring(done / 1024) + L" KB";
  done = std::min(done, total);
  int percent = static_cast<int>(done * 100 / total);
  int cells = std::max(0, width - 5);
  int filled = static_cast<int>(done * static_cast<uint64_t>(cells) / total);
  std::wstring pct = std::to_wstring(percent) + L"%";
  return std::wstring(static_cast<std::size_t>(filled), L'█') +
         std::wstring(static_cast<std::size_t>(cells - filled), L'░') +
         std::wstring(5 - pct.size(), L' ') + pct;
}

void TerminalProgress::begin(const std::string& archive, uint64_t total) {
  archive_ = archive;
  total_ = total;
  done_ = 0;
  shown_percent_ = -1;
  draw();
}

void TerminalProgress::advance(uint64_t done) {
  done_ = done;
  // Redraw when the bar moves, and now and then for an unknown total.
  int percent = total_ > 0 ? static_cast<int>(std::min(done, total_) * 100 / total_) : -1;
  auto now = std::chrono::steady_clock::now();
  if (percent != shown_percent_ || now - shown_at_ > std::chrono::milliseconds(200))
    draw();
}

void TerminalProgress::end() {
  if (gui_.screen().active() && !gui_.screen().closed())
    gui_.redraw();
}

void TerminalProgress::draw() {
  terminal::Screen& screen = gui_.screen();
  if (!screen.start() || screen.closed())
    return;
  shown_percent_ = total_ > 0 ? static_cast<int>(std::min(done_, total_) * 100 / total_) : -1;
  shown_at_ = std::chrono::steady_clock::now();
  if (auto box = gui_.draw_under_box(7, kColumns)) {
    screen.frame(*box, L"A extrair", Style::kDialog);
    screen.text(box->row + 2, box->column + 2, tail(terminal::shown_text(archive_), kInside),
                Style::kDialog);
    screen.text(box->row + 4, box->column + 2, progress_bar(done_, total_, kInside),
                Style::kDialog);
  }
  screen.cursor(-1, -1);
  screen.show();
}

void TerminalProgress::failure(const std::string& archive, const std::string& reason) {
  terminal::Screen& screen = gui_.screen();
  if (!screen.start() || screen.closed())
    return;
  std::vector<std::wstring> lines = terminal::wrapped(terminal::shown_utf8(reason), kInside);
  int rows = static_cast<int>(lines.size()) + 8;
  while (true) {
    terminal::Rect ok;
    if (auto box = gui_.draw_under_box(rows, kColumns)) {
      screen.frame(*box, L"Erro na extracção", Style::kDialog);
      screen.text(box->row + 2, box->column + 2, L"Não foi possível extrair o arquivo",
                  Style::kDialog);
      screen.text(box->row + 3, box->column + 2, tail(terminal::shown_text(archive), kInside),
                  Style::kDialog);
      for (std::size_t i = 0; i < lines.size(); ++i)
        screen.text(box->row + 5 + static_cast<int>(i), box->column + 2, lines[i], Style::kDialog);
      ok = {box->row + rows - 2, box->column + (kColumns - 6) / 2, 1, 6};
      screen.text(ok.row, ok.column, L"[ OK ]", Style::kFocus);
    }
    screen.cursor(-1, -1);
    screen.show();
    Event e = screen.next();
    bool dismissed = e.kind == Event::Kind::kClose ||
                     (e.kind == Event::Kind::kKey &&
                      (e.key == terminal::kEnter || e.key == terminal::kEscape)) ||
                     (e.kind == Event::Kind::kText && e.text == L' ') ||
                     (e.kind == Event::Kind::kMouse && e.mouse == Event::Mouse::kPress &&
                      ok.contains(e.row, e.column));
    if (dismissed)
      break;
  }
  gui_.redraw();
}

} // namespace qov
