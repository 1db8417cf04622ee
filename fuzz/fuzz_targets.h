// The checks of the fuzz targets, one per kind of hostile input. Each takes
// one input and aborts when an invariant is broken. libFuzzer drives them
// in the fuzz build; the test suite replays the seed corpora and the inputs
// of faults found before (fuzz/regressions/) through them.
#pragma once

#include <string_view>

namespace qov::fuzz {

void check_register(std::string_view input);
void check_extraction(std::string_view input);
void check_answer_file(std::string_view input);
void check_command_line(std::string_view input);
void check_windows_names(std::string_view input);

} // namespace qov::fuzz

// In the fuzz build each target's file also defines libFuzzer's entry point.
#ifndef QOV_FUZZ_REPLAY
#define QOV_FUZZ_ENTRY(check)                                                                      \
  extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {                        \
    check(std::string_view(reinterpret_cast<const char*>(data), size));                            \
    return 0;                                                                                      \
  }
#else
#define QOV_FUZZ_ENTRY(check)
#endif
