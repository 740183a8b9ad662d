#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "bridge/clean_text.h"
#include "core/clock.h"
#include "host/host_link.h"
#include "jtdx/messages.h"

// What a Status changed against the one kept before it.
struct StatusChanges {
  bool Mode = false;
  bool Call = false;
  bool Report = false;
  bool TxFrequency = false;        // the Tx frequency differs from the last one sent
  std::optional<std::int64_t> Tx;  // the frequencies to send, when the dial moved
  std::optional<std::int64_t> Rx;
};

// What JTDX last showed of the station being worked, kept between datagrams:
// a Status is compared with it so that only what changed goes to Tolm, and a
// Tolm that attaches later is sent it. The handlers keep what they read here
// before they call the host. A logged contact's other texts go to Tolm (or
// the unsaved file) at once and are not kept.
class Station {
 public:
  // Keeps the Status, its texts cleaned, and says what changed. A Status
  // like the one before costs no allocation: texts are compared as views and
  // copied only when they changed.
  StatusChanges KeepStatus(const jtdx::StatusMessage& status);

  // Keeps a logged contact's station: its call where it is a call sign (one
  // that is not is no later Status's change test, nor is it sent on
  // attach), its mode and report, and its frequency, where known, as the Tx
  // frequency and what the next Status's dial is compared with.
  void KeepContact(std::string_view call, bool call_sign, std::string mode, std::string report,
                   std::int64_t frequency_hz);
  // The call and report are those of a contact that went to the unsaved
  // file: a Tolm that attaches later is not sent them, so that its entry
  // never holds a contact that is to be imported. A Status that changes them
  // makes them its own again.
  void MarkUnsaved() { call_unsaved_ = report_unsaved_ = true; }

  // A host that has just attached learns what JTDX showed while it was away:
  // the mode, the station, the report and the frequencies of the last
  // Status, but no call or report of a contact that went to the unsaved
  // file. Nothing before a Status has been handled.
  void BringUpToDate(HostLink& host) const;

  const std::string& Mode() const { return mode_; }
  const std::string& DxCall() const { return dx_call_; }
  const std::string& Report() const { return report_; }  // sent
  // JTDX said Close (its program by its own name, "WSJT-X"): it has gone
  // for now, until the next datagram it sends.
  void SenderClosed(std::string sender, Clock::TimePoint now) {
    sender_closed_ = true;
    closed_at_ = now;
    closed_sender_ = std::move(sender);
  }
  void SenderHeard() { sender_closed_ = false; }
  bool SenderIsClosed() const { return sender_closed_; }
  Clock::TimePoint ClosedAt() const { return closed_at_; }
  const std::string& ClosedSender() const { return closed_sender_; }

  // The last Status carried a mode: Heartbeats go unanswered then.
  bool NamedMode() const { return named_mode_; }

 private:
  std::string mode_;
  std::string dx_call_;
  std::string report_;
  bool call_unsaved_ = false;
  bool report_unsaved_ = false;
  // The Rx frequency a Status wrote, or the Tx frequency of a logged
  // contact. Hz.
  std::int64_t dial_reference_hz_ = 0;
  std::int64_t tx_frequency_ = 0;  // Hz, the last ones sent; 0 when none was
  std::int64_t rx_frequency_ = 0;
  bool named_mode_ = false;
  bool has_status_for_new_host_ = false;
  bool sender_closed_ = false;
  Clock::TimePoint closed_at_;
  std::string closed_sender_ = kUnnamedSender;
};
