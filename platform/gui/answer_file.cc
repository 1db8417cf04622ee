#include "platform/gui/answer_file.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "system/process_exit.h"
#include "system/win1252.h"

namespace qov {

std::string_view kind_name(Answer::Kind kind) {
  switch (kind) {
  case Answer::Kind::kKey:
    return "key";
  case Answer::Kind::kSelect:
    return "select";
  case Answer::Kind::kAnswer:
    return "answer";
  case Answer::Kind::kFolder:
    return "folder";
  case Answer::Kind::kCancel:
    return "cancel";
  }
  return "?";
}

namespace {

std::string_view strip(std::string_view s) {
  std::size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string_view::npos)
    return {};
  std::size_t e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

// Removes a comment: "#" at the start or after a space or tab.
std::string_view without_comment(std::string_view s) {
  for (std::size_t i = 0; i < s.size(); ++i)
    if (s[i] == '#' && (i == 0 || s[i - 1] == ' ' || s[i - 1] == '\t'))
      return s.substr(0, i);
  return s;
}

bool parse_int(std::string_view s, long min, long max, long* out) {
  long v = 0;
  auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || ptr != s.data() + s.size() || v < min || v > max)
    return false;
  *out = v;
  return true;
}

} // namespace

std::optional<AnswerFile> AnswerFile::parse(std::string_view content, std::string* error) {
  AnswerFile file;
  int line_no = 0;
  std::size_t pos = 0;
  while (pos <= content.size()) {
    std::size_t end = content.find('\n', pos);
    if (end == std::string_view::npos)
      end = content.size();
    std::string_view raw = content.substr(pos, end - pos);
    pos = end + 1;
    ++line_no;
    std::string_view line = strip(without_comment(raw));
    if (line.empty()) {
      if (end == content.size())
        break;
      continue;
    }
    std::size_t space = line.find_first_of(" \t");
    std::string_view word = line.substr(0, space);
    std::string_view rest = space == std::string_view::npos ? "" : strip(line.substr(space));
    auto fail = [&](const std::string& why) {
      *error = "line " + std::to_string(line_no) + ": " + why + ": \"" + std::string(line) + "\"";
      return std::nullopt;
    };
    Answer a{Answer::Kind::kKey, line_no, 0, '\0', {}};
    long n = 0;
    if (word == "key") {
      if (!parse_int(rest, -32768, 32767, &n))
        return fail("key needs a 16-bit signed number");
      a.number = static_cast<int16_t>(n);
    } else if (word == "select") {
      a.kind = Answer::Kind::kSelect;
      if (!parse_int(rest, 1, 32767, &n))
        return fail("select needs a line number from 1");
      a.number = static_cast<int16_t>(n);
    } else if (word == "answer") {
      a.kind = Answer::Kind::kAnswer;
      if (rest == "y" || rest == "n")
        a.letter = rest[0];
      else if (rest != "-")
        return fail("answer needs y, n or -");
    } else if (word == "folder") {
      a.kind = Answer::Kind::kFolder;
      if (rest.empty())
        return fail("folder needs a folder name");
      a.text = w1252(rest).substr(0, 80);
    } else if (word == "cancel") {
      a.kind = Answer::Kind::kCancel;
      if (!rest.empty())
        return fail("cancel takes nothing after it");
    } else {
      return fail("unknown action");
    }
    file.answers_.push_back(a);
    if (end == content.size())
      break;
  }
  return file;
}

std::optional<AnswerFile> AnswerFile::load(const std::string& path, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = "cannot read " + path + ": " + std::strerror(errno);
    return std::nullopt;
  }
  std::stringstream content;
  content << in.rdbuf();
  std::string why;
  auto file = parse(content.str(), &why);
  if (!file) {
    *error = path + " " + why;
    return std::nullopt;
  }
  file->path = path;
  return file;
}

const Answer& AnswerFile::take(std::initializer_list<Answer::Kind> kinds, std::string_view call) {
  std::string wanted;
  for (Answer::Kind k : kinds)
    wanted += (wanted.empty() ? "" : " or ") + std::string(kind_name(k));
  if (next_ >= answers_.size()) {
    std::fprintf(
        stderr, "qov-setup: answer file %s: no line left after line %d for the %.*s (wanted %s)\n",
        path.c_str(), last_line_, static_cast<int>(call.size()), call.data(), wanted.c_str());
    stop_process_with(99);
  }
  const Answer& a = answers_[next_];
  if (std::find(kinds.begin(), kinds.end(), a.kind) == kinds.end()) {
    std::fprintf(
        stderr, "qov-setup: answer file %s line %d: \"%.*s\" cannot answer the %.*s (wanted %s)\n",
        path.c_str(), a.line, static_cast<int>(kind_name(a.kind).size()), kind_name(a.kind).data(),
        static_cast<int>(call.size()), call.data(), wanted.c_str());
    stop_process_with(99);
  }
  ++next_;
  last_line_ = a.line;
  return a;
}

void AnswerFile::refuse(const Answer& a, std::string_view call, std::string_view why) const {
  std::string action(kind_name(a.kind));
  if (a.kind == Answer::Kind::kKey || a.kind == Answer::Kind::kSelect)
    action += " " + std::to_string(a.number);
  std::fprintf(stderr, "qov-setup: answer file %s line %d: \"%s\" cannot answer the %.*s (%.*s)\n",
               path.c_str(), a.line, action.c_str(), static_cast<int>(call.size()), call.data(),
               static_cast<int>(why.size()), why.data());
  stop_process_with(99);
}

} // namespace qov
