#include "app/relvan_app.h"

#include <utility>

#include "ui/relvan_dlg.h"

CRelvanApp::CRelvanApp(std::unique_ptr<HostLink> host, Net& net, SettingsFolder settings, ProgramExits::Lines lines)
    : host_(std::move(host)), settings_(std::move(settings)), bridge_(net, *host_, clock_), exits_(net, lines) {}

bool CRelvanApp::InitInstance(ModalRunner& runner) {
  CRelvanDlg dialog(bridge_, settings_, exits_);
  runner.RunModal(dialog);
  // However the run ended (Finish, Esc, the close box, a signal to the
  // terminal program), what JTDX sent last is handled here, once.
  bridge_.ShutDown();
  end_messages_ = dialog.TakeLastMessages();
  return false;
}
