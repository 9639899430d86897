#!/usr/bin/env bash
# check_desktop_files.sh SOURCE_DIR BUILD_DIR
# Validates the desktop entry and the AppStream metadata with the freedesktop tools, checks that
# they name each other, the icon and the programs consistently, that every hicolor PNG exists
# at its size, and that installing the build puts each file where desktops look for it.
set -uo pipefail

readonly SOURCE_DIR=$1 BUILD_DIR=$2
readonly APP_ID=app.sorrelix.Sorrelix
readonly ICON_SIZES=(16 24 32 48 64 128 256 512)
readonly DESKTOP="$SOURCE_DIR/resources/desktop/$APP_ID.desktop"
readonly METAINFO="$SOURCE_DIR/resources/desktop/$APP_ID.metainfo.xml"

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
}

main() {
    local tool
    for tool in desktop-file-validate appstreamcli file python3 cmake; do
        require_tool "$tool"
    done
    validate_both "$DESKTOP" "$METAINFO"
    check_cross_references
    check_icons "$SOURCE_DIR/resources/icons/hicolor"
    check_svg "$SOURCE_DIR/resources/icons/sorrelix.svg"

    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    check_install "$scratch/usr"

    if [[ $failures -ne 0 ]]; then
        echo "$failures desktop-file check(s) failed" >&2
        exit 1
    fi
    echo "desktop files, icons and their installation are in order"
}

main
