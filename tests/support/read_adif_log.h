#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "adif/adif_reader.h"

// The ADIF file at path as an importer reads it. A file that cannot be read
// or parsed fails the test and reads as empty.
inline AdifFile ReadAdifLog(const std::filesystem::path& path) {
  AdifFile file;
  std::string reason;
  if (!ReadAdifFile(path, file, reason)) ADD_FAILURE() << path.string() << ": " << reason;
  return file;
}
