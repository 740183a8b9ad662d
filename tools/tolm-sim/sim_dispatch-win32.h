#pragma once
#include <windows.h>
#include <oaidl.h>

#include <memory>

#include "sim_host.h"

// tolm-sim's automation object: IDispatch over SimHost with Tolm's dispatch
// ids. 16 ExecMacro(BSTR) and 18 SetLogField(I4, BSTR) are methods; 2
// TxFrequency and 3 RxFrequency are property puts of one R8. Arguments are
// checked strictly (no coercion), so that a client sending the wrong shape is
// caught here rather than papered over. A refusal of SimHost comes back as
// DISP_E_EXCEPTION with its message in EXCEPINFO.
//
// Returns the object with one reference, owned by the caller.
IDispatch* CreateSimDispatch(std::shared_ptr<SimHost> host);
