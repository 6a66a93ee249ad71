#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Attacks the session journal of the real Tocka under Xvfb and counts what
# reaches the logs: kill -9 at random moments of the exit, copies started in
# the same instant, a full disk for sessions in a row, a log folder that
# vanishes and comes back, two copies that share a home. Run by hand (it
# takes several minutes and mounts a tmpfs, so wants root):
#
#   bench/journal_stress.sh [BUILD_DIR] [KILL_TRIES]
#
# SCENARIOS="kill double full vanish share journalfull stalelock owedrace"
# (the default) picks the attacks.
#
# Each session runs in a folder of its own where it can, so every log must end
# with exactly the records expected of it; duplicates and losses are counted
# per log (Log.log, LogData.log and LogAway.log), and the table sums them.
set -euo pipefail

build=${1:-build}
kill_tries=${2:-200}
scenarios=" ${SCENARIOS:-kill double full vanish share journalfull stalelock owedrace} "
tocka_bin=$(cd "$build" && pwd)/apps/tocka/tocka
[ -x "$tocka_bin" ] || { echo "no $tocka_bin: build first" >&2; exit 2; }

root=$(mktemp -d "${TMPDIR:-/tmp}/journal-stress.XXXXXX")
mkdir -p "$root/bin"
cp "$tocka_bin" "$root/bin/tocka"
tocka="$root/bin/tocka"
pids=()
cleanup() {
    local p
    for p in "${pids[@]}"; do kill -KILL "$p" 2>/dev/null || true; done
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
    mountpoint -q "$root/full" 2>/dev/null && umount -l "$root/full"
    mountpoint -q "$root/jfull/home/.local/share" 2>/dev/null && umount -l "$root/jfull/home/.local/share"
    wait 2>/dev/null || true
    rm -rf "$root"
}
trap cleanup EXIT
export LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb
unset SESSION_MANAGER WAYLAND_DISPLAY
export DBUS_SESSION_BUS_ADDRESS=disabled: # none launched for the display

mkfifo "$root/displayfd"
Xvfb ":$((300 + RANDOM % 3000))" -displayfd 3 -noreset -nolisten tcp 3>"$root/displayfd" >/dev/null 2>&1 &
xvfb=$!
read -r -t 20 display <"$root/displayfd" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display"

# A home and runtime folder per scenario (use_home NAME [RUNTIME_NAME]).
use_home() {
    export HOME="$root/$1/home" XDG_RUNTIME_DIR="$root/$1/${2:-runtime}"
    export XDG_DATA_HOME="$HOME/.local/share" XDG_CONFIG_HOME="$HOME/.config"
    mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    journal="$XDG_DATA_HOME/tocka/journal"
}

# start FOLDER: starts Tocka there; its pid in $started.
start() {
    mkdir -p "$1"
    (cd "$1" && exec "$tocka") >>"$root/tocka.out" 2>&1 &
    started=$!
    pids+=("$started")
}

# Waits until the copy with pid $1 has its journal entry (its session has
# begun), or has ended; 0 when the entry is there.
wait_begun() {
    for _ in $(seq 400); do
        compgen -G "$journal/*-$1-*.session" >/dev/null && return 0
        kill -0 "$1" 2>/dev/null || return 1
        sleep 0.01
    done
    return 1
}

# Ends a copy the normal way and waits for it.
stop() {
    kill -TERM "$1" 2>/dev/null || true
    wait_gone "$1"
}
wait_gone() {
    for _ in $(seq 600); do kill -0 "$1" 2>/dev/null || break; sleep 0.02; done
    kill -KILL "$1" 2>/dev/null || true
    { wait "$1"; } 2>/dev/null || true
}

# A clean session in a folder of no account: delivers whatever is owed.
sweep() {
    start "$root/sweep"
    wait_begun "$started" || true
    stop "$started"
}

count() { # count FILE PATTERN
    [ -f "$1" ] && grep -c -- "$2" "$1" || echo 0
}

# tally NAME TRIES FOLDER=EXPECTED...: one table row over the folders' logs.
printf '%-34s %6s %9s %7s %11s %7s\n' scenario tries expected found duplicates losses
tally() {
    local name=$1 tries=$2 expected=0 found=0 dup=0 lost=0 spec folder want c
    shift 2
    for spec in "$@"; do
        folder=${spec%=*}
        want=${spec##*=}
        for c in "$(count "$folder/Log.log" '^----------')" "$(count "$folder/LogData.log" '^"----------"')" \
            "$(count "$folder/LogAway.log" '^[0-9]')"; do
            expected=$((expected + want))
            found=$((found + c))
            [ "$c" -gt "$want" ] && dup=$((dup + c - want))
            [ "$c" -lt "$want" ] && lost=$((lost + want - c))
        done
    done
    printf '%-34s %6d %9d %7d %11d %7d\n' "$name" "$tries" "$expected" "$found" "$dup" "$lost"
}

if [[ $scenarios == *" kill "* ]]; then
# 1. kill -9 at a random moment of the exit: once the window is up, SIGTERM,
#    then SIGKILL 0 to 150 ms later (the exit, two appends with their journal
#    updates and flushes and the settings, takes some 60 to 130 ms here).
use_home kill
folders=()
killed=0
for i in $(seq "$kill_tries"); do
    start "$root/kill/w$i"
    folders+=("$root/kill/w$i=1")
    wait_begun "$started" || true
    for _ in $(seq 200); do
        xdotool search --pid "$started" >/dev/null 2>&1 && break
        sleep 0.02
    done
    kill -TERM "$started" 2>/dev/null || true
    sleep "$(printf '0.%03d' $((RANDOM % 150)))"
    kill -KILL "$started" 2>/dev/null || true
    status=0
    { wait "$started"; } 2>/dev/null || status=$?
    [ "$status" = 137 ] && killed=$((killed + 1))
done
sweep
tally "kill -9 during the exit" "$kill_tries" "${folders[@]}"
echo "  (the kill found the copy still running in $killed of $kill_tries tries)"

fi

if [[ $scenarios == *" double "* ]]; then
# 2. Two copies started in the same instant: one runs, one is refused.
use_home double
folders=()
for i in $(seq 50); do
    start "$root/double/w$i"
    a=$started
    start "$root/double/w$i"
    b=$started
    folders+=("$root/double/w$i=1")
    for _ in $(seq 400); do
        compgen -G "$journal/*-$a-*.session" >/dev/null || compgen -G "$journal/*-$b-*.session" >/dev/null && break
        sleep 0.01
    done
    sleep 0.3
    # The copy without a session is the refused one, waiting in its message
    # box: it has nothing to log. Any copy with a session ends normally.
    for p in "$a" "$b"; do
        if compgen -G "$journal/*-$p-*.session" >/dev/null; then stop "$p"; else kill -KILL "$p" 2>/dev/null || true; fi
        wait_gone "$p"
    done
done 2>/dev/null # the shell's notes on the refused copies it killed
sweep
tally "same-instant double start" 50 "${folders[@]}"

fi

if [[ $scenarios == *" full "* ]]; then
# 3. A full disk for two sessions in a row, then room again: all three
#    sessions arrive, in order.
use_home fullhome # the journal is on another disk than the logs
if mkdir -p "$root/full" && mount -t tmpfs -o size=64k tmpfs "$root/full" 2>/dev/null; then
    head -c 1000000 /dev/zero >"$root/full/filler" 2>/dev/null || true
    for _ in 1 2; do
        start "$root/full"
        wait_begun "$started" || true
        stop "$started"
    done
    rm "$root/full/filler"
    start "$root/full"
    wait_begun "$started" || true
    stop "$started"
    tally "two full-disk sessions, then room" 3 "$root/full=3"
    [ -n "${STRESS_DEBUG:-}" ] && { ls -la "$root/full" "$journal"; cat "$root/tocka.out"; }
    umount -l "$root/full"
else
    echo "two full-disk sessions: skipped (mounting a tmpfs needs root)"
fi

fi

if [[ $scenarios == *" vanish "* ]]; then
# 4. The folder of a killed session is gone at the next start (a removed
#    stick) and back at the one after.
use_home vanish
for i in $(seq 10); do
    start "$root/vanish/stick$i"
    wait_begun "$started" || true
    kill -KILL "$started"
    { wait "$started"; } 2>/dev/null || true
    mv "$root/vanish/stick$i" "$root/vanish/away$i"
    start "$root/vanish/home$i"
    wait_begun "$started" || true
    stop "$started"
    mv "$root/vanish/away$i" "$root/vanish/stick$i"
    start "$root/vanish/home$i"
    wait_begun "$started" || true
    stop "$started"
done
folders=()
for i in $(seq 10); do folders+=("$root/vanish/stick$i=1" "$root/vanish/home$i=2"); done
tally "folder vanished and returned" 10 "${folders[@]}"

fi

if [[ $scenarios == *" share "* ]]; then
# 5. Two copies sharing a home but not a runtime folder, so both run: one is
#    killed, the other ends normally (and takes over the dead one's entry),
#    or both end at once.
folders=()
for i in $(seq 20); do
    use_home share "runtime-a"
    start "$root/share/w$i"
    a=$started
    wait_begun "$a" || true
    use_home share "runtime-b"
    start "$root/share/w$i"
    b=$started
    wait_begun "$b" || true
    if ((i % 2)); then
        kill -KILL "$a"
        { wait "$a"; } 2>/dev/null || true
        stop "$b"
    else
        kill -TERM "$a" "$b"
        wait_gone "$a"
        wait_gone "$b"
    fi
    folders+=("$root/share/w$i=2")
done
sweep
tally "two copies sharing a home" 20 "${folders[@]}"
fi

if [[ $scenarios == *" journalfull "* ]]; then
# 6. The journal's disk fills up while a session runs: with the logs on the
#    same disk (a full home) or on another, and the exit either ends
#    normally or is killed 0 to 150 ms after SIGTERM. Then the disk has room
#    again and a clean start delivers whatever was kept.
use_home jfull
share="$XDG_DATA_HOME"
mkdir -p "$share"
if mount -t tmpfs -o size=256k tmpfs "$share" 2>/dev/null; then
    folders=()
    tries=0
    for where in same other; do
        for i in $(seq 10); do
            for how in end kill; do
                tries=$((tries + 1))
                if [ "$where" = same ]; then folder="$share/logs-$how$i"; else folder="$root/jfull/logs-$how$i"; fi
                start "$folder"
                wait_begun "$started" || true
                head -c 1000000 /dev/zero >"$share/filler" 2>/dev/null || true
                sleep 1.2 # a tick, and with it a rewrite, on the full disk
                kill -TERM "$started" 2>/dev/null || true
                if [ "$how" = kill ]; then
                    sleep "$(printf '0.%03d' $((RANDOM % 150)))"
                    kill -KILL "$started" 2>/dev/null || true
                fi
                wait_gone "$started"
                rm -f "$share/filler"
                folders+=("$folder=1")
            done
        done
    done
    sweep
    tally "journal disk full in a session" "$tries" "${folders[@]}"
    umount -l "$share"
else
    echo "journal disk full: skipped (mounting a tmpfs needs root)"
fi

fi

if [[ $scenarios == *" stalelock "* ]]; then
# 7. A single-copy lock left behind holding nothing, junk, another host's
#    name, or a link to nothing: the next start runs all the same.
use_home stale
folders=()
i=0
for left in empty junk host link; do
    for _ in $(seq 5); do
        i=$((i + 1))
        rm -f "$XDG_RUNTIME_DIR/tocka.lock"
        case $left in
        empty) : >"$XDG_RUNTIME_DIR/tocka.lock" ;;
        junk) printf '\001\377 not a pid\n' >"$XDG_RUNTIME_DIR/tocka.lock" ;;
        host) printf '%s\ntocka\nanother-host\n' "$$" >"$XDG_RUNTIME_DIR/tocka.lock" ;;
        link) ln -s /nonexistent/tocka.lock "$XDG_RUNTIME_DIR/tocka.lock" ;;
        esac
        start "$root/stale/w$i"
        wait_begun "$started" || true
        stop "$started"
        folders+=("$root/stale/w$i=1")
    done
done
tally "stale single-copy lock" "$i" "${folders[@]}"

fi

if [[ $scenarios == *" owedrace "* ]]; then
# 8. Sessions owed (three killed copies), then two copies sharing a home but
#    not a runtime folder start in the same instant: every owed session
#    arrives once, oldest first.
folders=()
ordered=0
tries=15
for i in $(seq "$tries"); do
    use_home owedrace "runtime-k"
    # Logs that refuse for now, so each killed session stays owed.
    mkdir -p "$root/owedrace/w$i/Log.log" "$root/owedrace/w$i/LogData.log"
    for _ in 1 2 3; do
        start "$root/owedrace/w$i"
        wait_begun "$started" || true
        sleep 1.1 # its first tick: its start time is saved, a second after the last one's
        kill -KILL "$started"
        { wait "$started"; } 2>/dev/null || true
    done
    rmdir "$root/owedrace/w$i/Log.log" "$root/owedrace/w$i/LogData.log"
    use_home owedrace "runtime-a"
    start "$root/owedrace/a$i"
    a=$started
    use_home owedrace "runtime-b"
    start "$root/owedrace/b$i"
    b=$started
    wait_begun "$a" || true
    wait_begun "$b" || true
    stop "$a"
    stop "$b"
    folders+=("$root/owedrace/w$i=3" "$root/owedrace/a$i=1" "$root/owedrace/b$i=1")
    starts=$(sed -n '3~6p' "$root/owedrace/w$i/LogData.log" 2>/dev/null | tr -d '\r')
    [ "$starts" = "$(sort <<<"$starts")" ] && ordered=$((ordered + 1))
done
tally "owed sessions, two copies start" "$tries" "${folders[@]}"
echo "  (LogData.log held them oldest first in $ordered of $tries tries)"
fi
