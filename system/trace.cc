#include "system/trace.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "system/win1252.h"

namespace qov {
namespace {
FILE* g_trace = nullptr;
} // namespace

TraceObject::TraceObject(std::string_view call) {
  text_ = "{\"call\":\"" + json_escape(call) + "\"";
}

void TraceObject::key(std::string_view name) {
  text_ += ",\"";
  text_ += json_escape(name);
  text_ += "\":";
}

TraceObject& TraceObject::str(std::string_view name, std::string_view w1252_value) {
  key(name);
  text_ += '"' + json_escape(utf8_from_w1252(w1252_value)) + '"';
  return *this;
}

TraceObject& TraceObject::num(std::string_view name, long long value) {
  key(name);
  text_ += std::to_string(value);
  return *this;
}

TraceObject& TraceObject::boolean(std::string_view name, bool value) {
  key(name);
  text_ += value ? "true" : "false";
  return *this;
}

TraceObject& TraceObject::hex(std::string_view name, std::span<const uint8_t> bytes) {
  key(name);
  text_ += '"' + to_hex(bytes) + '"';
  return *this;
}

std::string json_escape(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (char c : utf8) {
    auto b = static_cast<unsigned char>(c);
    switch (c) {
    case '"':
      out += "\\\"";
      break;
    case '\\':
      out += "\\\\";
      break;
    case '\n':
      out += "\\n";
      break;
    case '\r':
      out += "\\r";
      break;
    case '\t':
      out += "\\t";
      break;
    default:
      if (b < 0x20) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\u%04x", b);
        out += buf;
      } else {
        out += c;
      }
    }
  }
  return out;
}

std::string to_hex(std::span<const uint8_t> bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (uint8_t b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 0xF];
  }
  return out;
}

bool open_trace(const std::string& path) {
  close_trace();
  if (path.empty())
    return true;
  g_trace = std::fopen(path.c_str(), "a");
  return g_trace != nullptr;
}

bool open_trace_from_environment(std::string* error) {
  const char* path = std::getenv("QOV_TRACE");
  if (path == nullptr || *path == '\0')
    return true;
  if (open_trace(path))
    return true;
  *error = std::string("cannot open the trace file ") + path + ": " + std::strerror(errno);
  return false;
}

void close_trace() {
  if (g_trace != nullptr)
    std::fclose(g_trace);
  g_trace = nullptr;
}

bool trace_enabled() {
  return g_trace != nullptr;
}

void trace(const TraceObject& object) {
  if (g_trace == nullptr)
    return;
  std::string line = object.text();
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), g_trace);
  std::fflush(g_trace);
}

} // namespace qov
