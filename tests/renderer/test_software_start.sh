#!/usr/bin/env bash
# On a machine whose OpenGL would be emulated on the processor, the program draws with the
# software renderer and never loads an OpenGL driver: checked in the running program's memory
# map once its window is on screen. LIBGL_ALWAYS_SOFTWARE makes any machine such a machine.
# Needs an X server (DISPLAY). Usage: test_software_start.sh RUN_DIR
set -euo pipefail
run_dir=$1
[ -n "${DISPLAY:-}" ] || { echo "FAIL: no X server (DISPLAY is not set)"; exit 1; }
work=$(mktemp -d)
pid=
cleanup() { [ -n "$pid" ] && kill "$pid" 2> /dev/null; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAIL: $*"; cat "$work/out.log"; exit 1; }

cp "$run_dir/w3config-virtual" "$work/"
cp -r "$run_dir/modules" "$work/"
# A bus of nobody's: a W3 Config running in the user's session would take the start over.
env -u QT_QUICK_BACKEND -u QT_XCB_GL_INTEGRATION -u QT_QPA_PLATFORM LIBGL_ALWAYS_SOFTWARE=1 \
    HOME="$work" DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus" "$work/w3config-virtual" > "$work/out.log" 2>&1 &
pid=$!

# The program's top-level window, found by its class.
window_shown() {
  local id
  id=$(xwininfo -root -tree 2> /dev/null | awk '/\("w3config-virtual" "w3config-virtual"\)/ {print $1; exit}')
  [ -n "$id" ] && xwininfo -id "$id" 2> /dev/null | grep -q "Map State: IsViewable"
}
waited=0
until window_shown; do
  kill -0 "$pid" 2> /dev/null || fail "the program ended before its window showed"
  [ $waited -lt 600 ] || fail "no window within 60 s"
  sleep 0.1; waited=$((waited + 1))
done

grep -q "No graphics processor: the scene renders in software" "$work/out.log" \
  || fail "the program did not choose the software renderer"
if grep -E "_dri\.so|libLLVM|libGLX_" "/proc/$pid/maps" > "$work/gl.txt"; then
  fail "an OpenGL driver was loaded: $(awk '{print $6}' "$work/gl.txt" | sort -u | tr '\n' ' ')"
fi
echo "software start: 1 passed, 0 failed"
