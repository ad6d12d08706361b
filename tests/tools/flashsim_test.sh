#!/usr/bin/env bash
# Runs vt5150-flashsim as a user or QA would and checks its exit status, its
# report and its wire trace. Usage: flashsim_test.sh <path to vt5150-flashsim>
set -u

tool="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
passed=0

head -c 256 /dev/zero >"$work/two-blocks.bin"
head -c 200 /dev/zero >"$work/odd.bin"

# expect <name> <status> <regex that stdout+stderr must match> -- <tool arguments...>
expect ()
{
    local name="$1" status="$2" pattern="$3"
    shift 4
    local output actual
    output="$("$tool" "$@" 2>&1)"
    actual=$?

    if [ "$actual" -ne "$status" ] || ! grep -Eq "$pattern" <<<"$output"; then
        echo "FAIL $name: exit $actual (wanted $status), output:"
        sed 's/^/    /' <<<"$output"
        failures=$((failures + 1))
    else
        passed=$((passed + 1))
    fi
}

expect "whole update" 0 'exchanges: 25222' -- --inputs 2 --outputs 3 --device-at 1,2
expect "image written" 0 'image: match' --
expect "no device" 2 'result: not-found' -- --inputs 2 --outputs 2 --no-device
expect "refused start" 1 'result: failure' -- --fault refuse-start
expect "silent in block 10" 1 'exchanges: 1303' -- --fault silent-at-block=10
expect "block addresses ignored" 0 'result: success' -- --fault ignore-block-address --payload "$work/two-blocks.bin"
expect "wrong acknowledgement" 2 'result: not-found' -- --fault wrong-ack
expect "silent to the query" 0 'result: success' -- --fault no-query-reply
expect "active sensing after every reply" 0 'image: match' -- --fault noise-after-reply
expect "bad number" 64 'whole number' -- --inputs many
expect "device beyond the ports" 64 'only 1 inputs' -- --device-at 1,0
expect "unknown fault" 64 'unknown fault' -- --fault melt
expect "unknown option" 64 'unknown option --frobnicate' -- --frobnicate
expect "help" 0 'Usage: vt5150-flashsim' -- --help
expect "payload not whole blocks" 64 'not a whole number of 128-byte blocks' -- --payload "$work/odd.bin"
expect "missing payload" 64 'cannot read' -- --payload "$work/none.bin"

# The trace shows every message in order: probe, acknowledgement, query,
# reply, then the transfer's commands each followed by its acknowledgement.
expect "traced transfer" 0 'exchanges: 262' -- --payload "$work/two-blocks.bin" --trace "$work/trace.txt"
expected_head='OUT 0 F0 4E 7F 0D 78 F7
IN 0 F0 4E 7F 0D 0D F7
OUT 0 F0 4E 7F 0D 56 F7
IN 0 F0 4E 7F 0D 13 F7
OUT 0 F0 4E 7F 0D 65 F7
IN 0 F0 4E 7F 0D 0D F7
OUT 0 F0 4E 7F 0D 41 00 00 00 F7
IN 0 F0 4E 7F 0D 0D F7
OUT 0 F0 4E 7F 0D 63 00 00 F7
IN 0 F0 4E 7F 0D 0D F7
OUT 0 F0 4E 7F 0D 43 00 00 F7'
if [ "$(head -n 11 "$work/trace.txt" 2>/dev/null)" != "$expected_head" ] \
    || [ "$(wc -l <"$work/trace.txt")" -ne $((4 + 2 * 262)) ]; then
    echo "FAIL trace: unexpected content:"
    head -n 12 "$work/trace.txt" 2>/dev/null | sed 's/^/    /'
    failures=$((failures + 1))
else
    passed=$((passed + 1))
fi

echo "flashsim: $passed passed, $failures failed"
[ "$failures" -eq 0 ]
