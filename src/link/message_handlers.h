#pragma once
#include "core/bridge_state.h"
#include "core/main_window.h"
#include "host/host_link.h"

// The three messages whose contents reach the logger. Each reads the current
// datagram from ReadPos 12 on, updates the state and the display fields,
// calls the host and pushes the fields. The last datagram is handled again on
// every tick until a newer one arrives, so each handler keeps repeats from
// reaching the host twice where that matters. A failing host call throws
// HostCallError out of the handler at that call.

// Status: mode, DX call, report and the Tx and Rx frequencies.
void HandleStatus(BridgeState& state, HostLink& host, MainWindow& window);

// Clear (JTDX's Erase): empties the fields and the host's log entry.
void HandleClear(BridgeState& state, HostLink& host, MainWindow& window);

// QSO Logged: fills the host's log entry and saves it, once per datagram.
void HandleQsoLogged(BridgeState& state, HostLink& host, MainWindow& window);
