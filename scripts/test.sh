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
readonly CTEST_JOBS=2
readonly FUZZ_SECONDS=${FUZZ_SECONDS:-60}
# The engine and workflow-state tests: the code that runs on more than one thread.
readonly TSAN_TESTS=(
    engine_record_tests engine_folder_analysis_tests engine_session_history_tests
    engine_merge_execution_tests engine_undo_merge_tests engine_file_copier_tests app_tests
)

say() { echo "test: $*" >&2; }

# The scratch mounts, private XDG folders and session bus the tests run in.
# shellcheck source=scripts/test-environment.sh
source "$REPO_ROOT/scripts/test-environment.sh"

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

    trap tear_down_test_environment EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    set_up_test_environment

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
