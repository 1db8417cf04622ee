// Reads a QOV_TRACE file back: one flat JSON object per line.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace qov::testing {

// One trace object. String members hold their UTF-8 text; numbers and
// booleans hold their JSON spelling ("42", "true").
struct TraceEntry {
  std::map<std::string, std::string> members;

  const std::string& operator[](const std::string& key) const;
  bool has(const std::string& key) const { return members.count(key) > 0; }
  std::string call() const { return (*this)["call"]; }
  int code() const { return std::stoi((*this)["code"]); }
};

// Parses the file; a line that is not a flat JSON object fails the test.
std::vector<TraceEntry> read_trace(const std::string& path);

// The entries whose "call" is the given one.
std::vector<TraceEntry> calls_named(const std::vector<TraceEntry>& trace, const std::string& call);

// Decodes the lower-case hex of "in"/"out" members.
std::vector<unsigned char> from_hex(const std::string& hex);

} // namespace qov::testing
