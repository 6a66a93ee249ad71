# SPDX-License-Identifier: MIT
# Shared set-up for the end-to-end tests: a private X server, a private home
# and runtime folder (so tests never share the single-copy lock or a
# journal), and clean-up of everything they started.
set -euo pipefail

E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/tocka-e2e.XXXXXX")
export HOME="$E2E_DIR/home" XDG_RUNTIME_DIR="$E2E_DIR/runtime"
export XDG_DATA_HOME="$HOME/.local/share" XDG_CONFIG_HOME="$HOME/.config"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$E2E_DIR/work"
chmod 700 "$XDG_RUNTIME_DIR"
export LC_ALL=C.UTF-8 LANG=C.UTF-8
unset SESSION_MANAGER WAYLAND_DISPLAY
# No session bus unless a test starts its own: without the variable, D-Bus
# would launch one for the display, which outlives the test.
export DBUS_SESSION_BUS_ADDRESS=disabled:
export QT_QPA_PLATFORM=xcb
E2E_PIDS=()
E2E_SKIPPED=()

# Tocka keeps its settings beside a program whose folder it may write, so each
# test runs its own copy: no test reads the settings another one left.
if [ -n "${TOCKA_BIN:-}" ]; then
    mkdir -p "$E2E_DIR/bin"
    cp "$TOCKA_BIN" "$E2E_DIR/bin/tocka"
    TOCKA_BIN="$E2E_DIR/bin/tocka"
fi

e2e_cleanup() {
    local pid mount
    for mount in $(findmnt -rn -o TARGET 2>/dev/null | grep "^$E2E_DIR" || true); do umount -l "$mount" || true; done
    for pid in "${E2E_PIDS[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
    [ -n "${ATSPI_PID:-}" ] && kill -- -"$ATSPI_PID" 2>/dev/null || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
    wait 2>/dev/null || true
    [ -n "${E2E_KEEP:-}" ] && echo "kept $E2E_DIR" >&2 || rm -rf "$E2E_DIR"
}
trap e2e_cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -n "${XVFB_PID:-}" ] && ! kill -0 "$XVFB_PID" 2>/dev/null; then
        echo "(the X server $DISPLAY is gone; its log: $(tail -n 5 "$E2E_DIR/xvfb.log" 2>/dev/null))" >&2
    elif [ -n "${DISPLAY:-}" ] && ! xdpyinfo >/dev/null 2>"$E2E_DIR/xdpyinfo.err"; then
        echo "(the X server $DISPLAY runs but takes no client: $(cat "$E2E_DIR/xdpyinfo.err"); its log: $(tail -n 5 "$E2E_DIR/xvfb.log"))" >&2
    fi
    exit 1
}

# A test that cannot run here (a tool missing, no root) ends with 77, which
# CTest reports as skipped (SKIP_RETURN_CODE in CMakeLists.txt).
skip_test() {
    echo "skipped: $*"
    exit 77
}

# A part of a test that cannot run here: said, and the rest goes on; e2e_end
# then reports the test as skipped, as a pass would claim that all of it ran.
skip_part() {
    echo "skipped: $*"
    E2E_SKIPPED+=("$*")
}

# The last line of a test that got this far.
e2e_end() {
    echo "$1"
    [ ${#E2E_SKIPPED[@]} -eq 0 ] || skip_test "$(printf '%s; ' "${E2E_SKIPPED[@]}")the rest passed"
}

# Starts Xvfb on a free display and exports DISPLAY. The number is drawn at
# random rather than the lowest free one: a server of an earlier test that is
# still shutting down removes its socket file on the way out, and must not
# take the socket of a new server on the same number with it. -noreset: by
# default the server starts over whenever its last client leaves, and a
# program that connects while it does (the test's own xdotool polls come and
# go all the time) is turned away with "could not connect to display"; on a
# busy machine that restart takes long enough to be hit.
start_xvfb() {
    local fifo="$E2E_DIR/displayfd" display="" n
    mkfifo "$fifo"
    for _ in 1 2 3 4 5; do
        n=$((200 + RANDOM % 4000))
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -displayfd 3 -screen 0 "${1:-1280x800x24}" -nolisten tcp -noreset 3>"$fifo" >"$E2E_DIR/xvfb.log" 2>&1 &
        XVFB_PID=$!
        if read -r -t 20 display <"$fifo" && [ -n "$display" ]; then
            export DISPLAY=":$display"
            return 0
        fi
        kill "$XVFB_PID" 2>/dev/null || true
    done
    fail "Xvfb did not start"
}

# Starts a private D-Bus session bus and the accessibility bus on it, and has
# the Qt programs started afterwards show their windows there (AT-SPI), as
# they do to a screen reader. The bus launcher and what it starts run in a
# process group of their own, ended with the test.
start_atspi() {
    local fifo="$E2E_DIR/dbusaddress"
    mkfifo "$fifo"
    dbus-daemon --session --nofork --nosyslog --print-address=3 3>"$fifo" >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    read -r -t 20 DBUS_SESSION_BUS_ADDRESS <"$fifo" || fail "the D-Bus session bus did not start"
    export DBUS_SESSION_BUS_ADDRESS QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
    setsid /usr/libexec/at-spi-bus-launcher --launch-immediately >"$E2E_DIR/atspi.out" 2>&1 &
    ATSPI_PID=$!
    for _ in $(seq 300); do
        dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
            >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "the accessibility bus did not start: $(cat "$E2E_DIR/atspi.out")"
}

# Reads a window through AT-SPI; see atspi_probe.py for the commands.
atspi_probe() {
    /usr/bin/python3 "$(dirname "$E2E_LIB")/atspi_probe.py" "$@"
}

# Starts a program in the background in the work folder; its pid is in $!.
# Usage: run_bg NAME COMMAND...   (output goes to $E2E_DIR/NAME.out)
run_bg() {
    local name=$1; shift
    (cd "$E2E_DIR/work" && exec "$@") >"$E2E_DIR/$name.out" 2>&1 &
    E2E_PIDS+=($!)
}

# Waits until a window whose title matches the regex exists; prints its id.
wait_window() {
    local pattern=$1 timeout=${2:-20} id=""
    for _ in $(seq $((timeout * 10))); do
        id=$(xdotool search --name "$pattern" 2>/dev/null | head -n1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Waits for a process to end within a timeout (seconds); fails otherwise.
# Its exit status is left in $EXIT_STATUS.
wait_exit() {
    local pid=$1 timeout=${2:-20}
    for _ in $(seq $((timeout * 10))); do
        if ! kill -0 "$pid" 2>/dev/null; then
            EXIT_STATUS=0
            wait "$pid" 2>/dev/null || EXIT_STATUS=$?
            return 0
        fi
        sleep 0.1
    done
    fail "process $pid did not end within ${timeout}s"
}

# Checks that a file holds exactly one session record per regex line, given
# as a list of records in a single extended regex over the whole file with
# \r\n line ends (perl handles the CR bytes).
matches_file() {
    local file=$1 regex=$2
    perl -0777 -ne "exit(/\\A$regex\\z/ ? 0 : 1)" "$file"
}

# Prints line N (1-based) of a CR LF file without its line end.
line_of() {
    sed -n "${2}p" "$1" | tr -d '\r'
}

# The clock text a number of elapsed seconds shows (h:mm:ss, fraction cut).
clock_text_of() {
    awk -v s="$1" 'BEGIN { s = int(s); printf "%d:%02d:%02d", int(s / 3600), int(s % 3600 / 60), s % 60 }'
}

# Presses a key in a window: focus it (no window manager does it for us),
# then type into the focus.
press_key_in() {
    xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
    sleep 0.2
    xdotool key "$2"
}

# A log of two sessions in "$1" (LogData.log), and the report Tallio makes of
# it in "$E2E_DIR/expected".
write_two_session_log() {
    local work=$1
    printf '"----------"\r\n#1999-11-16#\r\n#09:00:00#\r\n#10:00:00#\r\n3600\r\n"1:00:00"\r\n' >"$work/LogData.log"
    printf '"----------"\r\n#1999-11-18#\r\n#09:00:00#\r\n#10:30:30#\r\n5430\r\n"1:30:30"\r\n' >>"$work/LogData.log"
    cat >"$E2E_DIR/expected" <<'TEXT'
9030 Secs
0 days / 2:30:30
-------------
0.1 Days
2.5 Hours
151 Minutes
-------------
2 runs Since 16 Nov 1999
Avg Length: 1:15:15
Sessions per Day: 1
-------------
Last Updated on: 18 Nov 1999
Note: to reduce cpu usage, current session is not included. Count is updated everytime you shutdown.
TEXT
}
