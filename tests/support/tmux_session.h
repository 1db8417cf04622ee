// Drives a program on a real terminal: a tmux session of a fixed size on a
// tmux server of its own, keys sent as a person types them, the screen read
// back as text.
#pragma once

#include <chrono>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace qov::testing {

class TmuxSession {
public:
  // True when tmux can be run.
  static bool available();

  // Starts `command` (a shell command line) in a detached session of
  // `columns` x `rows` cells, with the variables set (LANG is C.UTF-8 unless
  // given). The pane stays after the command ends, so its last screen can
  // still be read.
  TmuxSession(const std::string& command, int columns, int rows,
              const std::map<std::string, std::string>& env = {});
  ~TmuxSession();
  TmuxSession(const TmuxSession&) = delete;
  TmuxSession& operator=(const TmuxSession&) = delete;

  // Keys by tmux name ("Down", "Enter", "Escape", "C-q", "F10") or plain text.
  void send_keys(const std::vector<std::string>& keys);
  // Text typed literally, UTF-8.
  void type(const std::string& text);
  void resize(int columns, int rows);
  // A click of the left mouse button on a cell (0-based), sent as the
  // terminal reports it.
  void click(int column, int row);
  // Where `text` starts on the screen (0-based column and row); -1, -1 when
  // it is not there. Columns count characters, not bytes.
  std::pair<int, int> find(const std::string& text);

  // The visible screen, one line per row.
  std::string screen();
  // Waits until the screen shows `text`; false on time-out.
  bool wait_for(const std::string& text,
                std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Waits until the command has ended; false on time-out.
  bool wait_for_exit(std::chrono::milliseconds timeout = std::chrono::seconds(10));

private:
  std::string tmux(const std::string& arguments);

  std::string socket_;
};

// Quotes a text for the shell.
std::string shell_quoted(const std::string& text);

// Waits until a file holds `text`; false on time-out.
bool wait_for_file_text(const std::string& path, const std::string& text,
                        std::chrono::milliseconds timeout = std::chrono::seconds(10));

} // namespace qov::testing
