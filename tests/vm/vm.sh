# The test machine's parts for run_in_vm.sh: its packages, kernel and initramfs.

VT5150_VM_PACKAGES=(qemu-system-x86 busybox-static linux-image-amd64 xz-utils cpio kmod udev)

# The modules that the initramfs loads, in this order, to mount 9p shares over virtio.
VT5150_VM_MODULES=(virtio_ring virtio virtio_pci_legacy_dev virtio_pci_modern_dev virtio_pci
                   netfs fscache 9pnet 9pnet_virtio 9p)

# vt5150_vm_prepare <build folder>: sets VT5150_VM_KERNEL and VT5150_VM_INITRD,
# making them under <build folder>/vm when they are missing or out of date.
vt5150_vm_prepare ()
{
    local version folder
    version="$(dpkg-query -W -f='${Depends}' linux-image-amd64 2>/dev/null | sed -n 's/^linux-image-\([^ ,]*\).*/\1/p')"
    if [ -z "$version" ] || [ ! -r "/boot/vmlinuz-$version" ]; then
        echo "run_in_vm: Debian's linux-image-amd64 is not installed" >&2
        return 1
    fi
    folder="$1/vm/$version"
    VT5150_VM_KERNEL="$folder/vmlinux"
    VT5150_VM_INITRD="$folder/initramfs.cpio"
    mkdir -p "$folder" || return 1

    # Tests that start machines at the same time share the parts: one makes
    # them while the others wait for it, rather than all writing them at once.
    (
        flock 9 || exit 1
        if [ ! -s "$VT5150_VM_KERNEL" ] || [ "$VT5150_VM_KERNEL" -ot "/boot/vmlinuz-$version" ]; then
            vt5150_vm_extract_kernel "/boot/vmlinuz-$version" "$VT5150_VM_KERNEL" || exit 1
        fi
        if [ ! -s "$VT5150_VM_INITRD" ] || [ "$VT5150_VM_INITRD" -ot "$(dirname "${BASH_SOURCE[0]}")/init" ] ||
            [ "$VT5150_VM_INITRD" -ot /bin/busybox ]; then
            vt5150_vm_make_initramfs "$version" "$VT5150_VM_INITRD" || exit 1
        fi
    ) 9>"$folder/parts.lock"
}

# vt5150_vm_extract_kernel <vmlinuz> <vmlinux>: the kernel without its
# decompressor, which qemu boots directly and several seconds sooner. The
# compressed kernel is the xz stream that follows the boot code.
vt5150_vm_extract_kernel ()
{
    local offset
    offset="$(LC_ALL=C grep -obUaP '\xfd7zXZ\x00' "$1" | head -n 1 | cut -d : -f 1)"
    [ -n "$offset" ] || { echo "run_in_vm: no xz data in $1" >&2; return 1; }
    # xz stops reading at the stream's end, so tail's broken pipe is no failure.
    xz -dc --single-stream < <(tail -c "+$((offset + 1))" "$1") >"$2.part" && mv "$2.part" "$2"
}

# vt5150_vm_make_initramfs <kernel version> <file>: busybox, the init script and the 9p modules.
vt5150_vm_make_initramfs ()
{
    local tree module status=0
    tree="$(mktemp -d)"
    mkdir -p "$tree/bin" "$tree/modules"
    cp /bin/busybox "$tree/bin/busybox"
    cp "$(dirname "${BASH_SOURCE[0]}")/init" "$tree/init"
    printf '%s\n' "${VT5150_VM_MODULES[@]}" >"$tree/modules/order"
    for module in "${VT5150_VM_MODULES[@]}"; do
        cp "$(modinfo -k "$1" -n "$module")" "$tree/modules/$module.ko" || status=1
    done
    [ "$status" -eq 0 ] && (cd "$tree" && find . | cpio -o -H newc --quiet) >"$2.part" && mv "$2.part" "$2"
    status=$?
    rm -rf "$tree"
    return $status
}
