#!/usr/bin/env bash
# The real updater against the Linux kernel's own MIDI, in two steps that
# ctest runs in turn, each leaving what the device saw, and screenshots, in
# <results>/kernel or <results>/standin: "kernel" runs system_midi_update.sh
# inside the test machine; "compare" runs it over the ALSA sequencer stand-in
# and checks that the device received and sent the same bytes and the updater
# read the same sequencer events, so that the stand-in keeps behaving as the kernel.
#
# Usage: kernel_midi_test.sh kernel|compare <build folder> <results folder> <vt5150-updater>
#                            <vt5150-seq-device> <stand-in library> <event log library> <vt5150-system-midi-tests>
set -uo pipefail

step="$1"
buildDir="$2"
results="$3"
shift 3
programs=("$@")
shots="$results"
here="$(cd "$(dirname "$0")" && pwd)"

source "$here/../harness/gui_test_support.sh"

trap end_test EXIT
mkdir -p "$results"

if [ "$step" = kernel ]; then
    # The machine shares the test's own folder writable, at the same path.
    rm -rf "$results/kernel"
    mkdir -p "$WIZARD_TMP/kernel"
    check "the scenarios over the kernel" \
        "$here/run_in_vm.sh" "$buildDir" "$WIZARD_TMP" 1200 \
        "$here/system_midi_update.sh" kernel "$WIZARD_TMP/kernel" "${programs[@]}"
    cp -r "$WIZARD_TMP/kernel" "$results/kernel"
    finish_checks
fi

same () { check "$2: the same over the kernel and over the stand-in" cmp "$results/kernel/$1" "$results/standin/$1"; }

# The events the updater read but active sensing, whose count depends on timing; and a tally.
events_but_sensing ()
{
    local system
    for system in kernel standin; do
        grep -vx "EVENT $activeSensing" "$results/$system/$1.events" >"$results/$system/$1.events-but-sensing"
        echo "$system, $1: $(sort "$results/$system/$1.events-but-sensing" | uniq -c | sort -rn | head -n 6 | tr -s ' \n' ' ')"
    done
}

activeSensing=42 # SND_SEQ_EVENT_SENSING

rm -rf "$results/standin"
mkdir -p "$results/standin"
check "the scenarios over the stand-in" "$here/system_midi_update.sh" standin "$results/standin" "${programs[@]}"

for name in whole-update silent-block; do
    same "$name.device" "[$name] the bytes the device received and sent, in order"
    events_but_sensing "$name"
    same "$name.events-but-sensing" "[$name] the sequencer events the updater read (kinds and sizes)"
done

finish_checks
