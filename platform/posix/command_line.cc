#include "platform/posix/command_line.h"

#include <cctype>

namespace qov::posix {
namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view skip_blanks(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && is_blank(text[i]))
    ++i;
  return text.substr(i);
}

std::string_view trim_end(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && is_blank(text[end - 1]))
    --end;
  return text.substr(0, end);
}

bool equals_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// Whether the command starts with the keyword, followed by the end or by one
// of the characters that may end it.
bool starts_with_keyword(std::string_view command, std::string_view keyword,
                         std::string_view enders) {
  if (command.size() < keyword.size() ||
      !equals_ignoring_case(command.substr(0, keyword.size()), keyword))
    return false;
  return command.size() == keyword.size() ||
         enders.find(command[keyword.size()]) != std::string_view::npos;
}

std::string_view skip_blanks_and_at(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (is_blank(text[i]) || text[i] == '@'))
    ++i;
  return text.substr(i);
}

// Splits the line at the separators. A "rem" command ends the line: what
// follows it, separators included, is its comment.
std::optional<std::vector<std::string>> split_commands(std::string_view line, std::string* error) {
  std::vector<std::string> commands;
  std::size_t i = 0;
  for (;;) {
    std::string_view rest = skip_blanks_and_at(line.substr(i));
    i = line.size() - rest.size();
    if (starts_with_keyword(rest, "rem", " \t"))
      return commands;
    std::string command;
    bool quoted = false;
    bool separated = false;
    for (; i < line.size(); ++i) {
      char c = line[i];
      if (c == '"') {
        quoted = !quoted;
      } else if (!quoted && c == '^') {
        if (i + 1 == line.size() || line[i + 1] == '"') {
          *error = "a ^ at the end of a line or before a quote";
          return std::nullopt;
        }
        command += line[++i];
        continue;
      } else if (!quoted && c == '&') {
        if (i + 1 < line.size() && line[i + 1] == '&') {
          *error = "&& is not supported";
          return std::nullopt;
        }
        separated = true;
        ++i;
        break;
      } else if (!quoted && (c == '|' || c == '<' || c == '>')) {
        *error = std::string("pipes and redirection (") + c + ") are not supported";
        return std::nullopt;
      }
      command += c;
    }
    if (quoted) {
      *error = "a quote is not closed";
      return std::nullopt;
    }
    bool empty = skip_blanks(command).empty();
    if (empty && (separated || !commands.empty())) {
      *error = "& without a command";
      return std::nullopt;
    }
    if (!empty)
      commands.push_back(command);
    if (!separated)
      return commands;
  }
}

// The first word of a command, quotes removed, and the text after it.
void split_program(std::string_view text, std::string* program, std::string* rest) {
  std::size_t i = 0;
  bool quoted = false;
  for (; i < text.size() && (quoted || !is_blank(text[i])); ++i) {
    if (text[i] == '"')
      quoted = !quoted;
    else
      *program += text[i];
  }
  *rest = std::string(trim_end(skip_blanks(text.substr(i))));
}

std::optional<Command> parse_set(std::string_view rest, std::string* error) {
  Command c;
  rest = skip_blanks(rest);
  if (!rest.empty() && rest[0] == '/') {
    *error = "switches of set are not supported";
    return std::nullopt;
  }
  std::string_view inner = rest;
  if (!rest.empty() && rest[0] == '"')
    inner = rest.substr(1, rest.rfind('"') - 1);
  std::size_t eq = inner.find('=');
  if (eq == std::string_view::npos) {
    c.kind = Command::Kind::kShowSet;
    c.name = std::string(trim_end(inner));
    return c;
  }
  if (eq == 0) {
    *error = "set needs a name before =";
    return std::nullopt;
  }
  c.kind = Command::Kind::kSet;
  c.name = std::string(inner.substr(0, eq));
  c.value = std::string(inner.substr(eq + 1));
  return c;
}

Command parse_echo(std::string_view rest) {
  Command c;
  c.kind = Command::Kind::kEchoState;
  if (rest.empty())
    return c;
  std::string_view text = rest.substr(1);
  std::string_view word = trim_end(skip_blanks(text));
  if (is_blank(rest[0]) && (equals_ignoring_case(word, "on") || equals_ignoring_case(word, "off")))
    return c;
  c.kind = Command::Kind::kEcho;
  c.text = std::string(text);
  return c;
}

std::optional<Command> parse_command(std::string_view text, std::string* error) {
  text = skip_blanks_and_at(text);
  if (starts_with_keyword(text, "set", " \t"))
    return parse_set(text.substr(3), error);
  if (starts_with_keyword(text, "echo", " \t.:/\\([]+,;="))
    return parse_echo(text.substr(4));
  Command c;
  if (starts_with_keyword(text, "call", " \t")) {
    c.kind = Command::Kind::kCall;
    text = skip_blanks(text.substr(4));
  }
  if (!text.empty() && text[0] == '(') {
    *error = "blocks in parentheses are not supported";
    return std::nullopt;
  }
  split_program(text, &c.program, &c.arguments);
  if (c.program.empty()) {
    *error = c.kind == Command::Kind::kCall ? "call needs a batch file or a program"
                                            : "a command without a program";
    return std::nullopt;
  }
  return c;
}

} // namespace

std::string expand_variables(std::string_view line, const Lookup& lookup,
                             const std::vector<std::string>* arguments) {
  std::string out;
  std::size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (c != '%') {
      out += c;
      ++i;
      continue;
    }
    if (arguments != nullptr && i + 1 < line.size()) {
      char next = line[i + 1];
      if (next == '%' || std::isdigit(static_cast<unsigned char>(next)) || next == '*') {
        if (next == '%') {
          out += '%';
        } else if (next == '*') {
          for (std::size_t a = 1; a < arguments->size(); ++a)
            out += (a > 1 ? " " : "") + (*arguments)[a];
        } else if (std::size_t n = static_cast<std::size_t>(next - '0'); n < arguments->size()) {
          out += (*arguments)[n];
        }
        i += 2;
        continue;
      }
    }
    std::size_t end = line.find('%', i + 1);
    if (end == std::string_view::npos) {
      out += line.substr(i);
      break;
    }
    std::string_view name = line.substr(i + 1, end - i - 1);
    std::optional<std::string> value;
    if (!name.empty())
      value = lookup(name);
    if (value) {
      out += *value;
      i = end + 1;
    } else {
      // Stays as written; the closing % may open the next reference.
      out += '%';
      ++i;
    }
  }
  return out;
}

std::optional<std::vector<Command>> parse_command_line(std::string_view line, std::string* error) {
  std::optional<std::vector<std::string>> texts = split_commands(line, error);
  if (!texts)
    return std::nullopt;
  std::vector<Command> commands;
  for (const std::string& text : *texts) {
    std::optional<Command> c = parse_command(text, error);
    if (!c)
      return std::nullopt;
    commands.push_back(std::move(*c));
  }
  return commands;
}

std::vector<std::string> split_arguments(std::string_view text) {
  std::vector<std::string> args;
  std::size_t i = 0;
  for (;;) {
    while (i < text.size() && is_blank(text[i]))
      ++i;
    if (i == text.size())
      return args;
    std::string arg;
    bool quoted = false;
    for (; i < text.size() && (quoted || !is_blank(text[i])); ++i) {
      if (text[i] == '"')
        quoted = !quoted;
      else
        arg += text[i];
    }
    args.push_back(std::move(arg));
  }
}

std::optional<std::string> shell_line(std::string_view arguments) {
  std::string_view rest = skip_blanks(arguments);
  while (rest.size() >= 2 && rest[0] == '/') {
    char s = static_cast<char>(std::tolower(static_cast<unsigned char>(rest[1])));
    if (s == 'c' || s == 'k') {
      std::string line(skip_blanks(rest.substr(2)));
      std::size_t quotes = 0;
      for (char c : line)
        quotes += c == '"';
      if (quotes == 2 && line.size() >= 2 && line.front() == '"' && line.back() == '"')
        line = line.substr(1, line.size() - 2);
      return line;
    }
    std::size_t end = 0;
    while (end < rest.size() && !is_blank(rest[end]))
      ++end;
    rest = skip_blanks(rest.substr(end));
  }
  return std::nullopt;
}

std::string_view program_base(std::string_view program) {
  std::size_t cut = program.find_last_of("\\/:");
  return cut == std::string_view::npos ? program : program.substr(cut + 1);
}

} // namespace qov::posix
