#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "adif/adif_record.h"

// What a logger's importer sees in an ADIF file: the header's fields and the
// records, each a map from upper-case field name to value. Values are read by
// the byte length in their tag, so they may hold any bytes; a type indicator
// ("<NAME:4:S>") is dropped, and text between fields is skipped.
struct AdifFile {
  std::string Preamble;  // text before the first header tag
  AdifFields Header;
  std::vector<AdifFields> Records;
};

// Reads text that begins with a header (any text not beginning with '<',
// up to <EOH>) or directly with the records. On a malformed tag, a value
// that runs past the end, a field twice in one record or fields after the
// last <EOR>, returns false with the reason (and where) and file unchanged.
bool ParseAdif(std::string_view text, AdifFile& file, std::string& reason);

// ParseAdif of the file at path; false with the system's reason when the file
// cannot be read.
bool ReadAdifFile(const std::string& path, AdifFile& file, std::string& reason);
