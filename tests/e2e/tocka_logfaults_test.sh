# SPDX-License-Identifier: MIT
# Logs that cannot be written: a log path that is a folder, a full disk, a
# folder the user may not write. Each time Tocka still ends normally, writes
# what it can, names the file and the reason, and keeps the session for the
# next start.
source "$E2E_LIB"
start_xvfb
xhost +local: >/dev/null 2>&1 || true # let another local user reach this display

# Runs Tocka in folder $1 (as user $2 if given) until SIGTERM; output in $E2E_DIR/$3.out.
run_until_term() {
    local folder=$1 user=$2 name=$3
    if [ -n "$user" ]; then
        (cd "$folder" && exec setpriv --reuid="$user" --regid="$user" --clear-groups \
            env HOME="$E2E_DIR/nobody" XDG_RUNTIME_DIR="$E2E_DIR/nobody/run" \
            XDG_DATA_HOME="$E2E_DIR/nobody/data" XDG_CONFIG_HOME="$E2E_DIR/nobody/config" "$TOCKA_BIN") \
            >"$E2E_DIR/$name.out" 2>&1 &
    else
        (cd "$folder" && exec "$TOCKA_BIN") >"$E2E_DIR/$name.out" 2>&1 &
    fi
    local pid=$!
    E2E_PIDS+=($pid)
    wait_window '^Zemlo:  0:00:0[1-9]$' >/dev/null || fail "$name: the clock did not start: $(cat "$E2E_DIR/$name.out")"
    kill -TERM "$pid"
    wait_exit "$pid" 15
    [ "$EXIT_STATUS" = 0 ] || fail "$name: exit status $EXIT_STATUS: $(cat "$E2E_DIR/$name.out")"
}

# 1. LogData.log is a folder: Log.log still gets the record.
mkdir -p "$E2E_DIR/work/LogData.log"
run_until_term "$E2E_DIR/work" "" folder
grep -q "LogData.log: it is a folder" "$E2E_DIR/folder.out" || fail "folder: $(cat "$E2E_DIR/folder.out")"
grep -q "next start" "$E2E_DIR/folder.out" || fail "folder: the session is not said to be kept"
[ "$(grep -c -- '^----------' "$E2E_DIR/work/Log.log")" = 1 ] || fail "folder: Log.log did not get the record"
kept_for() { grep -h '^log=' "$1"/*.session 2>/dev/null | grep -v ';done;' | cut -d';' -f1 | sed 's/^log=//' | paste -sd,; }
[ "$(kept_for "$XDG_DATA_HOME/tocka/journal")" = LogData.log ] || fail "folder: not kept for LogData.log"
rm -rf "$E2E_DIR/work/LogData.log" "$XDG_DATA_HOME/tocka"

# 2. A full disk: nothing torn is left behind.
if [ "$(id -u)" = 0 ] && mkdir -p "$E2E_DIR/full" && mount -t tmpfs -o size=8k tmpfs "$E2E_DIR/full" 2>/dev/null; then
    head -c 100000 /dev/zero >"$E2E_DIR/full/filler" 2>/dev/null || true
    run_until_term "$E2E_DIR/full" "" full
    grep -q "No space left on device" "$E2E_DIR/full.out" || fail "full: $(cat "$E2E_DIR/full.out")"
    for log in Log.log LogData.log LogAway.log; do
        [ ! -s "$E2E_DIR/full/$log" ] || fail "full: a torn $log was left: $(cat -A "$E2E_DIR/full/$log")"
    done
    umount -l "$E2E_DIR/full"
    rm -rf "$XDG_DATA_HOME/tocka"
else
    skip_part "the full-disk case needs root and tmpfs"
fi

# 3. A read-only folder, as an ordinary user (root would ignore the mode).
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null; then
    mkdir -p "$E2E_DIR/readonly" "$E2E_DIR/nobody/run" "$E2E_DIR/nobody/data" "$E2E_DIR/nobody/config"
    chmod 755 "$E2E_DIR"
    chmod 555 "$E2E_DIR/readonly"
    chown -R 65534:65534 "$E2E_DIR/nobody"
    chmod 700 "$E2E_DIR/nobody/run"
    run_until_term "$E2E_DIR/readonly" 65534 readonly
    for log in Log.log LogData.log LogAway.log; do
        grep -q "$log: Permission denied" "$E2E_DIR/readonly.out" || fail "readonly: $log: $(cat "$E2E_DIR/readonly.out")"
    done
    [ "$(kept_for "$E2E_DIR/nobody/data/tocka/journal")" = Log.log,LogData.log,LogAway.log ] ||
        fail "readonly: the session was not kept"
else
    skip_part "the read-only case needs root to become another user"
fi
e2e_end "log faults: ok"
