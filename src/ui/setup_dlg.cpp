#include "ui/setup_dlg.h"

#include <string>

#include "link/endpoint.h"
#include "settings/dialog_settings.h"
#include "ui/dialog_texts.h"
#include "ui/integer_text.h"
#include "ui/resource_ids.h"

Setup::Setup(BridgeState& state, SocketFailures& failures)
    : Dialog(ids::kSetupTemplate), state_(state), failures_(failures) {}

bool Setup::DoDataExchange(bool save) {
  if (!save) {
    Window().SetControlText(ids::kPortEdit, std::to_string(PortNumber));
    return true;
  }
  const auto value = ParseDialogInteger(Window().GetControlText(ids::kPortEdit));
  if (!value) {
    Window().ShowMessage(texts::kNotAnInteger, MessageKind::Warning);
    Window().FocusControl(ids::kPortEdit);
    return false;
  }
  PortNumber = *value;
  return true;
}

bool Setup::OnInitDialog() {
  port_when_opened_ = state_.UdpPort;
  const SetupDialogSettings settings = LoadSetupDialogSettings(state_);
  PortNumber = settings.Port;
  CloseEndpoint(state_);
  Window().MoveWindow(settings.Position.X, settings.Position.Y);
  UpdateData(false);
  return true;
}

void Setup::OnEditChanged(int control) {
  if (control != ids::kPortEdit || InDataExchange()) return;
  // A refused text leaves PortNumber, and so UdpPort, as they were.
  UpdateData(true);
  state_.UdpPort = PortNumber;
}

void Setup::OnOK() {
  if (!UpdateData(true)) return;  // stays open; nothing reopened yet
  Window().EndDialog(ids::kOk);
  state_.UdpPort = PortNumber;
  Reopen(true);
  state_.TitleStale = true;
}

void Setup::OnCancel() {
  Window().EndDialog(ids::kCancel);
  state_.UdpPort = port_when_opened_;
  Reopen(false);
  // The title names this port already; the next tick says it again, now
  // with whether the port could be taken back.
  state_.TitleStale = true;
}

void Setup::Reopen(bool store_port) {
  const EndpointStatus endpoint = OpenEndpoint(state_, [&] {
    if (store_port) SaveUdpPort(state_);
  });
  if (endpoint == EndpointStatus::NoSocket) failures_.NoSocket();
  if (endpoint == EndpointStatus::Blocking) {
    failures_.SocketStaysBlocking();
    CloseEndpoint(state_);
  }
}

void Setup::OnSetCursor() {
  const WindowRect rect = Window().GetWindowRect();
  CheckWindowPosition(state_, {rect.Left, rect.Top}, kSetupDialogPositionKeys);
}
