#!/usr/bin/env bash
# Builds the device, command, controller, macro, w3ctl, OpenRGB server and end-to-end scene tests
# with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ and runs them (under Xvfb,
# on the virtual device). What Qt keeps for the life of the process (its platform plugins'
# start-up allocations, Qt Quick's image cache) is suppressed by tests/lsan.supp.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

# Also for the tools the build runs (the skin painter starts Qt's offscreen platform plugin).
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_init_order=1
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
cmake --preset sanitizers > /dev/null
# The tests labelled "sanitizers" (tests/CMakeLists.txt), each built by its own target.
tests_labelled() {
  (cd build-asan && ctest -N "$@" | sed -n 's/^ *Test *#[0-9]*: *//p')
}
mapfile -t tests < <(tests_labelled -L '^sanitizers$')
[ "${#tests[@]}" -gt 0 ] || { echo "no test is labelled for the sanitizer run"; exit 1; }
cmake --build build-asan -j "$(nproc)" --target run_modules skin_images "${tests[@]}"

# The leaks suppressed inside Qt Quick are recognised by whole stacks, and Qt Quick keeps no
# frame pointers: the tests of the scene unwind the slow way, the others the fast way.
cd build-asan
run_ctest() {
  xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp -noreset" \
    ctest --output-on-failure --timeout 900 -j 2 -L '^sanitizers$' "$@"
}
run_ctest -LE '^scene_e2e$'
ASAN_OPTIONS="$ASAN_OPTIONS:fast_unwind_on_malloc=0" run_ctest -L '^scene_e2e$'
