#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what lands there.
# Usage: test_install.sh BUILD_DIR CATALOGUE
set -euo pipefail
build=$1
catalogue=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

DESTDIR="$work/root" cmake --install "$build" --prefix /usr > "$work/install.log" || { cat "$work/install.log"; fail "cmake --install"; }
root="$work/root/usr"
id=org.w3config.w3config

for file in lib/w3config/w3config lib/w3config/modules/setting/apConfigD.bin lib/w3config/modules/setting/pD.bin \
            lib/w3config/modules/img/skin1/background.png lib/w3config/modules/img/skin2/background.png \
            lib/w3config/modules/img/skin1/background@2x.png lib/w3config/modules/img/skin2/background@2x.png \
            lib/udev/rules.d/70-w3config.rules share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
            share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/256x256/apps/$id.png \
            lib/w3config/w3ctl lib/w3config/w3pointer-x11.so lib/w3config/w3pointer-gsettings.so \
            share/bash-completion/completions/w3ctl \
            share/man/man1/w3config.1.gz share/man/man1/w3ctl.1.gz; do
  [ -e "$root/$file" ] || fail "missing $file"
done
[ "$(readlink "$root/bin/w3config")" = "../lib/w3config/w3config" ] || fail "bin/w3config is not the launcher link"
[ -x "$root/bin/w3config" ] || fail "the launcher does not reach the program"
[ "$(readlink "$root/bin/w3ctl")" = "../lib/w3config/w3ctl" ] || fail "bin/w3ctl is not the launcher link"
# The session bus starts the launcher for the program's bus name, whose contract is published.
bus=org.w3config.W3Config1
[ -e "$root/share/dbus-1/interfaces/$bus.xml" ] || fail "missing the interface $bus.xml"
activation="$root/share/dbus-1/services/$bus.service"
[ -e "$activation" ] || fail "missing the activation file $bus.service"
grep -qx "Name=$bus" "$activation" || fail "$bus.service names another bus name"
grep -qx "Exec=/usr/bin/w3config --background" "$activation" || fail "$bus.service does not start /usr/bin/w3config in the background"
# The helpers that tell the application in front: the KWin script beside the program, one
# variant of the GNOME Shell extension where GNOME Shell looks for it, and their bus contract.
[ -e "$root/share/dbus-1/interfaces/org.w3config.ActiveApplication1.xml" ] || fail "missing the interface org.w3config.ActiveApplication1.xml"
[ -e "$root/lib/w3config/desktop-helpers/kwin/w3config-active-application.js" ] || fail "missing the KWin script"
extension="$root/share/gnome-shell/extensions/w3config-focus@w3config.org"
[ -e "$extension/extension.js" ] && [ -e "$extension/metadata.json" ] || fail "missing the GNOME Shell extension"
grep -q '"uuid": "w3config-focus@w3config.org"' "$extension/metadata.json" || fail "the GNOME Shell extension's folder is not its uuid"
[ ! -e "$root/lib/w3config/w3config-virtual" ] || fail "w3config-virtual installed without being asked for"

# The rule names every vendor:product pair of the catalogue, and nothing else.
expected=$(awk -F= '/^\[/{vid=""} /^vid=/{vid=tolower($2)} /^pid=/{if (vid!="") print vid ":" tolower($2)}' "$catalogue" | sort)
actual=$(sed -n 's/.*idVendor}=="\([0-9a-f]*\)".*idProduct}=="\([0-9a-f]*\)".*TAG+="uaccess".*/\1:\2/p' \
         "$root/lib/udev/rules.d/70-w3config.rules" | sort)
[ -n "$expected" ] && [ "$expected" = "$actual" ] || fail "udev rule ids '$actual', catalogue '$expected'"

if command -v desktop-file-validate > /dev/null; then
  desktop-file-validate "$root/share/applications/$id.desktop" || fail "desktop-file-validate"
fi
if command -v appstreamcli > /dev/null; then
  appstreamcli validate --no-net --pedantic "$root/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
fi
# The manual pages render without a warning; w3ctl's carries every command's own help.
for page in w3config w3ctl; do
  warnings=$(zcat "$root/share/man/man1/$page.1.gz" | groff -man -ww -z 2>&1) || fail "groff cannot read $page.1"
  [ -z "$warnings" ] || fail "$page.1: $warnings"
done
# Only the commands have sections in detail, and every example is a line of its own.
commands="status profile dpi rate button light wheel macro pointer openrgb app"
sections=$(zcat "$root/share/man/man1/w3ctl.1.gz" | sed -n '/^\.SH "COMMANDS IN DETAIL"/,/^\.SH /s/^\.SS //p' | xargs)
[ "$sections" = "$commands" ] || fail "w3ctl.1 has the command sections '$sections', not '$commands'"
examples=$(zcat "$root/share/man/man1/w3ctl.1.gz" | groff -man -Tutf8 -P-cbou 2>/dev/null | sed -n '/^EXAMPLES/,/^[A-Z]/p')
[ "$(grep -c '\$ w3ctl ' <<< "$examples")" -ge 2 ] || fail "w3ctl.1 shows no examples: $examples"
! grep -q 'w3ctl .*w3ctl ' <<< "$examples" || fail "w3ctl.1 runs its examples together: $examples"
echo "installed layout: 1 passed, 0 failed"
