#!/usr/bin/env bash
# Runs vt5150-flashsim as a user or QA would and checks its exit status, its
# report and its wire trace. Usage: flashsim_test.sh <path to vt5150-flashsim>
set -u

source "$(dirname "$0")/../harness/command_checks.sh"

tool="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

head -c 256 /dev/zero >"$work/two-blocks.bin"
head -c 200 /dev/zero >"$work/odd.bin"

# expect <name> <status> <regex that stdout+stderr must match> -- <tool arguments...>
expect () { outcome "$1" "$2" "$3" "$tool" "${@:5}"; }

# One case for each exit status; how the device's faults end a transfer, the fault matrix shows.
expect "whole update" 0 'image: match' -- --inputs 2 --outputs 3 --device-at 1,2
expect "no device" 2 'result: not-found' -- --inputs 2 --outputs 2 --no-device
expect "refused start, nothing sent after it" 1 '^exchanges: 1$' -- --fault refuse-start
expect "silent in block 10" 1 'exchanges: 1303' -- --fault silent-at-block=10
expect "bad number" 64 'whole number' -- --inputs many
expect "device beyond the ports" 64 'only 1 inputs' -- --device-at 1,0
expect "unknown fault" 64 'unknown fault' -- --fault melt
expect "unknown option" 64 'unknown option --frobnicate' -- --frobnicate
expect "ill-formed UTF-8" 64 'unknown option --fault-\?\?' -- $'--fault-\xed\xbd'
expect "help" 0 'Usage: vt5150-flashsim' -- --help
expect "payload not whole blocks" 64 'not a whole number of 128-byte blocks' -- --payload "$work/odd.bin"
expect "missing payload" 64 'cannot read' -- --payload "$work/none.bin"

# What is not a regular file of a sendable size is refused before it is read:
# an endless device, a pipe that nobody writes (which would block for ever),
# a huge file (which would be read whole).
mkfifo "$work/pipe"
truncate -s 512M "$work/huge.bin"
expect "endless payload" 64 'not a regular file' -- --payload /dev/zero
expect "payload pipe" 64 'not a regular file' -- --payload "$work/pipe"
expect "huge payload" 64 'more than the 131072' -- --payload "$work/huge.bin"
rm -f "$work/pipe" "$work/huge.bin"

# The trace is written into what is at its path, as the shell's > does, and a
# trace that cannot be written fails the run (status 3).
mkdir "$work/folder"
ln -s "$work/target.txt" "$work/link.txt"
mkfifo "$work/trace-pipe"
timeout 20 cat "$work/trace-pipe" >"$work/from-pipe.txt" &
reader=$!
expect "trace into a folder" 3 'it is a directory' -- --no-device --trace "$work/folder"
expect "trace in a missing folder" 3 'cannot write the trace' -- --no-device --trace "$work/none/trace.txt"
expect "trace through a link" 0 'exchanges: 262' -- --payload "$work/two-blocks.bin" --trace "$work/link.txt"
expect "trace into a pipe" 2 'not-found' -- --no-device --trace "$work/trace-pipe"
wait "$reader"

# The trace has a line for each message, in order: probe and acknowledgement,
# query and reply, then each command of the transfer and its acknowledgement.
expected_head='OUT 0 F0 4E 7F 0D 78 F7
IN 0 F0 4E 7F 0D 0D F7
OUT 0 F0 4E 7F 0D 56 F7
IN 0 F0 4E 7F 0D 13 F7
OUT 0 F0 4E 7F 0D 65 F7
IN 0 F0 4E 7F 0D 0D F7'
if [ ! -d "$work/folder" ] || [ ! -L "$work/link.txt" ] || [ ! -p "$work/trace-pipe" ] \
    || [ "$(head -n 6 "$work/target.txt" 2>/dev/null)" != "$expected_head" ] \
    || [ "$(wc -l <"$work/target.txt")" -ne $((4 + 2 * 262)) ] \
    || [ "$(head -n 1 "$work/from-pipe.txt")" != 'OUT 0 F0 4E 7F 0D 78 F7' ]; then
    fail "trace: a folder, link or pipe at the trace's path was replaced, or not written through," \
        "or the trace is not as expected:"
    ls -l "$work" | sed 's/^/    /'
    head -n 7 "$work/target.txt" 2>/dev/null | sed 's/^/    /'
else
    passed=$((passed + 1))
fi

finish_commands flashsim
