#!/usr/bin/env bash
# orvelsim-cli-mpi study under mpirun against orvelsim-cli study: the same
# report and the same --days-csv for RANKS ranks, and bad input refused by
# every rank alike (status 2, one line) without a hang.
#   mpi_study_test.sh CLI CLI_MPI RANKS
set -euo pipefail
cli=$1 mpi=$2 ranks=$3
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
run_mpi() { timeout 120 mpirun --quiet --oversubscribe -n "$ranks" "$mpi" "$@"; }
fail() { echo "FAIL ($ranks ranks): $*" >&2; exit 1; }

# Seven days over the ranks, so that they get unequal shares, across the
# 2^32 wrap of the day seeds.
args=(study --seats 4 --games 400 --levels 1,2,5,6 --rates 1,0.5,0.55,0 --seed 4294967293 --days 7 --threads 1)
for format in table json; do
  "$cli" "${args[@]}" --format "$format" --days-csv "$dir/cli.csv" >"$dir/cli.out"
  run_mpi "${args[@]}" --format "$format" --days-csv "$dir/mpi.csv" >"$dir/mpi.out" || fail "status $? ($format)"
  cmp -s "$dir/cli.out" "$dir/mpi.out" || { diff "$dir/cli.out" "$dir/mpi.out" >&2; fail "report differs ($format)"; }
  cmp -s "$dir/cli.csv" "$dir/mpi.csv" || { diff "$dir/cli.csv" "$dir/mpi.csv" >&2; fail "--days-csv differs"; }
  [ ! -e "$dir/mpi.csv.part" ] || fail "partial file left"
done

# Bad input: one line from rank 0, status 2 from mpirun, no rank left waiting.
check_refusal() {
  local expected=$1; shift
  set +e
  run_mpi study "$@" >"$dir/out" 2>"$dir/err"
  local status=$?
  set -e
  [ "$status" -eq 2 ] || fail "status $status for $*: $(cat "$dir/err")"
  [ "$(cat "$dir/err")" = "$expected" ] || fail "stderr for $*: $(cat "$dir/err")"
  [ ! -s "$dir/out" ] || fail "stdout for $*"
}
check_refusal "orvelsim-cli-mpi: --days: 日数は、1から10000000にしてください。" --days 0
check_refusal "orvelsim-cli-mpi: --threads: スレッド数は、1から1024にしてください。" --days 1 --threads 1025
check_refusal "orvelsim-cli-mpi: --days-csv: /dev/null/d.csv を作れません。" --days 1 --days-csv /dev/null/d.csv
echo "ok: $ranks ranks"
