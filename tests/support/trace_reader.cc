#include "tests/support/trace_reader.h"

#include <fstream>
#include <stdexcept>

#include <gtest/gtest.h>

namespace qov::testing {
namespace {

void append_utf8(std::string& out, unsigned cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

class Parser {
public:
  explicit Parser(const std::string& s) : s_(s) {}

  TraceEntry object() {
    TraceEntry e;
    expect('{');
    if (peek() == '}') {
      ++i_;
      return e;
    }
    for (;;) {
      std::string key = string();
      expect(':');
      e.members[key] = value();
      if (peek() == ',') {
        ++i_;
        continue;
      }
      expect('}');
      break;
    }
    if (i_ != s_.size())
      throw std::runtime_error("text after the object");
    return e;
  }

private:
  char peek() const { return i_ < s_.size() ? s_[i_] : '\0'; }
  void expect(char c) {
    if (peek() != c)
      throw std::runtime_error(std::string("expected ") + c);
    ++i_;
  }
  std::string value() {
    if (peek() == '"')
      return string();
    std::size_t start = i_;
    while (i_ < s_.size() && s_[i_] != ',' && s_[i_] != '}')
      ++i_;
    return s_.substr(start, i_ - start);
  }
  std::string string() {
    expect('"');
    std::string out;
    while (peek() != '"') {
      if (i_ >= s_.size())
        throw std::runtime_error("unterminated string");
      char c = s_[i_++];
      if (c != '\\') {
        out += c;
        continue;
      }
      char esc = s_[i_++];
      switch (esc) {
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case 'u':
        append_utf8(out, std::stoul(s_.substr(i_, 4), nullptr, 16));
        i_ += 4;
        break;
      default:
        out += esc;
      }
    }
    ++i_;
    return out;
  }

  const std::string& s_;
  std::size_t i_ = 0;
};

} // namespace

const std::string& TraceEntry::operator[](const std::string& key) const {
  static const std::string kMissing;
  auto it = members.find(key);
  return it == members.end() ? kMissing : it->second;
}

std::vector<TraceEntry> read_trace(const std::string& path) {
  std::vector<TraceEntry> out;
  std::ifstream in(path);
  std::string line;
  int n = 0;
  while (std::getline(in, line)) {
    ++n;
    try {
      out.push_back(Parser(line).object());
    } catch (const std::exception& e) {
      ADD_FAILURE() << path << " line " << n << ": " << e.what() << ": " << line.substr(0, 200);
    }
  }
  return out;
}

std::vector<TraceEntry> calls_named(const std::vector<TraceEntry>& trace, const std::string& call) {
  std::vector<TraceEntry> out;
  for (const TraceEntry& e : trace)
    if (e.call() == call)
      out.push_back(e);
  return out;
}

std::vector<unsigned char> from_hex(const std::string& hex) {
  std::vector<unsigned char> out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    out.push_back(static_cast<unsigned char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return out;
}

} // namespace qov::testing
