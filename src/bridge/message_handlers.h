#pragma once
#include <cstdint>
#include <span>

#include "bridge/bridge_state.h"
#include "core/main_window.h"
#include "host/host_link.h"
#include "jtdx/messages.h"

// The three messages whose contents reach the logger, each handed over once,
// decoded, when it arrives. Each keeps what it takes from the message before
// it calls the host, so a host that fails half-way and attaches again is sent
// the newest state; then it changes the display fields, calls the host and
// pushes the fields. A failing host call throws HostCallError out of the
// handler at that call. Texts are cleaned (bridge/clean_text.h) on the way.

// Status: mode, DX call and report when they changed, and the Tx and Rx
// frequencies (none while JTDX reports a dial frequency of 0).
void HandleStatus(const jtdx::StatusMessage& status, BridgeState& state, HostLink& host, MainWindow& window);

// Clear (JTDX's Erase): empties the fields and the host's log entry.
void HandleClear(HostLink& host, MainWindow& window);
// The six fields of the host's log entry emptied, in Clear's order.
void EmptyLogEntry(HostLink& host);

// QSO Logged: sets the host to the contact's mode, fills its log entry and
// saves it. A contact saved or kept lately, sent again (whole, by its bytes
// in `datagram`, or cut at a later field), is not handled twice, and one
// without a call is none. A contact that does not reach Tolm, Tolm being
// away or failing, is appended to the unsaved-contacts file and a
// ContactNotSaved notice says so; a failing call is then thrown on. So is a
// contact Tolm must not get as it stands, with no host call: a call that is
// no call sign, or a mode no macro sets the host to.
void HandleQsoLogged(const jtdx::QsoLoggedMessage& qso, std::span<const std::uint8_t> datagram, BridgeState& state,
                     HostLink& host, MainWindow& window);
