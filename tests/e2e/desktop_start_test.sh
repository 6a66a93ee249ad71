# SPDX-License-Identifier: MIT
# The programs as the desktop and a console meet them: --help and --version
# work without a display and leave nothing behind, any other argument is
# refused, and the desktop entries' own Exec lines put both programs in the
# one log folder, while a start from a terminal keeps the current folder.
source "$E2E_LIB"
[ -n "${TOCKA_BIN:-}" ] && [ -n "${TALLIO_BIN:-}" ] && [ -n "${TALLIO_REPORT_BIN:-}" ] ||
    fail "TOCKA_BIN, TALLIO_BIN and TALLIO_REPORT_BIN must be set"
share=$(cd "$(dirname "$E2E_LIB")/../../share" && pwd)
version=$(sed -n 's/^project(Tocka VERSION \([0-9.]*\).*/\1/p' "$(dirname "$E2E_LIB")/../../CMakeLists.txt")

unset DISPLAY
work="$E2E_DIR/work"
for bin in "$TOCKA_BIN" "$TALLIO_BIN" "$TALLIO_REPORT_BIN"; do
    name=$(basename "$bin")
    for arg in --help --version; do
        status=0
        (cd "$work" && exec "$bin" "$arg") >"$E2E_DIR/out" 2>"$E2E_DIR/err" || status=$?
        [ "$status" -eq 0 ] || fail "$name $arg: status $status, stderr: $(cat "$E2E_DIR/err")"
        [ ! -s "$E2E_DIR/err" ] || fail "$name $arg wrote to stderr: $(cat "$E2E_DIR/err")"
        case $arg in
        --help) grep -q "^Usage: $name" "$E2E_DIR/out" || fail "$name --help: $(cat "$E2E_DIR/out")" ;;
        --version) [ "$(cat "$E2E_DIR/out")" = "$name $version" ] || fail "$name --version: $(cat "$E2E_DIR/out")" ;;
        esac
    done
done
for bin in "$TOCKA_BIN" "$TALLIO_BIN"; do
    name=$(basename "$bin")
    for arg in --bogus LogData.log -; do
        status=0
        (cd "$work" && exec "$bin" "$arg") >"$E2E_DIR/out" 2>"$E2E_DIR/err" || status=$?
        [ "$status" -eq 2 ] || fail "$name $arg: status $status, expected 2"
        [ ! -s "$E2E_DIR/out" ] || fail "$name $arg wrote to stdout"
        grep -q "^Usage: $name" "$E2E_DIR/err" || fail "$name $arg: no usage on stderr: $(cat "$E2E_DIR/err")"
    done
done
left=$(find "$work" "$HOME" "$XDG_RUNTIME_DIR" -mindepth 1 | head -n3)
[ -z "$left" ] || fail "a command-line run left files behind: $left"

# Started through the desktop entries, from some other folder.
start_xvfb
bin="$E2E_DIR/bin"
ln -sf "$TALLIO_BIN" "$bin/tallio"
exec_of() { sed -n 's/^Exec=//p' "$share/applications/$1.desktop"; }
logs="$XDG_DATA_HOME/tocka"
[ ! -e "$logs" ] || fail "the log folder exists before the test"
(cd "$work" && PATH="$bin:$PATH" exec sh -c "exec $(exec_of tocka)") >"$E2E_DIR/desktop.out" 2>&1 &
E2E_PIDS+=($!)
pid=$!
wait_window '^Zemlo:  0:00:0[1-9]$' >/dev/null || fail "the clock did not start: $(cat "$E2E_DIR/desktop.out")"
[ "$(readlink "/proc/$pid/cwd")" = "$logs" ] || fail "Tocka runs in $(readlink "/proc/$pid/cwd"), not $logs"
kill -TERM "$pid"
wait_exit "$pid" 10
[ -s "$logs/LogData.log" ] && [ -s "$logs/Log.log" ] || fail "no logs in $logs: $(ls -la "$logs")"
[ ! -e "$work/LogData.log" ] || fail "Tocka wrote its log into the folder it was started from"

(cd "$work" && PATH="$bin:$PATH" exec sh -c "exec $(exec_of tallio)") >"$E2E_DIR/tallio.out" 2>&1 &
E2E_PIDS+=($!)
pid=$!
wait_window '^Zemlo Analysis: Time spent$' >/dev/null || fail "no Tallio window: $(cat "$E2E_DIR/tallio.out")"
[ "$(readlink "/proc/$pid/cwd")" = "$logs" ] || fail "Tallio runs in $(readlink "/proc/$pid/cwd"), not $logs"
kill "$pid"

# From a terminal, the folder it was started in.
run_bg terminal "$TOCKA_BIN"
pid=$!
wait_window '^Zemlo:  0:00:0[1-9]$' >/dev/null || fail "the clock did not start from the terminal"
kill -TERM "$pid"
wait_exit "$pid" 10
[ -s "$work/LogData.log" ] || fail "a terminal start did not log in its own folder"
[ "$(grep -c -- '^"----------"' "$logs/LogData.log")" = 1 ] || fail "the terminal start wrote into $logs"
echo "desktop start: ok"
