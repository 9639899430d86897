#!/usr/bin/env bash
# Builds the fuzz targets in build-fuzz/ and runs each for a bounded time from a fresh copy of
# its seed corpus (tests/fuzz/corpus/<target>/). Fails on any crash, hang, leak, sanitizer
# report or broken round-trip property; the input that failed is kept as
# build-fuzz/findings/<target>-crash-..., ready to add to the seed corpus once mended.
#
#   fuzz.sh [SECONDS]   seconds per target, 60 by default
#
# SORRELIX_FUZZ_BUILT=1 skips the build (the caller has just built `sorrelix_fuzzers`).
# FUZZ_JOBS=N runs up to N targets at once (1 by default; CI runs all at once to save time).
set -euo pipefail

REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly REPO_ROOT
readonly TARGETS=(history_json summary_json folder_bookmark)
readonly RSS_LIMIT_MB=2048

say() { echo "fuzz: $*" >&2; }

usage() {
    echo "usage: $(basename "$0") [SECONDS]" >&2
    exit 2
}

work=""
cleanup() {
    if [[ -n "$work" ]]; then rm -rf "$work"; fi
}

# run_target NAME SECONDS: 0 when the target ran its time without a finding.
run_target() {
    local name=$1 seconds=$2 status=0
    local binary="$REPO_ROOT/build-fuzz/tests/fuzz/${name}_fuzzer"
    local findings="$REPO_ROOT/build-fuzz/findings"
    local log="$work/$name.log"
    local -a dictionary=()
    [[ "$name" == *_json ]] && dictionary=(-dict="$REPO_ROOT/tests/fuzz/json.dict")
    mkdir -p "$findings" "$work/$name"
    # A copy: what the run adds to its corpus never lands in the repository.
    cp -R "$REPO_ROOT/tests/fuzz/corpus/$name/." "$work/$name/"
    ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0:${ASAN_OPTIONS:-} \
        UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:${UBSAN_OPTIONS:-} \
        "$binary" "$work/$name" -max_total_time="$seconds" -timeout=5 \
        -rss_limit_mb="$RSS_LIMIT_MB" -detect_leaks=1 -artifact_prefix="$findings/$name-" \
        -print_final_stats=1 "${dictionary[@]}" >"$log" 2>&1 || status=$?
    local done_line
    done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1 || true)
    if [[ $status -ne 0 || -z "$done_line" ]]; then
        tail -60 "$log" >&2
        say "$name FAILED (exit status $status); the input is in $findings"
        return 1
    fi
    # "#RUNS DONE cov: C ft: F corp: N/SIZE lim: L exec/s: E rss: R"
    say "$name: $(sed -E 's/^#([0-9]+).*cov: ([0-9]+) ft: ([0-9]+) corp: ([0-9]+).*exec\/s: ([0-9]+) rss: ([0-9]+Mb).*/\1 runs, \5 exec\/s, coverage \2 edges, \3 features, corpus \4, rss \6/' <<<"$done_line")"
}

main() {
    local seconds=${1:-60}
    [[ $# -le 1 && "$seconds" =~ ^[0-9]+$ && "$seconds" -gt 0 ]] || usage
    if [[ -z "${SORRELIX_FUZZ_BUILT:-}" ]]; then
        SORRELIX_DEPS_READY=${SORRELIX_DEPS_READY:-} bash "$REPO_ROOT/scripts/build.sh" fuzz
    fi
    trap cleanup EXIT
    work=$(mktemp -d "${TMPDIR:-/tmp}/sorrelix-fuzz.XXXXXX")
    local failed=0 name running=0 jobs=${FUZZ_JOBS:-1}
    [[ "$jobs" =~ ^[1-9][0-9]*$ ]] || usage
    for name in "${TARGETS[@]}"; do
        if [[ $running -ge $jobs ]]; then
            wait -n || failed=1
            running=$((running - 1))
        fi
        run_target "$name" "$seconds" &
        running=$((running + 1))
    done
    while [[ $running -gt 0 ]]; do
        wait -n || failed=1
        running=$((running - 1))
    done
    if [[ $failed -ne 0 ]]; then
        say "FAILED"
        return 1
    fi
    say "every target ran ${seconds} s without a finding"
}

main "$@"
