#!/usr/bin/env bash
# scripts/check-paths.sh on a tree of one file: lines that only name scratch folders made at run
# time pass, and each line naming a folder of the machine fails with its file and line. The
# lines are written with @ for the slash, so that this file passes the check itself.
set -u
check="$1"
work=$(mktemp -d "${TMPDIR:-/tmp}/w3-check-paths.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}

# Runs the check on a tree whose only file, tests/case.cpp, holds `line` on its second line.
check_line() {
  rm -rf "$work/tree"
  mkdir -p "$work/tree/tests"
  printf '// a case\n%s\n' "${1//@//}" > "$work/tree/tests/case.cpp"
  "$check" "$work/tree" > "$work/out" 2>&1
}

passing=(
  'runtime=$(mktemp -d "${TMPDIR:-@tmp}@w3-wayland.XXXXXX")'
  'DESTDIR="$work@root" cmake --install "$build" --prefix @usr'
  'user_modules="$work@home@.local@share@w3config@modules"'
  'QTemporaryDir home; program.setWorkingDirectory(home.path());'
  'const QString scratch = dir.filePath("tmpfiles");'
)
failing=(
  'program.setWorkingDirectory("@tmp@coretest");'
  'cd @var@tmp@w3'
  'QSettings file("@home@someone@.config@w3.ini", QSettings::IniFormat);'
  'export HOME=@root'
  'cp build@bin@w3config ~@bin'
  'runtime=$(mktemp -d "${TMPDIR:-@tmp}@w3.XXXXXX") log=@tmp@w3.log'
)

for line in "${passing[@]}"; do
  check_line "$line" || fail "refused: ${line//@//}: $(cat "$work/out")"
done
for line in "${failing[@]}"; do
  check_line "$line" && fail "let through: ${line//@//}"
  grep -q '^tests/case.cpp:2:' "$work/out" || fail "did not name tests/case.cpp:2 for ${line//@//}: $(cat "$work/out")"
done
echo "check-paths: ${#passing[@]} lines passed, ${#failing[@]} refused"
