#!/usr/bin/env bash
# Installs what is missing, builds the normal variant and starts Sorrelix with the given arguments
# (e.g. `run.sh --test` for the self-check, `run.sh --source A --target B`).
set -euo pipefail

REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly REPO_ROOT

bash "$REPO_ROOT/scripts/install-deps.sh"
SORRELIX_DEPS_READY=1 bash "$REPO_ROOT/scripts/build.sh" normal >&2
program="$REPO_ROOT/build/bin/sorrelix"
# The self-check needs no display; the window does. On a machine without one (a server, a
# container) the window still starts, on a virtual X display, so the command never just fails.
if [[ " $* " == *" --test "* || -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
    exec "$program" "$@"
fi
echo "run: no display (DISPLAY and WAYLAND_DISPLAY are unset): starting Sorrelix on a virtual X display (xvfb-run)" >&2
exec xvfb-run -a -s "-screen 0 1280x800x24" "$program" "$@"
