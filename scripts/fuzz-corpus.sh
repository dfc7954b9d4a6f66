#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (CMake option W3_FUZZ) and runs each over its seed
# corpus in fuzz/corpus/<target>/ only: every seed once, no fuzzing. Exit status 1 when a seed
# crashes, leaks or trips a sanitizer.
#
# To fuzz for a while instead (new inputs go to a scratch folder, not into the seeds):
#   build-fuzz/bin/fuzz_macro_file -max_total_time=60 -detect_leaks=0 "$(mktemp -d)" fuzz/corpus/fuzz_macro_file
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

build="${W3_FUZZ_BUILD_DIR:-build-fuzz}"
targets=(fuzz_macro_file fuzz_macro_steps fuzz_language_file fuzz_profile_import fuzz_configuration fuzz_application_rules
  fuzz_openrgb_packets)

export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
cmake --preset fuzz -B "$build" > /dev/null
cmake --build "$build" --target "${targets[@]}" -j 2

passed=0
failed=0
for target in "${targets[@]}"; do
  seeds=("$PWD"/fuzz/corpus/"$target"/*)  # absolute: the targets work in a folder of their own
  if ! "$build/bin/$target" "${seeds[@]}" > "$build/$target.log" 2>&1; then
    echo "$target: FAILED on its corpus (see $build/$target.log)"
    failed=$((failed + 1))
  else
    echo "$target: ${#seeds[@]} seeds passed"
    passed=$((passed + 1))
  fi
done
echo "fuzz corpora: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
