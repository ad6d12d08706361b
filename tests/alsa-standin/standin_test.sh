#!/usr/bin/env bash
# The ALSA sequencer stand-in refuses, as it loads, a machine that the kernel
# could not have and a trace it cannot write, each with a message; and the
# device host gathers the MIDI messages that reach it in pieces.
#
# Usage: standin_test.sh <stand-in library> <vt5150-seq-device>
set -u

source "$(dirname "$0")/../harness/processes.sh"
source "$(dirname "$0")/../harness/command_checks.sh"

standin="$1"
devicehost="$2"
vt5150_preload "$standin"
work="$(mktemp -d)"
hostPid=""
trap '[ -z "$hostPid" ] || kill "$hostPid" 2>/dev/null; rm -rf "$work"' EXIT

# loads <name> <status: 0 or "fails"> <regex for the output> <machine> [trace]:
# runs a program with the stand-in preloaded on this machine.
loads () { outcome "$1" "$2" "$3" env "${VT5150_PRELOAD[@]}" VT5150_ALSA_SEQ="$4" VT5150_ALSA_SEQ_TRACE="${5:-}" true; }

cards () { for i in $(seq "$1"); do printf 'silent:Card %d,' "$i"; done; }

loads "a machine the kernel could have" 0 '^$' "through,$(cards 27)"
loads "a second through port" fails 'VT5150_ALSA_SEQ: .*one "Midi Through" client; this machine has 2' "through,silent:A,through"
loads "more cards than client numbers" fails 'VT5150_ALSA_SEQ: .*at most 27 cards.* has 28' "$(cards 28)"
users () { for i in $(seq "$1"); do printf 'silent:Virtual %d:user,' "$i"; done; }
loads "cards and programs' ports" 0 '^$' "$(cards 27)$(users 16)"
loads "more programs' ports than numbers kept for them" fails 'VT5150_ALSA_SEQ: .*at most 16 ports on programs.* has 17' "$(users 17)"
loads "the kernel's through port on a program's client" fails "VT5150_ALSA_SEQ: .*\"Midi Through\" is the kernel's own client" "through:user"
loads "sensing far too slow" fails 'sense=4294968' "silent:A:sense=4294968"
loads "sensing never" fails 'sense=0' "silent:A:sense=0"
loads "sensing once a minute" 0 '^$' "silent:A:sense=60000"
loads "a trace that cannot be written" fails "VT5150_ALSA_SEQ_TRACE: cannot write $work/none/trace" "through" "$work/none/trace"
echo "earlier lines" >"$work/kept"
loads "a trace checked as the stand-in loads" 0 '^$' "through" "$work/kept"
grep -qx "earlier lines" "$work/kept" || fail "a process that only loads the stand-in emptied the trace"

# The device host: a probe that arrives in pieces, with a timing clock byte in
# the middle and a stray end byte before it, is still one probe, and answered.
"$devicehost" --socket "$work/device.socket" >"$work/host.log" 2>&1 &
hostPid=$!
for _ in $(seq 50); do [ -S "$work/device.socket" ] && break; sleep 0.1; done
answer="$(python3 - "$work/device.socket" <<'PYTHON'
import socket, sys, time
connection = socket.socket(socket.AF_UNIX)
connection.connect(sys.argv[1])
for piece in (b"\xf7\xf0\x4e", b"\x7f\xf8", b"\x0d\x78\xf7"):
    connection.sendall(piece)
    time.sleep(0.05)
connection.settimeout(5)
received = b""
while not received.endswith(b"\xf7"):
    received += connection.recv(64)
print(received.hex(" ").upper())
PYTHON
)"
[ "$answer" = "F0 4E 7F 0D 0D F7" ] || fail "the probe in pieces: answered \"$answer\""
finish_commands standin
