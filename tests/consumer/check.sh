#!/usr/bin/env bash
# Installs the built project into a scratch prefix, builds the consumers (one in code, one from a
# Qt Designer form) against it and runs them.
set -euo pipefail
build="$1"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null
test -f "$work/prefix/share/applications/mirvale.desktop"
test -f "$work/prefix/share/icons/hicolor/32x32/apps/mirvale.png"
test -x "$work/prefix/bin/mirvale"
test -x "$work/prefix/bin/mirvale-designer"
test -f "$work/prefix/share/metainfo/invalid.mirvale.Mirvale.metainfo.xml"
test -n "$(find "$work/prefix" -path '*/plugins/designer/libmirvalewidgets.so')"
cmake -S "$here" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/build" >/dev/null
QT_QPA_PLATFORM=offscreen "$work/build/consumer"
QT_QPA_PLATFORM=offscreen "$work/build/consumer_ui"
