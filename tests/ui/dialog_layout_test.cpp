// The terminal's dialogs: the templates it makes from the Windows resource
// script, and the message boxes it lays out itself.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "ui/resource_ids.h"
#include "ui/texts.h"
#include "ui/tui/dialog_templates.h"
#include "ui/tui/utf8_text.h"

namespace {

// Each control a dialog reads, writes or is pressed through is in its
// template, as the kind it uses: an id the script misspells, or a control
// the script's reader leaves out, fails here.
TEST(DialogTemplates, HoldTheControlsTheDialogsAddress) {
  const auto addressed = [](int dialog) {
    std::map<int, ControlKind> kinds;
    for (const ControlTemplate& control : FindDialogTemplate(dialog).Controls) {
      if (control.Id != -1) kinds[control.Id] = control.Kind;
    }
    return kinds;
  };
  using K = ControlKind;
  EXPECT_EQ(addressed(ids::kMainTemplate), (std::map<int, ControlKind>{
                                               {ids::kOk, K::DefaultButton},
                                               {ids::kCallEdit, K::Edit},
                                               {ids::kRptSentEdit, K::Edit},
                                               {ids::kRptRcvdEdit, K::Edit},
                                               {ids::kGridEdit, K::Edit},
                                               {ids::kModeEdit, K::Edit},
                                               {ids::kFreqEdit, K::Edit},
                                               {ids::kSetupButton, K::Button},
                                               {ids::kStatusLine, K::Label},
                                           }));
  EXPECT_EQ(addressed(ids::kSetupTemplate),
            (std::map<int, ControlKind>{{ids::kOk, K::DefaultButton}, {ids::kPortEdit, K::Edit}}));
  EXPECT_EQ(addressed(ids::kAboutTemplate), (std::map<int, ControlKind>{{ids::kOk, K::DefaultButton}}));
}

// Whatever an outage brings, no box needs more than twelve lines in the
// terminal: 400 contacts, a contact kept nowhere with long texts, and a path
// as long as a Windows user's.
TEST(MessageBoxes, EveryNoticeOfALongOutageFitsTwelveLinesUncut) {
  const std::string path = "C:\\Users\\Александра\\Documents\\Relvan\\Plugins\\Tolm_JTDX_unsaved.adi";
  const std::string reason = "ExecMacro: The remote procedure call failed and did not execute (0x800706BF)";
  OperatorNotice contact;
  contact.What = OperatorNotice::Kind::ContactNotSaved;
  contact.Contact.Call = "VP2E/K1ABC";
  contact.Contact.FrequencyHz = 10368101500;
  contact.Contact.Mode = "JT9+JT65";
  contact.Contact.RptSent = contact.Contact.RptRcvd = "-12";
  contact.Contact.Grid = "FN42ab";
  contact.Contact.Name = std::string(200, 'n');
  contact.Contact.Comments = std::string(500, 'c');
  contact.HostDetail = reason;
  contact.FileProblem = "No space left on device";
  std::vector<std::string> boxes{texts::MoreContactsMessage(std::vector<OperatorNotice>(400, contact), path)};
  using Miss = OperatorNotice::Miss;
  for (const auto why : {Miss::HostNotAnswering, Miss::SaveMayHaveRun, Miss::NotACallSign, Miss::ModeNotSettable}) {
    for (const bool kept : {true, false}) {
      contact.Why = why;
      contact.Kept = kept;
      boxes.push_back(texts::NoticeMessage(contact, path));
    }
  }
  for (const std::string& text : boxes) {
    EXPECT_LE(WrapUtf8(text, kMessageBoxColumns).size(), std::size_t{kMaxMessageLines}) << text;
  }
}

}  // namespace
