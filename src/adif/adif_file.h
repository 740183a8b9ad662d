#pragma once
#include <string>
#include <string_view>

#include "adif/logged_contact.h"

// Appends the contact's record (adif/adif_record.h) to the ADIF file at path,
// after a header naming program_id when the file is missing or empty. Records
// already in the file are never rewritten.
//
// An append either completes or leaves the file as it was: when a write,
// flush or close fails, the file is cut back to its size before (or removed
// again, when the append made it). Returns false then, or when the file
// cannot be opened, with reason a short text for the operator: the system's
// own ("Permission denied"), without the path.
bool AppendAdifRecord(const std::string& path, const LoggedContact& contact, std::string_view program_id,
                      std::string& reason);

// How many records the ADIF file at path holds, by its "<EOR>" marks (in any
// case); 0 for a file that is missing or cannot be read.
int CountAdifRecords(const std::string& path);
