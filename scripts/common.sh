# Shared by scripts/test and scripts/demo: installs what the build needs and
# configures and builds one build folder.

VT5150_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# ccache serves a clone in any folder: it hashes the paths under the checkout
# relative to it, as the objects name them (cmake/CompilerSettings.cmake);
# and it keeps juce_core's objects although JUCE writes the time of the
# compilation into them, which would otherwise make every build compile it again.
export CCACHE_BASEDIR="$VT5150_ROOT" CCACHE_SLOPPINESS=time_macros

VT5150_PACKAGES=(
    build-essential cmake pkg-config ccache
    juce-modules-source libasound2-dev libfreetype-dev libfontconfig1-dev
    libx11-dev libxrandr-dev libxinerama-dev libxcursor-dev libxcomposite-dev libxext-dev
    libpng-dev libjpeg-dev zlib1g-dev libgtest-dev
    xvfb xauth xdotool x11-utils imagemagick fonts-dejavu-core
    file dpkg-dev desktop-file-utils appstream lintian libglib2.0-bin
    chromium chromium-driver python3-selenium
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
# or only those named in VT5150_TARGET (separated by spaces) when that is set.
vt5150_build ()
{
    local buildDir="$1"
    shift

    local launcher=()
    if command -v ccache >/dev/null; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    fi

    cmake -S "$VT5150_ROOT" -B "$buildDir" "${launcher[@]}" "$@" >/dev/null
    # shellcheck disable=SC2086 # one word for each target
    cmake --build "$buildDir" --parallel "$(nproc)" ${VT5150_TARGET:+--target $VT5150_TARGET}
}

# vt5150_preload <library...>: sets VT5150_PRELOAD to the environment that
# preloads these libraries into a program started with env. LD_PRELOAD splits
# at spaces and cannot be quoted, so it names the libraries alone, and
# LD_LIBRARY_PATH, which takes any path without a colon, their folders.
vt5150_preload ()
{
    local names=() folders=() library
    for library in "$@"; do
        names+=("$(basename "$library")")
        folders+=("$(cd "$(dirname "$library")" && pwd)")
    done
    VT5150_PRELOAD=("LD_PRELOAD=${names[*]}"
                    "LD_LIBRARY_PATH=$(IFS=:; echo "${folders[*]}")${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}")
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
        vt5150_end_process "$VT5150_XVFB_PID" 5 || true
    fi
    VT5150_XVFB_PID=
}

# vt5150_end_process <pid> <seconds>: sends the process SIGTERM, waits for it
# to end for at most the seconds given, then kills it, and reaps it when it is
# this shell's child. Fails when it had to be killed.
vt5150_end_process ()
{
    local pid="$1" tries=$(($2 * 10)) status=0
    kill "$pid" 2>/dev/null || true
    while kill -0 "$pid" 2>/dev/null && [ "$tries" -gt 0 ]; do
        sleep 0.1
        tries=$((tries - 1))
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill -KILL "$pid" 2>/dev/null || true
        status=1
    fi
    wait "$pid" 2>/dev/null || true
    return "$status"
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

# vt5150_mark_processes: marks this shell's environment, so that every process
# started from it from then on, and every process those start, carries the
# mark; vt5150_check_no_leftovers later finds those still alive.
vt5150_mark_processes ()
{
    export VT5150_RUN_MARK="vt5150-run-$$-$RANDOM$RANDOM"
}

# Prints the process id and command line of every marked process but this shell.
vt5150_marked_processes ()
{
    local environ pid
    for environ in /proc/[0-9]*/environ; do
        pid=${environ#/proc/}
        pid=${pid%/environ}
        [ "$pid" != "$$" ] || continue
        if { tr '\0' '\n' <"$environ"; } 2>/dev/null | grep -qxF "VT5150_RUN_MARK=$VT5150_RUN_MARK"; then
            echo "$pid $({ tr '\0' ' ' <"/proc/$pid/cmdline"; } 2>/dev/null)"
        fi
    done
}

# Fails, naming them, when processes started since vt5150_mark_processes are
# still alive (a test that leaves its program, display or Wine running), after
# ending them so that they hold nothing up.
vt5150_check_no_leftovers ()
{
    local leftovers pid
    leftovers=$(vt5150_marked_processes)
    [ -z "$leftovers" ] && return 0
    echo "FAILED: these processes started by the tests outlived them:" >&2
    echo "$leftovers" | sed 's/^/    pid /' >&2
    for pid in $(echo "$leftovers" | cut -d ' ' -f 1); do
        kill -KILL "$pid" 2>/dev/null || true
    done
    return 1
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
    LSAN_OPTIONS="suppressions='$VT5150_ROOT/tests/sanitizer/lsan.supp':print_suppressions=1" \
        "$@"
}
