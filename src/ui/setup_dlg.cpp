#include "ui/setup_dlg.h"

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

#include "settings/dialog_settings.h"
#include "ui/resource_ids.h"
#include "ui/texts.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// An edit's text as a whole decimal integer, as the port field takes it:
// optional blanks around an optional sign and the digits, nothing else.
// Empty text, other characters and numbers outside the 32-bit range are
// refused.
[[nodiscard]] std::optional<int> ParseDialogInteger(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  // One sign at most: from_chars takes a '-' of its own but no '+'.
  const bool plus = !text.empty() && text.front() == '+';
  if (plus) text.remove_prefix(1);
  if (text.empty() || (plus && (text.front() == '-' || text.front() == '+'))) return std::nullopt;
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

Setup::Setup(Bridge& bridge, const SettingsFolder& settings, WindowPosition& position_cache, SocketFailures& failures)
    : Dialog(ids::kSetupTemplate),
      bridge_(bridge),
      settings_(settings),
      position_cache_(position_cache),
      failures_(failures) {}

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
  const SetupDialogSettings settings = LoadSetupDialogSettings(settings_, position_cache_);
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
  const BridgeFacts before = bridge_.Facts();
  if (PortNumber != before.Port || !before.Bound) {
    const PortChange change = bridge_.MovePort(PortNumber);
    switch (change) {
      case PortChange::Moved: break;  // the main dialog's next tick titles it
      case PortChange::PortHeld:
      case PortChange::PortReserved:
        Window().ShowMessage(texts::PortHeldMessage(PortNumber, before.Port, before.Bound,
                                                    change == PortChange::PortReserved, before.Group != 0),
                             MessageKind::Error);
        Window().FocusControl(ids::kPortEdit);
        return false;
      case PortChange::AnotherRelvan:
        Window().ShowMessage(texts::AnotherRelvanMessage(PortNumber, before.Port, before.Bound), MessageKind::Error);
        Window().FocusControl(ids::kPortEdit);
        return false;
      case PortChange::NoSocket: failures_.NoSocket(); return false;
      case PortChange::Blocking: failures_.ReportBlockingSocket(); return false;
    }
  }
  // A port not stored gets no box: the bridge listens on it all the same, and
  // the status line already tells when the settings folder takes no file.
  (void)SaveUdpPort(settings_, bridge_.Facts().Port);
  return true;
}

void Setup::OnSetCursor() {
  const WindowRect rect = Window().GetWindowRect();
  SaveWindowPositionWhenMoved(settings_, position_cache_, {rect.Left, rect.Top}, kSetupDialogPositionKeys);
}
