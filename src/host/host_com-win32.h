#pragma once
#include <windows.h>
#include <oaidl.h>

#include <chrono>
#include <optional>
#include <string>

#include "host/host_link.h"
#include "host/message_filter-win32.h"

// Tolm's OLE Automation server, reached through the running object table.
// Each attach attempt resolves the ProgID afresh, initialises COM on the
// calling thread (an STA, never uninitialised) and looks up the active
// object. The IDispatch found is kept until DetachHost lets go of it after a
// failed call; while attached no further attempt is made. The first attempt
// also registers the thread's message filter: a busy Tolm is tried again for
// up to 10 s of each tick, a call Tolm does not answer is given up after 5 s
// (host/host_call_waits.h), and the window paints meanwhile.
class ComHostLink final : public HostLink {
 public:
  // Tests name their own class; the program always uses Tolm's.
  explicit ComHostLink(std::wstring prog_id = L"Tolm2.Application");
  ~ComHostLink() override;
  ComHostLink(const ComHostLink&) = delete;
  ComHostLink& operator=(const ComHostLink&) = delete;

  void AttachHost() override;
  bool IsAttached() const override { return host_dispatch_ != nullptr; }
  void DetachHost() override;
  void StartTickWork() override;
  // Asks the held interface for its type information count, which crosses
  // to Tolm's process without running anything of Tolm's: only a failure of
  // the connection itself means Tolm has gone.
  bool StillThere() override;
  void LimitCalls(std::chrono::milliseconds left) override;

  void ExecMacro(std::string_view text) override;
  void SetLogField(LogField field, std::string_view text) override;
  void TxFrequency(double hz) override;
  void RxFrequency(double hz) override;

 private:
  // How long a call may wait now: without limit until LimitCalls, then the
  // time the end has left.
  HostCallWaits::Ms CallLimit() const;
  void PutFrequency(const char* operation, DISPID member, double hz);
  void Invoke(const char* operation, DISPID member, WORD flags, DISPPARAMS& params);

  std::wstring prog_id_;
  IDispatch* host_dispatch_ = nullptr;   // the one reference the query returned
  HostMessageFilter* filter_ = nullptr;  // registered once COM is up on this thread
  bool filter_tried_ = false;
  std::optional<std::chrono::steady_clock::time_point> calls_end_;  // set by LimitCalls
};
