#pragma once
#include <windows.h>
#include <objidl.h>

#include "host/host_call_waits.h"

// The COM message filter of the bridge's window thread: while a call to Tolm
// is out, a Tolm that answers "retry later" is tried again, a Tolm that does
// not answer is given up, and the window keeps painting, all as
// HostCallWaits decides. Without it a busy Tolm would fail the call at once
// and a hung one would freeze the window for good.
class HostMessageFilter final : public IMessageFilter {
 public:
  // Registers a filter for this thread, which must be in a single-threaded
  // apartment; nullptr when COM refuses. The caller owns one reference.
  static HostMessageFilter* Register();
  // Takes the filter off the thread and releases the caller's reference.
  void Revoke();

  HostCallWaits& Waits() { return waits_; }

  // One call's watch: the call starts afresh in HostCallWaits, given up
  // `limit` from now at the latest, and a thread
  // timer makes sure a message arrives now and then, since the filter is asked
  // whether to give up only when one does.
  class CallWatch {
   public:
    enum class Kind { Call, Probe };  // a probe is HostCallWaits::StartProbe's
    explicit CallWatch(HostMessageFilter* filter, HostCallWaits::Ms limit = HostCallWaits::Ms::max(),
                       Kind kind = Kind::Call);
    ~CallWatch();
    CallWatch(const CallWatch&) = delete;
    CallWatch& operator=(const CallWatch&) = delete;

   private:
    UINT_PTR timer_ = 0;
  };

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IMessageFilter
  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD call_type, HTASK caller, DWORD tick_count,
                                             LPINTERFACEINFO info) override;
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK callee, DWORD tick_count, DWORD reject_type) override;
  DWORD STDMETHODCALLTYPE MessagePending(HTASK callee, DWORD tick_count, DWORD pending_type) override;

 private:
  HostMessageFilter() = default;
  ~HostMessageFilter() = default;

  LONG references_ = 1;
  HostCallWaits waits_;
};
