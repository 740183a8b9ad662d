#pragma once
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>

#include "bridge/bridge_facts.h"
#include "bridge/bridge_state.h"
#include "bridge/endpoint.h"
#include "bridge/net.h"
#include "core/clock.h"
#include "core/main_window.h"
#include "host/host_link.h"
#include "settings/settings_file.h"

// The bridge as both front ends drive it. It owns the state and works the
// sockets, the host link and the clock it is handed; the front end starts
// it, runs its tick on the 100 ms timer, shows what it says (the fields
// through MainWindow; the status line from Facts(), the boxes from
// TakeNotices()), and shuts it down at the end. Neither front end wires the
// pieces below it itself.
class Bridge {
 public:
  Bridge(Net& net, HostLink& host, const Clock& clock);

  enum class StartResult {
    Listening,           // on the port, or waiting for it: the endpoint's Bound() says
    SocketsDidNotStart,  // the platform's sockets (Winsock) did not start
    NoSocket,            // no socket could be made
    Blocking,            // the socket would block: it must never be polled
  };
  // Start-up: the unsaved-contacts file's path in `settings`, whether its
  // folder takes files, and a first count of it; the platform's sockets; a
  // first attempt to reach Tolm; and the endpoint on `port`, with
  // `before_bind` run between the socket and the bind.
  // `settings_unreadable` is the settings' word that the port fell back
  // because their file could not be read. A `udp_group` naming a multicast
  // group shares the endpoint with that group's other readers; any other
  // text leaves it the bridge's own, and says so (the facts'
  // UdpGroupInvalid) unless it is empty.
  [[nodiscard]] StartResult Start(const SettingsFolder& settings, int port, bool settings_unreadable,
                                  std::string_view udp_group, const std::function<void()>& before_bind);

  // One tick of the 100 ms timer (PollTick), then the upkeep when it is due.
  void Tick(MainWindow& window);

  // Setup's OK: the endpoint to another port, or to its own again. What an
  // earlier move left queued on its old socket is seen to first
  // (KeepRetiredContactsAndClose).
  [[nodiscard]] PortChange MovePort(int port);

  // The end of the program, however it ends: what is queued is handled, then
  // the endpoint is closed (DrainAndCloseEndpoint).
  void ShutDown();

  // What the front ends show between ticks: the status line's facts, the
  // port for the title and Setup.
  BridgeFacts Facts() const;
  // The notices queued since the last call, oldest first, for the window to
  // show.
  std::deque<OperatorNotice> TakeNotices();

  // Where contacts that do not reach Tolm are kept, as the boxes name it.
  const std::filesystem::path& UnsavedContactsPath() const { return state_->Unsaved.Path(); }

  // The parts themselves, for tests that work one of them directly.
  BridgeState& State() { return *state_; }
  const BridgeState& State() const { return *state_; }

 private:
  std::unique_ptr<BridgeState> state_;  // large: the receive buffer
  Net& net_;
  HostLink& host_;
  const Clock& clock_;
  // What the start found: the settings file there but unreadable, the port
  // fallen back; UDP_Group naming no multicast group.
  bool settings_unreadable_ = false;
  bool udp_group_invalid_ = false;
};
