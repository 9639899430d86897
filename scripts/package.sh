#!/usr/bin/env bash
# Builds the Debian package: installs what is missing, makes a release build in build-package/
# (no tests, no developer tools), runs cpack there and lintian on the result, which must report
# no error and no warning. Prints the path of the .deb.
set -euo pipefail

REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly REPO_ROOT
readonly BUILD_DIR="$REPO_ROOT/build-package"

if [[ -z "${SORRELIX_DEPS_READY:-}" ]]; then
    bash "$REPO_ROOT/scripts/install-deps.sh"
fi
# A folder configured by another generator cannot be reused by Ninja: start it afresh.
if [[ -f "$BUILD_DIR/CMakeCache.txt" ]] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$BUILD_DIR/CMakeCache.txt"; then
    rm -rf "$BUILD_DIR"
fi
# The hardening a Debian build of the package gets: fortified functions, stack protection,
# relocations read-only and bound at start-up. No debug information: cpack strips it anyway.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP=-g
# (From the repository, so that the file names in the binaries are relative to it.)
hardened_cxxflags=$(cd "$REPO_ROOT" && echo "$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)")
hardened_ldflags=$(dpkg-buildflags --get LDFLAGS)
# -O2 as in the tested build/ (GCC 12 also reports false -Wrestrict findings at -O3).
cmake -S "$REPO_ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS="$hardened_cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$hardened_ldflags" \
    -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DSORRELIX_SANITIZE=OFF -DSORRELIX_BUILD_TESTS=OFF -DSORRELIX_BUILD_TOOLS=OFF >&2
ninja -C "$BUILD_DIR" >&2
# Packages of earlier versions stay out of the answer.
rm -f "$BUILD_DIR"/sorrelix_*.deb
(cd "$BUILD_DIR" && cpack -G DEB >&2)
deb=$(find "$BUILD_DIR" -maxdepth 1 -name 'sorrelix_*.deb' -print -quit)
if [[ -z "$deb" ]]; then
    echo "package: cpack made no .deb in $BUILD_DIR" >&2
    exit 1
fi
lintian --tag-display-limit 0 --fail-on error,warning "$deb" >&2
echo "$deb"
