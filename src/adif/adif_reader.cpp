#include "adif/adif_reader.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <system_error>

#include "core/file_path.h"

namespace {

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

bool SameLetters(std::string_view tag, std::string_view upper) {
  if (tag.size() != upper.size()) return false;
  for (std::size_t i = 0; i < tag.size(); ++i) {
    const char c = tag[i] >= 'a' && tag[i] <= 'z' ? static_cast<char>(tag[i] - 'a' + 'A') : tag[i];
    if (c != upper[i]) return false;
  }
  return true;
}

}  // namespace

AdifScanner::AdifScanner(std::string_view text) : text_(text) {
  if (!text.empty() && text[0] != '<') {
    pos_ = std::min(text.find('<'), text.size());
    preamble_ = text.substr(0, pos_);
  }
}

bool AdifScanner::Next(AdifItem& item) {
  if (!damage_.empty()) return false;
  pos_ = text_.find('<', pos_);
  if (pos_ == std::string_view::npos) {
    pos_ = text_.size();
    return false;
  }
  const auto close = text_.find('>', pos_);
  if (close == std::string_view::npos) {
    damage_ = "unterminated tag at byte " + std::to_string(pos_);
    return false;
  }
  const std::string_view tag = text_.substr(pos_ + 1, close - pos_ - 1);
  pos_ = close + 1;
  item.Value = {};
  if (SameLetters(tag, "EOH") || SameLetters(tag, "EOR")) {
    item.What = SameLetters(tag, "EOH") ? AdifItem::Kind::EndOfHeader : AdifItem::Kind::EndOfRecord;
    item.Name = tag;
    return true;
  }
  // The name, the length, then perhaps ":" and a type indicator.
  const auto colon = tag.find(':');
  std::size_t length = 0;
  const char* length_begin = tag.data() + (colon == std::string_view::npos ? tag.size() : colon + 1);
  const char* tag_end = tag.data() + tag.size();
  const auto [length_end, error] = std::from_chars(length_begin, tag_end, length);
  if (colon == std::string_view::npos || error != std::errc() || (length_end != tag_end && *length_end != ':')) {
    damage_ = "tag <" + Upper(tag) + "> without a length at byte " + std::to_string(close - tag.size() - 1);
    return false;
  }
  item.Name = tag.substr(0, colon);
  if (length > text_.size() - pos_) {
    damage_ = "the value of " + Upper(item.Name) + " runs past the end";
    return false;
  }
  item.What = AdifItem::Kind::Field;
  item.Value = text_.substr(pos_, length);
  pos_ += length;
  return true;
}

bool ParseAdif(std::string_view text, AdifFile& file, std::string& reason) {
  AdifScanner scanner(text);
  AdifFile parsed;
  parsed.Preamble = scanner.Preamble();
  AdifFields fields;
  for (AdifItem item; scanner.Next(item);) {
    if (item.What == AdifItem::Kind::EndOfHeader) {
      parsed.Header = std::move(fields);
      fields.clear();
    } else if (item.What == AdifItem::Kind::EndOfRecord) {
      parsed.Records.push_back(std::move(fields));
      fields.clear();
    } else if (const std::string name = Upper(item.Name); !fields.emplace(name, item.Value).second) {
      reason = "field " + name + " twice in one record";
      return false;
    }
  }
  if (!scanner.Damage().empty()) {
    reason = scanner.Damage();
    return false;
  }
  if (!fields.empty()) {
    reason = "fields after the last <EOR>";
    return false;
  }
  file = std::move(parsed);
  return true;
}

bool ReadWholeFile(const std::filesystem::path& path, std::string& text, std::string& reason) {
  std::FILE* in = OpenFile(path, "rb");
  if (in == nullptr) {
    reason = std::generic_category().message(errno);
    return false;
  }
  text.clear();
  char buffer[16384];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) text.append(buffer, got);
  const bool failed = std::ferror(in) != 0;
  const int error = errno;
  std::fclose(in);
  if (failed) {
    reason = std::generic_category().message(error);
    return false;
  }
  return true;
}

bool ReadAdifFile(const std::filesystem::path& path, AdifFile& file, std::string& reason) {
  std::string text;
  return ReadWholeFile(path, text, reason) && ParseAdif(text, file, reason);
}
