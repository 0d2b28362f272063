#include "order_statistics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <random>
#include <vector>

namespace velmar::bench {
namespace {

// The 95 % interval of a median is a pair of ranks; these are the exact ones from the binomial
// distribution (the published tables), which the approximation must meet. The values are
// shuffled, so the ranks must come from sorting.
TEST(MedianInterval, MeetsTheBinomialTablesRanks) {
  struct Row {
    std::size_t count, low, high;
  };
  const Row rows[] = {{1, 1, 1}, {20, 6, 15}, {31, 10, 22}, {50, 18, 33}, {100, 40, 61}};
  std::mt19937 shuffler(7);
  for (const Row& row : rows) {
    std::vector<double> values;
    for (std::size_t rank = 1; rank <= row.count; ++rank) values.push_back(10.0 * rank);
    std::shuffle(values.begin(), values.end(), shuffler);
    const Interval interval = medianInterval(values);
    EXPECT_EQ(interval.low, 10.0 * row.low) << row.count << " values";
    EXPECT_EQ(interval.high, 10.0 * row.high) << row.count << " values";
  }
}

}  // namespace
}  // namespace velmar::bench
