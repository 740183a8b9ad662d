#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "core/clock.h"
#include "core/logged_contact.h"

// The unsaved-contacts file: the contacts that did not reach Tolm, appended
// one record each, the count of them that the status line shows, and
// whether the folder takes the file at all.
class UnsavedLog {
 public:
  // The file, in full (a path, not text: on Windows it may hold any
  // character), and whether its folder takes files; set at start-up.
  void Use(std::filesystem::path path, bool takes_contacts = true);

  const std::filesystem::path& Path() const { return path_; }
  // Records an import of the file would find, when it was last counted.
  int Waiting() const { return waiting_; }
  // False after an append failed (or the folder took no file at start-up),
  // until an append could be made again: no contact could be kept.
  bool TakesContacts() const { return takes_contacts_; }

  // Looks at the file as it is now: the count becomes the records an import
  // of it would find, and whether a record appended now would be swallowed;
  // counted again only when its size or modification time differs from what
  // was last counted or written here. While no contact could be kept, it
  // also tries whether an append could be made now (adif/adif_file.h,
  // CanAppendTo). The operator empties the file by importing it into Tolm
  // and renaming or deleting it, outside Relvan, and mends a folder that took
  // no file outside it too: the upkeep calls this every few seconds.
  void Recount();

  // Appends the contact's record, counted at once without reading the file.
  // The file is first looked at as Recount does; a damaged one is renamed
  // aside, by the UTC time `now`
  // ("Tolm_JTDX_unsaved-damaged-20261209-081503.adi", "-2", "-3" where that
  // name is taken), and left as it is for the operator to mend, and the
  // contact starts a new file: `set_aside` is then the name it was given.
  // False, with the reason, when the contact is in no file: the append
  // failed, or the damaged file could not be renamed (held open by another
  // program), where nothing is appended.
  [[nodiscard]] bool Append(const LoggedContact& contact, Clock::TimePoint now, std::filesystem::path& set_aside,
                            std::string& reason);

 private:
  // The file as Relvan last counted or wrote it.
  struct Stamp {
    bool Exists = false;
    std::uintmax_t Size = 0;
    std::filesystem::file_time_type Modified;
    bool operator==(const Stamp&) const = default;
  };
  static Stamp StampOf(const std::filesystem::path& path);
  void CountUnlessUnchanged();

  std::filesystem::path path_;
  int waiting_ = 0;
  std::optional<Stamp> stamp_;
  bool damaged_ = false;  // a record appended now would be swallowed (adif/adif_file.h, AdifCount)
  bool takes_contacts_ = true;
};
