#!/usr/bin/env bash
# Plays the lobby in a live SDL2 window the way a player does: under Xvfb, real
# X input from xdotool clicks, types Latin, Chinese and Turkish text (through
# SDL's text input, in GBK and in UTF-8 mode), presses Tab, Enter and Esc and
# turns the wheel. The demo reports what the player did and records what the
# window was fed; the report must say what the input meant, and the journal's
# headless replay must report the same and draw its frames. This covers what the headless host never sees: SDL's key,
# text and wheel events and the window's focus.
#
#   scripts/test-live.sh [BUILD_DIR]   (default: build/test-asan-clang)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build/test-asan-clang}"
demo="$build/demo/zrwnd-demo"
out="$build/live"
rm -rf "$out"
mkdir -p "$out"

for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "test-live: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
[ -x "$demo" ] || { echo "test-live: no demo at $demo" >&2; exit 1; }

# A display of our own; the first free number from 90 on.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
xvfb=$!
demo_pid=""
cleanup() {
  [ -n "$demo_pid" ] && kill "$demo_pid" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=":$display"
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

# One session in a text mode ("gbk" or "utf8"): the same input, and what the
# typed text must become in that mode.
play() {
  local mode="$1" dir="$out/$1"
  local flags=()
  [ "$mode" = utf8 ] && flags=(--utf8)
  mkdir -p "$dir/replay"
  SDL_VIDEODRIVER=x11 "$demo" "${flags[@]}" --record "$dir/live.journal" --report "$dir/live.report" >"$dir/demo.log" 2>&1 &
  demo_pid=$!
  win="$(timeout 20 xdotool search --sync --onlyvisible --name 'ZrWnd lobby' | head -n1)"
  xdotool windowmove --sync "$win" 0 0
  xdotool windowfocus --sync "$win"
  sleep 1

  # The account box: the caret to the end, Latin, Chinese and a Turkish
  # letter GBK cannot hold typed.
  click 100 178
  key End
  type_text "Ada小明ş"
  # Tab to the password box, type; Tab again reaches the login button.
  key Tab
  key End
  type_text "pw"
  key Tab
  # Quit asks; Esc answers Cancel and the lobby stays.
  click 450 522
  key Escape
  # Two wheel notches over the brightness slider.
  xdotool mousemove --window "$win" 630 514
  sleep 0.3
  xdotool click 4 click 4
  sleep 0.5
  # A press on the controls panel's caption, then Enter: its default button.
  click 300 371
  key Return
  sleep 0.5
  # Quit again, and Enter answers OK: the lobby ends and writes its report.
  click 450 522
  key Return
  for _ in $(seq 100); do kill -0 "$demo_pid" 2>/dev/null || break; sleep 0.2; done
  if kill -0 "$demo_pid" 2>/dev/null; then
    echo "test-live ($mode): Enter on the quit box did not end the lobby" >&2
    exit 1
  fi
  wait "$demo_pid" || { echo "test-live ($mode): the demo did not end cleanly" >&2; cat "$dir/demo.log" >&2; exit 1; }
  demo_pid=""

  local letter="ş"
  [ "$mode" = gbk ] && letter="?"
  cat >"$dir/expected.report" <<REPORT
account=player_01Ada小明$letter
password=secretpw
server=青龙 Azure Dragon
brightness=80
clicks=1
msgbox=none
REPORT
  if ! diff -u "$dir/expected.report" "$dir/live.report"; then
    echo "test-live ($mode): the live window did not do what the input meant (journal: $dir/live.journal)" >&2
    exit 1
  fi
  "$demo" --headless "${flags[@]}" --script "$dir/live.journal" --out "$dir/replay" --shot-every 1000 \
    --report "$dir/replay.report" >"$dir/replay.log"
  if ! diff -u "$dir/live.report" "$dir/replay.report"; then
    echo "test-live ($mode): the journal's replay ended elsewhere than the live window" >&2
    exit 1
  fi
  [ -s "$(tail -n1 "$dir/replay.log")" ] || { echo "test-live ($mode): the replay drew no frame" >&2; exit 1; }
}

# Each step waits a little: the window takes its input from its own loop.
click() { xdotool mousemove --window "$win" "$1" "$2" click 1; sleep 0.3; }
key() { xdotool key --window "$win" "$@"; sleep 0.3; }
type_text() { xdotool type --delay 60 "$1"; sleep 0.5; }

play gbk
play utf8
echo "test-live: in GBK and UTF-8 mode the live window took clicks, Latin, Chinese and Turkish text, Tab, Esc, Enter and the wheel; each journal replays to the same lobby"
