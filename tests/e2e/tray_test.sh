# SPDX-License-Identifier: MIT
# Tocka in a desktop with a system tray: its icon docks, the menu opens with
# a right click and works from the keyboard, Start at login writes a valid
# autostart entry, and Quit ends Tocka with the session logged and the
# settings saved, as the settings window's Command1 does.
source "$E2E_LIB"
[ -n "${TOCKA_BIN:-}" ] || fail "TOCKA_BIN is not set"
command -v trayer >/dev/null || skip_test "no trayer (a system tray) installed"
start_xvfb 1024x768x24
# Now and then GTK cannot open a display that has just come up: try again.
for attempt in 1 2 3; do
    trayer --edge bottom --align left --widthtype request --height 24 >"$E2E_DIR/trayer.out" 2>&1 &
    E2E_PIDS+=($!)
    wait_window '^panel$' 5 >/dev/null && break
    [ "$attempt" = 3 ] && fail "the tray did not start: $(cat "$E2E_DIR/trayer.out")"
done

run_bg tocka "$TOCKA_BIN"
pid=$!
face=$(wait_window '^Zemlo:  0:00:0[1-9]$') || fail "the clock did not start: $(cat "$E2E_DIR/tocka.out")"

# The docked icon: a visible window of Tocka's other than the clock face,
# inside the tray at the bottom of the screen.
icon=""
for _ in $(seq 100); do
    for w in $(xdotool search --onlyvisible --classname '^tocka$' 2>/dev/null || true); do
        [ "$w" = "$face" ] && continue
        eval "$(xdotool getwindowgeometry --shell "$w")"
        [ "$Y" -ge 700 ] && { icon=$w; break 2; }
    done
    sleep 0.1
done
[ -n "$icon" ] || fail "no tray icon docked"
eval "$(xdotool getwindowgeometry --shell "$icon")"
cx=$((X + WIDTH / 2)) cy=$((Y + HEIGHT / 2))

# open_menu: a right click on the icon; waits for the menu above it.
open_menu() {
    local try w
    for try in $(seq 50); do
        # The icon may take a moment after docking to answer clicks.
        [ $((try % 10)) = 1 ] && xdotool mousemove "$cx" "$cy" click 3
        for w in $(xdotool search --onlyvisible --name "" 2>/dev/null || true); do
            [ "$w" = "$face" ] || [ "$w" = "$icon" ] && continue
            [ "$(xdotool getwindowname "$w")" = tocka ] || continue
            eval "$(xdotool getwindowgeometry --shell "$w")"
            [ "$WIDTH" -gt 60 ] && [ "$HEIGHT" -gt 60 ] && return 0
        done
        sleep 0.1
    done
    fail "the tray menu did not open; windows: $(for w in $(xdotool search --onlyvisible --name "" 2>/dev/null); do echo "$w [$(xdotool getwindowname "$w")] $(xdotool getwindowgeometry "$w" | tr "\n" " ")"; done)"
}

entry="$XDG_CONFIG_HOME/autostart/tocka.desktop"
open_menu
xdotool key l
for _ in $(seq 50); do [ -e "$entry" ] && break; sleep 0.1; done
[ -e "$entry" ] || fail "Start at login wrote no $entry"
desktop-file-validate "$entry" || fail "the autostart entry is not valid: $(cat "$entry")"
grep -qx "Exec=env TOCKA_FROM_DESKTOP=1 $TOCKA_BIN" "$entry" || fail "the entry starts something else: $(cat "$entry")"
grep -qx "TryExec=$TOCKA_BIN" "$entry" || fail "the entry is not skipped once Tocka is gone: $(cat "$entry")"

open_menu
xdotool key q
wait_exit "$pid" 10
[ "$EXIT_STATUS" -eq 0 ] || fail "Quit ended Tocka with status $EXIT_STATUS: $(cat "$E2E_DIR/tocka.out")"
[ "$(grep -c -- '^"----------"' "$E2E_DIR/work/LogData.log" 2>/dev/null)" = 1 ] || fail "Quit did not log the session once"
grep -q '^SettingVersion=2.0' "$(dirname "$TOCKA_BIN")/LogSetin.ini" || fail "Quit did not save the settings"
echo "tray: ok"
