#!/usr/bin/env bash
# Runs a command under a private Xvfb server (run-under-xvfb.sh) inside a private D-Bus session
# whose accessibility bus is running, so that Qt's AT-SPI bridge is active and the program tells
# assistive technology what changes, as it does on a desktop with a screen reader.
#   run-with-accessibility.sh command...
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# The accessibility bus starts on its first use.
exec dbus-run-session -- bash -c \
    'dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus org.a11y.Bus.GetAddress \
         >/dev/null && exec "$@"' \
    run-with-accessibility "$here/run-under-xvfb.sh" "$@"
