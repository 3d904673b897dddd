// The COM task allocator: memory that one side of an interface call allocates and the
// other side frees (arrays handed out by methods, for instance).
#pragma once

#include <cstddef>

// A block of `size` bytes (a valid, unique block also for 0), or null when memory is short.
void* CoTaskMemAlloc(size_t size);
// Frees a block of CoTaskMemAlloc; null is accepted and does nothing.
void CoTaskMemFree(void* block);
