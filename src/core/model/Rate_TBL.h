#pragma once

#include <cstddef>
#include <vector>

namespace orvel {

// A weighted lottery table: element i is the weight of outcome i. Outcome i
// covers the half-open interval [c_i, c_i + weight[i]) where c_i is the sum
// of the weights before it; a value outside every interval (negative, or at
// or past the total) picks n, the element count. The minor-prize tables use
// that extra outcome as "ハズレ"; for every other table the weights fill the
// caller's denominator exactly.
//
// The table stores no denominator: each caller draws NextRandom() % D over
// its own D.
template <class T>
class Rate_TBL : public std::vector<T> {
public:
  using std::vector<T>::vector;

  T Pick(T value) const {
    const std::size_t n = this->size();
    if (value < 0) return static_cast<T>(n);
    // Weights are never negative, so the running totals never decrease and
    // the interval holding `value` is found by counting the totals at or
    // below it. Counting instead of searching has no data-dependent branch,
    // which matters: this runs twice or more in every game.
    const T* weights = this->data();
    T total = 0;
    std::size_t below = 0;
    for (std::size_t i = 0; i < n; ++i) {
      total += weights[i];
      below += static_cast<std::size_t>(total <= value);
    }
    return static_cast<T>(below);
  }
};

}  // namespace orvel
