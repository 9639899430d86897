#!/usr/bin/env bash
# Configures and builds Sorrelix with Ninja.
#
#   build.sh [normal|asan|tsan|fuzz|both] [TARGET...]
#     normal  build/       RelWithDebInfo (the default)
#     asan    build-asan/  Debug with address and undefined-behaviour sanitizers
#     tsan    build-tsan/  -O1 with the thread sanitizer (gcc)
#     fuzz    build-fuzz/  -O1, clang, libFuzzer with address and undefined-behaviour
#                          sanitizers; only the fuzz targets unless TARGETs say otherwise
#     both    normal and asan
# TARGETs limit the build (e.g. `build.sh normal sorrelix-cli`); without them everything is built.
set -euo pipefail

REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly REPO_ROOT

usage() {
    echo "usage: $(basename "$0") [normal|asan|tsan|fuzz|both] [TARGET...]" >&2
    exit 2
}

# A folder configured by another generator cannot be reused by Ninja: start it afresh.
drop_foreign_cache() {
    local dir=$1
    if [[ -f "$dir/CMakeCache.txt" ]] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$dir/CMakeCache.txt"; then
        echo "build: $dir was configured with another generator; reconfiguring from scratch" >&2
        rm -rf "$dir"
    fi
}

# build_variant DIR CMAKE_ARGS... -- TARGET...
build_variant() {
    local dir=$1
    shift
    local -a cmake_args=() targets=()
    while [[ $# -gt 0 && "$1" != "--" ]]; do
        cmake_args+=("$1")
        shift
    done
    [[ $# -gt 0 ]] && shift
    targets=("$@")
    drop_foreign_cache "$dir"
    # A compiler cache keyed on paths relative to the checkout, so another clone on the same
    # machine (CI's) reuses what this one compiled.
    if command -v ccache >/dev/null 2>&1; then
        export CCACHE_BASEDIR=$REPO_ROOT CCACHE_NOHASHDIR=true
        cmake_args+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    cmake -S "$REPO_ROOT" -B "$dir" -G Ninja "${cmake_args[@]}"
    ninja -C "$dir" -j"$(nproc)" "${targets[@]}"
}

build_normal() {
    build_variant "$REPO_ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSORRELIX_SANITIZE=OFF \
        -DSORRELIX_BUILD_TESTS=ON -- "$@"
}

build_asan() {
    # Test discovery runs the sanitized binaries during the build; Qt's exit-time leaks are noise.
    export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
    build_variant "$REPO_ROOT/build-asan" -DCMAKE_BUILD_TYPE=Debug -DSORRELIX_SANITIZE=ON \
        -DSORRELIX_BUILD_TESTS=ON -DSORRELIX_BUILD_TOOLS=OFF -- "$@"
}

build_tsan() {
    # Test discovery runs the instrumented binaries during the build.
    export TSAN_OPTIONS=${TSAN_OPTIONS:-suppressions=$REPO_ROOT/tests/tsan.supp}
    build_variant "$REPO_ROOT/build-tsan" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
        -DSORRELIX_SANITIZE=thread -DSORRELIX_BUILD_TESTS=ON -- "$@"
}

build_fuzz() {
    local -a targets=("$@")
    [[ ${#targets[@]} -gt 0 ]] || targets=(sorrelix_fuzzers)
    build_variant "$REPO_ROOT/build-fuzz" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
        -DCMAKE_CXX_COMPILER=clang++ -DSORRELIX_FUZZ=ON -DSORRELIX_SANITIZE=OFF \
        -DSORRELIX_BUILD_TESTS=ON -- "${targets[@]}"
}

main() {
    local mode=${1:-normal}
    [[ $# -gt 0 ]] && shift
    if [[ -z "${SORRELIX_DEPS_READY:-}" ]]; then
        bash "$REPO_ROOT/scripts/install-deps.sh"
    fi
    case "$mode" in
        normal) build_normal "$@" ;;
        asan) build_asan "$@" ;;
        tsan) build_tsan "$@" ;;
        fuzz) build_fuzz "$@" ;;
        both)
            build_normal "$@"
            build_asan "$@"
            ;;
        *) usage ;;
    esac
}

main "$@"
