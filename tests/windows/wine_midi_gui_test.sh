#!/usr/bin/env bash
# Runs the real vt5150-updater.exe, unchanged, under Wine as a user would, on
# Wine's own winmm and ALSA MIDI driver over the ALSA sequencer stand-in: the
# cases of tests/app/system_midi_gui_test.sh as far as Wine allows, and one
# whole update with the keyboard alone. Wine lists its MIDI ports once per
# process, so a device plugged in late sits behind an interface's cable whose
# port was there all along. The exit code is read through vt5150-exit-code.exe,
# since Wine may crash tearing down a process that used MIDI after the program
# has set it.
#
# Usage: wine_midi_gui_test.sh <vt5150-updater.exe> <vt5150-exit-code.exe> <stand-in library> <vt5150-seq-device> <folder for screenshots>
set -uo pipefail

updater="$1"
exitcode="$2"
shots="$5"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine_device_support.sh"
source "$here/../harness/system_midi_support.sh"
source "$here/../harness/keyboard_cases.sh"

# begin <name> <ports>: starts the real updater in Wine on a machine with these MIDI ports.
begin () { begin_program "$1" vt5150_wine_midi "$2" "$WIZARD_TMP/$1.trace" "$exitcode" "$updater"; }

sensing () { grep -c '^IN VT-5150 FE$' "$WIZARD_TMP/$1.trace"; }

mkdir -p "$shots"
start_wine_device "$3" "$4"
trap 'end_test end_wine_device; vt5150_stop_wine' EXIT

# The whole update. ------------------------------------------------------------
found_on_the_user_machine whole-update
check "the search's probes, pair by pair, inputs outermost, as on Linux" [ "$(probes_on_wire whole-update)" = "$expected_probes" ]
found_again_then_transfer whole-update
started=$(date +%s%N)
sensedBefore=$(sensing whole-update)
wizard_click_close
sleep 1
check "the close button is ignored during the transfer" still_running
wizard_shot "$shots/wine-transfer.png"
transfer_completes 600
seconds=$((($(date +%s%N) - started) / 1000000000))
echo "the update took about $seconds s under Wine"
check "active sensing every 300 ms all through the update" [ $(($(sensing whole-update) - sensedBefore)) -ge $((seconds * 3 - 3)) ]
wizard_shot "$shots/wine-finished.png"
wizard_click_next
check "Finish ends the program with exit code 0" exit_code_was_0
device_holds_image whole-update
end_wine_device

# The whole update with Return alone, the pointer parked off the window. ------
plug_in keys-update
keys_under_wine vt5150_wine_midi "device:VT-5150:socket=$socket" "$WIZARD_TMP/keys-update.trace" "$exitcode"
keys_update_by_return keys-update 600 "$updater"
check "Return on Finish ends the program with exit code 0" exit_code_was_0
device_holds_image keys-update
end_wine_device

# No device, then the device plugged in behind its cable and Next pressed again.
begin plugged-in-late "through,device:VT-5150:socket=$socket:cable"
not_found_until_plugged_in plugged-in-late
end_wine_device

# A port that another program holds, listed before the device. -----------------
found busy "input:Busy:noconnect,silent:Quiet,device:VT-5150:socket=$socket"
check "no box: the device was found past the busy port" no_error_box
end_wine_device

# A transfer that fails. -------------------------------------------------------
silent_block_case "$shots/wine-transfer-error.png"
end_wine_device

# The device unplugged during the transfer. -----------------------------------
unplugged_case "$shots/wine-unplugged.png"
wizard_click_close
check "the close button then ends the updater with exit code 0" exit_code_was_0
end_wine_device

finish_checks
