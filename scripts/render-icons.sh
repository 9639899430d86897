#!/usr/bin/env bash
# Regenerates the hicolor PNGs of the application icon from resources/icons/sorrelix.svg:
# installs what is missing, builds the normal variant's renderer and writes
# resources/icons/hicolor/<N>x<N>/apps/app.sorrelix.Sorrelix.png. Commit the result.
set -euo pipefail

REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly REPO_ROOT

if [[ -z "${SORRELIX_DEPS_READY:-}" ]]; then
    bash "$REPO_ROOT/scripts/install-deps.sh"
fi
SORRELIX_DEPS_READY=1 bash "$REPO_ROOT/scripts/build.sh" normal sorrelix-render-icons >&2
QT_QPA_PLATFORM=offscreen "$REPO_ROOT/build/bin/sorrelix-render-icons" \
    "$REPO_ROOT/resources/icons/sorrelix.svg" "$REPO_ROOT/resources/icons/hicolor"
