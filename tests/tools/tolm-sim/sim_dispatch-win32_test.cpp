// tolm-sim's automation object, called directly and, across processes, by
// the bridge's own binding through "Tolm2.Application".
#include <gtest/gtest.h>
#include <objbase.h>
#include <oleauto.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/platform_host.h"
#include "sim_dispatch-win32.h"
#include "temp_dir.h"
#include "sim_process-win32.h"

namespace {

// Arguments for one Invoke, given in call order; Invoke gets them last-first.
class Args {
 public:
  Args& Text(const wchar_t* text) {
    return Add([&](VARIANT& v) {
      v.vt = VT_BSTR;
      v.bstrVal = text ? SysAllocString(text) : nullptr;
    });
  }
  Args& Int(LONG value) {
    return Add([&](VARIANT& v) {
      v.vt = VT_I4;
      v.lVal = value;
    });
  }
  Args& Short(SHORT value) {
    return Add([&](VARIANT& v) {
      v.vt = VT_I2;
      v.iVal = value;
    });
  }
  Args& Real(double value) {
    return Add([&](VARIANT& v) {
      v.vt = VT_R8;
      v.dblVal = value;
    });
  }
  Args& AsPut() {
    named_ = DISPID_PROPERTYPUT;
    return *this;
  }
  ~Args() {
    for (VARIANT& v : values_) VariantClear(&v);
  }

  DISPPARAMS Params() {
    return {values_.data(), named_ ? &*named_ : nullptr, static_cast<UINT>(values_.size()), named_ ? 1u : 0u};
  }

 private:
  template <typename Fill>
  Args& Add(Fill fill) {
    VARIANT v;
    VariantInit(&v);
    fill(v);
    values_.insert(values_.begin(), v);
    return *this;
  }
  std::vector<VARIANT> values_;
  std::optional<DISPID> named_;
};

class SimDispatchTest : public ::testing::Test {
 protected:
  SimDispatchTest() {
    SimOptions options;
    options.TranscriptPath = (dir_.Path() / "transcript.txt").string();
    options.AdifPath = (dir_.Path() / "log.adi").string();
    std::string reason;
    object_ = CreateSimDispatch(SimHost::Open(options, reason));
  }
  ~SimDispatchTest() override { object_->Release(); }

  // Takes the Args chain (an lvalue) as well as a bare Args() (a temporary).
  template <typename A>
  HRESULT Invoke(DISPID member, WORD flags, A&& args, UINT* bad_argument = nullptr, EXCEPINFO* excep = nullptr) {
    DISPPARAMS params = args.Params();
    UINT ignored = 0;
    return object_->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, nullptr, excep,
                           bad_argument ? bad_argument : &ignored);
  }
  std::string Transcript() const { return FileBytes(dir_.Path() / "transcript.txt"); }

  TempDir dir_;
  IDispatch* object_ = nullptr;
};

TEST_F(SimDispatchTest, CarriesOutCallsOfTheRightShape) {
  EXPECT_EQ(Invoke(16, DISPATCH_METHOD, Args().Text(L"<MODEADD:FT8>")), S_OK);
  EXPECT_EQ(Invoke(18, DISPATCH_METHOD, Args().Int(0).Text(L"K1ABC")), S_OK);
  EXPECT_EQ(Invoke(18, DISPATCH_METHOD, Args().Int(5).Text(nullptr)), S_OK);  // null BSTR: empty text
  EXPECT_EQ(Invoke(2, DISPATCH_PROPERTYPUT, Args().Real(14075500).AsPut()), S_OK);
  EXPECT_EQ(Invoke(3, DISPATCH_PROPERTYPUT, Args().Real(14075200).AsPut()), S_OK);
  EXPECT_EQ(Transcript(),
            "ExecMacro \"<MODEADD:FT8>\"\n"
            "SetLogField 0 \"K1ABC\"\n"
            "SetLogField 5 \"\"\n"
            "TxFrequency 14075500\n"
            "RxFrequency 14075200\n");
}

TEST_F(SimDispatchTest, RejectsCallsOfTheWrongShapeWithoutCarryingThemOut) {
  UINT bad = 99;
  EXPECT_EQ(Invoke(17, DISPATCH_METHOD, Args().Text(L"x")), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(Invoke(16, DISPATCH_METHOD, Args()), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Invoke(18, DISPATCH_METHOD, Args().Text(L"K1ABC")), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Invoke(16, DISPATCH_METHOD, Args().Text(L"<MODE:CW>").AsPut()), DISP_E_NONAMEDARGS);
  EXPECT_EQ(Invoke(16, DISPATCH_PROPERTYPUT, Args().Text(L"<MODE:CW>").AsPut()), DISP_E_MEMBERNOTFOUND);

  EXPECT_EQ(Invoke(18, DISPATCH_METHOD, Args().Short(0).Text(L"K1ABC"), &bad), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(bad, 1u);  // rgvarg position of the index
  EXPECT_EQ(Invoke(18, DISPATCH_METHOD, Args().Int(0).Int(7), &bad), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(bad, 0u);

  EXPECT_EQ(Invoke(2, DISPATCH_METHOD, Args().Real(7074000)), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(Invoke(2, DISPATCH_PROPERTYPUT, Args().Real(7074000)), DISP_E_PARAMNOTFOUND);
  EXPECT_EQ(Invoke(3, DISPATCH_PROPERTYPUT, Args().Int(7074000).AsPut()), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(Invoke(3, DISPATCH_PROPERTYPUT, Args().AsPut()), DISP_E_BADPARAMCOUNT);

  EXPECT_EQ(Transcript(), "");
}

TEST_F(SimDispatchTest, RefusalComesBackAsExceptionWithTheReason) {
  EXCEPINFO excep{};
  EXPECT_EQ(Invoke(16, DISPATCH_METHOD, Args().Text(L"<NOPE>"), nullptr, &excep), DISP_E_EXCEPTION);
  ASSERT_NE(excep.bstrDescription, nullptr);
  EXPECT_NE(std::wstring(excep.bstrDescription).find(L"unknown macro"), std::wstring::npos);
  EXPECT_TRUE(FAILED(excep.scode));
  SysFreeString(excep.bstrSource);
  SysFreeString(excep.bstrDescription);
  SysFreeString(excep.bstrHelpFile);

  // Without an EXCEPINFO to fill, the code alone.
  EXPECT_EQ(Invoke(16, DISPATCH_METHOD, Args().Text(L"<NOPE>")), DISP_E_EXCEPTION);
}

// The real binding attaches to a running tolm-sim.exe the way the bridge
// attaches to Tolm, and every call lands in tolm-sim's transcript.
TEST(TolmSimProcess, BindingReachesTolmSimAcrossProcesses) {
  TempDir dir;
  SimProcess sim(dir.Path());
  ASSERT_TRUE(sim.Started()) << "tolm-sim.exe did not start";

  std::unique_ptr<HostLink> link = MakePlatformHostLink();
  // tolm-sim needs a moment to register; each attempt is the bridge's
  // once-per-tick attempt.
  for (int attempt = 0; attempt < 600 && !link->IsAttached() && sim.Running(); ++attempt) {
    link->AttachHost();
    if (!link->IsAttached()) Sleep(100);
  }
  ASSERT_TRUE(link->IsAttached()) << "never attached; tolm-sim said:\n" << sim.Stderr();

  link->ExecMacro("<MODEADD:FT8>");
  link->SetLogField(LogField::Call, "K1ABC");
  link->SetLogField(LogField::Name, "Алексей");
  link->SetLogField(LogField::RptSent, "");
  link->TxFrequency(14075500);
  link->RxFrequency(14075200);
  link->ExecMacro("<FIXSTARTTIME>");
  link->ExecMacro("<SAVEQSO>");
  try {
    link->ExecMacro("<NOPE>");
    ADD_FAILURE() << "the refused macro did not throw";
  } catch (const HostCallError& error) {
    EXPECT_NE(std::string(error.what()).find("unknown macro"), std::string::npos) << error.what();
  }

  EXPECT_EQ(sim.Stop(), 0) << sim.Stderr();
  EXPECT_EQ(sim.Transcript(),
            "ExecMacro \"<MODEADD:FT8>\"\n"
            "SetLogField 0 \"K1ABC\"\n"
            "SetLogField 1 \"Алексей\"\n"
            "SetLogField 5 \"\"\n"
            "TxFrequency 14075500\n"
            "RxFrequency 14075200\n"
            "ExecMacro \"<FIXSTARTTIME>\"\n"
            "ExecMacro \"<SAVEQSO>\"\n");

  // Tolm gone while attached: the next call fails, and the binding stays
  // with the object it had.
  try {
    link->TxFrequency(7074000);
    ADD_FAILURE() << "a call to an ended tolm-sim did not throw";
  } catch (const HostCallError& error) {
    EXPECT_NE(std::string(error.what()).find("TxFrequency: "), std::string::npos) << error.what();
  }
  EXPECT_TRUE(link->IsAttached());
}

}  // namespace
