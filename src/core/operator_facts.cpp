#include "core/operator_facts.h"

#include <chrono>

void OperatorFacts::CountSaved(std::string_view call, Clock::TimePoint now) {
  using std::chrono::days;
  if (std::chrono::floor<days>(now) != std::chrono::floor<days>(LastSavedAt)) SavedCount = 0;
  LastSavedCall = call;
  LastSavedAt = now;
  ++SavedCount;
}
