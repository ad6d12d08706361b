# Sourced by wine_port_test.sh and wine_transfer_bench.sh: runs one Windows
# program under Wine, on a private Xvfb and in a private Wine prefix, over
# Wine's own winmm and ALSA MIDI driver, with the ALSA sequencer stand-in
# preloaded and a simulated VT-5150 behind one of its ports, hosted by
# vt5150-seq-device and answering each command after 1 ms.

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
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

# run_on_wine_device <stand-in library> <vt5150-seq-device> <ports before the
# device's, each followed by a comma> <trace file, or "" for none>
# <vt5150-exit-code.exe> <program> [arguments...]: prints what the program
# prints and exits with its exit code, which its parent tells: Wine's own
# status may tell a crash in its teardown after the program ended.
run_on_wine_device ()
{
    local standin devicehost="$2" ports="$3" trace="$4" status
    standin="$(realpath "$1")"

    vt5150_start_xvfb || exit 1
    vt5150_start_wine_midi "$standin" || { echo "FAIL: the private Wine does not start" >&2; exit 1; }

    "$devicehost" --socket "$socket" --latency-us 1000 >"$WIZARD_TMP/host.log" 2>&1 &
    hostPid=$!
    wizard_wait_until 5 [ -S "$socket" ] || { echo "FAIL: the simulated device does not listen" >&2; exit 1; }

    vt5150_wine_midi "${ports}device:VT-5150:socket=$socket" "$trace" "${@:5}" | tee "$WIZARD_TMP/program.log"

    status="$(sed -n 's/^exit code: \([0-9]*\).*$/\1/p' "$WIZARD_TMP/program.log")"
    [ -n "$status" ] || { echo "FAIL: the program's exit code is unknown" >&2; exit 1; }
    exit "$status"
}
