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
source "$here/../harness/wizard-driver.sh"
source "$here/../../scripts/windows.sh"

socket="$WIZARD_TMP/vt5150.socket"
hostPid=""

finish ()
{
    if [ -n "$hostPid" ]; then
        kill -TERM "$hostPid" 2>/dev/null
        wait "$hostPid" 2>/dev/null
    fi
    vt5150_stop_wine
    vt5150_stop_xvfb
    rm -rf "$WIZARD_TMP"
}
trap finish EXIT

vt5150_start_xvfb || exit 1
vt5150_start_wine_midi "$standin" || { echo "FAIL: the private Wine does not start" >&2; exit 1; }

"$devicehost" --socket "$socket" --latency-us 1000 >"$WIZARD_TMP/host.log" 2>&1 &
hostPid=$!
wizard_wait_until 5 [ -S "$socket" ] || { echo "FAIL: the simulated device does not listen" >&2; exit 1; }

# The device behind a through port and a silent one, as on a user's machine.
vt5150_wine_midi "through,silent:Quiet,device:VT-5150:socket=$socket" "$WIZARD_TMP/sequencer.trace" \
    "$exitCode" "$tests" "${@:5}" | tee "$WIZARD_TMP/tests.log"

# Wine's own status may tell a crash in its teardown after the tests ended: their parent tells their code.
status="$(sed -n 's/^exit code: \([0-9]*\).*$/\1/p' "$WIZARD_TMP/tests.log")"
[ -n "$status" ] || { echo "FAIL: the tests' exit code is unknown" >&2; exit 1; }
exit "$status"
