# SPDX-License-Identifier: MIT
# Two copies started in the same instant: exactly one runs, the other shows
# the refusal and ends when it is dismissed; one session is logged.
source "$E2E_LIB"
start_xvfb

run_bg a "$TOCKA_BIN"
a=$!
run_bg b "$TOCKA_BIN"
b=$!
box=$(wait_window '^Tocka!$') ||
    fail "neither copy was refused: $(cat "$E2E_DIR/a.out" "$E2E_DIR/b.out"; xdotool search --name '.' getwindowname %@ 2>&1)"
wait_window '^Zemlo:  0:00:0[2-9]$' >/dev/null || fail "no copy is running"
[ "$(xdotool search --onlyvisible --name '^(Zemlo:.*|Been On Since)$' | wc -l)" = 1 ] || fail "two clocks are running"
[ "$(xdotool search --onlyvisible --name '^Tocka!$' | wc -l)" = 1 ] || fail "more than one refusal"
press_key_in "$box" Return
for _ in $(seq 100); do
    alive=0
    kill -0 "$a" 2>/dev/null && alive=$((alive + 1))
    kill -0 "$b" 2>/dev/null && alive=$((alive + 1))
    [ "$alive" = 1 ] && break
    sleep 0.1
done
[ "$alive" = 1 ] || fail "expected one copy left, found $alive"
kill -TERM "$a" "$b" 2>/dev/null || true
wait_exit "$a" 10
wait_exit "$b" 10
[ "$(grep -c -- '^"----------"' "$E2E_DIR/work/LogData.log")" = 1 ] || fail "expected one record"
echo "1 passed, 0 failed"
