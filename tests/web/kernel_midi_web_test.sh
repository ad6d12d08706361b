#!/usr/bin/env bash
# Web MIDI over the Linux kernel's own MIDI in the test machine: in one
# browser, the bare page's exchange and a whole update on the web page
# (kernel_midi_web_test.py), the simulated VT-5150 behind an snd-virmidi card.
# Chromium lists a card's ports only once udev has marked the card ready
# (SOUND_INITIALIZED), so udev's daemon runs in the machine for it.
#
# Usage: kernel_midi_web_test.sh <build folder> <site folder>          on this machine
#        kernel_midi_web_test.sh <build folder> <site folder> inside   in the test machine
set -uo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
buildDir="$(cd "$1" && pwd)"
site="$(cd "$2" && pwd)" || exit 1

if [ "${3:-}" != inside ]; then
    scratch="$(mktemp -d "${TMPDIR:-/tmp}/vt5150-web-vm-XXXXXX")" || exit 1
    trap 'rm -rf "$scratch"' EXIT
    "$here/../vm/run_in_vm.sh" "$buildDir" "$scratch" 1400 "$here/kernel_midi_web_test.sh" "$buildDir" "$site" inside
    exit
fi

# The page server and the browser's driver listen on 127.0.0.1.
ip link set lo up || exit 1
modprobe snd-seq-dummy && modprobe snd-virmidi midi_devs=3 || exit 1

# udev's tools do nothing in a chroot unless told to, and the machine runs the command in one.
export SYSTEMD_IGNORE_CHROOT=1
/lib/systemd/systemd-udevd --daemon || exit 1
udevadm trigger --subsystem-match=sound --action=change && udevadm settle --timeout=60 || exit 1

/usr/bin/python3 "$here/kernel_midi_web_test.py" "$buildDir" "$site" /dev/snd/midiC0D2 -v
status=$?
udevadm control --exit
exit "$status"
