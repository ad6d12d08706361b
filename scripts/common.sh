# Shared by scripts/test and scripts/demo: installs what the build needs and
# configures and builds one build folder.

VT5150_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

VT5150_PACKAGES=(
    build-essential cmake pkg-config ccache
    juce-modules-source libasound2-dev libfreetype-dev libfontconfig1-dev
    libx11-dev libxrandr-dev libxinerama-dev libxcursor-dev libxcomposite-dev libxext-dev
    libpng-dev libjpeg-dev zlib1g-dev libgtest-dev libbenchmark-dev
    xvfb xauth xdotool x11-utils imagemagick fonts-dejavu-core
    file dpkg-dev desktop-file-utils appstream lintian
)

vt5150_install_packages ()
{
    local missing=()
    local package

    for package in "${VT5150_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done

    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi

    if [ "$(id -u)" -ne 0 ]; then
        echo "These Debian packages are missing: ${missing[*]}" >&2
        echo "Install them with: sudo apt-get install ${missing[*]}" >&2
        exit 1
    fi

    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# vt5150_build <build folder> [extra cmake arguments...]: builds every target,
# or only VT5150_TARGET when that is set.
vt5150_build ()
{
    local buildDir="$1"
    shift

    local launcher=()
    if command -v ccache >/dev/null; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    fi

    export CCACHE_BASEDIR="$VT5150_ROOT"
    cmake -S "$VT5150_ROOT" -B "$buildDir" "${launcher[@]}" "$@" >/dev/null
    cmake --build "$buildDir" --parallel "$(nproc)" ${VT5150_TARGET:+--target "$VT5150_TARGET"}
}

# vt5150_start_xvfb: starts a private Xvfb display, prepared for JUCE windows,
# and points DISPLAY at it; vt5150_stop_xvfb ends it. It waits up to a minute,
# as an emulated machine (tests/vm) may need.
vt5150_start_xvfb ()
{
    local numberFile tries=0
    numberFile="$(mktemp)"

    # -noreset keeps what clients create after they disconnect; Xvfb picks a
    # free display number and writes it to the file descriptor given.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$numberFile" 2>/dev/null &
    VT5150_XVFB_PID=$!

    until [ -s "$numberFile" ]; do
        tries=$((tries + 1))
        if [ "$tries" -gt 600 ] || ! kill -0 "$VT5150_XVFB_PID" 2>/dev/null; then
            echo "Xvfb did not start" >&2
            rm -f "$numberFile"
            return 1
        fi
        sleep 0.1
    done

    export DISPLAY=":$(head -n 1 "$numberFile")"
    rm -f "$numberFile"
    vt5150_prepare_bare_display
}

# Safe in an EXIT trap under set -e: a server that has already gone, or that
# was started by another shell, never replaces the script's own status.
vt5150_stop_xvfb ()
{
    if [ -n "${VT5150_XVFB_PID:-}" ]; then
        kill "$VT5150_XVFB_PID" 2>/dev/null || true
        wait "$VT5150_XVFB_PID" 2>/dev/null || true
    fi
    VT5150_XVFB_PID=
}

# vt5150_with_display <command...>: runs the command on the current display,
# or on a private Xvfb display when there is none.
vt5150_with_display ()
{
    if [ -n "${DISPLAY:-}" ]; then
        "$@"
        return
    fi

    (
        vt5150_start_xvfb || exit 1
        trap vt5150_stop_xvfb EXIT
        "$@"
    )
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

# vt5150_with_sanitizers <command...>: runs the command with the options of the
# AddressSanitizer, UndefinedBehaviorSanitizer and leak checks, every report
# ending its process with a failure.
vt5150_with_sanitizers ()
{
    ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1:strict_string_checks=1" \
    UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
    LSAN_OPTIONS="suppressions=$VT5150_ROOT/tests/sanitizer/lsan.supp:print_suppressions=1" \
        "$@"
}
