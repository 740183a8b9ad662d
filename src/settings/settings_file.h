#pragma once
#include <filesystem>
#include <string>

// The settings file "Plugins\Tolm_JTDX.ini" under the working directory, as
// the dialogs use it: one integer per key in section "Settings", where 0 and
// a missing file, section or key all read alike. Keys are in
// settings/setting_keys.h. Only a regular file of at most
// kMaxSettingsFileBytes counts as the settings file: anything else in its
// place reads as no file and is never written over, and reading never waits
// on it.

// The integer stored under `key`, 0 when there is none. Only the first 100
// characters of a value count; the text is converted as ParseLeadingInteger
// describes.
int ReadSetting(const char* key);

// The text stored under `key`, empty when there is none; read as ReadSetting
// reads (its first 100 characters, the same rules for a missing or
// unreadable file), white space at either end left out.
std::string ReadTextSetting(const char* key);

// Whether something is in the settings file's place that cannot be read as
// it: a file we may not read, a directory, a FIFO, a file over
// kMaxSettingsFileBytes. Every setting then reads as 0, and the operator
// should hear why the port fell back. False when there is no file.
[[nodiscard]] bool SettingsFileUnreadable();

// Stores `value` under `key` as decimal text, creating the section and the
// file as needed and keeping the rest of the file. True when written; a
// write that fails (no "Plugins" directory, a read-only directory or file,
// something other than the settings file in its place, on Linux another
// writer keeping the directory locked beyond kDirectoryLockWait) changes
// nothing. Callers may go on with the values they hold.
[[nodiscard]] bool WriteSetting(const char* key, int value);

// Creates the directory "Plugins" under the working directory. It normally
// exists already, so the result does not matter.
void CreateSettingsDirectory();

// Whether "Plugins" can be created and takes new files: tried with a file of
// its own, made and removed again (by its wide name on Windows, where the
// working directory may hold any character). Without it no contact could be
// kept.
[[nodiscard]] bool SettingsFolderWritable();

// The absolute path, in the platform's own form, of the file beside the
// settings file where contacts Tolm did not take are kept:
// "<working directory>/Plugins/Tolm_JTDX_unsaved.adi". Without a working
// directory to name, the path relative to it.
std::filesystem::path UnsavedContactsPath();
