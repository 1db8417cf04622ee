// The call trace (QOV_TRACE).
//
// When QOV_TRACE names a file, one JSON object per line is appended to it for
// every call across the installer's boundaries, in call order. Outside tools
// read it, so its objects are an interface: see the README.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qov {

// Builds one trace object. Strings given to str() are Windows-1252 data and
// are written as UTF-8.
class TraceObject {
public:
  explicit TraceObject(std::string_view call);
  TraceObject& str(std::string_view key, std::string_view w1252_value);
  TraceObject& num(std::string_view key, long long value);
  TraceObject& boolean(std::string_view key, bool value);
  TraceObject& hex(std::string_view key, std::span<const uint8_t> bytes);
  std::string text() const { return text_ + "}"; }

private:
  void key(std::string_view name);
  std::string text_;
};

// Opens the trace named by QOV_TRACE, if any. Returns false, with a message
// in *error, when the file cannot be opened for appending.
bool open_trace_from_environment(std::string* error);
// Sends the trace to a file (empty path: no trace). Used by tests.
bool open_trace(const std::string& path);
void close_trace();
bool trace_enabled();

// Appends the object as one line and flushes it, so that a process that is
// killed leaves only whole lines.
void trace(const TraceObject& object);

std::string json_escape(std::string_view utf8);
std::string to_hex(std::span<const uint8_t> bytes);

} // namespace qov
