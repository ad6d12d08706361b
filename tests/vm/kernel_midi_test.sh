#!/usr/bin/env bash
# The real updater against the Linux kernel's own MIDI: runs the update
# scenarios of system_midi_update.sh inside the test machine, on Debian's
# kernel with snd-virmidi standing where a USB MIDI device would be, and the
# same scenarios outside it over the ALSA sequencer stand-in; then checks
# that the simulated device received and sent the same bytes on both, and
# that the updater read the same sequencer events, so that the stand-in
# keeps behaving as the kernel does.
#
# Usage: kernel_midi_test.sh <build folder> <folder for screenshots> <vt5150-updater> <vt5150-seq-device>
#                            <stand-in library> <event log library> <vt5150-system-midi-tests>
set -uo pipefail

buildDir="$1"
shots="$2"
shift 2
programs=("$@")
mkdir -p "$shots"
here="$(cd "$(dirname "$0")" && pwd)"
root="$here/../.."

source "$here/../../scripts/wizard-driver.sh"
source "$here/../app/gui_test_support.sh"

# The machine shares this folder writable, at the same path.
scratch="$WIZARD_TMP"
trap end_test EXIT

# same <file> <what>: the file is the same on both systems.
same ()
{
    check "$2: the same over the kernel and over the stand-in" \
        cmp "$scratch/kernel/$1" "$scratch/standin/$1"
}

# The sequencer events that the updater read, but active sensing, whose count
# depends on how long things took; with a tally of the kinds and sizes.
events_but_sensing ()
{
    local system
    for system in kernel standin; do
        grep -vx "EVENT $activeSensing" "$scratch/$system/$1.events" >"$scratch/$system/$1.events-but-sensing"
        echo "$system, $1: $(sort "$scratch/$system/$1.events-but-sensing" | uniq -c | sort -rn | head -n 6 | tr -s ' \n' ' ')"
    done
}

activeSensing=42 # SND_SEQ_EVENT_SENSING

echo "--- over the stand-in"
mkdir -p "$scratch/standin"
check "the scenarios over the stand-in" "$here/system_midi_update.sh" standin "$scratch/standin" "${programs[@]}"

echo "--- over the kernel, in the test machine"
mkdir -p "$scratch/kernel"
check "the scenarios over the kernel" \
    "$root/sim/vm/run_in_vm.sh" "$buildDir" "$scratch" 1200 \
    "$here/system_midi_update.sh" kernel "$scratch/kernel" "${programs[@]}"


rm -rf "$shots/kernel" "$shots/standin"
cp -r "$scratch/kernel/shots" "$shots/kernel" 2>/dev/null
cp -r "$scratch/standin/shots" "$shots/standin" 2>/dev/null

for name in whole-update silent-block; do
    same "$name.device" "[$name] the bytes the device received and sent, in order"
    events_but_sensing "$name"
    same "$name.events-but-sensing" "[$name] the sequencer events the updater read (kinds and sizes)"
done

finish_checks
