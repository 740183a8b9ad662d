#pragma once
#include "core/operator_facts.h"

// Looks at the unsaved-contacts file (OperatorFacts::UnsavedContactsPath) as it
// is now: UnsavedWaiting becomes the records an import of it would find, and,
// while SettingsWritable is false after a failed append, whether an append
// could be made now (adif/adif_file.h, CanAppendTo) becomes SettingsWritable.
// The operator empties the file by importing it into Tolm and renaming or
// deleting it, outside Relvan, and mends a folder that took no file outside
// it too: the front ends call this every few seconds.
void RecountUnsavedContacts(OperatorFacts& told);
