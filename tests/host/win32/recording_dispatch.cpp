#include "recording_dispatch.h"

#include <oleauto.h>

HRESULT RecordingDispatch::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || (OfferDispatch && IsEqualIID(iid, IID_IDispatch))) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG RecordingDispatch::AddRef() {
  ++AddRefs;
  return static_cast<ULONG>(++References);
}

ULONG RecordingDispatch::Release() {
  ++Releases;
  return static_cast<ULONG>(--References);
}

HRESULT RecordingDispatch::GetTypeInfoCount(UINT* count) {
  *count = 0;
  return TypeInfoCountResult;
}

HRESULT RecordingDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT RecordingDispatch::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return DISP_E_UNKNOWNNAME; }

HRESULT RecordingDispatch::Invoke(DISPID member, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                  EXCEPINFO* excep, UINT*) {
  SeenCall call;
  call.Member = member;
  call.Flags = flags;
  call.NullIid = IsEqualIID(iid, IID_NULL);
  call.WantsResult = result != nullptr;
  for (UINT i = 0; params != nullptr && i < params->cArgs; ++i) {
    const VARIANTARG& arg = params->rgvarg[i];
    SeenArgument seen;
    seen.Type = arg.vt;
    if (arg.vt == VT_I4) seen.Int = arg.lVal;
    if (arg.vt == VT_R8) seen.Real = arg.dblVal;
    if (arg.vt == VT_BSTR) {
      seen.NullText = arg.bstrVal == nullptr;
      if (arg.bstrVal != nullptr) seen.Text.assign(arg.bstrVal, SysStringLen(arg.bstrVal));
    }
    call.Arguments.push_back(seen);
  }
  for (UINT i = 0; params != nullptr && i < params->cNamedArgs; ++i) call.Named.push_back(params->rgdispidNamedArgs[i]);
  Calls.push_back(call);

  if (FailWith == DISP_E_EXCEPTION && excep != nullptr) {
    *excep = EXCEPINFO{};
    excep->scode = E_FAIL;
    excep->bstrSource = SysAllocString(L"RecordingDispatch");
    excep->bstrDescription = SysAllocStringLen(FailDescription.data(), static_cast<UINT>(FailDescription.size()));
  }
  return FailWith;
}
