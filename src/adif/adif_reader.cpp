#include "adif/adif_reader.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <system_error>

namespace {

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

}  // namespace

bool ParseAdif(std::string_view text, AdifFile& file, std::string& reason) {
  AdifFile parsed;
  AdifFields fields;
  std::size_t pos = 0;
  if (!text.empty() && text[0] != '<') {
    pos = text.find('<');
    parsed.Preamble = text.substr(0, pos);
  }
  while ((pos = text.find('<', pos)) != std::string_view::npos) {
    const auto close = text.find('>', pos);
    if (close == std::string_view::npos) {
      reason = "unterminated tag at byte " + std::to_string(pos);
      return false;
    }
    const std::string tag = Upper(text.substr(pos + 1, close - pos - 1));
    pos = close + 1;
    if (tag == "EOH") {
      parsed.Header = std::move(fields);
      fields.clear();
      continue;
    }
    if (tag == "EOR") {
      parsed.Records.push_back(std::move(fields));
      fields.clear();
      continue;
    }
    const auto colon = tag.find(':');
    const std::string name = tag.substr(0, colon);
    // The length, then perhaps ":" and a type indicator.
    std::size_t length = 0;
    const char* length_begin = tag.data() + (colon == std::string::npos ? tag.size() : colon + 1);
    const char* tag_end = tag.data() + tag.size();
    const auto [length_end, error] = std::from_chars(length_begin, tag_end, length);
    if (colon == std::string::npos || error != std::errc() || (length_end != tag_end && *length_end != ':')) {
      reason = "tag <" + tag + "> without a length at byte " + std::to_string(close - tag.size() - 1);
      return false;
    }
    if (length > text.size() - pos) {
      reason = "the value of " + name + " runs past the end";
      return false;
    }
    if (!fields.emplace(name, text.substr(pos, length)).second) {
      reason = "field " + name + " twice in one record";
      return false;
    }
    pos += length;
  }
  if (!fields.empty()) {
    reason = "fields after the last <EOR>";
    return false;
  }
  file = std::move(parsed);
  return true;
}

bool ReadAdifFile(const std::string& path, AdifFile& file, std::string& reason) {
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (in == nullptr) {
    reason = std::generic_category().message(errno);
    return false;
  }
  std::string text;
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
  return ParseAdif(text, file, reason);
}
