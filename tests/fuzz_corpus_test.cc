// The fuzz targets' checks over the committed inputs: every seed of
// fuzz/corpus/<target>/ and every input of a fault found before,
// fuzz/regressions/<target>/. A broken invariant aborts with the input named.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_targets.h"

namespace qov::testing {
namespace {
namespace fs = std::filesystem;

struct Target {
  const char* name;
  std::function<void(std::string_view)> check;
};

std::vector<fs::path> inputs_of(const std::string& target) {
  std::vector<fs::path> inputs;
  for (const char* kind : {"corpus", "regressions"}) {
    fs::path folder = fs::path(QOV_SOURCE_DIR) / "fuzz" / kind / target;
    if (!fs::is_directory(folder))
      continue;
    for (const fs::directory_entry& e : fs::directory_iterator(folder))
      inputs.push_back(e.path());
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

TEST(FuzzCorpus, EverySeedAndRegressionKeepsItsTargetsInvariants) {
  const Target targets[] = {
      {"register", fuzz::check_register},           {"extraction", fuzz::check_extraction},
      {"answer_file", fuzz::check_answer_file},     {"command_line", fuzz::check_command_line},
      {"windows_names", fuzz::check_windows_names},
  };
  for (const Target& t : targets) {
    std::vector<fs::path> inputs = inputs_of(t.name);
    EXPECT_FALSE(inputs.empty()) << t.name << " has no seed corpus";
    for (const fs::path& input : inputs) {
      std::string bytes;
      ASSERT_TRUE(fuzz::read_host_file(input.string(), &bytes)) << input;
      fuzz::set_input_name(input.string());
      t.check(bytes);
    }
  }
  fuzz::set_input_name("");
}

} // namespace
} // namespace qov::testing
