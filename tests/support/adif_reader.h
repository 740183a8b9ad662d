#pragma once
#include <map>
#include <string>
#include <vector>

// What a logger's importer sees in an ADIF file: the header's fields and the
// records, each a map from upper-case field name to value. Values are read by
// the byte length in their tag, so they may hold any bytes.
struct AdifFile {
  std::string Preamble;  // text before the first header tag
  std::map<std::string, std::string> Header;
  std::vector<std::map<std::string, std::string>> Records;
};

// Throws std::runtime_error on a tag that is malformed or runs past the end.
AdifFile ParseAdif(const std::string& text);
AdifFile ReadAdifFile(const std::string& path);
