# shellcheck shell=bash
# The environment every test program expects, for scripts/test.sh and scripts/mutants.sh (sourced,
# not run): scratch XFS/ext4/tmpfs mounts and an sshfs mount from a private loopback sshd (root
# only; their variables are exported), private XDG folders, a private D-Bus session bus and the
# offscreen Qt platform. set_up_test_environment makes it; tear_down_test_environment (for a
# trap on EXIT) removes it, so a script can run again and again.
# The sourcing script sets REPO_ROOT and defines say().

readonly SCRATCH_PREFIX=${TMPDIR:-/tmp}/sorrelix-test.

scratch_root=""
dbus_pid=""

# A run killed with SIGKILL leaves its mounts behind; free those of runs that are gone.
clean_stale_runs() {
    local dir pid
    for dir in "$SCRATCH_PREFIX"*; do
        [[ -d "$dir" ]] || continue
        # Without an owner file the folder may be another run that is just starting.
        pid=$(cat "$dir/owner.pid" 2>/dev/null || true)
        if [[ -z "$pid" ]] || kill -0 "$pid" 2>/dev/null; then
            continue
        fi
        unmount_scratch_file_systems "$dir"
        remove_scratch "$dir"
    done
}

unmount_scratch_file_systems() {
    bash "$REPO_ROOT/scripts/sshfs-loopback.sh" umount "$1/sshfs" || true
    bash "$REPO_ROOT/scripts/scratch-fs.sh" umount "$1/fs" || true
}

# --one-file-system: should an unmount have failed, never delete into a mounted scratch FS.
remove_scratch() {
    rm -rf --one-file-system "$1" 2>/dev/null || true
}

tear_down_test_environment() {
    if [[ -n "$dbus_pid" ]]; then
        kill "$dbus_pid" 2>/dev/null || true
    fi
    if [[ -n "$scratch_root" ]]; then
        unmount_scratch_file_systems "$scratch_root"
        remove_scratch "$scratch_root"
    fi
}

make_scratch_root() {
    scratch_root=$(mktemp -d "${SCRATCH_PREFIX}XXXXXX")
    echo $$ >"$scratch_root/owner.pid"
}

mount_scratch_file_systems() {
    local exports status=0
    exports=$(bash "$REPO_ROOT/scripts/scratch-fs.sh" mount "$scratch_root/fs") || status=$?
    eval "$exports"
    if [[ $status -ne 0 ]]; then
        say "scratch file systems incomplete (status $status): the cases that need them will skip"
    fi
    status=0
    exports=$(bash "$REPO_ROOT/scripts/sshfs-loopback.sh" mount "$scratch_root/sshfs") || status=$?
    eval "$exports"
    if [[ $status -ne 0 ]]; then
        say "no sshfs scratch mount (status $status): the cases that need it will skip"
    fi
}

# Settings, caches and runtime files of the tests stay out of the user's own folders.
use_private_xdg_folders() {
    local name
    for name in config data cache state runtime; do
        mkdir -p "$scratch_root/xdg/$name"
    done
    chmod 700 "$scratch_root/xdg/runtime"
    export XDG_CONFIG_HOME="$scratch_root/xdg/config"
    export XDG_DATA_HOME="$scratch_root/xdg/data"
    export XDG_CACHE_HOME="$scratch_root/xdg/cache"
    export XDG_STATE_HOME="$scratch_root/xdg/state"
    export XDG_RUNTIME_DIR="$scratch_root/xdg/runtime"
}

start_session_bus() {
    local -a lines
    if ! command -v dbus-daemon >/dev/null 2>&1; then
        say "dbus-daemon not found: running without a session bus"
        return 0
    fi
    mapfile -t lines < <(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1)
    if [[ ${#lines[@]} -lt 2 ]]; then
        say "could not start a session bus: running without one"
        return 0
    fi
    export DBUS_SESSION_BUS_ADDRESS=${lines[0]}
    dbus_pid=${lines[1]}
}

set_up_test_environment() {
    clean_stale_runs
    make_scratch_root
    mount_scratch_file_systems
    use_private_xdg_folders
    start_session_bus
    export QT_QPA_PLATFORM=offscreen
}
