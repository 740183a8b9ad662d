#include "ui/setup_dlg.h"

#include <string>

#include "settings/dialog_settings.h"
#include "ui/dialog_texts.h"
#include "ui/integer_text.h"
#include "ui/notice_texts.h"
#include "ui/resource_ids.h"

Setup::Setup(Bridge& bridge, WindowPosition& position_cache, SocketFailures& failures)
    : Dialog(ids::kSetupTemplate), bridge_(bridge), position_cache_(position_cache), failures_(failures) {}

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
  const SetupDialogSettings settings = LoadSetupDialogSettings(position_cache_);
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
  const Endpoint& endpoint = bridge_.State().Endpoint;
  if (PortNumber != endpoint.Port() || !endpoint.Bound()) {
    const int old_port = endpoint.Port();
    const PortChange change = bridge_.MovePort(PortNumber);
    switch (change) {
      case PortChange::Moved: break;  // the main dialog's next tick titles it
      case PortChange::PortHeld:
      case PortChange::PortReserved:
        Window().ShowMessage(texts::PortHeldMessage(PortNumber, old_port, endpoint.Bound(),
                                                    change == PortChange::PortReserved, endpoint.Group() != 0),
                             MessageKind::Error);
        Window().FocusControl(ids::kPortEdit);
        return false;
      case PortChange::AnotherRelvan:
        Window().ShowMessage(texts::AnotherRelvanMessage(PortNumber, old_port, endpoint.Bound()), MessageKind::Error);
        Window().FocusControl(ids::kPortEdit);
        return false;
      case PortChange::NoSocket: failures_.NoSocket(); return false;
      case PortChange::Blocking: failures_.ReportBlockingSocket(); return false;
    }
  }
  // A port not stored gets no box: the bridge listens on it all the same, and
  // the status line already tells when the settings folder takes no file.
  (void)SaveUdpPort(endpoint.Port());
  return true;
}

void Setup::OnSetCursor() {
  const WindowRect rect = Window().GetWindowRect();
  SaveWindowPositionWhenMoved(position_cache_, {rect.Left, rect.Top}, kSetupDialogPositionKeys);
}
