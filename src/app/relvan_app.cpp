#include "app/relvan_app.h"

#include <utility>

#include "link/poll_tick.h"
#include "ui/relvan_dlg.h"

CRelvanApp::CRelvanApp(std::unique_ptr<HostLink> host, ProgramExits::Lines lines)
    : host_(std::move(host)), state_(std::make_unique<BridgeState>()), exits_(lines) {}

bool CRelvanApp::InitInstance(ModalRunner& runner) {
  CRelvanDlg dialog(*state_, *host_, exits_, clock_);
  runner.RunModal(dialog);
  // Esc, the close box and a signal to the terminal program end the run
  // without Finish: what JTDX sent last is handled all the same.
  DrainAndCloseEndpoint(*state_, *host_, clock_);
  return false;
}
