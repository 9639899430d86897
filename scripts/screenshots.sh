#!/usr/bin/env bash
# Regenerates docs/screenshots/*.png: installs what is missing, builds the normal variant's
# screenshot tour and runs it off screen at twice the pixel density, with private settings and a
# 4 MiB tmpfs (as root; otherwise the disk-space picture is left out unless SORRELIX_TINY_DIR
# names a small file system). The tour writes about 1 GiB of files to the temporary folder,
# which should not support reflink copies, and removes them when it ends.
set -euo pipefail

REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly REPO_ROOT
readonly OUTPUT_DIR="$REPO_ROOT/docs/screenshots"

scratch=""
tiny_mount=""

cleanup() {
    if [[ -n "$tiny_mount" ]]; then
        umount "$tiny_mount" 2>/dev/null || umount -l "$tiny_mount" || true
    fi
    if [[ -n "$scratch" ]]; then
        rm -rf --one-file-system "$scratch"
    fi
}

mount_tiny_volume() {
    if [[ -n "${SORRELIX_TINY_DIR:-}" ]]; then
        return 0
    fi
    if [[ $EUID -ne 0 ]]; then
        echo "screenshots: not root, no small tmpfs: 07-disk-space is left out" >&2
        return 0
    fi
    mkdir "$scratch/tiny"
    mount -t tmpfs -o size=4m,mode=1777 sorrelix-tour-tiny "$scratch/tiny"
    tiny_mount="$scratch/tiny"
    export SORRELIX_TINY_DIR="$tiny_mount"
}

main() {
    if [[ -z "${SORRELIX_DEPS_READY:-}" ]]; then
        bash "$REPO_ROOT/scripts/install-deps.sh"
    fi
    SORRELIX_DEPS_READY=1 bash "$REPO_ROOT/scripts/build.sh" normal sorrelix-screenshots >&2

    trap cleanup EXIT
    scratch=$(mktemp -d "${TMPDIR:-/tmp}/sorrelix-screenshots.XXXXXX")
    mkdir -p "$scratch/config" "$scratch/runtime"
    chmod 700 "$scratch/runtime"
    mount_tiny_volume

    XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime" \
        QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR="${QT_SCALE_FACTOR:-2}" \
        "$REPO_ROOT/build/bin/sorrelix-screenshots" "$OUTPUT_DIR"
}

main "$@"
