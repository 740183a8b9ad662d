#pragma once
#include <filesystem>
#include <optional>
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

// One step through ADIF text: a field, or the end of the header or of a
// record. Name and value are views into the text.
struct AdifItem {
  enum class Kind { Field, EndOfHeader, EndOfRecord };
  Kind What = Kind::Field;
  std::string_view Name;  // as written, in any case
  std::string_view Value;
};

// What one tag says, from its text between '<' and '>': the end of the
// header or of a record, or a field with its name (as written) and the
// length of its value. Nothing for a tag that is none of these (a field
// without a length).
struct AdifTag {
  AdifItem::Kind What = AdifItem::Kind::Field;
  std::string_view Name;
  std::size_t Length = 0;
};
[[nodiscard]] std::optional<AdifTag> ReadAdifTag(std::string_view tag);

// Walks ADIF text the way ParseAdif reads it, copying nothing: the header's
// preamble (any text not beginning with '<', up to the first '<') is skipped,
// then each tag is one item.
class AdifScanner {
 public:
  explicit AdifScanner(std::string_view text);

  // The next item, in `item`; or the end of the text; or damage (a malformed
  // tag, a value that runs past the end), with what and where in `reason`,
  // and nothing more after it.
  enum class Step { Item, End, Damaged };
  [[nodiscard]] Step Next(AdifItem& item, std::string& reason);
  std::string_view Preamble() const { return preamble_; }

 private:
  std::string_view text_;
  std::string_view preamble_;
  std::size_t pos_ = 0;
  bool damaged_ = false;
};

// Reads text that begins with a header (any text not beginning with '<',
// up to <EOH>) or directly with the records. On a malformed tag, a value
// that runs past the end, a field twice in one record or fields after the
// last <EOR>, returns false with the reason (and where) and file unchanged.
[[nodiscard]] bool ParseAdif(std::string_view text, AdifFile& file, std::string& reason);

// ParseAdif of the file at path; false with the system's reason when the file
// cannot be read.
[[nodiscard]] bool ReadAdifFile(const std::filesystem::path& path, AdifFile& file, std::string& reason);
