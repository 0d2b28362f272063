#!/usr/bin/env bash
# Builds the converter, the parse floor and the generator (Release, -O2) in a private build
# directory, generates (or reuses) the benchmark catalogues, times the converter against the
# floor round-robin on every file, and prints the figures table and the target check.
#
#   bench/run.sh            every shape at 4, 16, 64 and 256 MiB (about 10 minutes on 2 cores,
#                           15 with BASELINE, plus under a minute to generate the catalogues once)
#   bench/run.sh --quick    every shape at 4 and 16 MiB, 3 repetitions (a minute or two)
#   bench/run.sh --report=RESULTS   prints the table of an earlier run's results file again
#
# Settings (environment):
#   BENCH_DIR    scratch root: catalogues, books, logs, results   (default /tmp/velmar-bench)
#   BUILD_DIR    the private build directory                      (default <repo>/build-bench)
#   SHAPES       shapes to run            (default "typical tiny huge-text pretty entity-heavy")
#   SIZES        sizes in MiB             (default "4 16 64 256"; --quick: "4 16")
#   REPS         recorded rounds per file up to 64 MiB   (default 7; --quick: 3)
#   REPS_LARGE   recorded rounds per file above 64 MiB   (default 5)
#   WARMUP       unrecorded rounds before those          (default 1)
#   SEED         generator seed                          (default 1)
#   CONVERTER    time this velmar2fb2 instead of the one built here (e.g. a patched build)
#   BASELINE     also time this velmar2fb2 in the same rounds (e.g. the build before a change),
#                and check first that both write byte-identical books for every file
#   CPU          pin every timed run to this CPU with taskset (default: not pinned)
#   BOOK         new: the book is removed before every run, so each one writes a new book
#                (default); existing: it is left, so each run replaces the book of the run
#                before, as a re-conversion does
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
quick=0
report=
for argument in "$@"; do
  case $argument in
    --quick) quick=1 ;;
    --report=*) report=${argument#--report=} ;;
    -h|--help) sed -n '2,25p' "$0"; exit 0 ;;
    *) echo "unknown argument: $argument" >&2; exit 2 ;;
  esac
done

BENCH_DIR=${BENCH_DIR:-/tmp/velmar-bench}
BUILD_DIR=${BUILD_DIR:-$repo/build-bench}
SHAPES=${SHAPES:-typical tiny huge-text pretty entity-heavy}
SEED=${SEED:-1}
BOOK=${BOOK:-new}
case $BOOK in
  new) book_arg=() ;;
  existing) book_arg=(--over-old-book) ;;
  *) echo "BOOK is new or existing, not $BOOK" >&2; exit 2 ;;
esac
WARMUP=${WARMUP:-1}
REPS_LARGE=${REPS_LARGE:-5}
if [ "$quick" -eq 1 ]; then
  SIZES=${SIZES:-4 16}
  REPS=${REPS:-3}
else
  SIZES=${SIZES:-4 16 64 256}
  REPS=${REPS:-7}
fi

# --- table and targets: render_table RESULTS QUICK ----------------------------------------------
render_table() {
  awk -v quick="$2" '
  # holds: the whole interval is at most 1.02; MISSED: all of it above; unresolved: it spans 1.02.
  function verdictOf(low, high) { return high <= 1.02 ? "holds" : low > 1.02 ? "MISSED" : "unresolved" }
  /^#/ { print; next }
  {
    for (i = 1; i <= NF; i++) { split($i, kv, "="); v[kv[1]] = kv[2] }
    n++; shape[n] = v["shape"]; size[n] = v["size"] + 0
    mib = v["bytes"] / 1048576
    conv[n] = v["conv_s"]; flo[n] = v["floor_s"]
    convSpeed[n] = mib / v["conv_s"]; floorSpeed[n] = mib / v["floor_s"]
    ratio[n] = v["conv_s"] / v["floor_s"]
    cpuRatio[n] = v["conv_cpu_s"] / v["floor_cpu_s"]
    rssMib[n] = v["conv_rss_kib"] / 1024
    memRatio[n] = v["conv_rss_kib"] * 1024 / v["bytes"]
    perMib[n] = v["conv_s"] / mib
    cpuPerMib[n] = v["conv_cpu_s"] / mib
    if ("base_s" in v) {
      hasBase = 1
      baseRatio[n] = v["base_s"] / v["floor_s"]; convVsBase[n] = v["conv_s"] / v["base_s"]
      pairRatio[n] = ("pair_ratio" in v) ? v["pair_ratio"] : convVsBase[n]
      pairCpuRatio[n] = ("pair_cpu_ratio" in v) ? v["pair_cpu_ratio"] : v["conv_cpu_s"] / v["base_cpu_s"]
      if ("pair_high" in v) {
        hasInterval = 1
        pairLow[n] = v["pair_low"]; pairHigh[n] = v["pair_high"]
        pairCpuLow[n] = v["pair_cpu_low"]; pairCpuHigh[n] = v["pair_cpu_high"]
      }
      baseMem[n] = v["base_rss_kib"] * 1024 / v["bytes"]
    }
    if (!(v["shape"] in smallest)) order[++shapes] = v["shape"]
    if (!(v["shape"] in smallest) || size[n] < size[smallest[v["shape"]]]) smallest[v["shape"]] = n
    if (!(v["shape"] in largest) || size[n] > size[largest[v["shape"]]]) largest[v["shape"]] = n
    at[v["shape"], size[n]] = n
    delete v
  }
  END {
    print ""
    printf "%-13s %5s %10s %10s %8s %8s %9s %8s %8s %8s", "shape", "MiB", "conv MiB/s", \
      "floor MiB/s", "conv/flr", "cpu c/f", "peak MiB", "peak/in", "t/MiB x", "cpu/MiB x"
    if (hasBase) printf " %8s %8s %9s %8s %8s", "base/flr", "base pk", "conv/base", "pair", "pair cpu"
    if (hasInterval) printf " %14s", "pair 95%"
    printf "\n"
    for (i = 1; i <= n; i++) {
      growth = perMib[i] / perMib[smallest[shape[i]]]
      cpuGrowth = cpuPerMib[i] / cpuPerMib[smallest[shape[i]]]
      printf "%-13s %5d %10.1f %10.1f %7.2fx %7.2fx %9.1f %7.2fx %7.2fx %8.2fx", shape[i], \
        size[i], convSpeed[i], floorSpeed[i], ratio[i], cpuRatio[i], rssMib[i], memRatio[i], \
        growth, cpuGrowth
      if (hasBase) printf " %7.2fx %7.2fx %8.2fx %7.3fx %7.3fx", baseRatio[i], baseMem[i], \
        convVsBase[i], pairRatio[i], pairCpuRatio[i]
      if (hasInterval && (i in pairHigh)) printf "   %.3f-%.3f", pairLow[i], pairHigh[i]
      printf "\n"
    }
    print ""
    print "conv/flr: converter wall time / floor wall time (medians); cpu c/f: the same in user+system"
    print "time; peak/in: converter peak RSS / input size; t/MiB x: converter wall time per MiB"
    print "relative to the smallest size of the same shape; cpu/MiB x: the same in user+system time."
    print "Wall times suffer most when other work shares the machine; the round-robin keeps each"
    print "ratio fair, but the growth columns compare runs made minutes apart: on a busy machine"
    print "read the cpu column."
    if (hasBase) {
      print "base/flr: baseline wall time / floor wall time; base pk: baseline peak RSS / input size;"
      print "conv/base: converter wall time / baseline wall time (below 1: the converter is faster);"
      print "pair, pair cpu: the median over the rounds of converter / baseline in the same round,"
      print "wall and user+system time: steadier where the speed of the machine drifts between rounds."
      if (hasInterval) print "pair 95%: the 95% confidence interval of the pair median (wall)."
    }
    print ""
    print "targets:"
    # Speed and memory targets are read at 64 MiB (or the largest size run, in a quick run).
    split("typical tiny huge-text pretty entity-heavy", names, " ")
    split("1.3 1.8 1.3 1.4 1.3", speedLimit, " ")
    split("1.1 1.5 1.2 - -", memLimit, " ")
    for (k = 1; k <= 5; k++) {
      s = names[k]
      if (!(s in largest)) continue
      i = ((s, 64) in at) ? at[s, 64] : largest[s]
      verdict = ratio[i] <= speedLimit[k] ? "holds" : "MISSED"
      cpuVerdict = cpuRatio[i] <= speedLimit[k] ? "holds" : "MISSED"
      printf "  %-12s speed  at %3d MiB: %5.2fx floor  (limit %sx)  %s   [cpu time: %5.2fx  %s]\n", \
        s, size[i], ratio[i], speedLimit[k], verdict, cpuRatio[i], cpuVerdict
      if (memLimit[k] == "-") continue
      verdict = memRatio[i] <= memLimit[k] ? "holds" : "MISSED"
      printf "  %-12s memory at %3d MiB: %5.2fx input  (limit %sx)  %s\n", s, size[i], memRatio[i], \
        memLimit[k], verdict
    }
    for (k = 1; k <= shapes; k++) {
      s = order[k]; i = largest[s]; j = smallest[s]
      if (i == j) continue
      growth = perMib[i] / perMib[j]
      cpuGrowth = cpuPerMib[i] / cpuPerMib[j]
      verdict = growth <= 1.1 ? "holds" : "MISSED"
      cpuVerdict = cpuGrowth <= 1.1 ? "holds" : "MISSED"
      printf "  %-12s time per MiB at %3d MiB vs %d MiB: %5.2fx  (limit 1.1x)  %s   [cpu time: %5.2fx  %s]\n", \
        s, size[i], size[j], growth, verdict, cpuGrowth, cpuVerdict
    }
    # A change may cost at most 2% against the baseline; the verdict needs the whole interval.
    if (hasInterval) print "  converter vs baseline, pair median and its 95% interval (at most 1.02x allowed):"
    for (i = 1; i <= n; i++) {
      if (!(i in pairHigh)) continue
      printf "  %-12s %3d MiB: wall %.3fx (%.3f-%.3f) %-10s cpu %.3fx (%.3f-%.3f) %s\n", shape[i], \
        size[i], pairRatio[i], pairLow[i], pairHigh[i], verdictOf(pairLow[i], pairHigh[i]), \
        pairCpuRatio[i], pairCpuLow[i], pairCpuHigh[i], verdictOf(pairCpuLow[i], pairCpuHigh[i])
    }
    if (quick) print "  (quick run: sizes are smaller than the targets are set for)"
  }
' "$1"
}

if [ -n "$report" ]; then
  render_table "$report" 0
  exit 0
fi

mkdir -p "$BENCH_DIR"

# --- build ------------------------------------------------------------------------------------
echo "== building (Release, -O2) in $BUILD_DIR"
cmake -S "$repo" -B "$BUILD_DIR" -G Ninja \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DVELMAR_BUILD_TESTS=OFF -DVELMAR_BUILD_BENCH=ON -DVELMAR_BUILD_FUZZ=OFF \
  >"$BENCH_DIR/configure.log" 2>&1 || { cat "$BENCH_DIR/configure.log"; exit 1; }
cmake --build "$BUILD_DIR" --target velmar2fb2 velmar_parse_floor velmar_bench_generate \
  velmar_bench_pair >"$BENCH_DIR/build.log" 2>&1 || { cat "$BENCH_DIR/build.log"; exit 1; }

converter=${CONVERTER:-$BUILD_DIR/velmar2fb2}
floor=$BUILD_DIR/bench/velmar_parse_floor
generator=$BUILD_DIR/bench/velmar_bench_generate
pair=$BUILD_DIR/bench/velmar_bench_pair

# --- catalogues (cached: the directory name changes whenever the generator's source does) ------
generator_id=$(cat "$repo/bench/generate_catalogue.cpp" "$repo/src/reader/cp1251_table.h" |
  sha256sum | cut -c1-12)
data_dir=$BENCH_DIR/data-$generator_id
mkdir -p "$data_dir" "$BENCH_DIR/out"
echo "== catalogues in $data_dir"
for shape in $SHAPES; do
  for size in $SIZES; do
    file=$data_dir/$shape-${size}MiB-seed$SEED.xml
    if [ ! -s "$file" ]; then
      "$generator" --shape="$shape" --size-mib="$size" --seed="$SEED" -o="$file.part"
      mv "$file.part" "$file"
      echo "   generated $(basename "$file")"
    fi
  done
done

# --- machine ----------------------------------------------------------------------------------
stamp=$(date +%Y%m%d-%H%M%S)
results=$BENCH_DIR/results-$stamp.txt
log=$BENCH_DIR/runs-$stamp.log
{
  echo "# $(date -u '+%Y-%m-%d %H:%M UTC')  converter: $converter"
  echo "# cpu: $(lscpu | sed -n 's/^Model name: *//p' | head -1), $(nproc) cores;" \
    "memory: $(free -g | awk '/^Mem:/ {print $2}') GiB"
  echo "# $(g++ --version | head -1); expat $(dpkg-query -W -f='${Version}' libexpat1 2>/dev/null || echo '?')"
  echo "# load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
  echo "# warmup $WARMUP, reps $REPS (above 64 MiB: $REPS_LARGE), seed $SEED; book: $BOOK"
  if [ -n "${BASELINE:-}" ]; then echo "# baseline: $BASELINE"; fi
} >"$results"
cat "$results"

# --- same books as the baseline? --------------------------------------------------------------
# Both programs write the book dated with the same fixed moment (faketime), so the books must be
# byte-identical; without faketime the date line is left out of the comparison.
if [ -n "${BASELINE:-}" ]; then
  echo "== comparing books with the baseline"
  for shape in $SHAPES; do
    for size in $SIZES; do
      file=$data_dir/$shape-${size}MiB-seed$SEED.xml
      mine=$BENCH_DIR/out/compare-$$.fb2
      theirs=$BENCH_DIR/out/compare-$$.baseline.fb2
      if command -v faketime >/dev/null; then
        faketime '2004-11-01 12:00:00' "$converter" -i="$file" -o="$mine"
        faketime '2004-11-01 12:00:00' "$BASELINE" -i="$file" -o="$theirs"
        same=$(cmp -s "$mine" "$theirs" && echo identical || echo DIFFERENT)
      else
        same=$(cmp -s <(grep -av '<date value=' "$mine") <(grep -av '<date value=' "$theirs") &&
          echo "identical (date line aside)" || echo DIFFERENT)
      fi
      rm -f "$mine" "$theirs"
      printf '   %-13s %4s MiB: %s\n' "$shape" "$size" "$same"
      echo "# book vs baseline: $shape $size MiB $same" >>"$results"
      if [ "$same" = DIFFERENT ]; then echo "books differ from the baseline's" >&2; exit 1; fi
    done
  done
fi

# --- timing -----------------------------------------------------------------------------------
pin=()
[ -n "${CPU:-}" ] && pin=(taskset -c "$CPU")
book=$BENCH_DIR/out/book-$$.fb2
for shape in $SHAPES; do
  for size in $SIZES; do
    file=$data_dir/$shape-${size}MiB-seed$SEED.xml
    reps=$REPS
    [ "$size" -gt 64 ] && reps=$REPS_LARGE
    printf '   %-13s %4s MiB ... ' "$shape" "$size"
    baseline_arg=()
    [ -n "${BASELINE:-}" ] && baseline_arg=(--baseline="$BASELINE")
    line=$("${pin[@]}" "$pair" --converter="$converter" --floor="$floor" --input="$file" \
      --output="$book" --reps="$reps" --warmup="$WARMUP" --log="$log" "${baseline_arg[@]}" \
      "${book_arg[@]}")
    echo "$line" | awk '{for (i = 1; i <= NF; i++) {split($i, kv, "="); v[kv[1]] = kv[2]}
      printf "converter %.3f s, floor %.3f s", v["conv_s"], v["floor_s"]
      if ("base_s" in v) printf ", baseline %.3f s", v["base_s"]
      printf "\n"}'
    echo "shape=$shape size=$size $line" >>"$results"
  done
done
echo "# load average at end: $(cut -d' ' -f1-3 /proc/loadavg)" >>"$results"

# --- table and targets ------------------------------------------------------------------------
table=$BENCH_DIR/table-$stamp.txt
render_table "$results" "$quick" | tee "$table"
echo
echo "results: $results"
echo "table:   $table"
echo "runs:    $log"
