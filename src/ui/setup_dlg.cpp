#include "ui/setup_dlg.h"

#include <string>

#include "link/endpoint.h"
#include "settings/dialog_settings.h"
#include "ui/dialog_texts.h"
#include "ui/integer_text.h"
#include "ui/notice_texts.h"
#include "ui/resource_ids.h"

Setup::Setup(BridgeState& state, SocketFailures& failures)
    : Dialog(ids::kSetupTemplate), state_(state), failures_(failures) {}

bool Setup::Refuse(const char* message) {
  Window().ShowMessage(message, MessageKind::Warning);
  Window().FocusControl(ids::kPortEdit);
  return false;
}

bool Setup::DoDataExchange(bool save) {
  if (!save) {
    Window().SetControlText(ids::kPortEdit, std::to_string(PortNumber));
    return true;
  }
  const auto value = ParseDialogInteger(Window().GetControlText(ids::kPortEdit));
  if (!value) return Refuse(texts::kNotAnInteger);
  if (*value < kMinUdpPort || *value > kMaxUdpPort) return Refuse(texts::kPortOutOfRange);
  PortNumber = *value;
  return true;
}

bool Setup::OnInitDialog() {
  const SetupDialogSettings settings = LoadSetupDialogSettings(state_);
  PortNumber = settings.Port;
  Window().MoveWindow(settings.Position.X, settings.Position.Y);
  UpdateData(false);
  return true;
}

void Setup::OnEditChanged(int control) {
  if (control != ids::kPortEdit || InDataExchange()) return;
  // A refused text leaves PortNumber as it was.
  (void)UpdateData(true);
}

bool Setup::OnAccepted() {
  if (PortNumber != state_.UdpPort || !state_.EndpointBound) {
    const int old_port = state_.UdpPort;
    const PortChange change = MoveEndpoint(state_, PortNumber);
    switch (change) {
      case PortChange::Moved: state_.TitleStale = true; break;
      case PortChange::PortHeld:
      case PortChange::PortReserved:
        Window().ShowMessage(
            texts::PortHeldMessage(PortNumber, old_port, state_.EndpointBound, change == PortChange::PortReserved),
            MessageKind::Error);
        Window().FocusControl(ids::kPortEdit);
        return false;
      case PortChange::NoSocket: failures_.NoSocket(); return false;
      case PortChange::Blocking: failures_.ReportBlockingSocket(); return false;
    }
  }
  // A port not stored gets no box: the bridge listens on it all the same, and
  // the status line already tells when the settings folder takes no file.
  (void)SaveUdpPort(state_);
  return true;
}

void Setup::OnSetCursor() {
  const WindowRect rect = Window().GetWindowRect();
  SaveWindowPositionWhenMoved(state_, {rect.Left, rect.Top}, kSetupDialogPositionKeys);
}
