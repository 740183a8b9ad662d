#include "app/relvan_app.h"

#include <utility>

#include "ui/relvan_dlg.h"

CRelvanApp::CRelvanApp(std::unique_ptr<HostLink> host, ProgramExits::Lines lines)
    : host_(std::move(host)), state_(std::make_unique<BridgeState>()), exits_(lines) {}

bool CRelvanApp::InitInstance(ModalRunner& runner) {
  CRelvanDlg dialog(*state_, *host_, exits_, clock_);
  runner.RunModal(dialog);
  return false;
}
