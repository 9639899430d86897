#!/usr/bin/env bash
# A FUSE scratch mount for the tests, standing in for a shared folder on a NAS: a folder on the
# local disk, served over SFTP by a private sshd on 127.0.0.1 and mounted with sshfs.
#
#   sshfs-loopback.sh mount DIR    DIR/mnt shows DIR/export through sshfs; prints
#                                  `export SORRELIX_SSHFS_DIR=DIR/mnt`.
#   sshfs-loopback.sh umount DIR   unmounts, stops that sshd, deletes its keys and the export.
#
# The sshd runs from its own config, host key and authorised client key under DIR/ssh and
# listens on a free loopback port; the machine's ssh configuration is neither read nor changed.
# Both commands are idempotent. Without root, /dev/fuse, sshd or sshfs, mount says why on
# stderr and exits 3; callers carry on and the tests skip those cases.
set -euo pipefail

readonly EXIT_UNAVAILABLE=3
readonly PORT_TRIES=10
# sshd insists on this folder (compiled in) for its unprivileged child; systemd makes it at boot.
readonly PRIVSEP_DIR=/run/sshd

usage() {
    echo "usage: $(basename "$0") mount|umount DIR" >&2
    exit 2
}

say() { echo "sshfs-loopback: $*" >&2; }

export_line() {
    printf 'export %s=%q\n' "$1" "$2"
}

sshd_binary() {
    command -v sshd 2>/dev/null || echo /usr/sbin/sshd
}

prerequisites_met() {
    local tool
    if [[ $EUID -ne 0 ]]; then
        say "not running as root: no sshfs scratch mount (the sshfs cases will skip)"
        return 1
    fi
    if [[ ! -c /dev/fuse ]]; then
        say "no /dev/fuse: no sshfs scratch mount"
        return 1
    fi
    for tool in "$(sshd_binary)" sshfs ssh ssh-keygen fusermount3; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            say "$tool not found (scripts/install-deps.sh installs it): no sshfs scratch mount"
            return 1
        fi
    done
}

# The kernel's mount table, not stat: a mount whose sshfs died fails every stat with ENOTCONN.
is_mounted() {
    awk -v point="$1" '$2 == point { found = 1 } END { exit !found }' /proc/self/mounts
}

make_keys() {
    local keys=$1
    mkdir -p "$keys"
    chmod 700 "$keys"
    rm -f "$keys"/host_key* "$keys"/client_key*
    ssh-keygen -q -t ed25519 -N '' -C sorrelix-test-host -f "$keys/host_key"
    ssh-keygen -q -t ed25519 -N '' -C sorrelix-test-client -f "$keys/client_key"
    cp "$keys/client_key.pub" "$keys/authorized_keys"
    : >"$keys/known_hosts"
}

write_sshd_config() {
    local keys=$1 port=$2
    # StrictModes off: the scratch root sits below a world-writable /tmp.
    cat >"$keys/sshd_config" <<EOF
ListenAddress 127.0.0.1:$port
HostKey $keys/host_key
PidFile $keys/sshd.pid
AuthorizedKeysFile $keys/authorized_keys
PermitRootLogin prohibit-password
PubkeyAuthentication yes
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM no
StrictModes no
AllowUsers root
Subsystem sftp internal-sftp
LogLevel ERROR
EOF
}

# sshd binds its port before it forks into the background, so a port taken in the meantime
# shows as a failed start: try another.
start_sshd() {
    local keys=$1 try port
    mkdir -p "$PRIVSEP_DIR"
    chmod 755 "$PRIVSEP_DIR"
    for ((try = 0; try < PORT_TRIES; try++)); do
        port=$((20000 + RANDOM % 40000))
        write_sshd_config "$keys" "$port"
        if "$(sshd_binary)" -f "$keys/sshd_config" -E "$keys/sshd.log"; then
            echo "$port" >"$keys/port"
            return 0
        fi
    done
    say "sshd did not start on a loopback port (see $keys/sshd.log)"
    return 1
}

# No caches of names or attributes: what one view writes, the other (the local export, or a
# second mount) sees at once, as the tests compare both.
mount_sshfs() {
    local root=$1 keys=$1/ssh
    local ssh_options="IdentityFile=$keys/client_key,IdentitiesOnly=yes,BatchMode=yes"
    ssh_options+=",StrictHostKeyChecking=no,UserKnownHostsFile=$keys/known_hosts"
    ssh_options+=",ConnectTimeout=10"
    sshfs "root@127.0.0.1:$root/export" "$root/mnt" -F /dev/null -p "$(cat "$keys/port")" \
        -o "$ssh_options" \
        -o dir_cache=no,attr_timeout=0,entry_timeout=0,negative_timeout=0 \
        -o fsname=sorrelix-sshfs
}

# stop_sshd KEYS: ends the listening sshd, and only it: the pid must still be an sshd.
stop_sshd() {
    local keys=$1 pid
    pid=$(cat "$keys/sshd.pid" 2>/dev/null || true)
    if [[ -n "$pid" && "$(cat "/proc/$pid/comm" 2>/dev/null || true)" == sshd ]]; then
        kill "$pid" 2>/dev/null || true
    fi
    rm -f "$keys/sshd.pid"
}

do_mount() {
    local root=$1
    prerequisites_met || return $EXIT_UNAVAILABLE
    mkdir -p "$root"
    root=$(realpath "$root")
    if is_mounted "$root/mnt" && [[ -d "$root/mnt/." ]]; then
        export_line SORRELIX_SSHFS_DIR "$root/mnt"
        return 0
    fi
    do_umount "$root"  # whatever a broken earlier mount left behind
    mkdir -p "$root/export" "$root/mnt"
    chmod 1777 "$root/export"
    make_keys "$root/ssh"
    if ! start_sshd "$root/ssh"; then
        do_umount "$root"
        return $EXIT_UNAVAILABLE
    fi
    if ! mount_sshfs "$root"; then
        say "sshfs could not mount root@127.0.0.1:$root/export (see $root/ssh/sshd.log)"
        do_umount "$root"
        return $EXIT_UNAVAILABLE
    fi
    export_line SORRELIX_SSHFS_DIR "$root/mnt"
}

do_umount() {
    local root=$1
    [[ -d "$root" ]] || return 0
    root=$(realpath "$root")
    if is_mounted "$root/mnt"; then
        fusermount3 -u "$root/mnt" 2>/dev/null || umount -l "$root/mnt"
    fi
    stop_sshd "$root/ssh"
    rm -rf "$root/ssh"
    rmdir "$root/mnt" 2>/dev/null || true
    # --one-file-system: should the unmount have failed, never delete through the mount.
    rm -rf --one-file-system "$root/export"
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
