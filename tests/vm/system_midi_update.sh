#!/usr/bin/env bash
# The real vt5150-updater driven through whole updates on "Midi Through", two
# silent devices and a simulated VT-5150 on the third: the kernel's own
# sequencer inside the test machine (snd-seq-dummy and an snd-virmidi card,
# the device behind the raw side of its third device), or the ALSA sequencer
# stand-in pretending the same machine. Each case leaves <case>.device and
# <case>.events in the output folder for kernel_midi_test.sh to compare. Over
# the kernel it also plugs the card in late, lets a second program hold the
# device, and runs the port layer's tests with a device sending note after note.
#
# Usage: system_midi_update.sh kernel|standin <output folder> <vt5150-updater> <vt5150-seq-device>
#                              <stand-in library> <event log library> <vt5150-system-midi-tests>
set -uo pipefail

mode="$1"
out="$2"
updater="$3"
devicehost="$4"
standin="$5"
eventlog="$6"
porttests="$7"
shots="$out/shots"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../harness/gui_test_support.sh"
source "$here/../harness/system_midi_support.sh"

if [ "$mode" = kernel ]; then
    plug_at=(--raw-midi /dev/snd/midiC0D2)
    sensing=(--sense 300)
    vt5150_preload "$eventlog"
    midi_env=("${VT5150_PRELOAD[@]}")
    modprobe snd-seq-dummy || { echo "the kernel's sequencer does not load" >&2; exit 1; }
else
    sensing=()
    vt5150_preload "$eventlog" "$standin"
    midi_env=("${VT5150_PRELOAD[@]}"
              VT5150_ALSA_SEQ="through,silent:VirMIDI 0-0,silent:VirMIDI 0-1,device:VirMIDI 0-2:socket=$socket:sense=300")
fi

begin () { begin_program "$1" env "${midi_env[@]}" VT5150_SEQ_EVENT_LOG="$WIZARD_TMP/$1.events" "$updater"; }
keep () { cp "$WIZARD_TMP/$1".{device,report,events} "$out/" 2>/dev/null; }
# A search takes a while under emulation.
finds_device () { check "the search finds the device, with no box" search_finds_device 120; }

# device_found <case> [device options...]: plugs the device in, starts the updater and searches to page 5.
device_found ()
{
    plug_in "$@"
    begin "$1"
    walk_to_page4
    finds_device
}

start_test unplug

if [ "$mode" = kernel ]; then
    # No device, then the card of three raw MIDI devices plugged in, as a USB MIDI interface is.
    begin plugged-in-late
    walk_to_page4
    device_not_found 30
    check "the raw MIDI card is plugged in" modprobe snd-virmidi midi_devs=3
    plug_in plugged-in-late
    finds_device
    end_case
fi

# The whole update, the device sending active sensing every 300 ms. ------------
device_found whole-update "${sensing[@]}"
started=$SECONDS
wizard_click_next
expect 30 "title bar"
transfer_completes 300
echo "update: $((SECONDS - started)) s"
wizard_shot "$shots/whole-update-finished.png"
finish_ends_program
unplug # a raw MIDI device's host serves until it is told to stop
device_holds_image whole-update
keep whole-update

# A transfer that fails: the device goes silent in block 2. -------------------
device_found silent-block --fault silent-at-block=2
transfer_fails_to_welcome "$shots/silent-block.png"
end_case
unplug
keep silent-block

if [ "$mode" = kernel ]; then
    # The kernel lets several programs open a virtual raw MIDI device's raw
    # side at once, each reading its own copy: the device is still found.
    cat /dev/snd/midiC0D2 >/dev/null &
    holder=$!
    device_found held
    end_case
    unplug
    vt5150_end_process "$holder" 5

    # The port layer over the kernel's sequencer, a device sending a note every
    # half millisecond: while the reader is stopped and its queue is full,
    # virmidi passes nothing on until its raw side is written again.
    current=port-layer
    perl -MFcntl -e 'sysopen (my $device, $ARGV[0], O_WRONLY) or die "$ARGV[0]: $!\n";
                     while (1) { syswrite ($device, "\x90\x40\x7f"); select (undef, undef, undef, 0.0005); }' \
        /dev/snd/midiC0D0 &
    sender=$!
    check "no callback after stop() returns, and a start after a stop delivers, over the kernel" \
        env VT5150_FLOOD_PORT="VirMIDI 0-0" "$porttests" \
        --gtest_filter=SystemMidiPorts.NoCallbackRunsOrArrivesOnceStopHasReturned
    vt5150_end_process "$sender" 5
fi

finish_checks
