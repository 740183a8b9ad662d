#include "ui/relvan_dlg.h"

#include <string>
#include <utility>

#include "link/bridge_title.h"
#include "link/endpoint.h"
#include "link/poll_tick.h"
#include "settings/dialog_settings.h"
#include "ui/about_dlg.h"
#include "ui/dialog_texts.h"
#include "ui/resource_ids.h"
#include "ui/setup_dlg.h"

CRelvanDlg::CRelvanDlg(BridgeState& state, HostLink& host, SocketFailures& failures)
    : Dialog(ids::kMainTemplate), state_(state), host_(host), failures_(failures) {}

bool CRelvanDlg::DoDataExchange(bool save) {
  const std::pair<int, std::string*> exchange[] = {
      {ids::kCallEdit, &fields_.Call}, {ids::kRptSentEdit, &fields_.RptSent}, {ids::kRptRcvdEdit, &fields_.RptRcvd},
      {ids::kGridEdit, &fields_.Grid}, {ids::kFreqEdit, &fields_.Freq},       {ids::kModeEdit, &fields_.Mode},
  };
  for (const auto& [control, field] : exchange) {
    if (save) {
      *field = Window().GetControlText(control);
    } else {
      Window().SetControlText(control, *field);
    }
  }
  return true;
}

bool CRelvanDlg::OnInitDialog() {
  Window().AddSystemMenuItem(ids::kAboutCommand, texts::kAboutMenuItem);

  const WindowPosition position = LoadMainDialogSettings(state_);
  Window().MoveWindow(position.X, position.Y);

  if (!StartSockets()) {
    failures_.SocketsDidNotStart();
    return false;
  }
  host_.AttachHost();
  const EndpointStatus endpoint = OpenEndpoint(state_, [this] { PushFields(); });
  if (endpoint == EndpointStatus::NoSocket) {
    failures_.NoSocket();
    return false;
  }
  // The window shows only after this returns: the title can wait for the
  // bind and say whether the port is really held and Tolm was found.
  state_.TitleShowsHost = host_.IsAttached();
  state_.TitleText = BridgeTitle(state_, state_.TitleShowsHost);
  SetTitle(state_.TitleText);
  // A blocking socket must never be polled from the window's thread.
  if (endpoint == EndpointStatus::Blocking) {
    failures_.SocketStaysBlocking();
    return false;
  }
  StartPollTimer();
  return true;
}

void CRelvanDlg::OnTimer(unsigned) {
  try {
    PollTick(state_, host_, *this);
  } catch (const HostCallError& error) {
    // The tick stopped the timer before the failing call, so no tick runs
    // while the box is up; what JTDX sends meanwhile waits in the socket.
    Window().ShowMessage(error.what(), MessageKind::Error);
    host_.DetachHost();
    StartPollTimer();
  }
}

void CRelvanDlg::OnButtonClicked(int control) {
  if (control == ids::kSetupButton) OnSetup();
}

void CRelvanDlg::OnOK() {
  Dialog::OnOK();
  CloseEndpoint(state_);
}

void CRelvanDlg::OnSetup() {
  if (state_.SetupOpen) return;
  Setup setup(state_, failures_);
  state_.SetupOpen = true;
  Window().RunModal(setup);
  state_.SetupOpen = false;
}

void CRelvanDlg::OnSetCursor() {
  const WindowRect rect = Window().GetWindowRect();
  CheckWindowPosition(state_, {rect.Left, rect.Top}, kMainDialogPositionKeys);
}

bool CRelvanDlg::OnSysCommand(unsigned command) {
  if ((command & 0xFFF0) != ids::kAboutCommand) return false;
  CAboutDlg about;
  Window().RunModal(about);
  return true;
}
