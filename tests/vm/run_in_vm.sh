#!/usr/bin/env bash
# Runs one command, as root in the scratch folder with HOME there, inside a
# throwaway machine that boots Debian's kernel under qemu's emulation, to reach
# the real kernel's ALSA sequencer and raw MIDI (docs/testing.md describes what
# it shares). Its output comes back on the same streams. Nothing but the
# kernel and initramfs, made in <build folder>/vm, is written outside the
# scratch folder.
#
# Usage: run_in_vm.sh <build folder> <scratch folder> <seconds> <command...>
# Exits with the command's status; with 125 when the machine could not be
# made, did not boot, or the command did not end within the given seconds.
set -uo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../../scripts/common.sh"
source "$here/vm.sh"

[ $# -ge 4 ] || { echo "Usage: run_in_vm.sh <build folder> <scratch folder> <seconds> <command...>" >&2; exit 64; }

buildDir="$1"
scratch="$(cd "$2" && pwd)" || exit 125
seconds="$3"
shift 3

vt5150_vm_fail ()
{
    echo "run_in_vm: $*" >&2
    [ ! -s "$scratch/.vm/console.log" ] ||
        { echo "--- the machine's console, last lines:"; tail -n 30 "$scratch/.vm/console.log"; } >&2
    exit 125
}

VT5150_PACKAGES=("${VT5150_VM_PACKAGES[@]}")
vt5150_install_packages >&2   # its standard output is the command's alone
vt5150_vm_prepare "$buildDir" || vt5150_vm_fail "could not make the machine's kernel and initramfs"

# The command, quoted for the shell inside, run from the scratch folder; and
# the folders that the machine shows at their own paths, the scratch folder first.
rm -rf "$scratch/.vm"
mkdir -p "$scratch/.vm"
printf '%s\n' "$scratch" "$(cd "$here/../.." && pwd)" "$(cd "$buildDir" && pwd)" >"$scratch/.vm/shares"
{
    echo "cd $(printf %q "$scratch") || exit 125"
    echo "export HOME=$(printf %q "$scratch") TMPDIR=/tmp PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin"
    printf '%q ' "$@"
    echo
} >"$scratch/.vm/command"

started=$SECONDS
timeout -k 5 "$seconds" qemu-system-x86_64 \
    -accel tcg -cpu max -smp 1 -m 768 \
    -nodefaults -display none -no-reboot \
    -serial "file:$scratch/.vm/console.log" \
    -kernel "$VT5150_VM_KERNEL" -initrd "$VT5150_VM_INITRD" \
    -append "console=ttyS0 quiet panic=-1" \
    -virtfs local,path=/,mount_tag=vt5150root,security_model=none,readonly=on,multidevs=remap \
    -virtfs "local,path=${scratch//,/,,},mount_tag=vt5150scratch,security_model=none,multidevs=remap" \
    </dev/null >"$scratch/.vm/qemu.log" 2>&1
qemuStatus=$?

cat "$scratch/.vm/stdout" 2>/dev/null
cat "$scratch/.vm/stderr" >&2 2>/dev/null

case "$qemuStatus" in 124 | 137) vt5150_vm_fail "the machine did not finish within $seconds s" ;; esac
[ -s "$scratch/.vm/booted" ] || vt5150_vm_fail "the machine did not boot (qemu: $(tail -n 3 "$scratch/.vm/qemu.log"))"
[ -s "$scratch/.vm/status" ] || vt5150_vm_fail "the command did not end inside the machine"

echo "run_in_vm: booted in $(cat "$scratch/.vm/booted") s, the command ended at $(cat "$scratch/.vm/ended") s" \
    "of the machine's clock; $((SECONDS - started)) s in all" >&2
exit "$(cat "$scratch/.vm/status")"
