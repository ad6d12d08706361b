#!/usr/bin/env bash
# The ALSA sequencer stand-in refuses, as it loads, a machine that the kernel
# could not have and a trace it cannot write, each with a message, so that no
# test runs on an impossible machine or reads a trace that was never written.
#
# Usage: standin_test.sh <stand-in library>
set -u

source "$(dirname "$0")/../harness/processes.sh"
source "$(dirname "$0")/../harness/command_checks.sh"

vt5150_preload "$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# loads <name> <status: 0 or "fails"> <regex for the output> <machine> [trace]:
# runs a program with the stand-in preloaded on this machine.
loads () { outcome "$1" "$2" "$3" env "${VT5150_PRELOAD[@]}" VT5150_ALSA_SEQ="$4" VT5150_ALSA_SEQ_TRACE="${5:-}" true; }

cards () { for i in $(seq "$1"); do printf 'silent:Card %d,' "$i"; done; }
users () { for i in $(seq "$1"); do printf 'silent:Virtual %d:user,' "$i"; done; }

loads "a machine the kernel could have" 0 '^$' "through,$(cards 27)"
loads "a second through port" fails 'VT5150_ALSA_SEQ: .*one "Midi Through" client; this machine has 2' "through,silent:A,through"
loads "more cards than client numbers" fails 'VT5150_ALSA_SEQ: .*at most 27 cards.* has 28' "$(cards 28)"
loads "cards and programs' ports" 0 '^$' "$(cards 27)$(users 16)"
loads "more programs' ports than numbers kept for them" fails 'VT5150_ALSA_SEQ: .*at most 16 ports on programs.* has 17' "$(users 17)"
loads "the kernel's through port on a program's client" fails "VT5150_ALSA_SEQ: .*\"Midi Through\" is the kernel's own client" "through:user"
loads "a trace that cannot be written" fails "VT5150_ALSA_SEQ_TRACE: cannot write $work/none/trace" "through" "$work/none/trace"
# Every process of Chromium or Wine loads the stand-in: loading alone must not empty the trace.
echo "earlier lines" >"$work/kept"
loads "a trace checked as the stand-in loads" 0 '^$' "through" "$work/kept"
grep -qx "earlier lines" "$work/kept" || fail "a process that only loads the stand-in emptied the trace"
finish_commands standin
