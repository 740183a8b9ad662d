#pragma once
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/file_path.h"

// Whole-file replacement for the settings file where there are no
// private-profile functions (Linux); it is read with ReadWholeFile
// (core/file_path.h) under kMaxSettingsFileBytes.

// Replaces the file's contents with `text` so that it is either wholly the
// old or wholly the new file: the text goes to a temporary file of its own
// beside it, is flushed to disk and renamed over the file. A symbolic link is written
// through to its target, and the old file's permission bits are kept. A file
// we may not write, or without any write permission bit, is left alone, as
// Windows leaves a read-only file, and so is anything in its place but a
// regular file of at most kMaxSettingsFileBytes. Returns false, with the old
// file untouched, when any step fails.
[[nodiscard]] bool ReplaceTextFile(const std::string& path, std::string_view text);

// Reads the file, hands what the read found and its text to `change`, and
// replaces the file with what that returns (nothing: leave the file as it
// is), all under an exclusive lock on the directory the file is written
// into, so that processes changing the same file one after the other never
// lose each other's changes. The temporary files a writer killed in the
// middle left behind go first. Another process holding the lock longer than
// `lock_wait` makes the write give up: false, and the file stays as it was.
// A target that ReplaceTextFile would refuse is refused before the lock is
// taken.
//
// Ample for another bridge's write to end; short enough that a holder that
// never lets go stalls the dialog that writes for a moment only.
inline constexpr std::chrono::milliseconds kDirectoryLockWait{2000};
[[nodiscard]] bool UpdateTextFile(const std::string& path,
                                  const std::function<std::optional<std::string>(FileRead, const std::string&)>& change,
                                  std::chrono::milliseconds lock_wait = kDirectoryLockWait);
