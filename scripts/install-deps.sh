#!/usr/bin/env bash
# Installs every Debian 12 package that building, testing and benchmarking Sorrelix uses.
# A warm machine costs one dpkg-query; apt only runs when something is missing.
set -euo pipefail

PACKAGES=(
    # toolchain
    build-essential cmake ninja-build pkg-config git ccache
    # Qt 6.4 with its tools (moc, lrelease, lupdate) and the SVG module for the icon
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
    qt6-svg-dev libqt6svg6 libgl-dev
    # tests
    libgtest-dev libgmock-dev googletest
    # scratch file systems and the tools the benchmark compares against
    xfsprogs e2fsprogs util-linux mount rsync diffutils coreutils acl attr time eatmydata
    openssh-server openssh-client sshfs fuse3
    libacl1-dev libattr1-dev
    # formatting and linting
    clang-format clang-tidy
    # fault injection, fuzzing (libFuzzer ships in clang's runtime) and the thread sanitizer
    strace clang llvm libclang-rt-14-dev
    # desktop integration checks and the Debian package
    appstream desktop-file-utils dpkg-dev file lintian
    python3
    # headless window tests: private session bus, virtual display, fonts for every language
    dbus dbus-x11 xauth xvfb fonts-noto-core fonts-noto-cjk
)

missing_packages() {
    local package status
    for package in "${PACKAGES[@]}"; do
        status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
        if [[ "$status" != "installed" ]]; then
            printf '%s\n' "$package"
        fi
    done
}

as_root() {
    if [[ $EUID -eq 0 ]]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "install-deps: missing packages need root (run as root or install sudo)" >&2
        exit 1
    fi
}

main() {
    local -a missing
    mapfile -t missing < <(missing_packages)
    if [[ ${#missing[@]} -eq 0 ]]; then
        return 0
    fi
    echo "install-deps: installing ${missing[*]}" >&2
    export DEBIAN_FRONTEND=noninteractive
    as_root apt-get update -q
    as_root apt-get install -y -q --no-install-recommends "${missing[@]}"
}

main "$@"
