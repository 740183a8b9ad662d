#pragma once
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
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

// What a read of a whole file found.
enum class FileRead { Ok, Missing, Failed };

// Reads the whole file at path into text, which stays empty unless Ok.
// Missing when nothing is there; Failed when something is there that cannot
// be read. Either way reason is the system's word for it ("No such file or
// directory", "Is a directory"). With max_bytes only a regular file of at
// most that many bytes counts: anything else in its place (a directory, a
// FIFO, a device, a file that is or grows larger) is Failed, and opening it
// never waits (a FIFO without a writer).
[[nodiscard]] FileRead ReadWholeFile(const std::filesystem::path& path, std::string& text, std::string& reason,
                                     std::optional<std::uintmax_t> max_bytes = std::nullopt);

// Whether the folder takes a new file now: tried with a file of its own,
// ".relvan-write-check", made and removed again, so that the check leaves
// nothing behind.
[[nodiscard]] bool FolderTakesNewFile(const std::filesystem::path& folder);
