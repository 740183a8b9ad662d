#include "adif_reader.h"

#include <cctype>
#include <fstream>
#include <sstream>
#include <stdexcept>

AdifFile ParseAdif(const std::string& text) {
  AdifFile file;
  std::map<std::string, std::string> fields;
  bool in_header = !text.empty() && text[0] != '<';
  std::size_t pos = 0;
  if (in_header) {
    pos = text.find('<');
    file.Preamble = text.substr(0, pos);
  }
  while ((pos = text.find('<', pos)) != std::string::npos) {
    const auto close = text.find('>', pos);
    if (close == std::string::npos) throw std::runtime_error("unterminated tag at " + std::to_string(pos));
    std::string tag = text.substr(pos + 1, close - pos - 1);
    for (char& c : tag) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    pos = close + 1;
    if (tag == "EOH" || tag == "EOR") {
      if (tag == "EOH") {
        file.Header = std::move(fields);
        in_header = false;
      } else {
        file.Records.push_back(std::move(fields));
      }
      fields.clear();
      continue;
    }
    const auto colon = tag.find(':');
    if (colon == std::string::npos) throw std::runtime_error("tag without length: " + tag);
    const std::string name = tag.substr(0, colon);
    std::string length_text = tag.substr(colon + 1);
    length_text = length_text.substr(0, length_text.find(':'));  // drop a type indicator
    const std::size_t length = std::stoul(length_text);
    if (pos + length > text.size()) throw std::runtime_error("value of " + name + " runs past the end");
    if (fields.count(name) != 0) throw std::runtime_error("field " + name + " twice in one record");
    fields[name] = text.substr(pos, length);
    pos += length;
  }
  if (!fields.empty()) throw std::runtime_error("fields after the last <EOR>");
  return file;
}

AdifFile ReadAdifFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return ParseAdif(text.str());
}
