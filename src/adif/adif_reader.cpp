#include "adif/adif_reader.h"

#include <algorithm>
#include <charconv>
#include <utility>

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

std::optional<AdifTag> ReadAdifTag(std::string_view tag) {
  if (SameLetters(tag, "EOH")) return AdifTag{AdifItem::Kind::EndOfHeader, tag, 0};
  if (SameLetters(tag, "EOR")) return AdifTag{AdifItem::Kind::EndOfRecord, tag, 0};
  // The name, the length, then perhaps ":" and a type indicator.
  const auto colon = tag.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  std::size_t length = 0;
  const char* tag_end = tag.data() + tag.size();
  const auto [length_end, error] = std::from_chars(tag.data() + colon + 1, tag_end, length);
  if (error != std::errc() || (length_end != tag_end && *length_end != ':')) return std::nullopt;
  return AdifTag{AdifItem::Kind::Field, tag.substr(0, colon), length};
}

AdifScanner::AdifScanner(std::string_view text) : text_(text) {
  if (!text.empty() && text[0] != '<') {
    pos_ = std::min(text.find('<'), text.size());
    preamble_ = text.substr(0, pos_);
  }
}

AdifScanner::Step AdifScanner::Next(AdifItem& item, std::string& reason) {
  const auto damage = [&](std::string what) {
    reason = std::move(what);
    damaged_ = true;
    return Step::Damaged;
  };
  if (damaged_) return Step::Damaged;
  pos_ = text_.find('<', pos_);
  if (pos_ == std::string_view::npos) {
    pos_ = text_.size();
    return Step::End;
  }
  const auto close = text_.find('>', pos_);
  if (close == std::string_view::npos) return damage("unterminated tag at byte " + std::to_string(pos_));
  const std::string_view tag = text_.substr(pos_ + 1, close - pos_ - 1);
  pos_ = close + 1;
  const std::optional<AdifTag> read = ReadAdifTag(tag);
  if (!read) {
    return damage("tag <" + Upper(tag) + "> without a length at byte " + std::to_string(close - tag.size() - 1));
  }
  item.What = read->What;
  item.Name = read->Name;
  item.Value = {};
  if (read->What != AdifItem::Kind::Field) return Step::Item;
  if (read->Length > text_.size() - pos_) return damage("the value of " + Upper(item.Name) + " runs past the end");
  item.Value = text_.substr(pos_, read->Length);
  pos_ += read->Length;
  return Step::Item;
}

bool ParseAdif(std::string_view text, AdifFile& file, std::string& reason) {
  AdifScanner scanner(text);
  AdifFile parsed;
  parsed.Preamble = scanner.Preamble();
  AdifFields fields;
  AdifScanner::Step step;
  for (AdifItem item; (step = scanner.Next(item, reason)) == AdifScanner::Step::Item;) {
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
  if (step == AdifScanner::Step::Damaged) return false;
  if (!fields.empty()) {
    reason = "fields after the last <EOR>";
    return false;
  }
  file = std::move(parsed);
  return true;
}

bool ReadAdifFile(const std::filesystem::path& path, AdifFile& file, std::string& reason) {
  std::string text;
  return ReadWholeFile(path, text, reason) == FileRead::Ok && ParseAdif(text, file, reason);
}
