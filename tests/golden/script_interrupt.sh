#!/bin/sh
# Ctrl+C while a script runs stops that script with its error report, and quorix-cli goes on with the
# next line; Ctrl+C at the prompt still ends the program. A real process gets a real SIGINT here.
set -eu
cli=$1
work=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill -9 "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"
# stdbuf makes the output line by line, so the test sees when a line has run; it preloads a library,
# which a sanitizer build must be told to accept.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"

# Waits up to 20 s for a line in a file.
wait_for_line() {
    n=0
    until grep -qx "$1" "$2" 2>/dev/null; do
        n=$((n + 1))
        if [ "$n" -gt 200 ]; then
            echo "no line '$1' in $2:" >&2
            cat "$2" >&2
            exit 1
        fi
        sleep 0.1
    done
}

printf 'spin()\n{\n  while(1){}\n}\nloop(val:n;)\n{\n  for(n=0;;++n){}\n}\n' > spin.s
printf 'compile spin.s\nattach spin\neval 7\neval +spin()\neval 1+2\neval +loop(1)\neval 4\n' > lines
stdbuf -oL "$cli" < lines > out 2> problems &
pid=$!
wait_for_line 7 out
sleep 0.3
kill -INT "$pid"
wait_for_line 3 out
sleep 0.3
kill -INT "$pid"
status=0
wait "$pid" || status=$?
pid=
stopped='ERROR  A9106-1  script was interrupted by the user'
printf '7\n%s\n3\n%s\n4\n' "$stopped" "$stopped" > expected
tail -n 5 out > got
if [ "$status" -ne 0 ] || ! cmp -s expected got || [ -s problems ]; then
    echo "status $status; output and problems:" >&2
    cat out problems >&2
    exit 1
fi

# At the prompt Ctrl+C ends the program as it always does.
mkfifo in
stdbuf -oL "$cli" < in > out 2> problems &
pid=$!
exec 3> in
echo 'eval 5' >&3
wait_for_line 5 out
kill -INT "$pid"
status=0
wait "$pid" || status=$?
pid=
exec 3>&-
if [ "$status" -ne 130 ]; then
    echo "an idle quorix-cli ended with status $status on Ctrl+C" >&2
    exit 1
fi

# One Ctrl+C ends every script call of the line, here one for each cell a Range Operation walks.
printf 'compile spin.s\nattach spin\nenter [1,1] 1\nenter [2,1] 2\nenter [3,1] 3\neval 8\neval +[1,1^3,1{+spin()}]\neval 9\n' > lines
stdbuf -oL "$cli" < lines > out 2> problems &
pid=$!
wait_for_line 8 out
sleep 0.3
kill -INT "$pid"
status=0
wait "$pid" || status=$?
pid=
printf '8\n%s\n9\n' "$stopped" > expected
tail -n 3 out > got
if [ "$status" -ne 0 ] || ! cmp -s expected got || [ -s problems ]; then
    echo "status $status; output and problems:" >&2
    cat out problems >&2
    exit 1
fi
