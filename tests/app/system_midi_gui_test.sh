#!/usr/bin/env bash
# Runs the real vt5150-updater, unchanged, on JUCE's own Linux MIDI code, as a
# user would: the ALSA sequencer stand-in is preloaded in place of the
# kernel's sequencer, and a simulated VT-5150, hosted by vt5150-seq-device,
# is plugged in behind one of its ports (or unplugged) as each case needs.
#
# Usage: system_midi_gui_test.sh <vt5150-updater> <stand-in library> <vt5150-seq-device> <folder for screenshots>
set -uo pipefail

updater="$1"
standin="$2"
devicehost="$3"
shots="$4"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../harness/gui_test_support.sh"
source "$here/../harness/system_midi_support.sh"
vt5150_preload "$standin"

# begin <name> <ports>: starts the real updater on a machine with these MIDI ports (see alsa-standin/PortDescription.h).
begin () { begin_program "$1" env "${VT5150_PRELOAD[@]}" VT5150_ALSA_SEQ="$2" \
    VT5150_ALSA_SEQ_TRACE="$WIZARD_TMP/$1.trace" "$updater"; }

start_test unplug

# The whole update. ------------------------------------------------------------
found_on_the_user_machine whole-update
check "the search's probes, pair by pair, inputs outermost" [ "$(search_on_wire whole-update)" = "$expected_search" ]
check "the device's active sensing reached the updater" grep -q '^IN VT-5150 FE$' "$WIZARD_TMP/whole-update.trace"
found_again_then_transfer whole-update
transfer_completes 120
finish_ends_program
device_holds_image whole-update
end_case

# No device, then the device plugged in and Next pressed again. ----------------
begin plugged-in-late "through,device:VT-5150:socket=$socket"
not_found_until_plugged_in plugged-in-late
end_case

# Ports that cannot be opened, or subscribed to, listed before the device. -----
found unopenable "input:Broken In:nocreate,output:Broken Out:nocreate,input:Busy:noconnect,silent:Quiet,device:VT-5150:socket=$socket"
check "no box: the device was found past them, its input delivering after the failed opens" no_error_box
end_case

# A transfer that fails. -------------------------------------------------------
silent_block_case
end_case

# The device unplugged during the transfer, then plugged back in. -------------
unplugged_case "$shots/unplugged.png"
plug_in replugged --latency-us 100
walk_to_page4
search_finds unplugged
check "found again once plugged back in" no_error_box
transfer_starts
transfer_completes 120
finish_ends_program
device_holds_image replugged

finish_checks
