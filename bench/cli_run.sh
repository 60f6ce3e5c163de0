#!/usr/bin/env bash
# orvelsim-cli measured as a user runs it: time per seat game against the
# bare machine's Play (bench_model), peak memory (GNU time's maximum
# resident set size), and what writing the --log-dir files costs per row.
#
#   bench/cli_run.sh [BUILD_DIR]            the 20 x 1,000,000 and 2 x 2,000,000 runs
#   LONG_GAMES=1000000000 bench/cli_run.sh  also one seat over that many hall games
#
# Needs /usr/bin/time (Debian package time) and the benchmarks built
# (cmake --build build --target orvelsim-cli bench_model).
set -euo pipefail
build=${1:-build}
cli="$build/src/cli/orvelsim-cli"
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

# Prints "seconds peak_kb" for one run; the report goes nowhere.
measure() {
  /usr/bin/time -f "%e %M" -o "$logs/time" "$cli" "$@" >/dev/null
  cat "$logs/time"
}

play_ns=$("$build/bench/bench_model" --benchmark_filter='BM_Play/1$' --benchmark_format=csv 2>/dev/null |
  awk -F, '/BM_Play\/1"?,/ { print $4 }')
echo "bench_model Play (setting 1): $play_ns ns a game"

read -r s kb < <(measure --seats 20 --games 1000000 --seed 1)
awk -v s="$s" -v kb="$kb" -v p="$play_ns" 'BEGIN {
  ns = s * 1e9 / 20e6
  printf "20 x 1,000,000, no logs: %.2f s, %.1f ns a seat game (%.2f x Play), peak %.1f MB\n", s, ns, ns / p, kb / 1024 }'

read -r s0 kb0 < <(measure --seats 2 --games 2000000 --seed 1)
read -r s1 kb1 < <(measure --seats 2 --games 2000000 --seed 1 --log-dir "$logs/run")
bytes=$(cat "$logs"/run/*.csv | wc -c)
awk -v s0="$s0" -v s1="$s1" -v kb0="$kb0" -v kb1="$kb1" -v bytes="$bytes" 'BEGIN {
  rows = 2 * 2e6 + 2e6  # every seat game, and hall.csv once a hall game
  printf "2 x 2,000,000: %.2f s without logs (peak %.1f MB), %.2f s with --log-dir (peak %.1f MB, %.0f MB written)\n",
         s0, kb0 / 1024, s1, kb1 / 1024, bytes / 1e6
  printf "  CSV writing: %.1f ns a row (%d rows)\n", (s1 - s0) * 1e9 / rows, rows }'

if [ -n "${LONG_GAMES:-}" ]; then
  read -r s kb < <(measure --seats 1 --games "$LONG_GAMES" --seed 1)
  awk -v s="$s" -v kb="$kb" -v g="$LONG_GAMES" 'BEGIN {
    printf "1 x %d, no logs: %.1f s, %.1f ns a game, peak %.1f MB\n", g, s, s * 1e9 / g, kb / 1024 }'
fi
