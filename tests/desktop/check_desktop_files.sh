#!/usr/bin/env bash
# check_desktop_files.sh SOURCE_DIR BUILD_DIR VERSION LINT_PACKAGE
# Validates the desktop entry and the AppStream metadata with the freedesktop tools, checks that
# they name each other, the icon and the programs consistently, that every hicolor PNG exists
# at its size, and that installing the build puts each file where desktops look for it, the
# programs answering with the project's VERSION. With LINT_PACKAGE=ON it also packs the build
# as a Debian package and has lintian find no error and no warning in it.
set -uo pipefail

readonly SOURCE_DIR=$1 BUILD_DIR=$2 VERSION=$3 LINT_PACKAGE=$4
readonly APP_ID=app.sorrelix.Sorrelix
readonly ICON_SIZES=(16 24 32 48 64 128 256 512)
readonly DESKTOP="$SOURCE_DIR/resources/desktop/$APP_ID.desktop"
readonly METAINFO="$BUILD_DIR/resources/generated/$APP_ID.metainfo.xml"

failures=0
scratch=""
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

require_tool() {
    command -v "$1" >/dev/null 2>&1 || {
        echo "FAIL: $1 is missing (scripts/install-deps.sh installs it)" >&2
        exit 1
    }
}

desktop_key() {
    sed -n "s/^$1=//p" "$2" | head -n 1
}

# validate_both DESKTOP METAINFO: any finding at all, hints included, counts as a failure.
validate_both() {
    local output
    output=$(desktop-file-validate "$1" 2>&1) || fail "desktop-file-validate rejects $1"
    [[ -z "$output" ]] || fail "desktop-file-validate reports: $output"
    output=$(appstreamcli validate --no-net --no-color "$2" 2>&1) || fail "appstreamcli rejects $2: $output"
    if grep -qE '^[EWI]: ' <<<"$output"; then
        fail "appstreamcli reports: $output"
    fi
}

check_cross_references() {
    [[ "$(desktop_key Icon "$DESKTOP")" == "$APP_ID" ]] || fail "desktop Icon is not $APP_ID"
    grep -q "<id>$APP_ID</id>" "$METAINFO" || fail "metainfo id is not $APP_ID"
    grep -q "<launchable type=\"desktop-id\">$APP_ID.desktop</launchable>" "$METAINFO" ||
        fail "metainfo does not launch $APP_ID.desktop"
    local exec
    exec=$(desktop_key Exec "$DESKTOP")
    grep -q "<binary>${exec%% *}</binary>" "$METAINFO" || fail "metainfo does not provide ${exec%% *}"
}

# png_size FILE: "WIDTHxHEIGHT" read from the PNG header, empty when FILE is no PNG.
png_size() {
    file -b "$1" | sed -n 's/^PNG image data, \([0-9]*\) x \([0-9]*\),.*/\1x\2/p'
}

check_icons() {
    local root=$1 size png
    for size in "${ICON_SIZES[@]}"; do
        png="$root/${size}x${size}/apps/$APP_ID.png"
        if [[ ! -f "$png" ]]; then
            fail "missing $png"
        elif [[ "$(png_size "$png")" != "${size}x${size}" ]]; then
            fail "$png is $(file -b "$png"), not a ${size}x${size} PNG"
        fi
    done
}

check_svg() {
    python3 -c 'import sys, xml.etree.ElementTree as et; et.parse(sys.argv[1])' "$1" 2>/dev/null ||
        fail "$1 is not well-formed XML"
}

check_install() {
    local prefix=$1 output exec
    if ! output=$(cmake --install "$BUILD_DIR" --prefix "$prefix" 2>&1); then
        fail "cmake --install failed: $output"
        return
    fi
    local share="$prefix/share"
    validate_both "$share/applications/$APP_ID.desktop" "$share/metainfo/$APP_ID.metainfo.xml"
    check_icons "$share/icons/hicolor"
    [[ -f "$share/icons/hicolor/scalable/apps/$APP_ID.svg" ]] || fail "no scalable icon installed"
    exec=$(desktop_key Exec "$share/applications/$APP_ID.desktop")
    [[ -x "$prefix/bin/${exec%% *}" ]] || fail "the launcher runs ${exec%% *}, which is not installed"
    [[ -x "$prefix/bin/sorrelix-cli" ]] || fail "sorrelix-cli is not installed"
    local document
    for document in share/man/man1/sorrelix.1.gz share/man/man1/sorrelix-cli.1.gz \
        share/doc/sorrelix/copyright share/doc/sorrelix/changelog.gz; do
        [[ -f "$prefix/$document" ]] || fail "$document is not installed"
    done
    check_versions "$prefix"
}

# expect_output EXPECTED COMMAND...: COMMAND exits 0 and prints exactly EXPECTED.
expect_output() {
    local expected=$1 output
    shift
    output=$(timeout 30 "$@" 2>&1) || fail "$* exits with $?: $output"
    [[ "$output" == "$expected" ]] || fail "$* prints '$output', not '$expected'"
}

# Both programs and the metadata tell the one version; the window's options end before any
# window opens (the offscreen platform would otherwise let it wait for the timeout).
check_versions() {
    local bin=$1/bin help
    expect_output "sorrelix $VERSION" "$bin/sorrelix" --version
    expect_output "sorrelix-cli $VERSION" "$bin/sorrelix-cli" --version
    help=$(QT_QPA_PLATFORM=offscreen timeout 30 "$bin/sorrelix" --help 2>&1) ||
        fail "sorrelix --help exits with $?: $help"
    [[ "$help" == *--source*--target*--test* ]] || fail "sorrelix --help omits options: $help"
    grep -q "<release version=\"$VERSION\"" "$1/share/metainfo/$APP_ID.metainfo.xml" ||
        fail "the metainfo's release is not $VERSION"
}

# What a packager would run: cpack on this build, then lintian on the package.
check_package() {
    local output deb
    if ! output=$(cpack -G DEB -B "$scratch/package" --config "$BUILD_DIR/CPackConfig.cmake" 2>&1); then
        fail "cpack failed: $output"
        return
    fi
    deb=$(find "$scratch/package" -maxdepth 1 -name 'sorrelix_*.deb' -print -quit)
    if [[ -z "$deb" ]]; then
        fail "cpack made no .deb: $output"
        return
    fi
    output=$(lintian --tag-display-limit 0 --fail-on error,warning "$deb" 2>&1) ||
        fail "lintian reports: $output"
}

main() {
    local tool
    for tool in desktop-file-validate appstreamcli file python3 cmake timeout; do
        require_tool "$tool"
    done
    if [[ "$LINT_PACKAGE" == ON ]]; then
        require_tool cpack
        require_tool lintian
    fi
    validate_both "$DESKTOP" "$METAINFO"
    check_cross_references
    check_icons "$SOURCE_DIR/resources/icons/hicolor"
    check_svg "$SOURCE_DIR/resources/icons/sorrelix.svg"

    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    check_install "$scratch/usr"
    [[ "$LINT_PACKAGE" != ON ]] || check_package

    if [[ $failures -ne 0 ]]; then
        echo "$failures desktop-file check(s) failed" >&2
        exit 1
    fi
    echo "desktop files, icons and their installation are in order"
}

main
