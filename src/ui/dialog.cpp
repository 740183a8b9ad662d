#include "ui/dialog.h"

#include "ui/resource_ids.h"

bool Dialog::UpdateData(bool save) {
  in_exchange_ = true;
  const bool ok = DoDataExchange(save);
  in_exchange_ = false;
  return ok;
}

void Dialog::OnOK() {
  if (UpdateData(true) && OnAccepted()) Window().EndDialog(ids::kOk);
}

void Dialog::OnCancel() { Window().EndDialog(ids::kCancel); }
