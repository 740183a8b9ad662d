#pragma once
#include <cstddef>

// Heap allocations made through operator new since the program started. The
// benchmark binary replaces the global operator new to count them.
std::size_t AllocationCount();
