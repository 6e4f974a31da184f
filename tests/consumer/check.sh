#!/usr/bin/env bash
# Installs the built project into a scratch prefix, builds the consumer against it and runs it.
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
cmake -S "$here" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/build" >/dev/null
QT_QPA_PLATFORM=offscreen "$work/build/consumer"
