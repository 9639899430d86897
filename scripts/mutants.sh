#!/usr/bin/env bash
# Measures which deliberate faults the tests catch.
#
#   mutants.sh [COMMIT] [PATTERN...]
#
# Each tests/mutants/*.patch (always read from this checkout) plants one fault in the code of
# COMMIT (HEAD by default); PATTERNs pick the mutants whose names contain one of them. A patch
# begins with lines that git apply ignores:
#   # fault: what is wrong, in one line
#   # targets: the ninja targets to rebuild
#   # tests: test programs relative to the build folder, each optionally PROGRAM:GTEST_FILTER
# COMMIT is checked out into a scratch worktree under ${TMPDIR:-/tmp}/sorrelix-mutants (kept and
# refreshed from run to run, with its build folder). Everything is built and each named test
# program run once unmutated; then for each patch: apply, build, run its test programs until
# one fails, revert. Results: CAUGHT (a test failed, or hung past MUTANT_TIME_LIMIT seconds),
# MISSED, NOT-APPLIED, NOT-BUILT, NO-TEST (every program named already fails unmutated).
# The table goes to stdout and to MUTANTS_REPORT (default .../sorrelix-mutants/report.txt);
# the exit status is 0 whatever was caught, and non-zero only when the run itself failed.
set -euo pipefail

REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly REPO_ROOT
readonly MUTANTS_DIR=$REPO_ROOT/tests/mutants
readonly WORK=${TMPDIR:-/tmp}/sorrelix-mutants
readonly WORKTREE=$WORK/worktree
readonly BUILD=$WORKTREE/build
readonly LOGS=$WORK/logs
readonly REPORT=${MUTANTS_REPORT:-$WORK/report.txt}
readonly TIME_LIMIT=${MUTANT_TIME_LIMIT:-600}
readonly JOBS=2

say() { echo "mutants: $*" >&2; }
die() {
    say "$*"
    exit 2
}

# shellcheck source=scripts/test-environment.sh
source "$REPO_ROOT/scripts/test-environment.sh"

declare -A baseline=()  # "program[:filter]" -> pass or fail, unmutated
caught=0
total=0

# header PATCH KEY: the value of "# KEY: ..." before the first diff.
header() {
    sed -n -e '/^diff --git/q' -e "s/^# $2: *//p" "$1" | head -n 1
}

# The git folder shared by a checkout and its worktrees.
common_dir() {
    git -C "$1" rev-parse --path-format=absolute --git-common-dir 2>/dev/null
}

# Adds the worktree, or brings the existing one (and its build folder) to COMMIT.
prepare_worktree() {
    local commit=$1
    if [[ -d "$WORKTREE" && "$(common_dir "$WORKTREE")" == "$(common_dir "$REPO_ROOT")" ]]; then
        revert_worktree
        git -C "$WORKTREE" checkout -q --detach "$commit"
    else
        rm -rf "$WORKTREE"
        git -C "$REPO_ROOT" worktree prune
        git -C "$REPO_ROOT" worktree add -q --detach "$WORKTREE" "$commit"
    fi
}

# The build folder is ignored by git, so it survives; every source file is as committed.
# A reset rather than a checkout: a three-way apply also changes the index.
revert_worktree() {
    git -C "$WORKTREE" reset -q --hard
    git -C "$WORKTREE" clean -fdq
}

# A patch made on an older commit still applies where the code around it has changed since:
# the three-way merge starts from the blob the patch names.
apply_patch() {
    git -C "$WORKTREE" apply "$1" || git -C "$WORKTREE" apply --3way "$1"
}

# As scripts/build.sh's normal build. The compiler cache is keyed on paths relative to the
# worktree, so it shares what the main checkout's build compiled. Tests are listed when run,
# not after linking: a mutant that breaks a program's start is a caught fault, not a failed
# build.
configure() {
    export CCACHE_BASEDIR=$WORKTREE CCACHE_NOHASHDIR=true
    local -a launcher=()
    if command -v ccache >/dev/null 2>&1; then
        launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    cmake -S "$WORKTREE" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DSORRELIX_SANITIZE=OFF -DSORRELIX_BUILD_TESTS=ON \
        -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST "${launcher[@]}" >"$LOGS/configure.log"
}

# run_program RUN LOG SECONDS: runs one test program from its own build folder, as ctest does.
run_program() {
    local run=$1 log=$2 seconds=$3
    local program=${run%%:*} filter="*"
    [[ "$run" == *:* ]] && filter=${run#*:}
    [[ -x "$BUILD/$program" ]] || {
        echo "no test program $program" >>"$log"
        return 127
    }
    echo "== $run" >>"$log"
    (cd "$(dirname "$BUILD/$program")" &&
        SORRELIX_BIN_DIR=$BUILD/bin timeout -k 10 "$seconds" "./$(basename "$program")" \
            --gtest_brief=1 --gtest_filter="$filter") >>"$log" 2>&1
}

# The test programs (with filters) the patches name, each once.
all_runs() {
    local patch
    local -a runs
    for patch in "$@"; do
        read -r -a runs <<<"$(header "$patch" tests)"
        printf '%s\n' "${runs[@]}"
    done | sort -u
}

run_baseline() {
    local run log=$LOGS/baseline.log
    local -a runs
    : >"$log"
    say "building everything unmutated (log: $LOGS/build.log)"
    ninja -C "$BUILD" -j"$JOBS" >"$LOGS/build.log" 2>&1 || die "the unmutated build failed"
    mapfile -t runs < <(all_runs "$@")
    say "running ${#runs[@]} test programs unmutated (log: $log)"
    for run in "${runs[@]}"; do
        if run_program "$run" "$log" "$TIME_LIMIT"; then
            baseline[$run]=pass
        else
            baseline[$run]=fail
            echo "already failing unmutated: $run (see $log)" | tee -a "$REPORT"
        fi
    done
}

# The first failed test cases in a log, for the report.
failed_cases() {
    { grep -o '^\[  FAILED  \] [A-Za-z0-9_/.]*' "$1" || true; } | sed 's/^\[  FAILED  \] //' |
        sort -u | head -n 2 | paste -sd ' ' -
}

# run_mutant PATCH: applies, builds and tests one mutant; prints its result line.
run_mutant() {
    local patch=$1 name fault log result="MISSED" detail="" run status deadline left cases
    name=$(basename "$patch" .patch)
    fault=$(header "$patch" fault)
    log=$LOGS/$name.log
    local -a targets runs skipped=()
    read -r -a targets <<<"$(header "$patch" targets)"
    read -r -a runs <<<"$(header "$patch" tests)"
    for run in "${runs[@]}"; do  # never run a program left over from another mutant
        targets+=("$(basename "${run%%:*}")")
    done
    : >"$log"
    if ! apply_patch "$patch" >>"$log" 2>&1; then
        result="NOT-APPLIED"
    elif ! ninja -C "$BUILD" -j"$JOBS" "${targets[@]}" >>"$log" 2>&1; then
        result="NOT-BUILT"
    else
        deadline=$((SECONDS + TIME_LIMIT))
        for run in "${runs[@]}"; do
            if [[ "${baseline[$run]:-pass}" == fail ]]; then
                skipped+=("$run")
                continue
            fi
            left=$((deadline - SECONDS))
            if ((left <= 0)); then
                result="CAUGHT"
                detail="hang: over ${TIME_LIMIT} s before $run"
                break
            fi
            status=0
            run_program "$run" "$log" "$left" || status=$?
            [[ $status -eq 0 ]] && continue
            result="CAUGHT"
            if [[ $status -eq 124 || $status -eq 137 ]]; then
                detail="hang: ${run} over ${TIME_LIMIT} s"
            else
                cases=$(failed_cases "$log")
                detail="by ${run} (${cases:-exit status $status})"
            fi
            break
        done
        if [[ "$result" == MISSED && ${#skipped[@]} -eq ${#runs[@]} ]]; then
            result="NO-TEST"
        fi
    fi
    revert_worktree
    [[ ${#skipped[@]} -gt 0 ]] && detail+=" [failing unmutated: ${skipped[*]}]"
    [[ "$result" == CAUGHT ]] && caught=$((caught + 1))
    total=$((total + 1))
    printf '%-44s %-11s %s%s\n' "$name" "$result" "$fault" "${detail:+ -- $detail}" |
        tee -a "$REPORT"
}

# The patches whose names contain one of the patterns (all without patterns).
select_patches() {
    local patch name pattern
    for patch in "$MUTANTS_DIR"/*.patch; do
        name=$(basename "$patch" .patch)
        if [[ $# -eq 0 ]]; then
            echo "$patch"
            continue
        fi
        for pattern in "$@"; do
            if [[ "$name" == *$pattern* ]]; then
                echo "$patch"
                break
            fi
        done
    done
}

# One run at a time per scratch folder. A pid file rather than flock: the session bus and the
# sshd started for the tests would inherit a lock's descriptor and outlive a killed run.
claim_work_folder() {
    local owner
    owner=$(cat "$WORK/owner.pid" 2>/dev/null || true)
    if [[ -n "$owner" ]] && kill -0 "$owner" 2>/dev/null; then
        die "another mutants.sh run (pid $owner) is using $WORK"
    fi
    echo $$ >"$WORK/owner.pid"
}

on_exit() {
    # An interrupted run leaves no mutant behind for the next one.
    if [[ -d "$WORKTREE/.git" || -f "$WORKTREE/.git" ]]; then
        revert_worktree || true
    fi
    tear_down_test_environment
    rm -f "$WORK/owner.pid"
}

main() {
    local commit_arg=${1:-HEAD} commit patch
    [[ $# -gt 0 ]] && shift
    commit=$(git -C "$REPO_ROOT" rev-parse --verify -q "$commit_arg^{commit}") ||
        die "no such commit: $commit_arg"
    local -a patches
    mapfile -t patches < <(select_patches "$@")
    [[ ${#patches[@]} -gt 0 ]] || die "no mutant in $MUTANTS_DIR matches: $*"

    mkdir -p "$WORK" "$LOGS"
    claim_work_folder
    trap on_exit EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    prepare_worktree "$commit"
    configure
    set_up_test_environment
    mkdir -p "$(dirname "$REPORT")"
    printf 'mutants of %s (%s), %s\n' "$commit" "$commit_arg" "$(date -u '+%F %T UTC')" |
        tee "$REPORT"
    run_baseline "${patches[@]}"
    for patch in "${patches[@]}"; do
        run_mutant "$patch"
    done
    printf 'caught %d of %d (logs in %s; %d s)\n' "$caught" "$total" "$LOGS" "$SECONDS" |
        tee -a "$REPORT"
}

main "$@"
