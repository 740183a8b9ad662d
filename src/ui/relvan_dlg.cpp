#include "ui/relvan_dlg.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "core/file_path.h"
#include "ui/status_line.h"
#include "ui/resource_ids.h"
#include "ui/setup_dlg.h"
#include "ui/texts.h"

CRelvanDlg::CRelvanDlg(Bridge& bridge, const SettingsFolder& settings, SocketFailures& failures)
    : Dialog(ids::kMainTemplate), bridge_(bridge), settings_(settings), failures_(failures) {}

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

  const MainDialogSettings settings = LoadMainDialogSettings(settings_, position_cache_);
  Window().MoveWindow(settings.Position.X, settings.Position.Y);

  const Bridge::StartResult started =
      bridge_.Start(settings_, settings.Port, settings.FileUnreadable, settings.UdpGroup, [this] { PushFields(); });
  if (started == Bridge::StartResult::SocketsDidNotStart) {
    failures_.SocketsDidNotStart();
    return false;
  }
  if (started == Bridge::StartResult::NoSocket) {
    failures_.NoSocket();
    return false;
  }
  // The window shows only after this returns: the status line can wait for
  // the bind and say whether the port is really held and Tolm was found.
  ShowFacts();
  // A blocking socket must never be polled from the window's thread.
  if (started == Bridge::StartResult::Blocking) {
    failures_.ReportBlockingSocket();
    return false;
  }
  StartPollTimer();
  return true;
}

void CRelvanDlg::OnTimer(unsigned) {
  bridge_.Tick(*this);
  ShowFacts();
  ShowNotices();
}

void CRelvanDlg::ShowFacts() {
  const BridgeFacts facts = bridge_.Facts();
  if (facts.Port != titled_port_) {
    titled_port_ = facts.Port;
    Window().SetTitle(texts::Title(facts.Port));
  }
  std::string text = texts::StatusLine(facts);
  if (text == status_text_) return;
  status_text_ = std::move(text);
  Window().SetControlText(ids::kStatusLine, status_text_);
}

void CRelvanDlg::ShowNotices() {
  // The tick has re-armed the timer, and a message box's loop delivers it:
  // the ticks go on under the box, and what they queue meanwhile is told
  // when it closes, never in a second box on top of it.
  if (box_open_) return;
  bool after_box = false;
  while (TakeBridgeNotices()) {
    const std::string text = TakeNextMessage(after_box);
    box_open_ = true;
    Window().ShowMessage(text, MessageKind::Error);
    box_open_ = false;
    after_box = true;
  }
}

bool CRelvanDlg::TakeBridgeNotices() {
  std::deque<OperatorNotice> queued = bridge_.TakeNotices();
  notices_.insert(notices_.end(), std::make_move_iterator(queued.begin()), std::make_move_iterator(queued.end()));
  return !notices_.empty();
}

std::string CRelvanDlg::TakeNextMessage(bool after_box) {
  auto& notices = notices_;
  // Contacts kept in the unsaved file because Tolm was away or failing are
  // told of together. One that may be in Tolm's log already, one kept nowhere
  // but in its box, one Tolm was not given for its call or its mode, and one
  // that set a damaged file aside have a box of their own: each asks
  // something else of the operator.
  const auto is_contact = [](const OperatorNotice& notice) {
    using Miss = OperatorNotice::Miss;
    const bool tolm_away =
        notice.Why == Miss::HostNotRunning || notice.Why == Miss::HostNotAnswering || notice.Why == Miss::CallFailed;
    return notice.What == OperatorNotice::Kind::ContactNotSaved && notice.Kept && tolm_away &&
           notice.DamagedFileSetAside.empty();
  };
  const bool batch =
      after_box && is_contact(notices.front()) && std::count_if(notices.begin(), notices.end(), is_contact) > 1;
  if (!batch) {
    const std::string text = texts::NoticeMessage(notices.front(), Utf8FromPath(bridge_.UnsavedContactsPath()));
    notices.pop_front();
    return text;
  }
  std::vector<OperatorNotice> contacts;
  std::copy_if(notices.begin(), notices.end(), std::back_inserter(contacts), is_contact);
  std::erase_if(notices, is_contact);
  return texts::MoreContactsMessage(contacts, Utf8FromPath(bridge_.UnsavedContactsPath()));
}

std::vector<std::string> CRelvanDlg::TakeLastMessages() {
  std::vector<std::string> texts;
  // As during the run: the first on its own, the contacts after it together.
  while (TakeBridgeNotices()) texts.push_back(TakeNextMessage(!texts.empty()));
  return texts;
}

void CRelvanDlg::OnButtonClicked(int control) {
  if (control == ids::kSetupButton) OnSetup();
}

void CRelvanDlg::OnSetup() {
  if (setup_open_) return;
  Setup setup(bridge_, settings_, position_cache_, failures_);
  setup_open_ = true;
  Window().RunModal(setup);
  setup_open_ = false;
}

void CRelvanDlg::OnSetCursor() {
  const WindowRect rect = Window().GetWindowRect();
  SaveWindowPositionWhenMoved(settings_, position_cache_, {rect.Left, rect.Top}, kMainDialogPositionKeys);
}

bool CRelvanDlg::OnSysCommand(unsigned command) {
  if ((command & 0xFFF0) != ids::kAboutCommand) return false;
  // The About box: the icon, two lines of text and OK, nothing of its own.
  Dialog about(ids::kAboutTemplate);
  Window().RunModal(about);
  return true;
}
