# SPDX-License-Identifier: MIT
# The alarm is heard where it can be, and says once which way it sounds:
# without a sound server it rings the X bell, with nothing from the sound
# library on standard error (ALSA's complaints came a dozen lines per beep);
# with a PulseAudio server (PipeWire speaks the same protocol) it plays there.
source "$E2E_LIB"
[ -n "${TOCKA_LIVEPROBE_BIN:-}" ] || skip_test "the probe is built with TOCKA_BENCH=ON"
start_xvfb

# Five-second beep loops back to back for a few seconds.
beep_for() {
    (cd "$E2E_DIR/work" && exec "$TOCKA_LIVEPROBE_BIN" alarm 6) >"$E2E_DIR/$1.out" 2>"$E2E_DIR/$1.err" ||
        fail "$1: the probe failed: $(cat "$E2E_DIR/$1.err")"
}

beep_for bell
[ "$(cat "$E2E_DIR/bell.err")" = "tocka: no sound server answers (PulseAudio or PipeWire, through libcanberra-pulse); the alarm rings the X bell" ] ||
    fail "without a server, standard error held: $(cat "$E2E_DIR/bell.err")"

if ! command -v pulseaudio >/dev/null || [ ! -e /usr/lib/x86_64-linux-gnu/libcanberra-0.30/libcanberra-pulse.so ]; then
    skip_part "no pulseaudio or libcanberra-pulse here, so not the sound server half"
    e2e_end "alarm sound: X bell ok"
fi
pulseaudio -n --daemonize=no --exit-idle-time=-1 --load=module-null-sink --load=module-native-protocol-unix \
    >"$E2E_DIR/pulse.out" 2>&1 &
E2E_PIDS+=($!)
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/pulse/native" ] && break; sleep 0.1; done
[ -S "$XDG_RUNTIME_DIR/pulse/native" ] || fail "the sound server did not start: $(cat "$E2E_DIR/pulse.out")"
beep_for server
[ "$(cat "$E2E_DIR/server.err")" = "tocka: the alarm sounds through the sound server" ] ||
    fail "with a server, standard error held: $(cat "$E2E_DIR/server.err")"
echo "alarm sound: ok"
