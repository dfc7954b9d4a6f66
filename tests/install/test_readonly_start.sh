#!/usr/bin/env bash
# Starts the program (on the virtual mouse) from a read-only copy of the run folder, as an
# installed program starts for a normal user: the first start seeds the per-user folder, the
# user's changes survive a restart, a newer factory language file is added, and the installed
# tree stays untouched.
# Usage: test_readonly_start.sh RUN_DIR
set -euo pipefail
run_dir=$1
work=$(mktemp -d)
chmod 755 "$work"
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; [ -f "$work/out.log" ] && cat "$work/out.log"; exit 1; }

tree="$work/tree"
mkdir -p "$tree" "$work/home"
cp "$run_dir/w3config-virtual" "$tree/"
cp -r "$run_dir/modules" "$tree/"
chmod -R a+rX,a-w "$tree"

# Root may write anywhere: run as an unprivileged user then, as on a desktop.
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown nobody "$work/home"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
user_modules="$work/home/.local/share/w3config/modules"

digest() { (cd "$tree" && find . -type f -print0 | sort -z | xargs -0 sha256sum | sha256sum); }

# One start: waits until the program names its data folder, then ends it.
start() {
  : > "$work/out.log"
  env -i PATH="$PATH" HOME="$work/home" QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software \
      "${as_user[@]}" "$tree/w3config-virtual" > "$work/out.log" 2>&1 &
  local pid=$! waited=0
  until grep -q "Data folder:" "$work/out.log"; do
    kill -0 $pid 2> /dev/null || fail "the program ended before naming its data folder"
    [ $waited -lt 600 ] || { kill $pid; fail "no data folder named within 60 s"; }
    sleep 0.1; waited=$((waited + 1))
  done
  kill $pid; wait $pid 2> /dev/null || true
}

before=$(digest)
start
grep -q "Data folder: $work/home/.local/share/w3config" "$work/out.log" || fail "not working in the per-user folder"
[ -f "$user_modules/setting/p1.bin" ] || fail "the per-user folder was not seeded"
[ "$(digest)" = "$before" ] || fail "the installed tree changed"

# The user's changes survive a restart.
echo "; changed by the user" >> "$user_modules/setting/p1.bin"
echo "[config]" > "$user_modules/macro/mine.bin"
changed=$(sha256sum < "$user_modules/setting/p1.bin")
start
[ "$(sha256sum < "$user_modules/setting/p1.bin")" = "$changed" ] || fail "the changed profile was replaced"
[ -f "$user_modules/macro/mine.bin" ] || fail "the new macro is gone"

# A newer version brings a new language file.
chmod u+w "$tree/modules/i18n"
cp "$tree/modules/i18n/$(ls "$tree/modules/i18n" | head -n 1)" "$tree/modules/i18n/lang_999000.ini"
chmod -R a-w "$tree"
before=$(digest)
start
[ -f "$user_modules/i18n/lang_999000.ini" ] || fail "the new factory language file was not added"
[ "$(sha256sum < "$user_modules/setting/p1.bin")" = "$changed" ] || fail "the changed profile was replaced"
[ "$(digest)" = "$before" ] || fail "the installed tree changed"
echo "read-only start: 1 passed, 0 failed"
