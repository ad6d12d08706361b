# Shared by the scripts: installs what the build needs, configures and builds
# one build folder, and brings in the test harness's display and process helpers.

VT5150_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

source "$VT5150_ROOT/tests/harness/display.sh"

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
    emscripten nodejs node-acorn chromium chromium-driver python3-selenium orca at-spi2-core dbus
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

# vt5150_build_web <build folder>: builds the web page with Emscripten into
# <build folder>/site. Debian's Emscripten runs its JavaScript optimiser with
# node, which finds Debian's acorn only through NODE_PATH.
vt5150_build_web ()
{
    export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
    emcmake cmake -S "$VT5150_ROOT" -B "$1" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$1" --parallel "$(nproc)"
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
