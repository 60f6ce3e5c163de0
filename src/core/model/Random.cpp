#include "core/model/Random.h"

#include <ctime>

namespace orvel {

std::uint32_t ClockSeed() {
  return static_cast<std::uint32_t>(std::time(nullptr));
}

}  // namespace orvel
