#!/usr/bin/env bash
# Installs what is missing, builds build/ and build-asan/, and runs every test of both; builds
# the engine and workflow-state tests with the thread sanitizer (build-tsan/) and runs them;
# builds the fuzz targets (build-fuzz/) and runs each for FUZZ_SECONDS (60 by default).
# Scratch XFS/ext4/tmpfs mounts and an sshfs mount from a private loopback sshd (root only), a
# private D-Bus session bus and private XDG folders are set up for the run and removed at exit,
# so the script can run again and again.
# Each stage prints how long it took.
set -euo pipefail

REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly REPO_ROOT
readonly SCRATCH_PREFIX=${TMPDIR:-/tmp}/sorrelix-test.
readonly CTEST_JOBS=2
readonly FUZZ_SECONDS=${FUZZ_SECONDS:-60}
# The engine and workflow-state tests: the code that runs on more than one thread.
readonly TSAN_TESTS=(
    engine_record_tests engine_folder_analysis_tests engine_session_history_tests
    engine_merge_execution_tests engine_undo_merge_tests engine_file_copier_tests app_tests
)

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

cleanup() {
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

# timed STAGE COMMAND...: runs the command and prints how long it took.
timed() {
    local stage=$1 started=$SECONDS status=0
    shift
    "$@" || status=$?
    say "$stage took $((SECONDS - started)) s (status $status)"
    return $status
}

# gtest filters per program under the thread sanitizer, which cannot start threads in a child
# forked from a threaded process: these cases run the analysis in a forked unprivileged child
# (they run in build/ and build-asan/).
tsan_filter() {
    case "$1" in
        engine_folder_analysis_tests) echo "-UnprivilegedAnalysisTest.*" ;;
        *) echo "*" ;;
    esac
}

# Qt is not instrumented: tests/tsan.supp and tests/tsan/qt_handoffs.cpp account for its
# hand-offs between threads. Any other report fails the test program (exit code 66).
run_tsan_tests() {
    local name binary failed=0
    local options="suppressions=$REPO_ROOT/tests/tsan.supp ignore_noninstrumented_modules=1"
    options+=" second_deadlock_stack=1 exitcode=66"
    say "running the thread-sanitizer tests in build-tsan"
    for name in "${TSAN_TESTS[@]}"; do
        binary=$(find build-tsan/tests -name "$name" -type f -perm -u+x | head -1)
        if [[ -z "$binary" ]]; then
            say "$name was not built in build-tsan"
            failed=1
            continue
        fi
        TSAN_OPTIONS="$options" "$binary" --gtest_brief=1 --gtest_filter="$(tsan_filter "$name")" || {
            say "$name FAILED under the thread sanitizer"
            failed=1
        }
    done
    return $failed
}

run_ctest() {
    local dir=$1
    say "running the tests in $dir"
    ctest --test-dir "$dir" --output-on-failure -j"$CTEST_JOBS"
}

main() {
    cd "$REPO_ROOT"
    bash scripts/install-deps.sh
    export SORRELIX_DEPS_READY=1
    timed "build normal and asan" bash scripts/build.sh both
    timed "build tsan" bash scripts/build.sh tsan "${TSAN_TESTS[@]}"
    timed "build fuzz" bash scripts/build.sh fuzz

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
    timed "tests in build" run_ctest build || failed=1
    # Qt keeps some allocations until exit; leak reports would bury real findings.
    ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0} \
        UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1} \
        timed "tests in build-asan" run_ctest build-asan || failed=1
    timed "tests in build-tsan" run_tsan_tests || failed=1
    # All targets at once: the machine has nothing else to do by now.
    SORRELIX_FUZZ_BUILT=1 FUZZ_JOBS=3 timed "fuzzing" bash scripts/fuzz.sh "$FUZZ_SECONDS" ||
        failed=1

    say "whole run took $SECONDS s"
    if [[ $failed -ne 0 ]]; then
        say "FAILED (see the output above)"
        return 1
    fi
    say "all tests passed in build/, build-asan/ and build-tsan/; the fuzz targets found nothing"
}

main "$@"
