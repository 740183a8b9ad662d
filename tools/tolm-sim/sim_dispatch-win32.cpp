#include "sim_dispatch-win32.h"

#include <oleauto.h>

#include <exception>
#include <string>
#include <utility>

#include "core/utf16-win32.h"
#include "host/dispatch_ids.h"

namespace {

// Automation treats a null BSTR as the empty text.
std::string BstrText(BSTR text) {
  if (text == nullptr) return {};
  return Utf16ToUtf8(std::wstring_view(text, SysStringLen(text)));
}

class SimDispatch final : public IDispatch {
 public:
  explicit SimDispatch(std::shared_ptr<SimHost> host) : host_(std::move(host)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
      *object = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info != nullptr) *info = nullptr;
    return DISP_E_BADINDEX;
  }
  // Tolm's clients call by id; names are not offered.
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) override {
    for (UINT i = 0; ids != nullptr && i < count; ++i) ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* excep, UINT* bad_argument) override {
    if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    if (result != nullptr) VariantInit(result);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    const DISPPARAMS& args = params != nullptr ? *params : none;
    switch (member) {
      case dispatch_ids::kExecMacro:
      case dispatch_ids::kSetLogField: return InvokeMethod(member, flags, args, excep, bad_argument);
      case dispatch_ids::kTxFrequency:
      case dispatch_ids::kRxFrequency: return InvokePut(member, flags, args, excep, bad_argument);
      default: return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  ~SimDispatch() = default;

  HRESULT InvokeMethod(DISPID member, WORD flags, const DISPPARAMS& args, EXCEPINFO* excep, UINT* bad_argument) {
    if ((flags & DISPATCH_METHOD) == 0) return DISP_E_MEMBERNOTFOUND;
    if (args.cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    const UINT expected = member == dispatch_ids::kExecMacro ? 1 : 2;
    if (args.cArgs != expected) return DISP_E_BADPARAMCOUNT;
    // rgvarg holds the arguments last-first: the text is always at 0.
    if (args.rgvarg[0].vt != VT_BSTR) return Mismatch(0, bad_argument);
    const std::string text = BstrText(args.rgvarg[0].bstrVal);
    if (member == dispatch_ids::kExecMacro) {
      return Outcome([&](std::string& reason) { return host_->ExecMacro(text, reason); }, excep);
    }
    if (args.rgvarg[1].vt != VT_I4) return Mismatch(1, bad_argument);
    const std::int32_t index = args.rgvarg[1].lVal;
    const auto field = static_cast<LogField>(index);
    return Outcome([&](std::string& reason) { return host_->SetLogField(field, text, reason); }, excep);
  }

  HRESULT InvokePut(DISPID member, WORD flags, const DISPPARAMS& args, EXCEPINFO* excep, UINT* bad_argument) {
    if ((flags & DISPATCH_PROPERTYPUT) == 0) return DISP_E_MEMBERNOTFOUND;
    if (args.cArgs != 1) return DISP_E_BADPARAMCOUNT;
    if (args.cNamedArgs != 1 || args.rgdispidNamedArgs == nullptr || args.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
      return DISP_E_PARAMNOTFOUND;
    if (args.rgvarg[0].vt != VT_R8) return Mismatch(0, bad_argument);
    const double hz = args.rgvarg[0].dblVal;
    if (member == dispatch_ids::kTxFrequency) {
      return Outcome([&](std::string& reason) { return host_->TxFrequency(hz, reason); }, excep);
    }
    return Outcome([&](std::string& reason) { return host_->RxFrequency(hz, reason); }, excep);
  }

  static HRESULT Mismatch(UINT position, UINT* bad_argument) {
    if (bad_argument != nullptr) *bad_argument = position;
    return DISP_E_TYPEMISMATCH;
  }

  // Runs the call (true when done, else false with the reason); a reason
  // (or anything thrown, which must not cross COM) becomes DISP_E_EXCEPTION
  // with the reason as its description.
  template <typename Call>
  static HRESULT Outcome(Call call, EXCEPINFO* excep) {
    std::string reason;
    bool done = false;
    try {
      done = call(reason);
    } catch (const std::exception& error) {
      reason = error.what();
    } catch (...) {
      reason = "tolm-sim failed";
    }
    if (done) return S_OK;
    if (excep != nullptr) {
      *excep = EXCEPINFO{};
      excep->scode = E_FAIL;
      excep->bstrSource = SysAllocString(L"Tolm2.Application");
      const std::wstring description = Utf8ToUtf16(reason);
      excep->bstrDescription = SysAllocStringLen(description.data(), static_cast<UINT>(description.size()));
    }
    return DISP_E_EXCEPTION;
  }

  LONG refs_ = 1;
  std::shared_ptr<SimHost> host_;
};

}  // namespace

IDispatch* CreateSimDispatch(std::shared_ptr<SimHost> host) { return new SimDispatch(std::move(host)); }
