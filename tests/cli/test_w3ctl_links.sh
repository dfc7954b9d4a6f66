#!/usr/bin/env bash
# w3ctl runs where no window system is installed: it needs Qt Core (and Qt D-Bus), never a
# GUI, X or GLib-object library. The pointer back ends that do are modules beside it.
# Usage: test_w3ctl_links.sh W3CTL
set -uo pipefail
needed=$(readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
[ -n "$needed" ] || { echo "FAIL: cannot read the libraries $1 needs"; exit 1; }
forbidden='^lib(Qt5(Gui|Widgets|Qml|QmlModels|Quick|QuickWidgets|Network)|X11|Xtst|xcb|gio-2\.0|gobject-2\.0|phonon4qt5|GL)\b'
bad=$(grep -E "$forbidden" <<< "$needed")
if [ -n "$bad" ]; then
    echo "FAIL: $1 links $(echo $bad)"
    exit 1
fi
for module in w3pointer-x11.so w3pointer-gsettings.so; do
    [ -f "$(dirname "$1")/$module" ] || { echo "FAIL: the pointer module $module is not beside $1"; exit 1; }
done
echo "w3ctl needs: $(echo $needed)"
