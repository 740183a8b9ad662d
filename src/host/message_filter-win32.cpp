#include "host/message_filter-win32.h"

namespace {

// Often enough that a call, and a probe, is given up close to its limit.
constexpr UINT kWatchIntervalMs = 100;
constexpr UINT kProbeWatchIntervalMs = 50;

HostCallWaits::Ms Elapsed(DWORD tick_count) { return HostCallWaits::Ms(tick_count); }

}  // namespace

HostMessageFilter* HostMessageFilter::Register() {
  auto* filter = new HostMessageFilter();
  IMessageFilter* previous = nullptr;
  if (FAILED(CoRegisterMessageFilter(filter, &previous))) {
    filter->Release();
    return nullptr;
  }
  if (previous != nullptr) previous->Release();
  return filter;
}

void HostMessageFilter::Revoke() {
  IMessageFilter* ours = nullptr;
  if (SUCCEEDED(CoRegisterMessageFilter(nullptr, &ours)) && ours != nullptr) ours->Release();
  Release();
}

HostMessageFilter::CallWatch::CallWatch(HostMessageFilter* filter, HostCallWaits::Ms limit, Kind kind) {
  if (filter == nullptr) return;
  if (kind == Kind::Probe) {
    filter->waits_.StartProbe();
  } else {
    filter->waits_.StartCall(limit);
  }
  timer_ = SetTimer(nullptr, 0, kind == Kind::Probe ? kProbeWatchIntervalMs : kWatchIntervalMs, nullptr);
}

HostMessageFilter::CallWatch::~CallWatch() {
  if (timer_ != 0) KillTimer(nullptr, timer_);
}

HRESULT STDMETHODCALLTYPE HostMessageFilter::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IMessageFilter) {
    *object = static_cast<IMessageFilter*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE HostMessageFilter::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG STDMETHODCALLTYPE HostMessageFilter::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

// The bridge serves no COM calls of its own; whatever comes is taken.
DWORD STDMETHODCALLTYPE HostMessageFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) {
  return SERVERCALL_ISHANDLED;
}

DWORD STDMETHODCALLTYPE HostMessageFilter::RetryRejectedCall(HTASK, DWORD tick_count, DWORD reject_type) {
  const auto retry = waits_.Refused(reject_type == SERVERCALL_RETRYLATER, Elapsed(tick_count));
  // (DWORD)-1 fails the call with RPC_E_CALL_REJECTED.
  return retry ? static_cast<DWORD>(retry->count()) : static_cast<DWORD>(-1);
}

DWORD STDMETHODCALLTYPE HostMessageFilter::MessagePending(HTASK, DWORD tick_count, DWORD) {
  // Waiting with default processing lets the window paint and take input
  // meant for it; a cancelled call fails with RPC_E_CALL_CANCELED.
  return waits_.GiveUpWaiting(Elapsed(tick_count)) ? PENDINGMSG_CANCELCALL : PENDINGMSG_WAITDEFPROCESS;
}
