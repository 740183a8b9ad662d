#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "bridge/clean_text.h"
#include "bridge/frequency.h"
#include "bridge/message_handlers.h"
#include "bridge/unsaved_log.h"
#include "host/host_macros.h"

namespace {

// A call as JTDX writes one ("K1ABC", "VP2E/K1ABC"): printable ASCII without
// spaces. Anything else (a letter typed with a Cyrillic layout, a space
// inside) is no call sign Tolm should save.
bool IsCallSign(std::string_view call) {
  return std::all_of(call.begin(), call.end(), [](char c) { return c > ' ' && c < 0x7F; });
}

std::string Cleaned(std::string_view text) {
  std::string scratch;
  return std::string(CleanText(text, scratch));
}

std::string_view TrimSpaces(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The contact's own times: JTDX's time off, or else its time on, or else the
// moment it arrived.
struct ContactTimes {
  UtcTime On;
  UtcTime Off;
};
ContactTimes TimesOf(const jtdx::QsoLoggedMessage& qso, Clock::TimePoint arrived) {
  const UtcTime now = std::chrono::time_point_cast<std::chrono::milliseconds>(arrived);
  const UtcTime off = qso.TimeOff.value_or(qso.TimeOn.value_or(now));
  return {qso.TimeOn.value_or(off), off};
}

// A logged contact's texts that go to Tolm with it but are not kept, cleaned.
struct ContactTexts {
  std::string Grid;
  std::string RptRcvd;
  std::string Comments;
  std::string Name;
};
ContactTexts TextsOf(const jtdx::QsoLoggedMessage& qso) {
  return {Cleaned(qso.Grid), Cleaned(qso.RptRcvd), Cleaned(qso.Comments), Cleaned(qso.Name)};
}

// The contact in full, for the unsaved-contacts file: what the state kept of
// it, its other texts, and the fields only that file needs.
LoggedContact ContactToKeep(const jtdx::QsoLoggedMessage& qso, std::string_view call, const Station& kept,
                            const ContactTexts& texts, std::int64_t frequency_hz, ContactTimes times) {
  LoggedContact contact;
  contact.Call = call;
  contact.Grid = texts.Grid;
  contact.FrequencyHz = frequency_hz;
  contact.Mode = kept.Mode();
  contact.RptSent = kept.Report();
  contact.RptRcvd = texts.RptRcvd;
  contact.TxPower = Cleaned(qso.TxPower);
  contact.Comments = texts.Comments;
  contact.Name = texts.Name;
  contact.TimeOn = times.On;
  contact.TimeOff = times.Off;
  contact.OperatorCall = Cleaned(qso.OperatorCall);
  contact.MyCall = Cleaned(qso.MyCall);
  contact.MyGrid = Cleaned(qso.MyGrid);
  return contact;
}

// Why a contact finds no Tolm attached: the wait after a failed call, while
// no attach is tried, or no Tolm found by the attach this tick tried.
OperatorNotice::Miss DetachedMiss(const BridgeState& state) {
  return state.Host.NotAnswering(state.TickTime) ? OperatorNotice::Miss::HostNotAnswering
                                                 : OperatorNotice::Miss::HostNotRunning;
}

// Why Tolm must not get a contact as it stands, if it must not: a call no
// call sign is like (the operator corrects it after the import), or a mode
// no macro sets Tolm to, where Tolm would save it in whatever mode it is in.
std::optional<OperatorNotice::Miss> RefusedMiss(bool call_sign, std::string_view mode) {
  if (!call_sign) return OperatorNotice::Miss::NotACallSign;
  if (!mode.empty() && ModeMacro(mode).empty()) return OperatorNotice::Miss::ModeNotSettable;
  return std::nullopt;
}

// A contact Tolm did not take goes to the unsaved-contacts file, and the
// operator is told where it went (or that even that failed), with all of it.
// Its call and report, kept for the change test, are not sent to a Tolm that
// attaches later: Tolm's entry must not hold a contact that is to be
// imported, where it could be saved by hand as well.
void KeepUnsaved(BridgeState& state, const LoggedContact& contact, OperatorNotice::Miss why, std::string host_detail) {
  state.Kept.MarkUnsaved();
  OperatorNotice notice;
  notice.What = OperatorNotice::Kind::ContactNotSaved;
  notice.Why = why;
  notice.HostDetail = std::move(host_detail);
  notice.Contact = contact;
  notice.Kept = state.Unsaved.Append(contact, state.TickTime, notice.DamagedFileSetAside, notice.FileProblem);
  if (notice.Kept) notice.FileProblem.clear();
  state.Notices.push_back(std::move(notice));
}

// Keeps the contact's station, mode and report in the state and shows the
// contact, even when it cannot reach the log. A call that is no call sign is
// shown, but not kept: no later Status's change test or attach works with it.
void KeepAndShowContact(const jtdx::QsoLoggedMessage& qso, std::string_view call, bool call_sign,
                        const ContactTexts& texts, std::int64_t frequency_hz, Station& kept, DisplayFields& fields) {
  kept.KeepContact(call, call_sign, Cleaned(qso.Mode), Cleaned(qso.RptSent), frequency_hz);
  fields.Call = call;
  fields.Grid = texts.Grid;
  if (frequency_hz != 0) FormatFrequencyText(frequency_hz, fields.Freq);
  fields.Mode = kept.Mode();
  fields.RptSent = kept.Report();
  fields.RptRcvd = texts.RptRcvd;
}

// Sets Tolm to the contact's own mode (it may have been changed since the
// last Status, by hand or by another program), fills its entry with the
// contact and saves it. `saving` is set once the save itself is asked for: a
// failure from then on may come after it ran.
void SaveContact(const Station& kept, const ContactTexts& texts, HostLink& host, MainWindow& window, std::int64_t tx_hz,
                 bool& saving) {
  if (const std::string_view macro = ModeMacro(kept.Mode()); !macro.empty()) host.ExecMacro(macro);
  host.SetLogField(LogField::Call, kept.DxCall());
  host.SetLogField(LogField::Grid, texts.Grid);
  // An empty name leaves the name the host may already have.
  if (!texts.Name.empty()) host.SetLogField(LogField::Name, texts.Name);
  host.SetLogField(LogField::RptSent, kept.Report());
  host.SetLogField(LogField::RptRcvd, texts.RptRcvd);
  host.SetLogField(LogField::Comments, texts.Comments);
  host.ExecMacro(kCursorToTxMacro);
  host.ExecMacro(kFixStartTimeMacro);
  window.PushFields();
  if (tx_hz != 0) host.TxFrequency(static_cast<double>(tx_hz));
  saving = true;
  host.ExecMacro(kSaveQsoMacro);
}

}  // namespace

void HandleQsoLogged(const jtdx::QsoLoggedMessage& qso, std::span<const std::uint8_t> datagram, BridgeState& state,
                     HostLink& host, MainWindow& window) {
  const std::string call(TrimSpaces(Cleaned(qso.Call)));
  if (call.empty()) return;  // no contact at all
  const bool call_sign = IsCallSign(call);
  // The logged frequency is the Tx frequency: dial plus Tx offset.
  const std::int64_t frequency_hz = CheckedFrequency(qso.FrequencyHz).value_or(0);
  const ContactTimes times = TimesOf(qso, state.TickTime);
  const RecentContacts::Contact contact{datagram, call, times.Off, frequency_hz};
  if (state.Recent.Has(contact)) return;
  state.Recent.Remember(contact);

  const ContactTexts texts = TextsOf(qso);
  DisplayFields& fields = window.Fields();
  KeepAndShowContact(qso, call, call_sign, texts, frequency_hz, state.Kept, fields);
  const auto keep_unsaved = [&](OperatorNotice::Miss why, std::string host_detail) {
    KeepUnsaved(state, ContactToKeep(qso, call, state.Kept, texts, frequency_hz, times), why, std::move(host_detail));
  };

  if (const std::optional<OperatorNotice::Miss> refused = RefusedMiss(call_sign, state.Kept.Mode())) {
    keep_unsaved(*refused, "");
    window.PushFields();
    return;
  }
  if (!host.IsAttached()) {
    const OperatorNotice::Miss why = DetachedMiss(state);
    keep_unsaved(why, why == OperatorNotice::Miss::HostNotAnswering ? state.Host.Failure() : "");
    window.PushFields();
    return;
  }
  bool saving = false;
  try {
    SaveContact(state.Kept, texts, host, window, frequency_hz, saving);
  } catch (const HostCallError& error) {
    // The contact's own notice is the word of this outage. Kept even when
    // Tolm may have saved it: a contact twice in the log is mended by hand,
    // a lost one is not. Its texts may be in Tolm's entry still: the next
    // attach empties it.
    const bool may_have_run = saving && error.MayHaveRun();
    keep_unsaved(may_have_run ? OperatorNotice::Miss::SaveMayHaveRun : OperatorNotice::Miss::CallFailed, error.what());
    state.Host.SaveFailed();
    window.PushFields();
    throw;
  }
  state.Host.Saved(call, state.TickTime);

  // The entry is saved; the call stays in the kept DxCall for the change test.
  fields.Call.clear();
  window.PushFields();
}
