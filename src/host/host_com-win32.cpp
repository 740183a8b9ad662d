#include "host/host_com-win32.h"

#include <objbase.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <utility>

#include "core/utf16-win32.h"
#include "host/dispatch_ids.h"
#include "host/platform_host.h"

namespace {

// A BSTR owned for the length of one call. An empty text still gets a real
// (empty, non-null) BSTR: Tolm is sent "" rather than nothing.
class OwnedBstr {
 public:
  // `operation` names the call the text is for, should there be no memory.
  OwnedBstr(std::string_view utf8, const char* operation) {
    const std::wstring wide = Utf8ToUtf16(utf8);
    bstr_ = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (bstr_ == nullptr) throw HostCallError(operation, "out of memory for a text to Tolm");
  }
  ~OwnedBstr() { SysFreeString(bstr_); }
  OwnedBstr(const OwnedBstr&) = delete;
  OwnedBstr& operator=(const OwnedBstr&) = delete;

  BSTR get() const { return bstr_; }

 private:
  BSTR bstr_ = nullptr;
};

// Frees whatever strings the server left in an EXCEPINFO.
struct ExcepInfoGuard {
  EXCEPINFO info{};
  ~ExcepInfoGuard() {
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
  }
};

std::string Hex(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}

std::string SystemMessage(HRESULT hr) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text;
  if (length > 0 && buffer != nullptr) text = Trimmed(Utf16ToUtf8(std::wstring_view(buffer, length)));
  LocalFree(buffer);
  return text;
}

// Why a call failed, in words: the server's own description wins; without one
// the system's text for the code ("The RPC server is unavailable"), and the
// code itself when the system has none.
std::string DescribeFailure(HRESULT hr, EXCEPINFO& info) {
  std::string detail;
  if (hr == DISP_E_EXCEPTION) {
    if (info.pfnDeferredFillIn != nullptr) info.pfnDeferredFillIn(&info);
    if (info.bstrDescription != nullptr)
      detail = Trimmed(Utf16ToUtf8(std::wstring_view(info.bstrDescription, SysStringLen(info.bstrDescription))));
    if (detail.empty() && FAILED(info.scode)) detail = SystemMessage(info.scode);
  }
  if (detail.empty()) detail = SystemMessage(hr);
  while (!detail.empty() && detail.back() == '.') detail.pop_back();
  return detail.empty() ? "error " + Hex(hr) : detail + " (" + Hex(hr) + ")";
}

// Whether Tolm may have carried out a call that failed with `hr`. Tolm's own
// exception, a call it rejected and the dispatch layer's refusals (a wrong
// member or argument) say it did not; anything else (a lost RPC connection, a
// time-out, a cancelled call) may have come after the call ran.
HostCallError::Outcome OutcomeOf(HRESULT hr) {
  const bool refused = hr == DISP_E_EXCEPTION || hr == RPC_E_CALL_REJECTED ||
                       HRESULT_FACILITY(hr) == FACILITY_DISPATCH || hr == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED_DNE);
  return refused ? HostCallError::Outcome::Refused : HostCallError::Outcome::MayHaveRun;
}

// The failures of the connection to Tolm's process, as against an answer of
// Tolm's own (E_NOTIMPL included) or a call it could not take at once.
bool ServerGone(HRESULT hr) {
  return hr == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) || hr == RPC_E_DISCONNECTED || hr == RPC_E_SERVER_DIED ||
         hr == RPC_E_SERVER_DIED_DNE || hr == CO_E_OBJNOTCONNECTED;
}

}  // namespace

ComHostLink::ComHostLink(std::wstring prog_id) : prog_id_(std::move(prog_id)) {}

ComHostLink::~ComHostLink() {
  DetachHost();
  if (filter_ != nullptr) filter_->Revoke();
}

void ComHostLink::StartTickWork() {
  if (filter_ != nullptr) filter_->Waits().StartTickWork();
}

bool ComHostLink::StillThere() {
  if (host_dispatch_ == nullptr) return false;
  // A busy Tolm refuses it at once, a hung one is given up after 250 ms:
  // both are there.
  const HostMessageFilter::CallWatch watch(filter_, HostCallWaits::Ms::max(),
                                           HostMessageFilter::CallWatch::Kind::Probe);
  UINT count = 0;
  return !ServerGone(host_dispatch_->GetTypeInfoCount(&count));
}
void ComHostLink::LimitCalls(std::chrono::milliseconds left) { calls_end_ = std::chrono::steady_clock::now() + left; }

void ComHostLink::DetachHost() {
  if (host_dispatch_ == nullptr) return;
  // The last release reaches Tolm's process: a hung Tolm is given up here
  // too, within what the end has left (nothing to wait for once it is over).
  const HostMessageFilter::CallWatch watch(filter_, CallLimit());
  host_dispatch_->Release();
  host_dispatch_ = nullptr;
}

HostCallWaits::Ms ComHostLink::CallLimit() const {
  if (!calls_end_) return HostCallWaits::Ms::max();
  const auto left = std::chrono::ceil<HostCallWaits::Ms>(*calls_end_ - std::chrono::steady_clock::now());
  return std::max(left, HostCallWaits::Ms{0});
}

void ComHostLink::AttachHost() {
  if (host_dispatch_ != nullptr) return;

  // Resolved on every attempt: Tolm may be installed or registered while the
  // bridge waits for it. An unknown ProgID leaves the null CLSID, which the
  // lookup below never finds.
  CLSID host_clsid = CLSID_NULL;
  (void)CLSIDFromProgID(prog_id_.c_str(), &host_clsid);
  // Every attempt, whatever COM's state on this thread; COM stays up for the
  // life of the process.
  (void)CoInitialize(nullptr);
  if (!filter_tried_) {
    // Without a filter a call still works, failing at once on a busy Tolm.
    filter_tried_ = true;
    filter_ = HostMessageFilter::Register();
  }

  // The lookup and the query reach Tolm's process: a hung Tolm is given up here too.
  const HostMessageFilter::CallWatch watch(filter_);
  IUnknown* running = nullptr;
  if (FAILED(GetActiveObject(host_clsid, nullptr, &running)) || running == nullptr) return;
  IDispatch* dispatch = nullptr;
  const HRESULT query = running->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
  running->Release();
  if (SUCCEEDED(query) && dispatch != nullptr) host_dispatch_ = dispatch;
}

void ComHostLink::Invoke(const char* operation, DISPID member, WORD flags, DISPPARAMS& params) {
  ExcepInfoGuard excep;
  UINT bad_argument = 0;
  const HostCallWaits::Ms limit = CallLimit();
  if (limit.count() <= 0) throw HostCallError(operation, "not sent, Relvan was ending");
  const HostMessageFilter::CallWatch watch(filter_, limit);
  const HRESULT hr = host_dispatch_->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, nullptr, &excep.info,
                                            &bad_argument);
  if (FAILED(hr)) throw HostCallError(operation, DescribeFailure(hr, excep.info), OutcomeOf(hr));
}

void ComHostLink::ExecMacro(std::string_view text) {
  if (host_dispatch_ == nullptr) return;
  OwnedBstr macro(text, "ExecMacro");
  VARIANTARG args[1];
  VariantInit(&args[0]);
  args[0].vt = VT_BSTR;
  args[0].bstrVal = macro.get();
  DISPPARAMS params{args, nullptr, 1, 0};
  Invoke("ExecMacro", dispatch_ids::kExecMacro, DISPATCH_METHOD, params);
}

void ComHostLink::SetLogField(LogField field, std::string_view text) {
  if (host_dispatch_ == nullptr) return;
  OwnedBstr value(text, "SetLogField");
  // Positional arguments travel last-first: the text, then the index.
  VARIANTARG args[2];
  VariantInit(&args[0]);
  VariantInit(&args[1]);
  args[0].vt = VT_BSTR;
  args[0].bstrVal = value.get();
  args[1].vt = VT_I4;
  args[1].lVal = static_cast<std::int32_t>(field);
  DISPPARAMS params{args, nullptr, 2, 0};
  Invoke("SetLogField", dispatch_ids::kSetLogField, DISPATCH_METHOD, params);
}

void ComHostLink::PutFrequency(const char* operation, DISPID member, double hz) {
  if (host_dispatch_ == nullptr) return;
  VARIANTARG args[1];
  VariantInit(&args[0]);
  args[0].vt = VT_R8;
  args[0].dblVal = hz;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{args, &named, 1, 1};
  Invoke(operation, member, DISPATCH_PROPERTYPUT, params);
}

void ComHostLink::TxFrequency(double hz) { PutFrequency("TxFrequency", dispatch_ids::kTxFrequency, hz); }
void ComHostLink::RxFrequency(double hz) { PutFrequency("RxFrequency", dispatch_ids::kRxFrequency, hz); }

std::unique_ptr<HostLink> MakePlatformHostLink() { return std::make_unique<ComHostLink>(); }
