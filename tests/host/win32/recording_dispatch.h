#pragma once
#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

// One argument as it reached Invoke, copied out of the VARIANT.
struct SeenArgument {
  VARTYPE Type = VT_EMPTY;
  LONG Int = 0;
  double Real = 0;
  bool NullText = false;  // a VT_BSTR holding a null pointer
  std::wstring Text;
};

// One Invoke call as it arrived. Arguments are in rgvarg order (last first).
struct SeenCall {
  DISPID Member = 0;
  WORD Flags = 0;
  bool NullIid = false;
  bool WantsResult = false;
  std::vector<SeenArgument> Arguments;
  std::vector<DISPID> Named;
};

// An automation object for the binding's tests. It records every Invoke,
// counts its references, can refuse the IDispatch query and can fail calls.
// It lives as long as the test keeps it (a reference count of 0 does not
// delete it), so the counts stay readable after everyone has let go.
class RecordingDispatch final : public IDispatch {
 public:
  bool OfferDispatch = true;
  // When set, Invoke returns it; with DISP_E_EXCEPTION it also fills
  // EXCEPINFO with FailDescription.
  HRESULT FailWith = S_OK;
  std::wstring FailDescription;
  // What GetTypeInfoCount answers: a proxy to a process that ended answers
  // the RPC layer's failure.
  HRESULT TypeInfoCountResult = S_OK;

  std::vector<SeenCall> Calls;
  LONG References = 0;
  LONG AddRefs = 0;
  LONG Releases = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* excep, UINT* bad_argument) override;
};
