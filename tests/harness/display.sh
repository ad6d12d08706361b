# The display that the tests and the demo's walk-through run the programs on:
# a private Xvfb, prepared for JUCE's windows. Sourced through the window
# driver and by scripts/common.sh.

source "$(dirname "${BASH_SOURCE[0]}")/processes.sh"

# vt5150_start_xvfb: a private Xvfb display for DISPLAY, waited for up to a
# minute, as an emulated machine (tests/vm) may need.
vt5150_start_xvfb ()
{
    local numberFile number tries
    numberFile="$(mktemp)"
    # -noreset keeps what clients create after they disconnect; Xvfb picks a
    # free display number and writes it to the file descriptor given.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$numberFile" 2>/dev/null &
    VT5150_XVFB_PID=$!
    for ((tries = 600; tries > 0; tries--)); do
        { [ -s "$numberFile" ] || ! kill -0 "$VT5150_XVFB_PID" 2>/dev/null; } && break
        sleep 0.1
    done
    number=$(head -n 1 "$numberFile")
    rm -f "$numberFile"
    [ -n "$number" ] || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY=":$number"
    vt5150_prepare_bare_display
}

# Safe in an EXIT trap under set -e: a server that has already gone, or that
# was started by another shell, never replaces the script's own status.
vt5150_stop_xvfb ()
{
    [ -z "${VT5150_XVFB_PID:-}" ] || vt5150_end_process "$VT5150_XVFB_PID" 5 || true
    VT5150_XVFB_PID=
}

# vt5150_with_display <command...>: on the current display, or on a private Xvfb when there is none.
vt5150_with_display ()
{
    if [ -n "${DISPLAY:-}" ]; then
        "$@"
    else
        (vt5150_start_xvfb || exit 1; trap vt5150_stop_xvfb EXIT; "$@")
    fi
}

# JUCE looks the window manager's protocol atoms up without creating them, and
# a window on a server where nobody created them fails with BadAtom. A desktop's
# window manager creates them; on a bare Xvfb display, setting them as
# properties of the root window does, and -noreset keeps them.
vt5150_prepare_bare_display ()
{
    xprop -root -f WM_PROTOCOLS 32a -set WM_PROTOCOLS "WM_TAKE_FOCUS,WM_DELETE_WINDOW,_NET_WM_PING"
    xprop -root -f WM_STATE 32a -set WM_STATE "WM_CHANGE_STATE"
    xprop -root -f _NET_WM_STATE 32a -set _NET_WM_STATE "_NET_WM_STATE_HIDDEN,_NET_WM_WINDOW_TYPE"
}
