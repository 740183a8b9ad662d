#include "bridge/unsaved_contacts.h"

#include "adif/adif_file.h"

void RecountUnsavedContacts(OperatorFacts& told) {
  told.UnsavedWaiting = CountAdifRecords(told.UnsavedContactsPath);
  // Only while a problem is shown: a file that works is not opened every time.
  if (!told.SettingsWritable) told.SettingsWritable = CanAppendTo(told.UnsavedContactsPath);
}
