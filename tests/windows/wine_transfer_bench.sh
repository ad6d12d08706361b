#!/usr/bin/env bash
# Runs vt5150-windows-transfer-bench.exe under Wine, on a private Xvfb and in a
# private Wine prefix, over Wine's own winmm and ALSA MIDI driver, with the
# ALSA sequencer stand-in preloaded and a simulated VT-5150 behind its only
# port pair, hosted by vt5150-seq-device and answering each command after
# 1 ms. Prints the benchmark's figures; exits with its status, which fails
# only when an exchange does, never because of a time.
#
# Usage: wine_transfer_bench.sh <vt5150-windows-transfer-bench.exe> <vt5150-exit-code.exe> <stand-in library> <vt5150-seq-device> [benchmark options...]
set -uo pipefail

bench="$1"
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

# No sequencer trace: writing one would add to both sides' times.
vt5150_wine_midi "device:VT-5150:socket=$socket" "" \
    "$exitCode" "$bench" "${@:5}" | tee "$WIZARD_TMP/bench.log"

status="$(sed -n 's/^exit code: \([0-9]*\).*$/\1/p' "$WIZARD_TMP/bench.log")"
[ -n "$status" ] || { echo "FAIL: the benchmark's exit code is unknown" >&2; exit 1; }
exit "$status"
