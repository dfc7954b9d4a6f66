#!/usr/bin/env bash
# Fails when a test, benchmark, fuzz target or script names a folder of the machine it was
# written on: a path under /tmp or /var/tmp, a home folder (/home/..., /root) or a ~/ that the
# shell expands to one. On a fresh machine such a path does not exist; tests make their folders
# with QTemporaryDir or mktemp under $TMPDIR. The shell's fallback ${TMPDIR:-/tmp} is allowed.
# Prints file:line: text of each such line.
#
#   scripts/check-paths.sh [root]   (the repository by default)
set -euo pipefail
root="${1:-$(dirname "$0")/..}"
cd "$root"

folders=()
for folder in tests scripts bench fuzz; do
  [ -d "$folder" ] && folders+=("$folder")
done
[ "${#folders[@]}" -gt 0 ] || { echo "check-paths: no tests, scripts, bench or fuzz folder in $root"; exit 1; }

# A path starts after a character that cannot continue a word, a variable or another path.
start='(^|[^[:alnum:]_.$}/~])'
end='(/|[^[:alnum:]_.-]|$)'
machine_path="$start((/var)?/tmp|/home|/root)$end|(^|[[:space:]\"'=:(])~/"
allowed_fallback='${TMPDIR:-/tmp}'

found=0
while IFS= read -r hit; do
  text="${hit#*:}"
  text="${text#*:}"
  if grep -qE "$machine_path" <<< "${text//"$allowed_fallback"/}"; then
    echo "$hit"
    found=1
  fi
done < <(grep -rnIE --exclude-dir=node_modules --exclude-dir=corpus --exclude=check-paths.sh \
  "$machine_path" "${folders[@]}")

if [ "$found" -ne 0 ]; then
  echo "check-paths: the lines above name a folder of this machine; use QTemporaryDir or mktemp under \$TMPDIR"
  exit 1
fi
