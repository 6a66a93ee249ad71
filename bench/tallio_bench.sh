#!/usr/bin/env bash
# Times Tallio on session logs of 10 thousand, 1 million and 5 million
# records, against `wc -l` and an awk one-liner that sums every sixth line of
# the same file, and measures tallio-report's peak memory. Prints a Markdown
# table (the one in README.md).
#
# Usage: bench/tallio_bench.sh [BUILD-FOLDER]     (default: build)
# Logs are generated once into $TALLIO_BENCH_DIR (default /tmp/tallio-bench)
# with the same record writer Tocka uses; every time is the best of
# $TALLIO_BENCH_RUNS runs (default 5) with the file in the page cache.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
logs=${TALLIO_BENCH_DIR:-/tmp/tallio-bench}
runs=${TALLIO_BENCH_RUNS:-5}

cmake --build "$build" -j2 --target tallio-report tallio_analysis_timer tallio_make_log >/dev/null
report="$build/apps/tallio-report/tallio-report"
timer="$build/bench/tallio_analysis_timer"
mkdir -p "$logs"
for n in 10 10000 1000000 5000000; do
    [ -s "$logs/$n.log" ] || "$build/bench/tallio_make_log" "$n" >"$logs/$n.log"
done

# Best wall time of $runs runs of a command, in seconds.
best() {
    local best="" start end t
    for _ in $(seq "$runs"); do
        start=$EPOCHREALTIME
        "$@" >/dev/null
        end=$EPOCHREALTIME
        t=$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.4f", e - s }')
        if [ -z "$best" ] || awk -v t="$t" -v b="$best" 'BEGIN { exit !(t < b) }'; then best=$t; fi
    done
    echo "$best"
}
# Peak resident memory of a command, in MB.
peak_mb() {
    /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n1 | awk '{ printf "%.1f", $1 / 1024 }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a / b }'; }

sum_every_sixth() { awk 'NR % 6 == 5 { s += $1 } END { print s }' "$1"; }

echo "Machine: $(nproc) cores, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo); awk is $(readlink -f "$(command -v awk)" | xargs basename)"
echo
echo "| records | file | \`wc -l\` | awk sum | analysis alone | \`tallio-report\` | analysis ÷ \`wc -l\` | awk ÷ analysis | peak RSS of \`tallio-report\` |"
echo "|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
for n in 10 10000 1000000 5000000; do
    f="$logs/$n.log"
    size=$(awk -v b="$(stat -c %s "$f")" 'BEGIN { printf "%.1f", b / 1048576 }')
    cat "$f" >/dev/null # into the page cache
    wc_t=$(best wc -l "$f")
    awk_t=$(best sum_every_sixth "$f")
    analysis_t=$("$timer" "$f" "$runs" | cut -d' ' -f1)
    report_t=$(best "$report" "$f")
    rss=$(peak_mb "$report" "$f")
    echo "| $n | ${size} MB | ${wc_t} s | ${awk_t} s | ${analysis_t} s | ${report_t} s | $(ratio "$analysis_t" "$wc_t") | $(ratio "$awk_t" "$analysis_t") | ${rss} MB |"
done
