// The OLE Automation binding against automation objects this test puts into
// the running object table itself, under a ProgID of its own.
#include "host/host_com-win32.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <oleauto.h>

#include <memory>
#include <string>

#include "com_registration-win32.h"
#include "win32/recording_dispatch.h"

namespace {

constexpr wchar_t kProgId[] = L"Relvan.HostComTest";
constexpr CLSID kTestClsid = {0x7963bb30, 0x852f, 0x4f4b, {0xba, 0xa7, 0xfa, 0x0a, 0x01, 0xaf, 0x3d, 0xd3}};

class ComHostLinkTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
  void TearDown() override { CoUninitialize(); }
};

// Registers the test's class or object, or says why it could not.
template <typename Scoped, typename... Args>
::testing::AssertionResult Register(Scoped& scoped, const Args&... args) {
  std::string reason;
  if (scoped.Register(args..., reason)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << reason;
}
::testing::AssertionResult RegisterTestClass(ScopedClassRegistration& registration) {
  return Register(registration, kProgId, kTestClsid, L"Relvan binding test");
}

// A registered class with an active object, and a binding attached to it.
struct AttachedSetup {
  RecordingDispatch object;
  ScopedClassRegistration registration;
  ScopedActiveObject active;
  ComHostLink link{kProgId};

  AttachedSetup() {
    EXPECT_TRUE(RegisterTestClass(registration));
    EXPECT_TRUE(Register(active, &object, kTestClsid));
    link.AttachHost();
    EXPECT_TRUE(link.IsAttached());
  }
};

TEST_F(ComHostLinkTest, CallsArriveWithTolmsDispatchIdsAndArgumentShapes) {
  AttachedSetup setup;
  setup.link.ExecMacro("<MODEADD:FT8>");
  setup.link.SetLogField(LogField::Name, "Алексей");
  setup.link.SetLogField(LogField::RptSent, "");
  setup.link.TxFrequency(14075500);
  setup.link.RxFrequency(14075200);

  const auto& calls = setup.object.Calls;
  ASSERT_EQ(calls.size(), 5u);
  for (const SeenCall& call : calls) {
    EXPECT_TRUE(call.NullIid);
    EXPECT_FALSE(call.WantsResult);
  }

  EXPECT_EQ(calls[0].Member, 16);
  EXPECT_EQ(calls[0].Flags, DISPATCH_METHOD);
  EXPECT_TRUE(calls[0].Named.empty());
  ASSERT_EQ(calls[0].Arguments.size(), 1u);
  EXPECT_EQ(calls[0].Arguments[0].Type, VT_BSTR);
  EXPECT_EQ(calls[0].Arguments[0].Text, L"<MODEADD:FT8>");

  // SetLogField(index, text): rgvarg holds the text first, then the index.
  EXPECT_EQ(calls[1].Member, 18);
  EXPECT_EQ(calls[1].Flags, DISPATCH_METHOD);
  EXPECT_TRUE(calls[1].Named.empty());
  ASSERT_EQ(calls[1].Arguments.size(), 2u);
  EXPECT_EQ(calls[1].Arguments[0].Type, VT_BSTR);
  EXPECT_EQ(calls[1].Arguments[0].Text, L"\u0410\u043B\u0435\u043A\u0441\u0435\u0439");
  EXPECT_EQ(calls[1].Arguments[1].Type, VT_I4);
  EXPECT_EQ(calls[1].Arguments[1].Int, 1);

  // An empty text is a real, empty BSTR.
  ASSERT_EQ(calls[2].Arguments.size(), 2u);
  EXPECT_EQ(calls[2].Arguments[0].Type, VT_BSTR);
  EXPECT_FALSE(calls[2].Arguments[0].NullText);
  EXPECT_EQ(calls[2].Arguments[0].Text, L"");
  EXPECT_EQ(calls[2].Arguments[1].Int, 5);

  for (int i : {3, 4}) {
    EXPECT_EQ(calls[i].Member, i == 3 ? 2 : 3);
    EXPECT_EQ(calls[i].Flags, DISPATCH_PROPERTYPUT);
    ASSERT_EQ(calls[i].Arguments.size(), 1u);
    EXPECT_EQ(calls[i].Arguments[0].Type, VT_R8);
    ASSERT_EQ(calls[i].Named.size(), 1u);
    EXPECT_EQ(calls[i].Named[0], DISPID_PROPERTYPUT);
  }
  EXPECT_EQ(calls[3].Arguments[0].Real, 14075500.0);
  EXPECT_EQ(calls[4].Arguments[0].Real, 14075200.0);
}

TEST_F(ComHostLinkTest, DetachedUntilTheObjectAppearsThenAttachesAtOnce) {
  RecordingDispatch object;
  ComHostLink link(kProgId);

  link.AttachHost();  // class not even registered
  EXPECT_FALSE(link.IsAttached());
  link.ExecMacro("<SAVEQSO>");  // no effect, no error
  link.TxFrequency(7074000);

  ScopedClassRegistration registration;
  ASSERT_TRUE(RegisterTestClass(registration));
  link.AttachHost();  // registered, not running
  EXPECT_FALSE(link.IsAttached());

  ScopedActiveObject active;
  ASSERT_TRUE(Register(active, &object, kTestClsid));
  link.AttachHost();
  ASSERT_TRUE(link.IsAttached());
  link.ExecMacro("<MODE:CW>");
  ASSERT_EQ(object.Calls.size(), 1u);
  EXPECT_EQ(object.Calls[0].Arguments[0].Text, L"<MODE:CW>");
}

TEST_F(ComHostLinkTest, HoldsOnlyTheQueriedReferenceAndReleasesItOnce) {
  RecordingDispatch object;
  ScopedClassRegistration registration;
  ASSERT_TRUE(RegisterTestClass(registration));
  ScopedActiveObject active;
  ASSERT_TRUE(Register(active, &object, kTestClsid));
  const LONG before = object.References;
  {
    ComHostLink link(kProgId);
    link.AttachHost();
    ASSERT_TRUE(link.IsAttached());
    EXPECT_EQ(object.References, before + 1);
    link.AttachHost();  // attached: nothing more is taken
    EXPECT_EQ(object.References, before + 1);
  }
  EXPECT_EQ(object.References, before);
}

TEST_F(ComHostLinkTest, FailedDispatchQueryReleasesTheObjectAndIsTriedAgain) {
  RecordingDispatch object;
  object.OfferDispatch = false;
  ScopedClassRegistration registration;
  ASSERT_TRUE(RegisterTestClass(registration));
  ScopedActiveObject active;
  ASSERT_TRUE(Register(active, &object, kTestClsid));
  const LONG before = object.References;
  const LONG handed_out = object.AddRefs;

  ComHostLink link(kProgId);
  link.AttachHost();
  EXPECT_FALSE(link.IsAttached());
  EXPECT_GT(object.AddRefs, handed_out);  // the lookup did hand out a reference...
  EXPECT_EQ(object.References, before);   // ...and it was given back

  object.OfferDispatch = true;
  link.AttachHost();
  EXPECT_TRUE(link.IsAttached());
}

TEST_F(ComHostLinkTest, FailingCallThrowsWithCodeAndTolmsDescription) {
  AttachedSetup setup;
  setup.object.FailWith = DISP_E_EXCEPTION;
  setup.object.FailDescription = L"\u041C\u0430\u043A\u0440\u043E\u0441?";  // "Макрос?"
  try {
    setup.link.ExecMacro("<BOGUS>");
    FAIL() << "no HostCallError";
  } catch (const HostCallError& error) {
    const std::string what = error.what();
    EXPECT_NE(what.find("ExecMacro"), std::string::npos) << what;
    EXPECT_NE(what.find("0x80020009"), std::string::npos) << what;
    EXPECT_NE(what.find("Макрос?"), std::string::npos) << what;
  }

  setup.object.FailWith = DISP_E_MEMBERNOTFOUND;
  try {
    setup.link.RxFrequency(14074000);
    FAIL() << "no HostCallError";
  } catch (const HostCallError& error) {
    const std::string what = error.what();
    EXPECT_NE(what.find("RxFrequency"), std::string::npos) << what;
    EXPECT_NE(what.find("0x80020003"), std::string::npos) << what;
  }
}

// Only a failure of the connection itself means Tolm has gone; any answer
// of its own, a refusal included, means it is there. Nothing is invoked.
TEST_F(ComHostLinkTest, StillThereUnlessTheConnectionToTolmFailed) {
  AttachedSetup setup;
  for (const HRESULT answer : {S_OK, E_NOTIMPL, RPC_E_CALL_REJECTED}) {
    setup.object.TypeInfoCountResult = answer;
    EXPECT_TRUE(setup.link.StillThere()) << std::hex << answer;
  }
  for (const HRESULT gone : {HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE), RPC_E_DISCONNECTED, CO_E_OBJNOTCONNECTED}) {
    setup.object.TypeInfoCountResult = gone;
    EXPECT_FALSE(setup.link.StillThere()) << std::hex << gone;
  }
  EXPECT_TRUE(setup.object.Calls.empty());
  setup.link.DetachHost();
  EXPECT_FALSE(setup.link.StillThere());
}

TEST_F(ComHostLinkTest, OnceAttachedKeepsTheFirstObjectForGood) {
  RecordingDispatch first;
  RecordingDispatch second;
  ScopedClassRegistration registration;
  ASSERT_TRUE(RegisterTestClass(registration));
  ScopedActiveObject active;
  ASSERT_TRUE(Register(active, &first, kTestClsid));
  ComHostLink link(kProgId);
  link.AttachHost();
  ASSERT_TRUE(link.IsAttached());

  active.Revoke();
  ScopedActiveObject replacement;
  ASSERT_TRUE(Register(replacement, &second, kTestClsid));
  link.AttachHost();
  link.SetLogField(LogField::Call, "K1ABC");

  EXPECT_EQ(first.Calls.size(), 1u);
  EXPECT_TRUE(second.Calls.empty());
}

}  // namespace
