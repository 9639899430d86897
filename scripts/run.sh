#!/usr/bin/env bash
# Installs what is missing, builds the normal variant and starts Sorrelix with the given arguments
# (e.g. `run.sh --test` for the self-check, `run.sh --source A --target B`).
set -euo pipefail

REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly REPO_ROOT

bash "$REPO_ROOT/scripts/install-deps.sh"
SORRELIX_DEPS_READY=1 bash "$REPO_ROOT/scripts/build.sh" normal >&2
exec "$REPO_ROOT/build/bin/sorrelix" "$@"
