#pragma once
#include "core/bridge_state.h"
#include "core/main_window.h"
#include "host/host_link.h"

// The three messages whose contents reach the logger. Each reads the current
// datagram from ReadPos 12 on, updates the state and the display fields,
// calls the host and pushes the fields; each datagram is handed over once,
// when it arrives. Each keeps what it read before it calls the host, so a
// host that fails half-way and attaches again is sent the newest state. A
// failing host call throws HostCallError out of the handler at that call.

// Status: mode, DX call and report when they changed, and the Tx and Rx
// frequencies (none while JTDX reports a dial frequency of 0).
void HandleStatus(BridgeState& state, HostLink& host, MainWindow& window);

// Clear (JTDX's Erase): empties the fields and the host's log entry.
void HandleClear(BridgeState& state, HostLink& host, MainWindow& window);

// QSO Logged: fills the host's log entry and saves it. The bytes of the
// contact handled last, seen again, are not handled twice; a contact without
// a call, or whose fields up to the name run past the datagram's end, is
// none. A contact that does not reach Tolm, Tolm being away or failing, is
// appended to the unsaved-contacts file and a ContactNotSaved notice says
// so; a failing call is then thrown on.
void HandleQsoLogged(BridgeState& state, HostLink& host, MainWindow& window);
