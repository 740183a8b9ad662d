#include "settings/ini_text.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t\v\f\r";

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

struct Line {
  std::string_view Content;  // without its line end
  std::string_view Ending;   // "\n", "\r\n" or empty for a last line without one
};

struct Document {
  std::string_view Prefix;  // a byte order mark, kept as it is
  std::vector<Line> Lines;
};

Document Split(std::string_view text) {
  Document doc;
  if (text.starts_with(kByteOrderMark)) {
    doc.Prefix = text.substr(0, kByteOrderMark.size());
    text.remove_prefix(kByteOrderMark.size());
  }
  while (!text.empty()) {
    const auto newline = text.find('\n');
    if (newline == std::string_view::npos) {
      doc.Lines.push_back({text, {}});
      break;
    }
    const bool crlf = newline > 0 && text[newline - 1] == '\r';
    const auto content_end = crlf ? newline - 1 : newline;
    doc.Lines.push_back({text.substr(0, content_end), text.substr(content_end, newline + 1 - content_end)});
    text.remove_prefix(newline + 1);
  }
  return doc;
}

// The section a header line opens, if it is one.
std::optional<std::string_view> SectionName(std::string_view content) {
  const auto trimmed = Trim(content);
  if (!trimmed.starts_with('[')) return std::nullopt;
  const auto close = trimmed.rfind(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(trimmed.substr(1, close - 1));
}

struct KeyLine {
  std::string_view Name;
  std::size_t ValueStart;  // offset in the line of the value, after the blanks that follow '='
  std::string_view Value;  // trimmed
};

std::optional<KeyLine> ParseKeyLine(std::string_view content) {
  const auto trimmed = Trim(content);
  if (trimmed.empty() || trimmed.starts_with(';') || trimmed.starts_with('[')) return std::nullopt;
  const auto equals = content.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  const auto after = content.substr(equals + 1);
  const auto value_offset = after.find_first_not_of(" \t");
  return KeyLine{Trim(content.substr(0, equals)),
                 equals + 1 + (value_offset == std::string_view::npos ? 0 : value_offset), Trim(after)};
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Where a key lives, or where it would be added.
struct KeyPlace {
  std::optional<std::size_t> KeyLineIndex;  // the line holding the key
  std::optional<std::size_t> InsertAfter;   // the section's last key line, or its header
  std::string_view Value;
};

KeyPlace FindKey(const Document& doc, std::string_view section, std::string_view key) {
  KeyPlace place;
  bool in_section = false;
  bool first_occurrence = false;
  for (std::size_t i = 0; i < doc.Lines.size(); ++i) {
    const auto content = doc.Lines[i].Content;
    if (const auto name = SectionName(content)) {
      in_section = SameName(*name, section);
      first_occurrence = in_section && !place.InsertAfter;
      if (first_occurrence) place.InsertAfter = i;
      continue;
    }
    if (!in_section) continue;
    const auto key_line = ParseKeyLine(content);
    if (!key_line) continue;
    if (SameName(key_line->Name, key)) {
      place.KeyLineIndex = i;
      place.Value = key_line->Value;
      return place;
    }
    if (first_occurrence) place.InsertAfter = i;
  }
  return place;
}

std::string_view FileLineEnding(const Document& doc) {
  for (const auto& line : doc.Lines) {
    if (!line.Ending.empty()) return line.Ending;
  }
  return "\n";
}

}  // namespace

std::string IniValue(std::string_view text, std::string_view section, std::string_view key) {
  const auto doc = Split(text);
  return std::string(Unquote(FindKey(doc, section, key).Value));
}

std::string WithIniValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value) {
  const auto doc = Split(text);
  const auto place = FindKey(doc, section, key);
  const auto eol = FileLineEnding(doc);

  std::string out(doc.Prefix);
  out.reserve(text.size() + section.size() + key.size() + value.size() + 8);
  const auto append_key = [&] { (((out += key) += '=') += value) += eol; };

  for (std::size_t i = 0; i < doc.Lines.size(); ++i) {
    const auto& line = doc.Lines[i];
    if (place.KeyLineIndex == i) {
      const auto kept = line.Content.substr(0, ParseKeyLine(line.Content)->ValueStart);
      ((out += kept) += value) += line.Ending;
      continue;
    }
    (out += line.Content) += line.Ending;
    if (!place.KeyLineIndex && place.InsertAfter == i) {
      if (line.Ending.empty()) out += eol;
      append_key();
    }
  }
  if (!place.KeyLineIndex && !place.InsertAfter) {
    if (!doc.Lines.empty() && doc.Lines.back().Ending.empty()) out += eol;
    (((out += '[') += section) += ']') += eol;
    append_key();
  }
  return out;
}
