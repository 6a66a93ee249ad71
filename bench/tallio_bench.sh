#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Times Tallio on session logs of 10, 10 thousand, 1 million and 5 million
# records, and on one of a session every eight hours over 300 000 days,
# against `wc -l` and an awk one-liner that sums every sixth line of the same
# file; times `tallio-report --by day` against the plain report; and measures
# peak memory of both, and how far that of `--by day` is above it on the
# ten-record log. Then, in rounds of their own, `--by day` on the same logs
# with LogAway.log beside them (a line for every session) against without.
# Prints two Markdown tables (the ones in README.md).
#
# Usage: bench/tallio_bench.sh [BUILD-FOLDER]     (default: build)
# Logs are generated once into $TALLIO_BENCH_DIR (default /tmp/tallio-bench)
# with the same record writer Tocka uses; every time is the best of
# $TALLIO_BENCH_RUNS rounds (default 5) with the file in the page cache.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
logs=${TALLIO_BENCH_DIR:-/tmp/tallio-bench}
runs=${TALLIO_BENCH_RUNS:-5}

cmake --build "$build" -j2 --target tallio-report tallio_analysis_timer tallio_make_log >/dev/null
report="$build/apps/tallio-report/tallio-report"
timer="$build/bench/tallio_analysis_timer"
mkdir -p "$logs"
# name, then what tallio_make_log is given to write it
logs_made=("10 10" "10000 10000" "1000000 1000000" "5000000 5000000" "900000-every-8h 900000 8")
for made in "${logs_made[@]}"; do
    read -r name args <<<"$made"
    # shellcheck disable=SC2086 # the arguments are words
    [ -s "$logs/$name.log" ] || "$build/bench/tallio_make_log" $args >"$logs/$name.log"
done

# Wall time of one run of a command, in seconds.
once() {
    local start=$EPOCHREALTIME
    "$@" >/dev/null
    awk -v s="$start" -v e="$EPOCHREALTIME" 'BEGIN { printf "%.4f", e - s }'
}
min() { awk -v a="$1" -v b="$2" 'BEGIN { print (b == "" || a < b) ? a : b }'; }
# Peak resident memory of a command, in MB.
peak_mb() {
    /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n1 | awk '{ printf "%.1f", $1 / 1024 }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

sum_every_sixth() { awk 'NR % 6 == 5 { s += $1 } END { print s }' "$1"; }

echo "Machine: $(nproc) cores, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo); awk is $(readlink -f "$(command -v awk)" | xargs basename); load $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| records | file | \`wc -l\` | awk sum | analysis alone | \`tallio-report\` | \`--by day\` | analysis ÷ \`wc -l\` | report ÷ \`wc -l\` | \`--by day\` ÷ report | awk ÷ analysis | peak RSS: report | \`--by day\` | \`--by day\` over 10 records' |"
echo "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
small_day_rss=$(peak_mb "$report" --by day "$logs/10.log")
for made in "${logs_made[@]}"; do
    read -r name _ <<<"$made"
    f="$logs/$name.log"
    size=$(awk -v b="$(stat -c %s "$f")" 'BEGIN { printf "%.1f", b / 1048576 }')
    cat "$f" >/dev/null # into the page cache
    # Each round runs every command once, so a change in the machine's load
    # falls on all of them alike; each keeps its best round.
    wc_t="" awk_t="" analysis_t="" report_t="" day_t=""
    for _ in $(seq "$runs"); do
        wc_t=$(min "$(once wc -l "$f")" "$wc_t")
        awk_t=$(min "$(once sum_every_sixth "$f")" "$awk_t")
        analysis_t=$(min "$("$timer" "$f" 1 | cut -d' ' -f1)" "$analysis_t")
        report_t=$(min "$(once "$report" "$f")" "$report_t")
        day_t=$(min "$(once "$report" --by day "$f")" "$day_t")
    done
    rss=$(peak_mb "$report" "$f")
    day_rss=$(peak_mb "$report" --by day "$f")
    echo "| ${name//-/ } | ${size} MB | ${wc_t} s | ${awk_t} s | ${analysis_t} s | ${report_t} s | ${day_t} s | $(ratio "$analysis_t" "$wc_t") | $(ratio "$report_t" "$wc_t") | $(ratio "$day_t" "$report_t") | $(ratio "$awk_t" "$analysis_t") | ${rss} MB | ${day_rss} MB | $(awk -v a="$day_rss" -v b="$small_day_rss" 'BEGIN { printf "%+.1f", a - b }') MB |"
done

# The same logs in folders of their own with LogAway.log beside them, the
# records the same bytes (a hard link): only the time away differs.
echo
echo "| records | LogAway.log | \`--by day\` without | with LogAway.log | with ÷ without | peak RSS without | with |"
echo "|---:|---:|---:|---:|---:|---:|---:|"
for made in "1000000 1000000" "5000000 5000000" "900000-every-8h 900000 8"; do
    read -r name args <<<"$made"
    f="$logs/$name.log"
    away_dir="$logs/away-$name"
    mkdir -p "$away_dir"
    ln -f "$f" "$away_dir/LogData.log"
    # shellcheck disable=SC2086 # the arguments are words
    [ -s "$away_dir/LogAway.log" ] || "$build/bench/tallio_make_log" --away "$away_dir/LogAway.log" $args >/dev/null
    cat "$f" "$away_dir/LogAway.log" >/dev/null
    without_t="" with_t=""
    for _ in $(seq "$runs"); do
        without_t=$(min "$(once "$report" --by day "$f")" "$without_t")
        with_t=$(min "$(once "$report" --by day "$away_dir/LogData.log")" "$with_t")
    done
    away_size=$(awk -v b="$(stat -c %s "$away_dir/LogAway.log")" 'BEGIN { printf "%.1f", b / 1048576 }')
    echo "| ${name//-/ } | ${away_size} MB | ${without_t} s | ${with_t} s | $(ratio "$with_t" "$without_t") | $(peak_mb "$report" --by day "$f") MB | $(peak_mb "$report" --by day "$away_dir/LogData.log") MB |"
done
