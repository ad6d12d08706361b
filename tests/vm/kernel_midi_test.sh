#!/usr/bin/env bash
# The real updater over the Linux kernel's own MIDI, in two steps that ctest
# runs in turn: "kernel" runs system_midi_update.sh inside the test machine,
# "compare" runs it over the ALSA sequencer stand-in and checks that the device
# received and sent the same bytes and the updater read the same sequencer
# events, so that the stand-in keeps behaving as the kernel. Each step leaves
# what it saw, and screenshots, in <results>/kernel or <results>/standin.
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

rm -rf "$results/standin"
mkdir -p "$results/standin"
check "the scenarios over the stand-in" "$here/system_midi_update.sh" standin "$results/standin" "${programs[@]}"

# Active sensing (event type 42) is left out of the events: how many arrive depends on timing.
but_sensing () { grep -vx "EVENT 42" "$results/$1/$2.events"; }
for name in whole-update silent-block; do
    check "[$name] the bytes the device received and sent, in order, the same over the kernel and the stand-in" \
        cmp "$results/kernel/$name.device" "$results/standin/$name.device"
    check "[$name] the sequencer events the updater read (kinds and sizes), the same over both" \
        cmp <(but_sensing kernel "$name") <(but_sensing standin "$name")
done

finish_checks
