#pragma once
#include <cstdint>

// The members of Tolm's automation object that the bridge calls, by dispatch
// id: two methods and two property puts. tolm-sim's automation object answers
// to the same ids.
namespace dispatch_ids {

inline constexpr std::int32_t kExecMacro = 16;    // method (BSTR macro)
inline constexpr std::int32_t kSetLogField = 18;  // method (I4 index, BSTR text)
inline constexpr std::int32_t kTxFrequency = 2;   // property put (R8 hertz)
inline constexpr std::int32_t kRxFrequency = 3;   // property put (R8 hertz)

}  // namespace dispatch_ids
