#include "link/unsaved_contacts.h"

#include "adif/adif_file.h"

void RecountUnsavedContacts(BridgeState& state) {
  state.UnsavedWaiting = CountAdifRecords(state.UnsavedContactsPath);
  // Only while a problem is shown: a file that works is not opened every time.
  if (!state.SettingsWritable) state.SettingsWritable = CanAppendTo(state.UnsavedContactsPath);
}
