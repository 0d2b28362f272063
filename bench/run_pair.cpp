// velmar_bench_pair: times the converter against the parse floor on one input file.
//
//   velmar_bench_pair --converter=PATH --floor=PATH --input=FILE --output=BOOK
//                     [--baseline=PATH] [--reps=N] [--warmup=N] [--log=FILE] [--over-old-book]
//
// Runs the programs round-robin on the same file (converter, floor, converter, floor, ...) so
// that both see the same machine state; with --baseline a second converter (e.g. the build
// before a change) takes its turn in every round too, the two converters swapping places from
// one round to the next (converter, baseline, floor, baseline, converter, floor, ...). First
// `warmup` unrecorded rounds (page cache, CPU frequency), then `reps` recorded ones. Each run is
// a fork + exec; its wall time is taken with the monotonic clock around it, its CPU time and
// peak resident set from wait4's rusage. The book file is removed before every converter run
// (outside the timed part), so every run creates it anew; with --over-old-book it is not, so
// every run but the first warm-up replaces the book of the round before, as a user's
// re-conversion does.
//
// Prints one line of key=value pairs on standard output:
//   bytes conv_s floor_s (wall-clock medians) conv_min_s conv_max_s floor_min_s floor_max_s
//   conv_cpu_s floor_cpu_s (medians of user + system time) conv_rss_kib floor_rss_kib (the
//   largest peak seen); with --baseline also base_s base_cpu_s base_rss_kib, and pair_ratio and
//   pair_cpu_ratio: the medians, over the rounds, of converter / baseline in the same round
//   (on a machine whose speed drifts from run to run, the steadier comparison); pair_low and
//   pair_high, pair_cpu_low and pair_cpu_high: the 95 % confidence interval of each median.
// With --log each single run is appended to FILE as well. Exit status 1 when any run failed.

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "order_statistics.h"

namespace {

using velmar::bench::Interval;
using velmar::bench::median;
using velmar::bench::medianInterval;

struct RunResult {
  double seconds = 0;     // wall clock
  double cpuSeconds = 0;  // user + system
  long maxRssKib = 0;
  int status = -1;
};

double now() {
  timespec moment{};
  clock_gettime(CLOCK_MONOTONIC, &moment);
  return static_cast<double>(moment.tv_sec) + static_cast<double>(moment.tv_nsec) * 1e-9;
}

RunResult runOnce(const std::vector<std::string>& command) {
  std::vector<char*> arguments;
  for (const std::string& argument : command)
    arguments.push_back(const_cast<char*>(argument.c_str()));
  arguments.push_back(nullptr);

  RunResult result;
  const double start = now();
  const pid_t child = fork();
  if (child < 0) {
    std::perror("fork");
    return result;
  }
  if (child == 0) {
    // Whatever the program prints goes to our standard error, away from the result line.
    dup2(2, 1);
    execv(arguments[0], arguments.data());
    std::perror(arguments[0]);
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  while (wait4(child, &status, 0, &usage) < 0) {
  }
  result.seconds = now() - start;
  result.maxRssKib = usage.ru_maxrss;
  result.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                      static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

// One converter run; unless the old book is to be replaced, the book is removed first (outside
// the timed part), so the run writes a new one.
RunResult runConverter(const std::vector<std::string>& command, const std::string& book,
                       bool overOldBook) {
  if (!overOldBook) std::remove(book.c_str());
  return runOnce(command);
}

const char* valueOf(const char* argument, const char* key) {
  const std::size_t length = std::strlen(key);
  return std::strncmp(argument, key, length) == 0 ? argument + length : nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  std::string converter, floorProgram, baseline, input, output, logPath;
  int reps = 5;
  int warmup = 1;
  bool overOldBook = false;
  for (int index = 1; index < argc; ++index) {
    const char* value = nullptr;
    if ((value = valueOf(argv[index], "--converter="))) {
      converter = value;
    } else if ((value = valueOf(argv[index], "--floor="))) {
      floorProgram = value;
    } else if ((value = valueOf(argv[index], "--baseline="))) {
      baseline = value;
    } else if ((value = valueOf(argv[index], "--input="))) {
      input = value;
    } else if ((value = valueOf(argv[index], "--output="))) {
      output = value;
    } else if ((value = valueOf(argv[index], "--reps="))) {
      reps = std::atoi(value);
    } else if ((value = valueOf(argv[index], "--warmup="))) {
      warmup = std::atoi(value);
    } else if ((value = valueOf(argv[index], "--log="))) {
      logPath = value;
    } else if (std::strcmp(argv[index], "--over-old-book") == 0) {
      overOldBook = true;
    } else {
      std::fprintf(stderr, "unknown argument %s\n", argv[index]);
      return 2;
    }
  }
  if (converter.empty() || floorProgram.empty() || input.empty() || output.empty() || reps < 1 ||
      (overOldBook && warmup < 1)) {
    std::fprintf(stderr,
                 "usage: velmar_bench_pair --converter=PATH --floor=PATH --input=FILE "
                 "--output=BOOK [--reps=N] [--warmup=N] [--log=FILE] [--over-old-book]\n");
    return 2;
  }
  struct stat info {};
  if (stat(input.c_str(), &info) != 0) {
    std::perror(input.c_str());
    return 1;
  }

  const std::vector<std::string> converterCommand = {converter, "-i=" + input, "-o=" + output};
  const std::vector<std::string> floorCommand = {floorProgram, input};
  const std::string baselineBook = output + ".baseline";
  const std::vector<std::string> baselineCommand = {baseline, "-i=" + input, "-o=" + baselineBook};
  std::FILE* log = logPath.empty() ? nullptr : std::fopen(logPath.c_str(), "a");

  std::vector<double> converterTimes, floorTimes, converterCpu, floorCpu, baseTimes, baseCpu;
  std::vector<double> pairRatios, pairCpuRatios;
  long converterRss = 0, floorRss = 0, baseRss = 0;
  bool failed = false;
  for (int round = 0; round < warmup + reps && !failed; ++round) {
    const bool recorded = round >= warmup;
    // The two converters take turns at going first (the first follows the floor, the second a
    // converter), so whatever the order costs falls on both alike.
    RunResult conv, base;
    if (baseline.empty()) {
      conv = runConverter(converterCommand, output, overOldBook);
    } else if (round % 2 == 0) {
      conv = runConverter(converterCommand, output, overOldBook);
      base = runConverter(baselineCommand, baselineBook, overOldBook);
    } else {
      base = runConverter(baselineCommand, baselineBook, overOldBook);
      conv = runConverter(converterCommand, output, overOldBook);
    }
    const RunResult floor = runOnce(floorCommand);
    if (conv.status != 0 || floor.status != 0 || (!baseline.empty() && base.status != 0)) {
      const bool baselineFailed = !baseline.empty() && base.status != 0;
      std::fprintf(stderr, "run failed on %s: converter status %d, floor status %d%s\n",
                   input.c_str(), conv.status, floor.status,
                   baselineFailed ? ", baseline failed" : "");
      failed = true;
    }
    if (log != nullptr) {
      std::fprintf(log,
                   "%s %s round=%d conv_s=%.6f conv_cpu_s=%.6f conv_rss_kib=%ld floor_s=%.6f "
                   "floor_cpu_s=%.6f floor_rss_kib=%ld\n",
                   input.c_str(), recorded ? "rep" : "warmup", round, conv.seconds, conv.cpuSeconds,
                   conv.maxRssKib, floor.seconds, floor.cpuSeconds, floor.maxRssKib);
      if (!baseline.empty()) {
        std::fprintf(log, "%s %s round=%d base_s=%.6f base_cpu_s=%.6f base_rss_kib=%ld\n",
                     input.c_str(), recorded ? "rep" : "warmup", round, base.seconds,
                     base.cpuSeconds, base.maxRssKib);
      }
    }
    if (!recorded) continue;
    converterTimes.push_back(conv.seconds);
    floorTimes.push_back(floor.seconds);
    converterCpu.push_back(conv.cpuSeconds);
    floorCpu.push_back(floor.cpuSeconds);
    converterRss = std::max(converterRss, conv.maxRssKib);
    floorRss = std::max(floorRss, floor.maxRssKib);
    if (!baseline.empty()) {
      baseTimes.push_back(base.seconds);
      pairRatios.push_back(conv.seconds / base.seconds);
      pairCpuRatios.push_back(conv.cpuSeconds / base.cpuSeconds);
      baseCpu.push_back(base.cpuSeconds);
      baseRss = std::max(baseRss, base.maxRssKib);
    }
  }
  std::remove(output.c_str());
  if (!baseline.empty()) std::remove(baselineBook.c_str());
  if (log != nullptr) std::fclose(log);
  if (failed) return 1;

  std::printf(
      "bytes=%lld conv_s=%.6f floor_s=%.6f conv_min_s=%.6f conv_max_s=%.6f floor_min_s=%.6f "
      "floor_max_s=%.6f conv_cpu_s=%.6f floor_cpu_s=%.6f conv_rss_kib=%ld floor_rss_kib=%ld",
      static_cast<long long>(info.st_size), median(converterTimes), median(floorTimes),
      *std::min_element(converterTimes.begin(), converterTimes.end()),
      *std::max_element(converterTimes.begin(), converterTimes.end()),
      *std::min_element(floorTimes.begin(), floorTimes.end()),
      *std::max_element(floorTimes.begin(), floorTimes.end()), median(converterCpu),
      median(floorCpu), converterRss, floorRss);
  if (!baseline.empty()) {
    std::printf(" base_s=%.6f base_cpu_s=%.6f base_rss_kib=%ld pair_ratio=%.4f pair_cpu_ratio=%.4f",
                median(baseTimes), median(baseCpu), baseRss, median(pairRatios),
                median(pairCpuRatios));
    const Interval wall = medianInterval(pairRatios);
    const Interval cpu = medianInterval(pairCpuRatios);
    std::printf(" pair_low=%.4f pair_high=%.4f pair_cpu_low=%.4f pair_cpu_high=%.4f", wall.low,
                wall.high, cpu.low, cpu.high);
  }
  std::printf("\n");
  return 0;
}
