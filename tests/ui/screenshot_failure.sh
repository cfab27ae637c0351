#!/bin/sh
# --screenshot with a file that cannot be loaded, or a PNG that cannot be written, exits 1 with
# one line saying why, and writes no picture.
program=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
check() {
    "$program" --settings "$dir/q.ini" --screenshot "$2" "$3" >/dev/null 2>"$dir/err"
    status=$?
    out=$(grep '^quorix: ' "$dir/err" | tail -1)
    [ "$status" -eq 1 ] || { echo "$1: exit status $status, expected 1"; exit 1; }
    [ -n "$out" ] || { echo "$1: no reason given"; exit 1; }
    echo "$1: $out"
}
check "missing file" "$dir/a.png" "$dir/missing.qx3"
[ ! -e "$dir/a.png" ] || { echo "a picture was written for a file that did not load"; exit 1; }
check "unwritable picture" "$dir/no/such/dir/b.png" "$2"
