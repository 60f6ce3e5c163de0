#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>
#include <type_traits>

namespace orvel {

// How a buffer gets a bigger (or first) block: realloc's contract, nullptr
// when there is no memory, the old block then untouched. Tests hand in one
// that fails on purpose.
using Reallocator = void* (*)(void* block, std::size_t bytes);

inline void* SystemReallocate(void* block, std::size_t bytes) { return std::realloc(block, bytes); }

// A block of trivially copyable values grown with realloc. A big block
// lives in pages of its own, and growing one moves those pages instead of
// copying them (mremap on Linux), so a play log of gigabytes grows in
// microseconds and holds at most its own size, not twice it, while it does.
template <class T>
class GrowableBuffer final {
  static_assert(std::is_trivially_copyable_v<T>);

public:
  T* data() { return block_.get(); }
  const T* data() const { return block_.get(); }

  // Room for `count` values, the first ones kept. On failure throws
  // std::bad_alloc and leaves the buffer as it was.
  void Resize(std::size_t count, Reallocator reallocate) {
    if (count > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    void* bigger = reallocate(block_.get(), count * sizeof(T));
    if (bigger == nullptr) throw std::bad_alloc();
    (void)block_.release();  // realloc has taken it over
    block_.reset(static_cast<T*>(bigger));
  }
  // Gives the memory back.
  void Release() { block_.reset(); }

private:
  struct Free {
    void operator()(T* block) const { std::free(block); }
  };
  std::unique_ptr<T, Free> block_;
};

}  // namespace orvel
