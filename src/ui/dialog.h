#pragma once
#include "ui/dialog_colours.h"
#include "ui/window_port.h"

// The part every dialog shares: its template, the window it is shown in,
// the exchange of members with controls, and the standard OK and cancel.
// The front end attaches a window before the initialisation and calls the
// handlers as the window's messages arrive.
class Dialog {
 public:
  explicit Dialog(int template_id) : template_id_(template_id) {}
  virtual ~Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  int TemplateId() const { return template_id_; }
  void Attach(WindowPort& window) { window_ = &window; }
  WindowPort& Window() { return *window_; }

  virtual bool OnInitDialog() { return true; }
  // The default button (control 1) and Enter: front ends send both here.
  // The standard OK pulls the controls and, when they hold what the dialog
  // takes and OnAccepted agrees, ends the run with IDOK.
  virtual void OnOK();
  // Esc, the close box, Alt+F4 and Close in the system menu.
  virtual void OnCancel();
  // A control's notification: a click on a button other than OK, or an
  // edit's text change.
  virtual void OnButtonClicked(int /*control*/) {}
  virtual void OnEditChanged(int /*control*/) {}
  virtual void OnTimer(unsigned /*id*/) {}
  // The mouse pointer is over the window.
  virtual void OnSetCursor() {}
  // A system-menu command; false leaves it to the default processing.
  virtual bool OnSysCommand(unsigned /*command*/) { return false; }

  const DialogColours& Colours() const { return kDialogColours; }

 protected:
  // Moves the members into the controls (save false) or back (save true).
  // A pull may refuse a control's text; that ends the exchange with false.
  virtual bool DoDataExchange(bool /*save*/) { return true; }
  // What a dialog does with the values OK pulled, before it ends; false
  // keeps it open.
  virtual bool OnAccepted() { return true; }
  bool UpdateData(bool save);
  // Edit notifications caused by the dialog's own push are not user edits.
  bool InDataExchange() const { return in_exchange_; }

 private:
  int template_id_;
  WindowPort* window_ = nullptr;
  bool in_exchange_ = false;
};
