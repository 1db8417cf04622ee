#include "platform/terminal/terminal_folder_dialog.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/terminal/folder_names.h"
#include "platform/terminal/terminal_text.h"
#include "system/fixed_text.h"

namespace qov {

using terminal::Event;
using terminal::Rect;
using terminal::Style;

namespace {

constexpr int kRows = 21, kColumns = 72;
constexpr int kListRows = 11;
constexpr std::size_t kFolderLength = 80;

} // namespace

int32_t TerminalFolderDialog::choose(FolderDialogBlock& block) {
  terminal::Screen& screen = gui_.screen();
  if (!screen.start() || screen.closed()) {
    std::memcpy(block.function, "CAN", 3);
    return 0;
  }
  title_ = terminal::shown_text(terminal::trimmed_field(std::string_view(block.title, 80)));
  field_ = name_of(block.folder).substr(0, kFolderLength);
  cursor_ = field_.size();
  focus_ = kField;
  drives_ = names_ != nullptr ? names_->drives() : std::string();
  // Browsing starts at the proposal, or the nearest folder above it that exists.
  std::string start = field_;
  while (names_ != nullptr && !start.empty() && !terminal::is_drive_root(start) &&
         !names_->existing(start))
    start = terminal::parent_folder(start);
  show_folder(start);

  Outcome outcome = Outcome::kWaiting;
  while (outcome == Outcome::kWaiting) {
    draw();
    Event e = screen.next();
    switch (e.kind) {
    case Event::Kind::kClose:
      outcome = Outcome::kCancelled;
      break;
    case Event::Kind::kResize:
      break;
    case Event::Kind::kKey:
      outcome = on_key(e.key);
      break;
    case Event::Kind::kText:
      outcome = on_text(e.text);
      break;
    case Event::Kind::kMouse:
      if (e.mouse == Event::Mouse::kPress)
        outcome = on_click(e.row, e.column);
      else
        first_folder_ = std::max(0, first_folder_ + (e.mouse == Event::Mouse::kWheelUp ? -3 : 3));
      break;
    }
  }
  screen.cursor(-1, -1);
  gui_.redraw();
  if (outcome == Outcome::kCancelled)
    std::memcpy(block.function, "CAN", 3);
  else
    set_text(block.folder, field_);
  return 0;
}

void TerminalFolderDialog::show_folder(const std::string& folder) {
  shown_ = folder;
  folders_.clear();
  if (names_ != nullptr && !folder.empty()) {
    if (!terminal::is_drive_root(folder))
      folders_.push_back("..");
    for (const std::string& f : names_->folders_in(folder))
      folders_.push_back(f);
  }
  folder_ = 0;
  first_folder_ = 0;
  std::size_t d =
      folder.empty() ? std::string::npos : drives_.find(static_cast<char>(std::toupper(folder[0])));
  drive_ = d == std::string::npos ? 0 : static_cast<int>(d);
}

void TerminalFolderDialog::draw() {
  terminal::Screen& screen = gui_.screen();
  auto box = gui_.draw_under_box(kRows, kColumns);
  if (!box) {
    screen.cursor(-1, -1);
    screen.show();
    return;
  }
  screen.frame(*box, title_, Style::kDialog);
  int left = box->column + 2;
  screen.text(box->row + 2, left, L"Pasta:", Style::kDialog);
  field_area_ = {box->row + 2, left + 8, 1, kColumns - 12};
  screen.fill(field_area_, focus_ == kField ? Style::kFocus : Style::kField);
  std::wstring field = terminal::shown_text(field_);
  std::size_t skip = cursor_ >= static_cast<std::size_t>(field_area_.columns)
                         ? cursor_ - field_area_.columns + 1
                         : 0;
  screen.text(field_area_.row, field_area_.column, std::wstring_view(field).substr(skip),
              focus_ == kField ? Style::kFocus : Style::kField, &field_area_);

  screen.text(box->row + 4, left, L"Unidades", Style::kDialog);
  drives_area_ = {box->row + 5, left, kListRows, 8};
  screen.fill(drives_area_, Style::kList);
  for (int i = 0; i < static_cast<int>(drives_.size()) && i < kListRows; ++i) {
    Style s = i != drive_ ? Style::kList : focus_ == kDrives ? Style::kFocus : Style::kSelected;
    screen.text(drives_area_.row + i, left, L" " + std::wstring(1, drives_[i]) + L":", s,
                &drives_area_);
  }

  int folders_left = left + 11;
  screen.text(box->row + 4, folders_left, L"Pastas de " + terminal::shown_text(shown_),
              Style::kDialog, &*box);
  folders_area_ = {box->row + 5, folders_left, kListRows, kColumns - 15};
  screen.fill(folders_area_, Style::kList);
  int count = static_cast<int>(folders_.size());
  first_folder_ = std::clamp(first_folder_, 0, std::max(0, count - kListRows));
  for (int i = 0; i < kListRows && first_folder_ + i < count; ++i) {
    int n = first_folder_ + i;
    Style s = n != folder_ ? Style::kList : focus_ == kFolders ? Style::kFocus : Style::kSelected;
    screen.text(folders_area_.row + i, folders_left, L" " + terminal::shown_text(folders_[n]), s,
                &folders_area_);
  }

  int buttons_row = box->row + kRows - 3;
  ok_area_ = {buttons_row, box->column + kColumns / 2 - 14, 1, 6};
  cancel_area_ = {buttons_row, box->column + kColumns / 2 + 2, 1, 12};
  screen.text(ok_area_.row, ok_area_.column, L"[ OK ]",
              focus_ == kOk ? Style::kFocus : Style::kButton);
  screen.text(cancel_area_.row, cancel_area_.column, L"[ Cancelar ]",
              focus_ == kCancel ? Style::kFocus : Style::kButton);
  screen.text(box->row + kRows - 2, left, L"Tab: mudar · Enter: abrir/aceitar · Esc: cancelar",
              Style::kDialog);
  if (focus_ == kField)
    screen.cursor(field_area_.row, field_area_.column + static_cast<int>(cursor_ - skip));
  else
    screen.cursor(-1, -1);
  screen.show();
}

TerminalFolderDialog::Outcome TerminalFolderDialog::activate() {
  switch (focus_) {
  case kField:
  case kOk:
    return Outcome::kChosen;
  case kCancel:
    return Outcome::kCancelled;
  case kDrives:
    if (drive_ < static_cast<int>(drives_.size())) {
      show_folder(terminal::drive_root(drives_[drive_]));
      field_ = shown_;
      cursor_ = field_.size();
    }
    return Outcome::kWaiting;
  case kFolders:
    if (folder_ < static_cast<int>(folders_.size())) {
      std::string next = folders_[folder_] == ".."
                             ? terminal::parent_folder(shown_)
                             : terminal::child_folder(shown_, folders_[folder_]);
      show_folder(next);
      field_ = shown_.substr(0, kFolderLength);
      cursor_ = field_.size();
    }
    return Outcome::kWaiting;
  default:
    return Outcome::kWaiting;
  }
}

void TerminalFolderDialog::edit(int key) {
  switch (key) {
  case terminal::kLeft:
    cursor_ = cursor_ > 0 ? cursor_ - 1 : 0;
    break;
  case terminal::kRight:
    cursor_ = std::min(field_.size(), cursor_ + 1);
    break;
  case terminal::kHome:
    cursor_ = 0;
    break;
  case terminal::kEnd:
    cursor_ = field_.size();
    break;
  case terminal::kBackspace:
    if (cursor_ > 0)
      field_.erase(--cursor_, 1);
    break;
  case terminal::kDelete:
    if (cursor_ < field_.size())
      field_.erase(cursor_, 1);
    break;
  default:
    break;
  }
}

TerminalFolderDialog::Outcome TerminalFolderDialog::on_key(int key) {
  if (key == terminal::kEscape)
    return Outcome::kCancelled;
  if (key == terminal::kEnter)
    return activate();
  if (key == terminal::kTab || key == terminal::kBackTab) {
    int step = key == terminal::kTab ? 1 : kFocusCount - 1;
    focus_ = static_cast<Focus>((focus_ + step) % kFocusCount);
    return Outcome::kWaiting;
  }
  if (focus_ == kField) {
    edit(key);
    return Outcome::kWaiting;
  }
  int step = key == terminal::kUp         ? -1
             : key == terminal::kDown     ? 1
             : key == terminal::kPageUp   ? -kListRows
             : key == terminal::kPageDown ? kListRows
                                          : 0;
  if (focus_ == kDrives && !drives_.empty())
    drive_ = std::clamp(drive_ + step, 0, static_cast<int>(drives_.size()) - 1);
  if (focus_ == kFolders && !folders_.empty()) {
    folder_ = std::clamp(folder_ + step, 0, static_cast<int>(folders_.size()) - 1);
    if (folder_ < first_folder_)
      first_folder_ = folder_;
    if (folder_ >= first_folder_ + kListRows)
      first_folder_ = folder_ - kListRows + 1;
  }
  if (focus_ == kOk || focus_ == kCancel) {
    if (key == terminal::kLeft || key == terminal::kRight)
      focus_ = focus_ == kOk ? kCancel : kOk;
  }
  return Outcome::kWaiting;
}

TerminalFolderDialog::Outcome TerminalFolderDialog::on_text(wchar_t c) {
  if (focus_ != kField)
    return c == L' ' ? activate() : Outcome::kWaiting;
  std::string typed = terminal::w1252_from_typed(c);
  if (!typed.empty() && field_.size() + typed.size() <= kFolderLength) {
    field_.insert(cursor_, typed);
    cursor_ += typed.size();
  }
  return Outcome::kWaiting;
}

TerminalFolderDialog::Outcome TerminalFolderDialog::on_click(int row, int column) {
  if (field_area_.contains(row, column)) {
    focus_ = kField;
    cursor_ = std::min(field_.size(), static_cast<std::size_t>(column - field_area_.column));
    return Outcome::kWaiting;
  }
  if (drives_area_.contains(row, column) &&
      row - drives_area_.row < static_cast<int>(drives_.size())) {
    focus_ = kDrives;
    drive_ = row - drives_area_.row;
    return activate();
  }
  int line = first_folder_ + row - folders_area_.row;
  if (folders_area_.contains(row, column) && line < static_cast<int>(folders_.size())) {
    focus_ = kFolders;
    folder_ = line;
    return activate();
  }
  if (ok_area_.contains(row, column))
    return Outcome::kChosen;
  if (cancel_area_.contains(row, column))
    return Outcome::kCancelled;
  return Outcome::kWaiting;
}

} // namespace qov
