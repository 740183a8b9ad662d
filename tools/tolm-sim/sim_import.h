#pragma once
#include <filesystem>
#include <functional>
#include <string>

// Adds the contacts of an ADIF file to tolm-sim's log as Tolm's import does:
// each record that is a contact (ContactFromAdif of adif/adif_record.h) is
// appended to the log at log_path with its own times, mode and frequency, in
// the file's order. report gets one line per record: "imported K1ABC
// 20240309 211405 FT8" for a contact, "skipped record 3 (no CALL)" for a
// record that is none.
//
// Returns false with the reason when the file cannot be read or parsed
// (nothing is added then), or when a contact cannot be appended to the log
// (the ones before it stay added).
[[nodiscard]] bool ImportAdifFile(const std::filesystem::path& source, const std::filesystem::path& log_path,
                                  const std::function<void(const std::string&)>& report, std::string& reason);
