#pragma once
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

// Paths between the bridge's UTF-8 texts and the files they name. Windows
// keeps paths in UTF-16 and reads a narrow name in the ANSI code page, where
// a folder such as "C:\Users\Иван" has no spelling; so a path is built from
// UTF-8 only here, and a file is opened by its path, never by narrow bytes.
// (A std::filesystem::path made from a std::string decodes it through the C
// locale, not as UTF-8: never build one that way from a text.)

// The path that UTF-8 text names.
std::filesystem::path PathFromUtf8(std::string_view text);

// The path in UTF-8, as the operator reads it.
std::string Utf8FromPath(const std::filesystem::path& path);

// std::fopen of the path (_wfopen on Windows); mode is fopen's ("rb", "ab").
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);
