# SPDX-License-Identifier: MIT
# The desktop logs out: the session manager asks Tocka to save, and Tocka
# logs the session once, on disk before it answers that the save is done
# (the manager may end it without a further word after that), and ends.
# The logout is then cancelled, after Tocka has gone or while it is still
# on its way out: nothing more is written either way. The session manager
# is tiny_sm, on this test's own sockets.
source "$E2E_LIB"
[ -x "${TINY_SM_BIN:-}" ] || skip_test "tiny_sm was not built (libsm-dev, scripts/install-deps.sh test)"
start_xvfb
data="$E2E_DIR/work/LogData.log"
sm_out="$E2E_DIR/sm.out"

mkfifo "$E2E_DIR/sm.in"
"$TINY_SM_BIN" "$data" <"$E2E_DIR/sm.in" >"$sm_out" 2>&1 &
E2E_PIDS+=($!)
exec 4>"$E2E_DIR/sm.in"

# sm_wait COUNT REGEX: waits until the manager has reported COUNT lines
# matching REGEX.
sm_wait() {
    for _ in $(seq 200); do
        [ "$(grep -cE -- "$2" "$sm_out")" -ge "$1" ] && return 0
        sleep 0.1
    done
    fail "the session manager did not report $1 x '$2'; it said: $(cat "$sm_out")"
}
sm_wait 1 '^address '
# Only the sockets of this machine; the manager refuses the network anyway.
SESSION_MANAGER=$(sed -n 's/^address //p' "$sm_out" | tr , '\n' | grep -E '^(local|unix)/' | paste -sd,)
export SESSION_MANAGER
# libICE leaves its socket file behind when the manager is killed.
sm_socket=$(tr , '\n' <<<"$SESSION_MANAGER" | sed -n 's|^unix/[^:]*:||p' | head -n1)
trap 'rm -f "$sm_socket"; e2e_cleanup' EXIT

records() { grep -c -- "$2" "$1" 2>/dev/null || true; }

n=0
for cancel in after-exit at-once; do
    n=$((n + 1))
    run_bg "tocka$n" "$TOCKA_BIN"
    pid=$!
    sm_wait "$n" '^registered '
    wait_window '^Zemlo:  0:00:0[1-9]$' >/dev/null || fail "no clock ($cancel): $(cat "$E2E_DIR/tocka$n.out")"
    echo logout >&4
    [ "$cancel" = at-once ] && echo cancel >&4
    sm_wait "$n" '^save-done '
    wait_exit "$pid" 15
    [ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS ($cancel): $(cat "$E2E_DIR/tocka$n.out")"
    grep -q "ending on logout" "$E2E_DIR/tocka$n.out" ||
        fail "not ended by the logout ($cancel): $(cat "$E2E_DIR/tocka$n.out")"
    sm_wait "$n" '^(closed|lost)$'
    if [ "$cancel" = after-exit ]; then
        echo cancel >&4
        sm_wait 1 '^sent cancel to 0$'
    fi
    # The answer came with the record already on disk.
    done_line=$(grep '^save-done ' "$sm_out" | sed -n "${n}p")
    [ "$done_line" = "save-done success=1 size=$(stat -c %s "$data")" ] ||
        fail "save done with '$done_line', LogData.log now holds $(stat -c %s "$data") bytes ($cancel)"
    [ "$(records "$data" '^"----------"')" = "$n" ] || fail "expected $n records ($cancel): $(cat -A "$data")"
    [ "$(records "$E2E_DIR/work/Log.log" '^----------')" = "$n" ] || fail "expected $n records in Log.log ($cancel)"
    [ -z "$(ls "$XDG_DATA_HOME/tocka/journal")" ] ||
        fail "the journal still owes ($cancel): $(ls "$XDG_DATA_HOME/tocka/journal")"
done
grep -q '^interact-request' "$sm_out" && fail "Tocka asked to interact with the user at logout: $(cat "$sm_out")"
echo "1 passed, 0 failed"
