# Shared set-up for the end-to-end tests: a private X server, a private home
# and runtime folder (so tests never share the single-copy lock or a
# checkpoint), and clean-up of everything they started.
set -euo pipefail

E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/tocka-e2e.XXXXXX")
export HOME="$E2E_DIR/home" XDG_RUNTIME_DIR="$E2E_DIR/runtime"
export XDG_DATA_HOME="$HOME/.local/share" XDG_CONFIG_HOME="$HOME/.config"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$E2E_DIR/work"
chmod 700 "$XDG_RUNTIME_DIR"
export LC_ALL=C.UTF-8 LANG=C.UTF-8
unset SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
E2E_PIDS=()

e2e_cleanup() {
    local pid
    for pid in "${E2E_PIDS[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$E2E_DIR"
}
trap e2e_cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Starts Xvfb on a free display and exports DISPLAY.
start_xvfb() {
    local fifo="$E2E_DIR/displayfd"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${1:-1280x800x24}" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    local display
    read -r -t 20 display <"$fifo" || fail "Xvfb did not start"
    export DISPLAY=":$display"
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
wait_exit() {
    local pid=$1 timeout=${2:-20}
    for _ in $(seq $((timeout * 10))); do
        kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null || true; return 0; }
        sleep 0.1
    done
    fail "process $pid did not end within ${timeout}s"
}
