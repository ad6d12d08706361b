# Shared by scripts/build-windows and the Windows tests: what the Windows build
# needs, the image libraries cross-built for it, and its build folder.

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

VT5150_WINDOWS_BUILD="$VT5150_ROOT/build/windows"
VT5150_WINDOWS_LIBS="$VT5150_ROOT/build/windows-libs"
VT5150_MINGW_TOOLCHAIN="$VT5150_ROOT/cmake/toolchain-mingw-w64.cmake"

# Under Wine the programs keep their single-instance lock inside the private
# Wine, not in the Linux programs' lock file that tests/harness/wizard-driver.sh names.
WIZARD_INSTANCE_LOCK=

VT5150_PACKAGES+=(
    g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
    wine64 nsis
)

# Debian's JUCE leaves out JUCE's bundled libpng and libjpeg, and Debian ships
# neither for MinGW: both are built from Debian's own source packages.
VT5150_WINDOWS_LIB_SOURCES=(libpng1.6 libjpeg-turbo)

# vt5150_windows_apt <apt-get arguments...>: runs apt-get on a private
# configuration under the build tree, whose list names the system's own Debian
# archives as source archives. A fresh machine has no deb-src entries, and this
# adds none to the system.
vt5150_windows_apt ()
{
    local apt="$VT5150_WINDOWS_LIBS/apt"
    local file

    if [ ! -d "$apt/sources.list.d" ]; then
        mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$apt/cache/archives/partial"
        : >"$apt/sources.list"

        for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
            [ -f "$file" ] && sed -n 's/^deb \(.*\)$/deb-src \1/p' "$file" >>"$apt/sources.list"
        done
        for file in /etc/apt/sources.list.d/*.sources; do
            [ -f "$file" ] && sed 's/^Types:.*$/Types: deb-src/' "$file" >"$apt/sources.list.d/$(basename "$file")"
        done
    fi

    apt-get -qq \
        -o Dir::Etc::SourceList="$apt/sources.list" \
        -o Dir::Etc::SourceParts="$apt/sources.list.d" \
        -o Dir::State::Lists="$apt/lists" \
        -o Dir::Cache="$apt/cache" \
        -o APT::Sandbox::User="$(id -un)" \
        "$@"
}

# Fetches the source packages of this Debian release (its point releases carry
# the security fixes) and unpacks them with Debian's patches applied.
vt5150_fetch_windows_lib_sources ()
{
    local sources="$VT5150_WINDOWS_LIBS/sources"
    local codename package

    codename="$(. /etc/os-release && echo "$VERSION_CODENAME")"
    rm -rf "$sources"
    mkdir -p "$sources/download"

    vt5150_windows_apt update
    for package in "${VT5150_WINDOWS_LIB_SOURCES[@]}"; do
        (cd "$sources/download" && vt5150_windows_apt source --download-only "$package/$codename")
    done

    # apt has checked every file against the archive's signed index.
    for package in "$sources"/download/*.dsc; do
        dpkg-source --no-check -x "$package" "$sources/$(basename "${package%%_*}")" >/dev/null
    done
}

# vt5150_cross_build_lib <source folder> <cmake options...>: builds one
# library with the MinGW toolchain and installs it under the build tree.
vt5150_cross_build_lib ()
{
    local source="$1" build
    shift
    build="$VT5150_WINDOWS_LIBS/build/$(basename "$source")"

    cmake -S "$source" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$VT5150_MINGW_TOOLCHAIN" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$VT5150_WINDOWS_LIBS/prefix" \
        -DCMAKE_C_COMPILER_LAUNCHER=ccache "$@" >/dev/null
    cmake --build "$build" --parallel "$(nproc)" >/dev/null
    cmake --install "$build" >/dev/null
}

# Builds static libpng and libjpeg for Windows into $VT5150_WINDOWS_LIBS/prefix, once.
vt5150_build_windows_libs ()
{
    local prefix="$VT5150_WINDOWS_LIBS/prefix"
    local done="$prefix/built-from"

    if [ -f "$done" ]; then
        return 0
    fi

    echo "Building libpng and libjpeg for Windows from Debian's sources into $VT5150_WINDOWS_LIBS/..."
    vt5150_fetch_windows_lib_sources
    rm -rf "$prefix" "$VT5150_WINDOWS_LIBS/build"

    local sources="$VT5150_WINDOWS_LIBS/sources"
    vt5150_cross_build_lib "$sources/libpng1.6" \
        -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DZLIB_USE_STATIC_LIBS=ON
    vt5150_cross_build_lib "$sources/libjpeg-turbo" -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF

    # JUCE reads libjpeg's internals (it defines JPEG_INTERNALS), so it needs
    # jpegint.h beside jpeglib.h, as Debian's libjpeg-dev installs it.
    cp "$sources/libjpeg-turbo/jpegint.h" "$prefix/include/"

    # The packages' files name their folders in full; pkg-config splits a
    # value at a space unless it is escaped, as a checkout's path may have one.
    sed -i -E '/^[A-Za-z_]+=/ s/([^\\]) /\1\\ /g' "$prefix"/lib/pkgconfig/*.pc

    (cd "$sources/download" && ls ./*.dsc) >"$done"
}

# Configures build/windows with the MinGW toolchain and builds the given targets.
vt5150_build_windows ()
{
    local juceDir
    juceDir="$(dpkg -L juce-modules-source | grep '/cmake/JUCE-[0-9.]*$')"

    cmake -S "$VT5150_ROOT" -B "$VT5150_WINDOWS_BUILD" \
        -DCMAKE_TOOLCHAIN_FILE="$VT5150_MINGW_TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
        -DVT5150_WINDOWS_LIBS="$VT5150_WINDOWS_LIBS/prefix" -DJUCE_DIR="$juceDir" \
        -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache >/dev/null
    cmake --build "$VT5150_WINDOWS_BUILD" --parallel "$(nproc)" --target "$@"
}

# vt5150_start_wine: a private Wine for this shell, on the current display:
# its prefix lies in a new temporary folder, made ready before this returns.
# VT5150_WINE runs a program in it; vt5150_stop_wine ends it and removes it.
vt5150_start_wine ()
{
    VT5150_WINE_HOME="$(mktemp -d)"
    VT5150_WINE=/usr/lib/wine/wine64
    export WINEPREFIX="$VT5150_WINE_HOME/prefix" WINEARCH=win64 WINEDEBUG=-all
    # Nothing to download when the prefix is made: no .NET or HTML engine.
    export WINEDLLOVERRIDES="mscoree,mshtml="

    "$VT5150_WINE" wineboot --init >/dev/null 2>&1 && vt5150_wait_for_wine || return 1

    # A bare X display has no window manager. Wine, left to one, would wait up
    # to a second for it each time a window is hidden (a message box and each
    # of its four drop shadows) and never give its windows the keyboard focus:
    # it manages its windows itself instead, as a desktop's manager would.
    "$VT5150_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 &&
        vt5150_wait_for_wine
}

# vt5150_start_wine_midi <stand-in library>: vt5150_start_wine with the ALSA
# sequencer stand-in (build/lib/libvt5150_alsa_seq_standin.so) preloaded into
# every Wine process, so that Wine's ALSA MIDI driver offers the stand-in's
# ports to Windows programs through winmm. PULSE_SERVER names a socket that
# does not exist, so that Wine takes ALSA, not PulseAudio, for its MIDI. Each
# program's machine is the VT5150_ALSA_SEQ (and VT5150_ALSA_SEQ_TRACE) in its
# environment (see alsa-standin/PortDescription.h); run it with vt5150_wine_midi.
vt5150_start_wine_midi ()
{
    vt5150_start_wine || return 1
    export PULSE_SERVER="unix:$VT5150_WINE_HOME/no-pulseaudio"
    vt5150_preload "$1"
    VT5150_WINE_STANDIN=("${VT5150_PRELOAD[@]}")
}

# vt5150_wine_midi <machine> <trace file> <program> [arguments...]: runs a
# Windows program in the private Wine on the stand-in's machine <machine>,
# which traces to <trace file>. Wine's own status may tell a crash in its
# teardown: take a program's exit code from vt5150-exit-code.exe instead.
vt5150_wine_midi ()
{
    env "${VT5150_WINE_STANDIN[@]}" VT5150_ALSA_SEQ="$1" VT5150_ALSA_SEQ_TRACE="$2" "$VT5150_WINE" "${@:3}"
}

# Waits until every program in the private Wine has ended.
vt5150_wait_for_wine ()
{
    /usr/lib/wine/wineserver -w
}

# Ends every program in the private Wine, and its server, which the next program starts again.
vt5150_end_wine_programs ()
{
    /usr/lib/wine/wineserver -k 2>/dev/null
}

vt5150_stop_wine ()
{
    if [ -n "${VT5150_WINE_HOME:-}" ]; then
        vt5150_end_wine_programs
        rm -rf "$VT5150_WINE_HOME"
    fi
    VT5150_WINE_HOME=
}
