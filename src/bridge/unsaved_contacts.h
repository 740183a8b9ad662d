#pragma once
#include <filesystem>
#include <string>

#include "core/clock.h"
#include "core/logged_contact.h"
#include "core/operator_facts.h"

// The unsaved-contacts file (OperatorFacts::UnsavedContactsPath): the
// contacts that did not reach Tolm, appended one record each, and the count
// of them that the status line shows.

// Looks at the file as it is now: UnsavedWaiting becomes the records an
// import of it would find and UnsavedDamaged whether a record appended now
// would be swallowed, counted again only when its size or modification time
// differs from what was last counted or written here; and, while
// SettingsWritable is false after a failed append, whether an append could
// be made now (adif/adif_file.h, CanAppendTo) becomes SettingsWritable. The
// operator empties the file by importing it into Tolm and renaming or
// deleting it, outside Relvan, and mends a folder that took no file outside
// it too: the front ends call this every few seconds.
void RecountUnsavedContacts(OperatorFacts& told);

// Appends the contact's record, counted at once without reading the file.
// The file is first looked at as RecountUnsavedContacts does; a damaged one
// is renamed aside, by the UTC time `now`
// ("Tolm_JTDX_unsaved-damaged-20261209-081503.adi", "-2", "-3" where that
// name is taken), and left as it is for the operator to mend, and the
// contact starts a new file: `set_aside` is then the name it was given.
// False, with the reason, when the contact is in no file: the append failed,
// or the damaged file could not be renamed (held open by another program),
// where nothing is appended.
[[nodiscard]] bool AppendUnsavedContact(OperatorFacts& told, const LoggedContact& contact, Clock::TimePoint now,
                                        std::filesystem::path& set_aside, std::string& reason);
