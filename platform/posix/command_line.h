// The command lines of our command shell, read without running anything.
//
// The shell first replaces the %NAME% references of a whole line, then reads
// it as commands separated by "&": "set NAME=VALUE", "echo TEXT", "rem",
// "call FILE [ARGS]" and programs. A line it does not understand (pipes,
// redirection, "&&", an unclosed quote, an empty command, a switch of "set")
// is refused whole, so that no part of it runs as something else.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qov::posix {

// The value of a variable named in a %NAME% reference, if it has one.
using Lookup = std::function<std::optional<std::string>(std::string_view name)>;

// Replaces every %NAME% whose name `lookup` knows by its value; a reference
// to an unknown name stays as written. In a batch file (`arguments` given:
// its name, then its arguments) %0 to %9 are those, %* all the arguments,
// and %% is one %.
std::string expand_variables(std::string_view line, const Lookup& lookup,
                             const std::vector<std::string>* arguments = nullptr);

struct Command {
  enum class Kind {
    kSet,       // set NAME=VALUE: the value up to the separator, blanks included
    kShowSet,   // set [PREFIX]: shows the variables
    kEcho,      // echo TEXT
    kEchoState, // echo on / echo off / echo: nothing to show
    kCall,      // call FILE [ARGS]
    kProgram,   // PROGRAM [ARGS]
  };
  Kind kind = Kind::kProgram;
  std::string name;      // kSet: variable name; kShowSet: prefix
  std::string value;     // kSet: value; empty removes the variable
  std::string text;      // kEcho: the text shown
  std::string program;   // kCall, kProgram: the program's name, quotes removed
  std::string arguments; // kCall, kProgram: the rest, as written, outer blanks removed
};

// Reads a line whose references are already replaced. An empty line has no
// commands. Nothing, with the reason in *error, for a line the shell does
// not understand.
std::optional<std::vector<Command>> parse_command_line(std::string_view line, std::string* error);

// Arguments as a program receives them: blanks separate, double quotes group
// and are removed.
std::vector<std::string> split_arguments(std::string_view text);

// The line that a shell started with these arguments runs: the text after
// "/C" or "/K" (either case), other switches before it skipped, one pair of
// quotes around the whole line removed. Nothing without /C or /K.
std::optional<std::string> shell_line(std::string_view arguments);

// The last name of a program's Windows name ("C:\x\regsvr32.exe" gives
// regsvr32.exe).
std::string_view program_base(std::string_view program);

} // namespace qov::posix
