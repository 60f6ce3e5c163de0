#pragma once

#include <cstddef>

#include "core/analysis/GrowableBuffer.h"

namespace orvel::test {

// A reallocator for running out of memory on purpose: it fails the one
// call numbered `failingCall` (counted from 0 since `calls` was last set)
// and passes every other to the system. Set both before each use.
struct FailingRealloc {
  static inline int calls = 0;
  static inline int failingCall = -1;

  static void* Reallocate(void* block, std::size_t bytes) {
    if (calls++ == failingCall) return nullptr;
    return SystemReallocate(block, bytes);
  }
};

}  // namespace orvel::test
