#include <algorithm>
#include <string>
#include <utility>

#include "adif/adif_file.h"
#include "link/field_readers.h"
#include "link/frequency.h"
#include "link/jtdx_date_time.h"
#include "link/message_handlers.h"

namespace {

constexpr char kUnsavedFileProgram[] = "Relvan";

bool IsLastContactHandled(const BridgeState& state) {
  return std::equal(state.RecvBuffer.begin(), state.RecvBuffer.begin() + static_cast<std::ptrdiff_t>(state.RecvLength),
                    state.LastContactBytes.begin(), state.LastContactBytes.end());
}

// The contact as the datagram carries it. Empty when a field up to the name
// runs past the datagram's end (a cut datagram is no contact); the fields
// after the name, which older senders leave out, may be missing.
std::optional<LoggedContact> ReadContact(BridgeState& state) {
  LoggedContact contact;
  ReadUtf8(state);  // id
  const auto time_off = ReadDateTime(state);
  contact.Call = ReadUtf8(state);
  contact.Grid = ReadUtf8(state);
  // The logged frequency is the Tx frequency: dial plus Tx offset.
  contact.FrequencyHz = CheckedFrequency(ReadU64(state)).value_or(0);
  contact.Mode = ReadUtf8(state);
  contact.RptSent = ReadUtf8(state);
  contact.RptRcvd = ReadUtf8(state);
  contact.TxPower = ReadUtf8(state);
  contact.Comments = ReadUtf8(state);
  contact.Name = ReadUtf8(state);
  if (state.ReadPos > state.RecvLength) return std::nullopt;

  const auto time_on = ReadDateTime(state);
  contact.OperatorCall = ReadUtf8(state);
  contact.MyCall = ReadUtf8(state);
  contact.MyGrid = ReadUtf8(state);
  const UtcTime now = std::chrono::time_point_cast<std::chrono::milliseconds>(state.TickTime);
  contact.TimeOff = time_off.value_or(time_on.value_or(now));
  contact.TimeOn = time_on.value_or(contact.TimeOff);
  return contact;
}

// A contact Tolm did not take goes to the unsaved-contacts file, and the
// operator is told where it went (or that even that failed).
void KeepUnsaved(BridgeState& state, const LoggedContact& contact, std::string host_detail) {
  OperatorNotice notice;
  notice.What = OperatorNotice::Kind::ContactNotSaved;
  notice.HostDetail = std::move(host_detail);
  notice.Call = contact.Call;
  notice.TimeOff = contact.TimeOff;
  notice.FrequencyHz = contact.FrequencyHz;
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

// Fills the host's entry with the contact and saves it.
void SaveContact(const BridgeState& state, HostLink& host, MainWindow& window, std::int64_t tx_hz) {
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
  host.ExecMacro("<SAVEQSO>");
}

}  // namespace

void HandleQsoLogged(BridgeState& state, HostLink& host, MainWindow& window) {
  // The same bytes again are the same contact again (a resend, a relay that
  // duplicates): it is saved or kept already. JTDX itself never sends one
  // datagram twice, so the same station logged again always comes with
  // other bytes.
  if (IsLastContactHandled(state)) return;

  const std::optional<LoggedContact> contact = ReadContact(state);
  if (!contact || contact->Call.empty()) return;  // no contact without the station worked

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
  state.LastContactBytes.assign(state.RecvBuffer.begin(),
                                state.RecvBuffer.begin() + static_cast<std::ptrdiff_t>(state.RecvLength));

  if (!host.IsAttached()) {
    KeepUnsaved(state, *contact, {});
    window.PushFields();
    return;
  }
  try {
    SaveContact(state, host, window, contact->FrequencyHz);
  } catch (const HostCallError& error) {
    // The contact's own notice is the word of this outage.
    KeepUnsaved(state, *contact, error.what());
    state.HostOutage = true;
    window.PushFields();
    throw;
  }

  state.LastSavedCall = contact->Call;
  state.LastSavedAt = state.TickTime;
  ++state.SavedCount;

  // The entry is saved; the call stays in LastDxCall for the change test.
  fields.Call.clear();
  window.PushFields();
}
