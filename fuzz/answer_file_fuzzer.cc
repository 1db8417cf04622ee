// The answer file's parser over arbitrary text.
//
// The target parses the input and aborts when
// - a refused file comes without an error naming its line;
// - an accepted one holds a folder text that is empty or longer than 80
//   characters, or a "select" of a line below 1;
// - its actions cannot all be taken in order, one by one.
#include <string>

#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_targets.h"
#include "platform/gui/answer_file.h"

namespace qov {
namespace {

constexpr std::string_view kTarget = "answer_file";

void run_one(std::string_view content) {
  std::string error;
  std::optional<AnswerFile> file = AnswerFile::parse(content, &error);
  if (!file) {
    if (error.rfind("line ", 0) != 0)
      fuzz::fail(kTarget, "refused without naming the line: \"" + fuzz::shown(error) + "\"");
    return;
  }
  using K = Answer::Kind;
  while (!file->exhausted()) {
    const Answer& a = file->take({K::kKey, K::kSelect, K::kAnswer, K::kFolder, K::kCancel}, "fuzz");
    if (a.kind == K::kFolder && (a.text.empty() || a.text.size() > 80))
      fuzz::fail(kTarget, "folder text of " + std::to_string(a.text.size()) + " characters");
    if (a.kind == K::kSelect && a.number < 1)
      fuzz::fail(kTarget, "select of line " + std::to_string(a.number));
    if (a.kind == K::kAnswer && a.letter != 'y' && a.letter != 'n' && a.letter != '\0')
      fuzz::fail(kTarget, "answer letter " + std::to_string(a.letter));
    if (a.line < 1)
      fuzz::fail(kTarget, "an action on line " + std::to_string(a.line));
  }
}

} // namespace
} // namespace qov

void qov::fuzz::check_answer_file(std::string_view input) {
  qov::run_one(input);
}

QOV_FUZZ_ENTRY(qov::fuzz::check_answer_file)
