#include "tests/support/tmux_session.h"

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace qov::testing {
namespace {

std::string run_output(const std::string& command) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (p == nullptr)
    return out;
  std::array<char, 4096> buffer;
  std::size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), p)) > 0)
    out.append(buffer.data(), n);
  pclose(p);
  return out;
}

template <typename Check> bool poll_until(Check check, std::chrono::milliseconds timeout) {
  auto end = std::chrono::steady_clock::now() + timeout;
  while (true) {
    if (check())
      return true;
    if (std::chrono::steady_clock::now() > end)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

} // namespace

std::string shell_quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text)
    out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

bool TmuxSession::available() {
  return std::system("tmux -V >/dev/null 2>&1") == 0;
}

TmuxSession::TmuxSession(const std::string& command, int columns, int rows,
                         const std::map<std::string, std::string>& env) {
  static std::atomic<int> count{0};
  socket_ = "qov-test-" + std::to_string(getpid()) + "-" + std::to_string(count++);
  std::map<std::string, std::string> all = env;
  all.emplace("LANG", "C.UTF-8");
  std::string vars;
  for (const auto& [name, value] : all)
    vars += " -e " + shell_quoted(name + "=" + value);
  // The pane is kept once the command ends; the option is set on the server
  // before the session (and so the command) starts.
  tmux("start-server \\; set -g remain-on-exit on \\; set -g default-terminal tmux-256color "
       "\\; new-session -d -s test -x " +
       std::to_string(columns) + " -y " + std::to_string(rows) + vars + " " +
       shell_quoted(command));
}

TmuxSession::~TmuxSession() {
  tmux("kill-server");
}

std::string TmuxSession::tmux(const std::string& arguments) {
  return run_output("LC_ALL=C.UTF-8 tmux -u -f /dev/null -L " + socket_ + " " + arguments +
                    " 2>/dev/null");
}

void TmuxSession::send_keys(const std::vector<std::string>& keys) {
  for (const std::string& key : keys) {
    tmux("send-keys -t test " + shell_quoted(key));
    // A pause between keys, as a person leaves: Esc is not taken for the
    // start of the next key's sequence.
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
  }
}

void TmuxSession::type(const std::string& text) {
  tmux("send-keys -t test -l " + shell_quoted(text));
}

void TmuxSession::resize(int columns, int rows) {
  tmux("resize-window -t test -x " + std::to_string(columns) + " -y " + std::to_string(rows));
}

void TmuxSession::click(int column, int row) {
  // The X10 reports of the press and the release: Esc [ M, then the button
  // (0 the left one, 3 released), column and row, each plus 32 and counted
  // from 1.
  for (int button : {0, 3}) {
    char hex[64];
    std::snprintf(hex, sizeof hex, "1b 5b 4d %02x %02x %02x", 32 + button, 33 + column, 33 + row);
    tmux("send-keys -t test -H " + std::string(hex));
  }
}

std::pair<int, int> TmuxSession::find(const std::string& text) {
  std::istringstream lines(screen());
  std::string line;
  for (int row = 0; std::getline(lines, line); ++row) {
    std::size_t at = line.find(text);
    if (at == std::string::npos)
      continue;
    int column = 0;
    for (std::size_t i = 0; i < at; ++i)
      column += (static_cast<unsigned char>(line[i]) & 0xc0) != 0x80;
    return {column, row};
  }
  return {-1, -1};
}

std::string TmuxSession::screen() {
  return tmux("capture-pane -p -t test");
}

bool TmuxSession::wait_for(const std::string& text, std::chrono::milliseconds timeout) {
  return poll_until([&] { return screen().find(text) != std::string::npos; }, timeout);
}

bool TmuxSession::wait_for_exit(std::chrono::milliseconds timeout) {
  return poll_until([&] { return tmux("display -p -t test '#{pane_dead}'").starts_with("1"); },
                    timeout);
}

bool wait_for_file_text(const std::string& path, const std::string& text,
                        std::chrono::milliseconds timeout) {
  return poll_until(
      [&] {
        std::ifstream in(path);
        std::stringstream s;
        s << in.rdbuf();
        return s.str().find(text) != std::string::npos;
      },
      timeout);
}

} // namespace qov::testing
