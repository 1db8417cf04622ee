// How a register file reads back, for checks that must not trust the
// record-file service they check: shared by the fault scenarios and the
// register fuzz target.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qov::testing {

// Whether the bytes are whole 80-byte records ending in CR LF.
bool in_record_form(std::string_view bytes);
// The records of a register file as the record-file service reads them:
// its 80-byte records when every one ends in CR LF, otherwise its text lines
// cut or padded to 78 characters and given CR LF (empty lines left out).
std::vector<std::string> register_records(std::string_view bytes);
// A valid record: folder (bytes 7-75) not blank, bytes 1 and 2 digits.
bool is_valid_record(const std::string& record);
std::vector<std::string> valid_records(const std::vector<std::string>& records);

} // namespace qov::testing
