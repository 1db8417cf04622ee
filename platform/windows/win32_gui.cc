#include "platform/windows/win32_gui.h"

#include <algorithm>
#include <cstring>

#include "platform/windows/wide_text.h"
#include "ui/gui_block.h"

namespace qov {
namespace {

constexpr wchar_t kWindowClass[] = L"QovSetupWindow";
constexpr int kBoardButtonId = 100;
constexpr int kListId = 1999;
constexpr int kPanelButtonId = 2000;
constexpr int16_t kKeyEsc = 27, kKeyClosed = -5;
constexpr std::size_t kLineWidth = 57;

std::string trimmed(std::string_view s) {
  std::size_t end = s.find_last_not_of(std::string_view(" \0", 2));
  return std::string(end == std::string_view::npos ? std::string_view() : s.substr(0, end + 1));
}

std::string text_of(std::span<const uint8_t> bytes) {
  return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::string lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c + 32);
  return s;
}

// The folder of the configuration file named by "sp2cfg": the pictures sit
// beside it.
std::wstring picture_folder() {
  wchar_t value[MAX_PATH];
  DWORD n = GetEnvironmentVariableW(L"sp2cfg", value, MAX_PATH);
  std::wstring cfg = n > 0 && n < MAX_PATH ? std::wstring(value, n) : L"";
  std::size_t slash = cfg.find_last_of(L"\\/");
  if (slash != std::wstring::npos)
    return cfg.substr(0, slash);
  n = GetCurrentDirectoryW(MAX_PATH, value);
  return std::wstring(value, n);
}

void register_class(WNDPROC proc) {
  static bool done = false;
  if (done)
    return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kWindowClass;
  RegisterClassExW(&wc);
  done = true;
}

HFONT ui_font() {
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// Sim/Não on the buttons of a question, whatever the language of Windows.
HHOOK g_question_hook = nullptr;
LRESULT CALLBACK question_hook(int code, WPARAM w, LPARAM l) {
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(w);
    SetDlgItemTextW(box, IDYES, L"Sim");
    SetDlgItemTextW(box, IDNO, L"N\u00e3o");
    UnhookWindowsHookEx(g_question_hook);
    g_question_hook = nullptr;
    return 0;
  }
  return CallNextHookEx(g_question_hook, code, w, l);
}

} // namespace

Win32Gui::Win32Gui() {
  register_class(&Win32Gui::window_proc);
  list_font_ =
      CreateFontW(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"Courier New");
}

Win32Gui::~Win32Gui() {
  destroy_all();
  for (auto& [name, b] : bitmaps_)
    if (b != nullptr)
      DeleteObject(b);
  if (list_font_ != nullptr)
    DeleteObject(list_font_);
}

int32_t Win32Gui::call(int16_t code, std::span<uint8_t> block) {
  switch (code) {
  case kGuiOpenWindow:
    panels_.handle(code, block);
    open_window(block);
    break;
  case kGuiCloseWindow:
    close_window();
    panels_.handle(code, block);
    break;
  case kGuiShutdown:
    destroy_all();
    break;
  case kGuiConverse:
    converse(block);
    break;
  case kGuiMessage:
    message(block);
    break;
  default:
    if (panels_.handle(code, block) &&
        (code == kGuiClearPanel || code == kGuiDefinePanel || code == kGuiSetField))
      board_dirty_ = true;
    break;
  }
  return 0;
}

LRESULT CALLBACK Win32Gui::window_proc(HWND window, UINT message, WPARAM w, LPARAM l) {
  auto* self = reinterpret_cast<Win32Gui*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr)
    return DefWindowProcW(window, message, w, l);
  return self->handle(window, message, w, l);
}

LRESULT Win32Gui::handle(HWND window, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
  case WM_PAINT:
    if (window == main_) {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      paint_board(dc);
      EndPaint(window, &ps);
      return 0;
    }
    break;
  case WM_COMMAND: {
    int id = LOWORD(w);
    if (window == main_ && id >= kBoardButtonId &&
        id < kBoardButtonId + static_cast<int>(board_.size())) {
      key_ = board_[static_cast<std::size_t>(id - kBoardButtonId)].code;
      return 0;
    }
    if (window == panel_window_ && id == kListId && HIWORD(w) == LBN_SELCHANGE) {
      key_ = 0;
      return 0;
    }
    if (window == panel_window_ && id >= kPanelButtonId &&
        id < kPanelButtonId + static_cast<int>(panel_keys_.size())) {
      key_ = panel_keys_[static_cast<std::size_t>(id - kPanelButtonId)];
      return 0;
    }
    break;
  }
  case WM_DRAWITEM: {
    auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(l);
    int at = static_cast<int>(item->CtlID) - kPanelButtonId;
    if (window == panel_window_ && at >= 0 && at < static_cast<int>(panel_bitmaps_.size())) {
      draw_panel_button(*item, panel_bitmaps_[static_cast<std::size_t>(at)]);
      return TRUE;
    }
    break;
  }
  case WM_CLOSE:
    key_ = kKeyClosed; // the installer closes its windows itself
    return 0;
  }
  return DefWindowProcW(window, message, w, l);
}

void Win32Gui::open_window(std::span<uint8_t> block) {
  const std::string& panel = panels_.windows().back();
  if (!panel.empty()) {
    if (const Panel* p = panels_.find(panel); p != nullptr && p->layout)
      open_panel_window(*p);
    return;
  }
  if (main_ != nullptr)
    return;
  GuiBlockView v(block);
  std::string title = trimmed(text_of(v.variable_part()));
  int columns = v.number(5) > 0 ? v.number(5) : 84;
  int rows = v.number(6) > 0 ? v.number(6) : 34;
  RECT r{0, 0, columns * kColumn, rows * kRow};
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  AdjustWindowRect(&r, style, FALSE);
  main_ = CreateWindowExW(0, kWindowClass, wide_from_w1252(title).c_str(), style, CW_USEDEFAULT,
                          CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  if (main_ == nullptr)
    return;
  SetWindowLongPtrW(main_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ShowWindow(main_, SW_SHOWNORMAL);
  UpdateWindow(main_);
}

void Win32Gui::open_panel_window(const Panel& panel) {
  if (panel_window_ != nullptr)
    DestroyWindow(panel_window_);
  const StoredPanel& layout = *panel.layout;
  RECT r{0, 0, std::max(layout.width, 20) * kColumn, std::max(layout.height, 8) * kRow};
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  AdjustWindowRect(&r, style, FALSE);
  RECT owner{0, 0, 0, 0};
  if (main_ != nullptr)
    GetWindowRect(main_, &owner);
  panel_window_ = CreateWindowExW(
      WS_EX_DLGMODALFRAME, kWindowClass, wide_from_w1252(trimmed(layout.caption)).c_str(), style,
      owner.left + 40, owner.top + 60, r.right - r.left, r.bottom - r.top, main_, nullptr,
      GetModuleHandleW(nullptr), nullptr);
  if (panel_window_ == nullptr)
    return;
  SetWindowLongPtrW(panel_window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  HINSTANCE instance = GetModuleHandleW(nullptr);

  // The list with its headings above it, in the list's own fixed-pitch
  // font so that the headings stand over their columns.
  list_ = nullptr;
  HDC dc = GetDC(panel_window_);
  HGDIOBJ old = SelectObject(dc, list_font_);
  TEXTMETRICW tm;
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(panel_window_, dc);
  int char_width = std::max<int>(tm.tmAveCharWidth, 1);
  for (const StoredPanel::ListField& f : layout.lists) {
    int x = f.column * kColumn, y = f.row * kRow;
    int width = f.width * char_width + GetSystemMetrics(SM_CXVSCROLL) + 8;
    list_ =
        CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                        WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | WS_TABSTOP, x, y, width,
                        std::max(f.lines, 3) * tm.tmHeight + 8, panel_window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), instance, nullptr);
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(list_font_), FALSE);
    // A heading longer than its column pushes the next one along rather
    // than being covered by it.
    int free_x = x;
    for (const StoredPanel::Heading& h : layout.headings) {
      std::wstring text = wide_from_w1252(h.text);
      int at = std::max(x + 4 + (h.column - 1) * char_width, free_x);
      int width = static_cast<int>(text.size()) * char_width;
      HWND label = CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE, at,
                                   y - tm.tmHeight - 2, width, tm.tmHeight, panel_window_, nullptr,
                                   instance, nullptr);
      SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(list_font_), FALSE);
      free_x = at + width + char_width;
    }
  }
  // The buttons draw themselves: their bitmap, then their caption.
  panel_keys_.clear();
  panel_bitmaps_.clear();
  for (const StoredPanel::Button& b : layout.buttons) {
    HWND button = CreateWindowExW(
        0, L"BUTTON", wide_from_w1252(b.caption).c_str(),
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, b.column * kColumn, b.row * kRow,
        18 * kColumn, 2 * kRow, panel_window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPanelButtonId + panel_keys_.size())),
        instance, nullptr);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(ui_font()), FALSE);
    panel_keys_.push_back(static_cast<int16_t>(b.key));
    panel_bitmaps_.push_back(b.bitmap.empty() ? nullptr : bitmap(b.bitmap));
  }
  ShowWindow(panel_window_, SW_SHOWNORMAL);
  UpdateWindow(panel_window_);
}

void Win32Gui::draw_panel_button(const DRAWITEMSTRUCT& item, HBITMAP picture) {
  RECT r = item.rcItem;
  bool pressed = (item.itemState & ODS_SELECTED) != 0;
  DrawFrameControl(item.hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  InflateRect(&r, -4, -3);
  BITMAP info;
  if (picture != nullptr && GetObjectW(picture, sizeof info, &info) != 0) {
    HDC memory = CreateCompatibleDC(item.hDC);
    HGDIOBJ old = SelectObject(memory, picture);
    int height = std::min<int>(info.bmHeight, r.bottom - r.top);
    BitBlt(item.hDC, r.left, r.top + (r.bottom - r.top - height) / 2, info.bmWidth, height, memory,
           0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    r.left += info.bmWidth + 4;
  }
  wchar_t caption[64];
  int n = GetWindowTextW(item.hwndItem, caption, 64);
  SetBkMode(item.hDC, TRANSPARENT);
  DrawTextW(item.hDC, caption, n, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if ((item.itemState & ODS_FOCUS) != 0) {
    InflateRect(&r, 1, 1);
    DrawFocusRect(item.hDC, &r);
  }
}

void Win32Gui::close_window() {
  const std::vector<std::string>& open = panels_.windows();
  if (open.empty())
    return;
  if (!open.back().empty()) {
    if (panel_window_ != nullptr)
      DestroyWindow(panel_window_);
    panel_window_ = nullptr;
    list_ = nullptr;
  } else if (main_ != nullptr) {
    DestroyWindow(main_);
    main_ = nullptr;
    board_buttons_.clear();
  }
}

void Win32Gui::destroy_all() {
  if (panel_window_ != nullptr)
    DestroyWindow(panel_window_);
  if (main_ != nullptr)
    DestroyWindow(main_);
  panel_window_ = main_ = list_ = nullptr;
  board_buttons_.clear();
}

HBITMAP Win32Gui::bitmap(const std::string& name) {
  std::string key = lower(name);
  auto it = bitmaps_.find(key);
  if (it != bitmaps_.end())
    return it->second;
  std::wstring path = picture_folder() + L"\\" + wide_from_w1252(name);
  auto b = static_cast<HBITMAP>(
      LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  bitmaps_[key] = b;
  return b;
}

// The pictures and buttons of "PANEL001", in field order: a field's
// picture is the bitmap name in characters 9 to 20 of its variable part.
void Win32Gui::build_board() {
  if (!board_dirty_ || main_ == nullptr)
    return;
  board_dirty_ = false;
  for (HWND b : board_buttons_)
    DestroyWindow(b);
  board_buttons_.clear();
  board_.clear();
  Panel* panel = panels_.find("PANEL001");
  if (panel != nullptr) {
    for (const auto& [number, field] : panel->fields) {
      std::span<const uint8_t> picture = field.variable;
      std::string name = picture.size() > 8 ? trimmed(text_of(picture.subspan(8))) : "";
      if (name.size() > 12)
        name.resize(12);
      if (name.empty())
        continue;
      Picture p{};
      p.bitmap = bitmap(name);
      p.code = field.number(18);
      p.name = wide_from_w1252(name);
      int width = 12 * kColumn, height = 2 * kRow;
      BITMAP info;
      if (p.bitmap != nullptr && GetObjectW(p.bitmap, sizeof info, &info) != 0) {
        width = info.bmWidth;
        height = info.bmHeight;
      }
      int x = field.number(7) * kColumn, y = field.number(6) * kRow;
      p.at = RECT{x, y, x + width, y + height};
      board_.push_back(p);
    }
  }
  HINSTANCE instance = GetModuleHandleW(nullptr);
  for (std::size_t i = 0; i < board_.size(); ++i) {
    const Picture& p = board_[i];
    if (p.code == 0)
      continue;
    DWORD style =
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | (p.bitmap != nullptr ? BS_BITMAP : 0);
    HWND b = CreateWindowExW(0, L"BUTTON", p.name.c_str(), style, p.at.left, p.at.top,
                             p.at.right - p.at.left, p.at.bottom - p.at.top, main_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kBoardButtonId + i)),
                             instance, nullptr);
    if (p.bitmap != nullptr)
      SendMessageW(b, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(p.bitmap));
    else
      SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(ui_font()), FALSE);
    board_buttons_.push_back(b);
  }
  InvalidateRect(main_, nullptr, TRUE);
  UpdateWindow(main_);
}

void Win32Gui::paint_board(HDC dc) {
  HDC memory = CreateCompatibleDC(dc);
  for (const Picture& p : board_) {
    if (p.code != 0)
      continue;
    if (p.bitmap == nullptr) {
      RECT r = p.at;
      DrawTextW(dc, p.name.c_str(), -1, &r, DT_LEFT | DT_TOP | DT_SINGLELINE);
      continue;
    }
    HGDIOBJ old = SelectObject(memory, p.bitmap);
    BitBlt(dc, p.at.left, p.at.top, p.at.right - p.at.left, p.at.bottom - p.at.top, memory, 0, 0,
           SRCCOPY);
    SelectObject(memory, old);
  }
  DeleteDC(memory);
}

// The lines of "DIR" (57 characters each) from field 1's value; the line
// equal to `selected` is selected.
void Win32Gui::fill_list(std::span<const uint8_t> selected) {
  if (list_ == nullptr)
    return;
  SendMessageW(list_, LB_RESETCONTENT, 0, 0);
  list_lines_.clear();
  Panel* p = panels_.find("PSETUP  ");
  if (p == nullptr || !p->fields.count(1))
    return;
  std::span<const uint8_t> value = p->fields[1].value();
  std::string wanted = text_of(selected);
  int selection = -1;
  for (std::size_t at = 0; at + kLineWidth <= value.size(); at += kLineWidth) {
    std::string line = text_of(value.subspan(at, kLineWidth));
    if (trimmed(line).empty())
      continue;
    if (line == wanted && selection < 0)
      selection = static_cast<int>(list_lines_.size());
    list_lines_.push_back(line);
    SendMessageW(list_, LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(wide_from_w1252(trimmed(line)).c_str()));
  }
  SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

int16_t Win32Gui::wait_for_key() {
  key_.reset();
  MSG msg;
  while (!key_) {
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0)
      return kKeyClosed;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      key_ = kKeyEsc;
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return *key_;
}

void Win32Gui::converse(std::span<uint8_t> block) {
  GuiBlockView v(block);
  std::string panel(v.characters(1, 8));
  bool on_panel_window =
      panel_window_ != nullptr && panels_.windows().size() > 1 && panels_.windows().back() == panel;
  std::span<uint8_t> variable = v.variable_part();
  std::span<uint8_t> value =
      variable.size() >= 8 + kLineWidth ? variable.subspan(8, kLineWidth) : std::span<uint8_t>();
  if (on_panel_window)
    fill_list(value);
  else
    build_board();
  if (v.character(103) == 'n' || main_ == nullptr) {
    v.set_number(1, main_ == nullptr && v.character(103) != 'n' ? kKeyClosed : 0);
    return;
  }
  SetForegroundWindow(owner());
  int16_t key = wait_for_key();
  if (on_panel_window && key == 0 && !value.empty()) {
    LRESULT at = SendMessageW(list_, LB_GETCURSEL, 0, 0);
    if (at >= 0 && static_cast<std::size_t>(at) < list_lines_.size())
      std::memcpy(value.data(), list_lines_[static_cast<std::size_t>(at)].data(), kLineWidth);
  }
  v.set_number(1, key);
}

// Letters 1 to 3 of the block describe the message; "q" first makes it a
// question, answered with "y" (Sim) or "n" (Não) in letter 4.
void Win32Gui::message(std::span<uint8_t> block) {
  GuiBlockView v(block);
  std::span<uint8_t> variable = v.variable_part();
  std::string title =
      trimmed(text_of(variable.subspan(0, std::min<std::size_t>(60, variable.size()))));
  std::string text =
      variable.size() > 60
          ? trimmed(text_of(variable.subspan(60, std::min<std::size_t>(180, variable.size() - 60))))
          : "";
  bool question = v.character(1) == 'q';
  if (question)
    g_question_hook = SetWindowsHookExW(WH_CBT, question_hook, nullptr, GetCurrentThreadId());
  int answer = MessageBoxW(owner(), wide_from_w1252(text).c_str(), wide_from_w1252(title).c_str(),
                           question ? MB_YESNO | MB_ICONQUESTION : MB_OK | MB_ICONINFORMATION);
  if (g_question_hook != nullptr) {
    UnhookWindowsHookEx(g_question_hook);
    g_question_hook = nullptr;
  }
  if (question)
    v.set_character(4, answer == IDYES ? 'y' : 'n');
}

} // namespace qov
