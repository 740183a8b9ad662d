#pragma once
#include <chrono>
#include <string>

#include "core/logged_contact.h"

// A contact of the appends' tests, told apart by its call.
inline LoggedContact TestContact(const std::string& call) {
  using namespace std::chrono;
  LoggedContact contact;
  contact.Call = call;
  contact.Mode = "FT8";
  contact.FrequencyHz = 7075200;
  contact.TimeOn = sys_days{year{2024} / June / 1} + 18h + 29min;
  contact.TimeOff = contact.TimeOn + 45s;
  return contact;
}
