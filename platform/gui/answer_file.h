// The answer file (QOV_GUI_SCRIPT): what a person would do, one action a line.
//
//   key N          the next waiting converse returns key code N
//   select N       the next waiting converse on "PSETUP" selects line N of
//                  the "DIR" list and returns key code 0
//   answer y|n|-   the next message: letter 4 becomes "y", "n" or stays NUL
//   folder TEXT    the next folder dialog returns TEXT (cut at 80 characters)
//   cancel         the next folder dialog returns "CAN"
//
// Blank lines and lines starting with "#" are ignored; a "#" preceded by a
// space or a tab starts a comment. The file is UTF-8; folder texts are
// handed to the installer in Windows-1252.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qov {

struct Answer {
  enum class Kind { kKey, kSelect, kAnswer, kFolder, kCancel };
  Kind kind;
  int line;         // line number in the file, from 1
  int16_t number;   // key code, or line of the list for select
  char letter;      // 'y', 'n' or NUL for answer
  std::string text; // folder, Windows-1252
};

std::string_view kind_name(Answer::Kind kind);

class AnswerFile {
public:
  // Parses the whole file. On a malformed line gives nothing and an error
  // naming the line.
  static std::optional<AnswerFile> parse(std::string_view content, std::string* error);
  static std::optional<AnswerFile> load(const std::string& path, std::string* error);

  // Takes the next action, which must be of one of the kinds the call
  // consumes. Without one (no line left, or a line of another kind), stops
  // the process with status 99 and a message naming the line and the call.
  const Answer& take(std::initializer_list<Answer::Kind> kinds, std::string_view call);

  // Refuses an action already taken that the call cannot carry out (a
  // "select" of a line the list does not have): stops the process with
  // status 99 and a message naming the line, the call and why.
  [[noreturn]] void refuse(const Answer& answer, std::string_view call, std::string_view why) const;

  bool exhausted() const { return next_ >= answers_.size(); }

  std::string path;

private:
  std::vector<Answer> answers_;
  std::size_t next_ = 0;
  int last_line_ = 0;
};

} // namespace qov
