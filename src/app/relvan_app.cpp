#include "app/relvan_app.h"

#include <utility>

#include "ui/relvan_dlg.h"

CRelvanApp::CRelvanApp(std::unique_ptr<HostLink> host, Net& net, SettingsFolder settings, ProgramExits::Lines lines)
    : host_(std::move(host)), settings_(std::move(settings)), bridge_(net, *host_, clock_), exits_(net, lines) {}

bool CRelvanApp::InitInstance(ModalRunner& runner) {
  CRelvanDlg dialog(bridge_, settings_, exits_);
  runner.RunModal(dialog);
  // Esc, the close box and a signal to the terminal program end the run
  // without Finish: what JTDX sent last is handled all the same.
  bridge_.ShutDown();
  end_messages_ = dialog.TakeLastMessages();
  return false;
}
