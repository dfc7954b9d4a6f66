#!/usr/bin/env bash
# Installs what is missing, builds, and starts W3 Config: on the real mouse when one is
# attached, otherwise on the virtual mouse. Without a display it runs under Xvfb, saves a
# screenshot of the window and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh

# The catalogue's mouse: vendor and product id.
catalogue=resources/DevInfo.ini
mouse_vid=$(awk -F= '/^\[1\]/{s=1} s&&/^vid=/{print $2; exit}' "$catalogue")
mouse_pid=$(awk -F= '/^\[1\]/{s=1} s&&/^pid=/{print $2; exit}' "$catalogue")
program=build/bin/w3config-virtual
if grep -qis "HID_ID=.*:0000${mouse_vid}:0000${mouse_pid}" /sys/class/hidraw/*/device/uevent 2>/dev/null; then
  program=build/bin/w3config
fi
echo "Starting $program"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$program"
fi

# No display: a virtual one with a compositor, so the translucent window shows as it would.
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp > /dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $app_pid $compositor_pid $xvfb_pid 2>/dev/null || true' EXIT
export DISPLAY=$display
sleep 1
xcompmgr > /dev/null 2>&1 &
compositor_pid=$!
"$program" &
app_pid=$!
sleep 6
mkdir -p screenshots
shot=$PWD/screenshots/w3config.png
if kill -0 "$app_pid" 2>/dev/null; then
  import -display "$display" -window root "$shot"
  echo "Screenshot of the window: $shot"
else
  wait "$app_pid" || true
  echo "The program ended before its window could be captured (see its output above)."
  exit 1
fi
