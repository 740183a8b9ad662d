#pragma once
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/logged_contact.h"

// Something the operator must hear of, kept until the window has shown it:
// Tolm stopped answering, or a contact did not reach Tolm.
struct OperatorNotice {
  enum class Kind { HostStopped, ContactNotSaved };
  // Why a contact did not reach Tolm.
  enum class Miss {
    HostNotRunning,    // no Tolm was found
    HostNotAnswering,  // a call failed a moment ago and Tolm is left alone for a while
    CallFailed,        // a call of this contact's save failed before the save ran
    SaveMayHaveRun,    // the save call itself failed after Tolm may have carried it out
    NotACallSign,      // the call has characters no call sign has: Tolm must not save it so
    ModeNotSettable,   // no macro sets Tolm to the contact's mode: Tolm would save it in another
  };

  Kind What = Kind::HostStopped;
  Miss Why = Miss::HostNotRunning;
  // The failed call and why ("SetLogField: Broken pipe"); empty for a
  // contact that found no Tolm running or was not for Tolm as it stands.
  std::string HostDetail;

  // ContactNotSaved: the whole contact, all an operator needs to enter it by
  // hand, and where it was kept instead.
  LoggedContact Contact;
  bool Kept = false;        // added to the unsaved-contacts file
  std::string FileProblem;  // why it could not be, when not kept
  // Where the unsaved file was found damaged and set aside before this
  // contact started a new one, the name it was given; empty otherwise.
  std::filesystem::path DamagedFileSetAside;
};
