#!/usr/bin/env bash
# Runs vt5150-windows-port-tests.exe under Wine, on a private Xvfb and in a
# private Wine prefix: its cases against faked drivers, and its cases over
# Wine's own winmm and ALSA MIDI driver, with the ALSA sequencer stand-in
# preloaded and a simulated VT-5150 behind its ports, hosted by
# vt5150-seq-device and answering each command after 1 ms. Prints the lost
# replies that the exchange cases count. Exits with the tests' status.
#
# Usage: wine_port_test.sh <vt5150-windows-port-tests.exe> <vt5150-exit-code.exe> <stand-in library> <vt5150-seq-device> [GoogleTest options...]
set -uo pipefail

tests="$1"
exitCode="$2"
standin="$(realpath "$3")"
devicehost="$4"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../harness/gui_test_support.sh"
source "$here/../harness/system_midi_support.sh"
source "$here/../../scripts/windows.sh"
shots="$WIZARD_TMP" # where a failed check's screenshot goes: nothing is shown here

trap 'end_test unplug; vt5150_stop_wine' EXIT

vt5150_start_xvfb || exit 1
vt5150_start_wine_midi "$standin" || { echo "FAIL: the private Wine does not start" >&2; exit 1; }
plug_in exchanges --latency-us 1000
[ "$failures" -eq 0 ] || exit 1

# The device behind a through port and a silent one, as on a user's machine.
vt5150_wine_midi "through,silent:Quiet,device:VT-5150:socket=$socket" "$WIZARD_TMP/sequencer.trace" \
    "$exitCode" "$tests" "${@:5}" | tee "$WIZARD_TMP/tests.log"

# Wine's own status may tell a crash in its teardown after the tests ended: their parent tells their code.
status="$(sed -n 's/^exit code: \([0-9]*\).*$/\1/p' "$WIZARD_TMP/tests.log")"
[ -n "$status" ] || { echo "FAIL: the tests' exit code is unknown" >&2; exit 1; }
exit "$status"
