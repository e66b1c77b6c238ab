#!/usr/bin/env bash
# Starts the calculator's real window on a virtual X server, drives it with
# real X events (clicks on keys, typed keys, F12 for a screenshot) and
# compares that screenshot with the headless run of the same input.
#   tests/real_window_test.sh QUORIX WORK_DIR
set -euo pipefail
quorix="$1"
work="$2"
here="$(cd "$(dirname "$0")" && pwd)"
rm -rf "$work"
mkdir -p "$work"
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "missing $tool (installed by scripts/setup.sh)"; exit 1; }
done

# A display number nobody uses.
display=""
for n in $(seq 71 140); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free display"; exit 1; }
Xvfb "$display" -screen 0 800x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
app=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY="$display"
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

scale=2
"$quorix" --scale "$scale" --data-dir "$work/window" >"$work/app.log" 2>&1 &
app=$!
wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quorix' | head -n 1)
[ -n "$wid" ] || { echo "the calculator's window did not appear"; cat "$work/app.log"; exit 1; }
sleep 0.5
xdotool windowfocus "$wid" 2>/dev/null || true
sleep 0.2

# The centre of a key of the main face, in window pixels.
centre() {
  case "$1" in
    1) echo "100 80" ;;
    33) echo "24 254" ;;
    34) echo "72 254" ;;
    36) echo "168 254" ;;
    42) echo "215 280" ;;
  esac
}
click_key() {
  read -r x y <<<"$(centre "$1")"
  xdotool mousemove --window "$wid" $((x * scale)) $((y * scale)) click 1
  sleep 0.2
}
click_key 33
click_key 36
click_key 34
click_key 42
xdotool type --delay 60 '2^10'
xdotool key Return
sleep 0.2
click_key 1
xdotool key F12
for _ in $(seq 50); do
  shot=$(ls "$work/window/pictures/"quorix-*.png 2>/dev/null | head -n 1 || true)
  [ -n "$shot" ] && break
  sleep 0.1
done
[ -n "$shot" ] || { echo "no screenshot was saved"; cat "$work/app.log"; exit 1; }
kill -TERM "$app"
wait "$app" 2>/dev/null || true
app=""

{ cat "$here/real_window_script.txt"; echo "shot $work/headless.png"; } >"$work/script.txt"
"$quorix" --headless --data-dir "$work/headless" --script "$work/script.txt" >"$work/headless.log"
"$quorix" --compare "$shot" "$work/headless.png"
echo "the real window shows what the headless run shows"
