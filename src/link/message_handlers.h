#pragma once
#include "core/bridge_state.h"
#include "core/main_window.h"
#include "host/host_link.h"

// The three messages whose contents reach the logger. Each reads the current
// datagram from ReadPos 12 on, updates the state and the display fields,
// calls the host and pushes the fields; each datagram is handed over once,
// when it arrives. A failing host call throws HostCallError out of the
// handler at that call.

// Status: mode, DX call and report when they changed, and the Tx and Rx
// frequencies.
void HandleStatus(BridgeState& state, HostLink& host, MainWindow& window);

// Clear (JTDX's Erase): empties the fields and the host's log entry.
void HandleClear(BridgeState& state, HostLink& host, MainWindow& window);

// QSO Logged: fills the host's log entry and saves it. The bytes of the
// contact saved last, seen again, are not saved twice; a contact without a
// call is none. A contact that cannot be saved, Tolm being away or failing,
// throws HostCallError naming the station.
void HandleQsoLogged(BridgeState& state, HostLink& host, MainWindow& window);
