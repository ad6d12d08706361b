#!/usr/bin/env bash
# Orca reading the web page (screen_reader_test.py), on a private Xvfb and a
# private session bus, whose AT-SPI bus the browser and Orca meet on. HOME and
# the XDG folders point into a scratch folder, so that what the bus starts
# (the AT-SPI bus, dconf) keeps its files there.
#
# Usage: screen_reader_test.sh <build folder> <site folder>
set -uo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../harness/display.sh"

scratch="$(mktemp -d "${TMPDIR:-/tmp}/vt5150-screen-reader-XXXXXX")" || exit 1
trap 'vt5150_stop_xvfb; rm -rf "$scratch"' EXIT
mkdir -m 700 "$scratch/home" "$scratch/run"
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home" XDG_CACHE_HOME="$scratch/home" \
    XDG_DATA_HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/run" TMPDIR="$scratch"

# Chromium offers its accessibility tree to AT-SPI only when told that it is wanted.
export ACCESSIBILITY_ENABLED=1

vt5150_start_xvfb || exit 1
dbus-run-session -- /usr/bin/python3 "$here/screen_reader_test.py" "$@" -v
