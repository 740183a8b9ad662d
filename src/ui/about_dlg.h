#pragma once
#include "ui/dialog.h"
#include "ui/resource_ids.h"

// The About box: the icon, two lines of text and OK, nothing of its own.
class CAboutDlg : public Dialog {
 public:
  CAboutDlg() : Dialog(ids::kAboutTemplate) {}
};
