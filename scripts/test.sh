#!/usr/bin/env bash
# Installs what is missing, builds build/ and build-asan/, and runs every test of both.
# Scratch XFS/ext4/tmpfs mounts (root only), a private D-Bus session bus and private XDG folders
# are set up for the run and removed at exit, so the script can run again and again.
set -euo pipefail

REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly REPO_ROOT
readonly SCRATCH_PREFIX=${TMPDIR:-/tmp}/sorrelix-test.
readonly CTEST_JOBS=2

scratch_root=""
dbus_pid=""

say() { echo "test: $*" >&2; }

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
        bash "$REPO_ROOT/scripts/scratch-fs.sh" umount "$dir/fs" || true
        remove_scratch "$dir"
    done
}

# --one-file-system: should an unmount have failed, never delete into a mounted scratch FS.
remove_scratch() {
    rm -rf --one-file-system "$1" 2>/dev/null || true
}

cleanup() {
    if [[ -n "$dbus_pid" ]]; then
        kill "$dbus_pid" 2>/dev/null || true
    fi
    if [[ -n "$scratch_root" ]]; then
        bash "$REPO_ROOT/scripts/scratch-fs.sh" umount "$scratch_root/fs" || true
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
}

# Settings, caches and runtime files of the tests stay out of the user's own folders.
use_private_xdg_folders() {
    local name
    for name in config data cache runtime; do
        mkdir -p "$scratch_root/xdg/$name"
    done
    chmod 700 "$scratch_root/xdg/runtime"
    export XDG_CONFIG_HOME="$scratch_root/xdg/config"
    export XDG_DATA_HOME="$scratch_root/xdg/data"
    export XDG_CACHE_HOME="$scratch_root/xdg/cache"
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

run_ctest() {
    local dir=$1
    say "running the tests in $dir"
    ctest --test-dir "$dir" --output-on-failure -j"$CTEST_JOBS"
}

main() {
    cd "$REPO_ROOT"
    bash scripts/install-deps.sh
    SORRELIX_DEPS_READY=1 bash scripts/build.sh both

    trap cleanup EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    clean_stale_runs
    make_scratch_root
    mount_scratch_file_systems
    use_private_xdg_folders
    start_session_bus
    export QT_QPA_PLATFORM=offscreen

    local failed=0
    run_ctest build || failed=1
    # Qt keeps some allocations until exit; leak reports would bury real findings.
    ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0} \
        UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1} \
        run_ctest build-asan || failed=1

    if [[ $failed -ne 0 ]]; then
        say "FAILED (see the output above)"
        return 1
    fi
    say "all tests passed in build/ and build-asan/"
}

main "$@"
