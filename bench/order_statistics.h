#pragma once
// The median of a benchmark's rounds, and how far it can be trusted.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace velmar::bench {

inline double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The 95 % confidence interval of the median of `values` (at least one), whatever their
// distribution: the order statistics of rank n/2 - 0.98 sqrt(n) and 1 + n/2 + 0.98 sqrt(n) (the
// normal approximation to the binomial, close from 20 values on). Where one run differs from the
// next by 10 % whatever is run, it tells whether a difference of 2 % was resolved at all.
struct Interval {
  double low, high;
};
inline Interval medianInterval(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const double count = static_cast<double>(values.size());
  const double spread = 0.98 * std::sqrt(count);
  const auto rank = [&](double at) {
    const long nearest = std::lround(at);
    return static_cast<std::size_t>(std::clamp(nearest, 1L, static_cast<long>(values.size())));
  };
  return {values[rank(count / 2 - spread) - 1], values[rank(1 + count / 2 + spread) - 1]};
}

}  // namespace velmar::bench
