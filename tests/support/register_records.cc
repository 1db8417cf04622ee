#include "tests/support/register_records.h"

namespace qov::testing {

bool in_record_form(std::string_view bytes) {
  if (bytes.size() % 80 != 0)
    return false;
  for (std::size_t at = 0; at < bytes.size(); at += 80)
    if (bytes[at + 78] != '\r' || bytes[at + 79] != '\n')
      return false;
  return true;
}

std::vector<std::string> register_records(std::string_view bytes) {
  std::vector<std::string> records;
  if (in_record_form(bytes)) {
    for (std::size_t at = 0; at < bytes.size(); at += 80)
      records.emplace_back(bytes.substr(at, 80));
    return records;
  }
  std::size_t at = 0;
  while (at < bytes.size()) {
    std::size_t end = bytes.find('\n', at);
    if (end == std::string_view::npos)
      end = bytes.size();
    std::string_view line = bytes.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    if (line.empty())
      continue;
    std::string record(line.substr(0, 78));
    record.resize(78, ' ');
    records.push_back(record + "\r\n");
  }
  return records;
}

bool is_valid_record(const std::string& record) {
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  return record.size() >= 75 && record.substr(6, 69) != std::string(69, ' ') && digit(record[0]) &&
         digit(record[1]);
}

std::vector<std::string> valid_records(const std::vector<std::string>& records) {
  std::vector<std::string> valid;
  for (const std::string& r : records)
    if (is_valid_record(r))
      valid.push_back(r);
  return valid;
}

} // namespace qov::testing
