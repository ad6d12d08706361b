# Shared by scripts/test and scripts/demo: installs what the build needs and
# configures and builds one build folder.

VT5150_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

VT5150_PACKAGES=(
    build-essential cmake pkg-config ccache
    juce-modules-source libasound2-dev libfreetype-dev libfontconfig1-dev
    libx11-dev libxrandr-dev libxinerama-dev libxcursor-dev libxcomposite-dev libxext-dev
    libpng-dev libjpeg-dev zlib1g-dev libgtest-dev libbenchmark-dev
    xvfb xauth xdotool x11-utils imagemagick fonts-dejavu-core
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

# vt5150_build <build folder> [extra cmake arguments...]
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
    cmake --build "$buildDir" --parallel "$(nproc)"
}

# vt5150_with_display <command...>: runs the command on the current display,
# or on a private Xvfb display when there is none.
vt5150_with_display ()
{
    if [ -n "${DISPLAY:-}" ]; then
        "$@"
    else
        xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" "$@"
    fi
}
