#!/bin/sh
# A NUL inside a path on a command line cannot be written into a transcript, so this run is a script:
# every verb that takes a path refuses "a.qx2<NUL>x.qx2" and a.qx2 stays byte for byte as it was.
set -eu
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
printf 'enter [1,1] 1\nsave a.qx2\n' | "$cli" > /dev/null
cp a.qx2 before.qx2
printf 'open a.qx2\nenter [1,1] 2\nsave a.qx2\0x.qx2\nopen a.qx2\0x.qx2\nsave a.qx3\0x.qx3\nimport a.qx2\0.csv\nexport a.qx2\0.csv\n' |
    "$cli" --answer=no > out 2> problems || true
reason='ERROR  A9001-1  undefined or illegal string'
for line in 3 4 5 6 7; do printf '<stdin>:%s: %s\n' "$line" "$reason"; done > expected
if ! cmp -s expected problems || test -s out; then
    echo "unexpected output:" >&2
    cat out problems >&2
    exit 1
fi
cmp before.qx2 a.qx2
test "$(ls | tr '\n' ' ')" = "a.qx2 before.qx2 expected out problems "
