#!/usr/bin/env bash
# Scratch file systems for the clone and full-disk tests and for the benchmark.
#
#   scratch-fs.sh mount DIR    DIR/xfs  (loop-mounted XFS with reflink, sparse image)
#                              DIR/ext4 (loop-mounted ext4, sparse image; no clones)
#                              DIR/tiny (4 MiB tmpfs, fills up quickly)
#                              and prints one `export SORRELIX_..._DIR=...` line per mount.
#   scratch-fs.sh umount DIR   unmounts, detaches the loop devices, deletes the images.
#
# The images are 1 GiB unless SORRELIX_SCRATCH_SIZE says otherwise (e.g. 8G for the benchmark);
# being sparse they only take the space that is written. Both commands are idempotent.
# Without root or loop devices, mount says why on stderr and exits 3 (after mounting what it
# could); callers carry on and the tests skip those cases.
set -euo pipefail

readonly EXIT_UNAVAILABLE=3
readonly IMAGE_SIZE=${SORRELIX_SCRATCH_SIZE:-1G}
readonly TINY_SIZE=4m

usage() {
    echo "usage: $(basename "$0") mount|umount DIR" >&2
    exit 2
}

say() { echo "scratch-fs: $*" >&2; }

export_line() {
    printf 'export %s=%q\n' "$1" "$2"
}

loop_devices_usable() {
    [[ $EUID -eq 0 && -e /dev/loop-control ]] && command -v losetup >/dev/null 2>&1
}

# make_image KIND IMAGE: a sparse image holding a fresh file system of that kind.
make_image() {
    local kind=$1 image=$2
    rm -f "$image"
    truncate -s "$IMAGE_SIZE" "$image"
    case "$kind" in
        xfs) mkfs.xfs -q -f -m reflink=1 "$image" ;;
        ext4) mkfs.ext4 -q -F -E nodiscard "$image" ;;
    esac
}

# mount_loop KIND ROOT: mounts ROOT/KIND from ROOT/.images/KIND.img unless already mounted.
mount_loop() {
    local kind=$1 root=$2
    local point="$root/$kind" image="$root/.images/$kind.img" device
    mkdir -p "$point" "$root/.images"
    if ! mountpoint -q "$point"; then
        make_image "$kind" "$image" || return 1
        device=$(losetup -f --show "$image") || return 1
        if ! mount -t "$kind" "$device" "$point"; then
            losetup -d "$device" || true
            return 1
        fi
    fi
    chmod 1777 "$point"
}

mount_tiny() {
    local point="$1/tiny"
    mkdir -p "$point"
    if ! mountpoint -q "$point"; then
        mount -t tmpfs -o "size=$TINY_SIZE,mode=1777" sorrelix-tiny "$point" || return 1
    fi
    chmod 1777 "$point"
}

do_mount() {
    local root=$1 kind failed=0
    mkdir -p "$root"
    root=$(realpath "$root")
    if [[ $EUID -ne 0 ]]; then
        say "not running as root: no scratch file systems (clone and full-disk tests will skip)"
        return $EXIT_UNAVAILABLE
    fi
    if loop_devices_usable; then
        for kind in xfs ext4; do
            if mount_loop "$kind" "$root"; then
                export_line "SORRELIX_${kind^^}_DIR" "$root/$kind"
            else
                say "could not loop-mount $kind under $root (no loop device or no $kind support)"
                unmount_point "$root/$kind" "$root/.images/$kind.img"
                failed=1
            fi
        done
    else
        say "no usable loop devices (/dev/loop-control missing): no XFS/ext4 scratch mounts"
        failed=1
    fi
    if mount_tiny "$root"; then
        export_line SORRELIX_TINY_DIR "$root/tiny"
    else
        say "could not mount a tmpfs at $root/tiny"
        failed=1
    fi
    if [[ $failed -ne 0 ]]; then
        return $EXIT_UNAVAILABLE
    fi
}

# unmount_point POINT [IMAGE]: unmounts POINT and frees every loop device backed by IMAGE.
unmount_point() {
    local point=$1 image=${2:-} device
    if mountpoint -q "$point" 2>/dev/null; then
        device=$(findmnt -n -o SOURCE --target "$point" || true)
        umount "$point" 2>/dev/null || umount -l "$point"
        if [[ "$device" == /dev/loop* ]]; then
            losetup -d "$device" 2>/dev/null || true
        fi
    fi
    if [[ -n "$image" && -e "$image" ]]; then
        losetup -j "$image" -O NAME -n 2>/dev/null | while read -r device; do
            losetup -d "$device" 2>/dev/null || true
        done
        rm -f "$image"
    fi
    rmdir "$point" 2>/dev/null || true
}

do_umount() {
    local root=$1 kind
    [[ -d "$root" ]] || return 0
    root=$(realpath "$root")
    for kind in xfs ext4; do
        unmount_point "$root/$kind" "$root/.images/$kind.img"
    done
    unmount_point "$root/tiny"
    rmdir "$root/.images" 2>/dev/null || true
}

main() {
    [[ $# -eq 2 ]] || usage
    case "$1" in
        mount) do_mount "$2" ;;
        umount | unmount) do_umount "$2" ;;
        *) usage ;;
    esac
}

main "$@"
