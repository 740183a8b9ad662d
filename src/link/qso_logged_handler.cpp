#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "adif/adif_file.h"
#include "link/field_readers.h"
#include "link/frequency.h"
#include "link/jtdx_date_time.h"
#include "link/message_handlers.h"
#include "link/poll_tick.h"

namespace {

constexpr char kUnsavedFileProgram[] = "Relvan";

std::span<const std::uint8_t> Datagram(const BridgeState& state) { return {state.RecvBuffer.data(), state.RecvLength}; }

// The same bytes again are the same contact again (a resend, a relay that
// duplicates); so is the same call at the same time off on the same
// frequency, which a datagram cut after one of its later fields still
// carries. JTDX itself never sends one datagram twice, so the same station
// logged again always comes with another time off.
bool IsHandledAlready(const BridgeState& state, const LoggedContact* contact) {
  const std::span<const std::uint8_t> bytes = Datagram(state);
  return std::any_of(state.RecentContacts.begin(), state.RecentContacts.end(), [&](const HandledContact& seen) {
    if (contact == nullptr) return std::ranges::equal(seen.Bytes, bytes);
    return seen.Call == contact->Call && seen.TimeOff == contact->TimeOff && seen.FrequencyHz == contact->FrequencyHz;
  });
}

void RememberHandled(BridgeState& state, const LoggedContact& contact) {
  HandledContact seen;
  // The oldest one's storage serves the newest.
  if (state.RecentContacts.size() >= kRecentContacts) {
    seen = std::move(state.RecentContacts.front());
    state.RecentContacts.pop_front();
  }
  const std::span<const std::uint8_t> bytes = Datagram(state);
  seen.Bytes.assign(bytes.begin(), bytes.end());
  seen.Call = contact.Call;
  seen.TimeOff = contact.TimeOff;
  seen.FrequencyHz = contact.FrequencyHz;
  state.RecentContacts.push_back(std::move(seen));
}

// A call as JTDX writes one ("K1ABC", "VP2E/K1ABC"): printable ASCII without
// spaces once the spaces around it are trimmed. The whole field counts, so
// a zero byte inside it makes it none.
std::optional<std::string_view> WellFormedCall(std::string_view field) {
  const std::size_t first = field.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  const std::string_view call = field.substr(first, field.find_last_not_of(' ') - first + 1);
  const bool printable = std::all_of(call.begin(), call.end(), [](char c) { return c > ' ' && c < 0x7F; });
  if (!printable) return std::nullopt;
  return call;
}

// The contact as the datagram carries it. Empty when the call is not
// well-formed or the datagram ends inside a field: everything up to the name
// must be there, and the fields after it, which older senders leave out,
// may end at any field's end.
std::optional<LoggedContact> ReadContact(BridgeState& state) {
  LoggedContact contact;
  std::string scratch;
  const auto text = [&] { return std::string(ReadText(state, scratch)); };
  ReadUtf8(state);  // id
  const auto time_off = ReadDateTime(state);
  const std::optional<std::string_view> call = WellFormedCall(ReadUtf8(state));
  if (!call) return std::nullopt;
  contact.Call = *call;
  contact.Grid = text();
  // The logged frequency is the Tx frequency: dial plus Tx offset.
  contact.FrequencyHz = CheckedFrequency(ReadU64(state)).value_or(0);
  contact.Mode = text();
  contact.RptSent = text();
  contact.RptRcvd = text();
  contact.TxPower = text();
  contact.Comments = text();
  contact.Name = text();
  if (state.ReadPos > state.RecvLength) return std::nullopt;

  const auto more = [&] { return state.ReadPos < state.RecvLength; };
  const auto whole = [&] { return state.ReadPos <= state.RecvLength; };
  std::optional<UtcTime> time_on;
  if (more()) time_on = ReadDateTime(state);
  if (more()) contact.OperatorCall = text();
  if (more()) contact.MyCall = text();
  if (more()) contact.MyGrid = text();
  if (!whole()) return std::nullopt;

  const UtcTime now = std::chrono::time_point_cast<std::chrono::milliseconds>(state.TickTime);
  contact.TimeOff = time_off.value_or(time_on.value_or(now));
  contact.TimeOn = time_on.value_or(contact.TimeOff);
  return contact;
}

// Why a contact finds no Tolm attached: the wait after a failed call, while
// no attach is tried, or no Tolm found by the attach this tick tried.
OperatorNotice::Miss DetachedMiss(const BridgeState& state) {
  const bool waiting =
      state.HostOutage && state.TickTime < state.NextAttachAt && state.NextAttachAt - state.TickTime <= kReattachDelay;
  return waiting ? OperatorNotice::Miss::HostNotAnswering : OperatorNotice::Miss::HostNotRunning;
}

// A contact Tolm did not take goes to the unsaved-contacts file, and the
// operator is told where it went (or that even that failed), with all of it.
void KeepUnsaved(BridgeState& state, const LoggedContact& contact, OperatorNotice::Miss why, std::string host_detail) {
  OperatorNotice notice;
  notice.What = OperatorNotice::Kind::ContactNotSaved;
  notice.Why = why;
  notice.HostDetail = std::move(host_detail);
  notice.Call = contact.Call;
  notice.TimeOn = contact.TimeOn;
  notice.TimeOff = contact.TimeOff;
  notice.FrequencyHz = contact.FrequencyHz;
  notice.Mode = contact.Mode;
  notice.RptSent = contact.RptSent;
  notice.RptRcvd = contact.RptRcvd;
  notice.Grid = contact.Grid;
  notice.Name = contact.Name;
  notice.Comments = contact.Comments;
  notice.Kept = AppendAdifRecord(state.UnsavedContactsPath, contact, kUnsavedFileProgram, notice.FileProblem);
  if (notice.Kept) {
    notice.FileProblem.clear();
    state.SettingsWritable = true;
    ++state.UnsavedWaiting;  // counted in the file again later; the line says so at once
  } else {
    state.SettingsWritable = false;
  }
  state.Notices.push_back(std::move(notice));
}

// Fills the host's entry with the contact and saves it. `saving` is set once
// the save itself is asked for: a failure from then on may come after it ran.
void SaveContact(const BridgeState& state, HostLink& host, MainWindow& window, std::int64_t tx_hz, bool& saving) {
  host.SetLogField(LogField::Call, state.LastDxCall);
  host.SetLogField(LogField::Grid, state.LastGrid);
  // An empty name leaves the name the host may already have.
  if (!state.LastName.empty()) host.SetLogField(LogField::Name, state.LastName);
  host.SetLogField(LogField::RptSent, state.LastReport);
  host.SetLogField(LogField::RptRcvd, state.LastReportRcvd);
  host.SetLogField(LogField::Comments, state.LastComments);
  host.ExecMacro("<CURSOR:TX>");
  host.ExecMacro("<FIXSTARTTIME>");
  window.PushFields();
  if (tx_hz != 0) host.TxFrequency(static_cast<double>(tx_hz));
  saving = true;
  host.ExecMacro("<SAVEQSO>");
}

// What the status line tells of contacts Tolm saved.
void CountSaved(BridgeState& state, const LoggedContact& contact) {
  // The count is of the UTC day: the first save after 00:00 UTC starts it again.
  using std::chrono::days;
  if (std::chrono::floor<days>(state.TickTime) != std::chrono::floor<days>(state.LastSavedAt)) state.SavedCount = 0;
  state.LastSavedCall = contact.Call;
  state.LastSavedAt = state.TickTime;
  ++state.SavedCount;
}

}  // namespace

void HandleQsoLogged(BridgeState& state, HostLink& host, MainWindow& window) {
  if (IsHandledAlready(state, nullptr)) return;
  const std::optional<LoggedContact> contact = ReadContact(state);
  if (!contact || IsHandledAlready(state, &*contact)) return;
  RememberHandled(state, *contact);

  // The window shows the contact, and the state keeps it, even when it
  // cannot reach the log.
  DisplayFields& fields = window.Fields();
  state.LastDxCall = contact->Call;
  fields.Call = state.LastDxCall;
  state.LastGrid = contact->Grid;
  fields.Grid = state.LastGrid;
  if (contact->FrequencyHz != 0) {
    state.DialReferenceHz = state.LastTxFrequency = contact->FrequencyHz;
    FormatFrequencyText(contact->FrequencyHz, fields.Freq);
  }
  // The mode is shown and kept, but the host's mode is left to Status.
  state.LastMode = contact->Mode;
  fields.Mode = state.LastMode;
  state.LastReport = contact->RptSent;
  fields.RptSent = state.LastReport;
  state.LastReportRcvd = contact->RptRcvd;
  fields.RptRcvd = state.LastReportRcvd;
  state.LastComments = contact->Comments;
  state.LastName = contact->Name;

  if (!host.IsAttached()) {
    const OperatorNotice::Miss why = DetachedMiss(state);
    KeepUnsaved(state, *contact, why, why == OperatorNotice::Miss::HostNotAnswering ? state.HostFailure : "");
    window.PushFields();
    return;
  }
  bool saving = false;
  try {
    SaveContact(state, host, window, contact->FrequencyHz, saving);
  } catch (const HostCallError& error) {
    // The contact's own notice is the word of this outage. Kept even when
    // Tolm may have saved it: a contact twice in the log is mended by hand,
    // a lost one is not.
    const bool may_have_run = saving && error.MayHaveRun();
    KeepUnsaved(state, *contact, may_have_run ? OperatorNotice::Miss::SaveMayHaveRun : OperatorNotice::Miss::CallFailed,
                error.what());
    state.HostOutage = true;
    window.PushFields();
    throw;
  }
  CountSaved(state, *contact);

  // The entry is saved; the call stays in LastDxCall for the change test.
  fields.Call.clear();
  window.PushFields();
}
