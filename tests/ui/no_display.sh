#!/bin/sh
# Started where no display can be opened, quorix exits 1 with one line that names quorix-cli.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$1" 2>&1)
status=$?
echo "$out"
[ "$status" -eq 1 ] || { echo "exit status $status, expected 1"; exit 1; }
[ "$(echo "$out" | wc -l)" -eq 1 ] || { echo "expected one line"; exit 1; }
echo "$out" | grep -q quorix-cli || { echo "the line does not name quorix-cli"; exit 1; }
