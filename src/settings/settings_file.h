#pragma once
#include <filesystem>
#include <string>

// The settings file "Tolm_JTDX.ini" in the folder a SettingsFolder is bound
// to (the program's is "Plugins" under the working directory), as the
// dialogs use it: one integer per key in section "Settings", where 0 and a
// missing file, section or key all read alike. Keys are in
// settings/setting_keys.h. Only a regular file of at most
// kMaxSettingsFileBytes counts as the settings file: anything else in its
// place reads as no file and is never written over, and reading never waits
// on it. Where there are private-profile functions (Windows) they read and
// write the file, one key per call; elsewhere our own INI reader and writer
// give it the same meaning.
class SettingsFolder {
 public:
  explicit SettingsFolder(std::filesystem::path folder);

  // The program's: "Plugins" under the working directory (relative to it
  // when there is no working directory to name).
  static SettingsFolder InWorkingDirectory();

  const std::filesystem::path& Path() const { return folder_; }
  std::filesystem::path SettingsFilePath() const;

  // The settings as one load reads them. On Linux the file is read once,
  // when Read() makes this; on Windows each call reads its key from the file.
  class Values {
   public:
    // The integer stored under `key`, 0 when there is none. Only the first
    // 100 characters of a value count; the text is converted as
    // ParseLeadingInteger describes.
    int Integer(const char* key) const;

    // The text stored under `key`, empty when there is none; read as
    // Integer reads (its first 100 characters, the same rules for a missing
    // or unreadable file), white space at either end left out.
    std::string Text(const char* key) const;

    // Whether something is in the settings file's place that cannot be read
    // as it: a file we may not read, a directory, a FIFO, a file over
    // kMaxSettingsFileBytes. Every setting then reads as 0, and the operator
    // should hear why the port fell back. False when there is no file.
    [[nodiscard]] bool Unreadable() const;

   private:
    friend class SettingsFolder;
    explicit Values(std::filesystem::path file);

    std::filesystem::path file_;
    std::string text_;         // the file's text, where it is read whole
    bool unreadable_ = false;  // where it is read whole
  };
  Values Read() const;

  // Stores `value` under `key` as decimal text, creating the section and the
  // file as needed and keeping the rest of the file. True when written; a
  // write that fails (no folder, a read-only folder or file, something other
  // than the settings file in its place, on Linux another writer keeping the
  // folder locked beyond kDirectoryLockWait) changes nothing. Callers may go
  // on with the values they hold.
  [[nodiscard]] bool Write(const char* key, int value) const;

  // Creates the folder (not its parents). It normally exists already, so the
  // result does not matter.
  void Create() const;

  // Whether the folder can be created and takes new files (FolderTakesNewFile).
  // Without it no contact could be kept.
  [[nodiscard]] bool Writable() const;

  // The path, in the platform's own form, of the file beside the settings
  // file where contacts Tolm did not take are kept ("Tolm_JTDX_unsaved.adi"):
  // absolute when the folder is, as the program's is.
  std::filesystem::path UnsavedContactsPath() const;

 private:
  std::filesystem::path folder_;
};
