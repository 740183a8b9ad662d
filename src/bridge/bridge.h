#pragma once
#include <functional>
#include <memory>
#include <string_view>

#include "bridge/bridge_state.h"
#include "bridge/endpoint.h"
#include "bridge/net.h"
#include "core/clock.h"
#include "core/main_window.h"
#include "host/host_link.h"

// The bridge as both front ends drive it. It owns the state and works the
// sockets, the host link and the clock it is handed; the front end starts
// it, runs its tick on the 100 ms timer, shows what its state says (the
// fields through MainWindow; the status line and the notices from State()),
// and shuts it down at the end. Neither front end wires the pieces below it itself.
class Bridge {
 public:
  Bridge(Net& net, HostLink& host, const Clock& clock);

  enum class StartResult {
    Listening,           // on the port, or waiting for it: the endpoint's Bound() says
    SocketsDidNotStart,  // the platform's sockets (Winsock) did not start
    NoSocket,            // no socket could be made
    Blocking,            // the socket would block: it must never be polled
  };
  // Start-up: the unsaved-contacts file's path, whether its folder takes
  // files, and a first count of it; the platform's sockets; a first attempt
  // to reach Tolm; and the endpoint on `port`, with `before_bind` run between
  // the socket and the bind. `settings_unreadable` is the settings' word that
  // the port fell back because their file could not be read.
  // A `udp_group` naming a multicast group shares the endpoint with that
  // group's other readers; any other text leaves it the bridge's own, and
  // says so (UdpGroupInvalid) unless it is empty.
  [[nodiscard]] StartResult Start(int port, bool settings_unreadable, std::string_view udp_group,
                                  const std::function<void()>& before_bind);

  // One tick of the 100 ms timer (PollTick), then the upkeep when it is due.
  void Tick(MainWindow& window);

  // Setup's OK: the endpoint to another port, or to its own again. What an
  // earlier move left queued on its old socket is seen to first
  // (KeepRetiredContactsAndClose).
  [[nodiscard]] PortChange MovePort(int port);

  // The end of the program, however it ends: what is queued is handled, then
  // the endpoint is closed (DrainAndCloseEndpoint).
  void ShutDown();

  BridgeState& State() { return *state_; }
  const BridgeState& State() const { return *state_; }
  bool HostAttached() const { return host_.IsAttached(); }

 private:
  std::unique_ptr<BridgeState> state_;  // large: the receive buffer
  Net& net_;
  HostLink& host_;
  const Clock& clock_;
};
