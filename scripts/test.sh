#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (under Xvfb, on the virtual device):
# the whole suite; then the device, command, controller, macro, w3ctl and end-to-end scene tests
# once more under AddressSanitizer and UndefinedBehaviorSanitizer; then each fuzz target over
# its seed corpus. The tests run with an empty home and temp folder of their own.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/check-paths.sh
# Installed and built in the user's own home, where npm and the compiler keep their caches.
scripts/install-deps.sh
W3_PRESET=ci scripts/build.sh

# As on a fresh machine: a test that relies on a file an earlier run left in the home or temp
# folder fails here. Both are made now and removed at exit.
fresh_home=$(mktemp -d)
fresh_tmp=$(mktemp -d)
trap 'rm -rf "$fresh_home" "$fresh_tmp"' EXIT
# Open to every user as the system temp folder is: run as root, the sway tests start sway as an unprivileged user
# in a folder under it.
chmod 1777 "$fresh_tmp"
if command -v ccache > /dev/null; then
  CCACHE_DIR=$(ccache -k cache_dir)
  export CCACHE_DIR
fi
export HOME="$fresh_home" TMPDIR="$fresh_tmp"
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME XDG_STATE_HOME

# -noreset: between two tests the X server would restart and refuse the next one's connection.
(cd build && xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp -noreset" \
  ctest --output-on-failure --timeout 900 -j 2)
scripts/test-sanitizers.sh
scripts/fuzz-corpus.sh
