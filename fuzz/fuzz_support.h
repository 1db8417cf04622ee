// Shared by the fuzz targets: a temporary folder per process, a failure
// that libFuzzer reports as a crash, and a picture of a folder tree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace qov::fuzz {

// Prints what broke and aborts, so that libFuzzer keeps the input.
[[noreturn]] void fail(std::string_view target, const std::string& what);
// Names the input being checked in the failure message (replays of files).
void set_input_name(const std::string& name);

// A fresh temporary folder for this process, removed at exit.
std::string temp_root(std::string_view target);

// The bytes of a host file, or nothing when it cannot be read.
bool read_host_file(const std::string& path, std::string* bytes);
void write_host_file(const std::string& path, std::string_view bytes);

// Every entry under a folder (the folder itself excluded), by its path
// relative to it: its kind, size, a hash of its bytes and a link's target.
// Entries whose relative path starts with `skip` are left out.
using Tree = std::map<std::string, std::string>;
Tree tree_of(const std::string& folder, const std::string& skip = "");

// Text for a byte string in a failure message: printable ASCII as it is,
// the other bytes as \xNN.
std::string shown(std::string_view bytes);

} // namespace qov::fuzz
