#pragma once
#include "ui/relvan_version.h"

// The dialogs' own texts (UTF-8; the Windows resources hold them as UTF-16).
namespace texts {

inline constexpr char kAboutMenuItem[] = "&О проекте Relvan...";
inline constexpr char kAboutTitle[] = "О проекте Relvan";
inline constexpr char kAboutLine[] = "Relvan " RELVAN_VERSION ": JTDX to Tolm";
inline constexpr char kMainTemplateTitle[] = "Tolm<->JTDX";
inline constexpr char kSetupTitle[] = "Setup";
inline constexpr char kSetupPrompt[] = "Input number UDP port";
inline constexpr char kOkButton[] = "ОК";  // Cyrillic О and К
inline constexpr char kFinishButton[] = "Finish";
inline constexpr char kSetupButton[] = "Setup";
inline constexpr char kNotAnInteger[] = "Please enter an integer.";
inline constexpr char kPortOutOfRange[] = "Please enter an integer between 1 and 65535.";

}  // namespace texts
