#pragma once
#include <filesystem>
#include <string>
#include <string_view>

#include "core/logged_contact.h"

// Files are named by std::filesystem::path (core/file_path.h makes one from
// UTF-8 text), so that a path in any characters reaches the file on Windows.

// Appends the contact's record (adif/adif_record.h) to the ADIF file at path,
// after a header naming program_id when the file is missing or empty. Records
// already in the file are never rewritten.
//
// An append either completes or leaves the file as it was: when a write,
// flush or close fails, the file is cut back to its size before (or removed
// again, when the append made it). Returns false then, or when the file
// cannot be opened, with reason a short text for the operator: the system's
// own ("Permission denied"), without the path.
[[nodiscard]] bool AppendAdifRecord(const std::filesystem::path& path, const LoggedContact& contact,
                                    std::string_view program_id, std::string& reason);

// What a count of an ADIF file found.
struct AdifCount {
  int Records = 0;
  // The count stopped before the file's end at something other than white
  // space: a record cut short (as a full disk or a crash leaves it), damage
  // inside, or text after the last record. A record appended there would
  // be swallowed by what is before it. A file holding only a header, or
  // nothing, is not damaged.
  bool Damaged = false;
};

// How many records an import of the ADIF file at path would find
// (adif/adif_reader.h): a tag's length is honoured, so "<eor>" inside a value
// is no record's end, and a damaged tail leaves the whole records before it
// counted. Read through a buffer of fixed size, so that a file of any size
// costs the same memory. 0 records for a file that is missing or cannot be
// read.
AdifCount CountAdifRecords(const std::filesystem::path& path);

// Whether an append to the file at path could be made now: the file opens
// for appending, or, while it does not exist, its folder takes a new file
// (made and removed again). Nothing in an existing file changes.
[[nodiscard]] bool CanAppendTo(const std::filesystem::path& path);
