#!/usr/bin/env bash
# Runs a command on a private virtual X display (Mesa llvmpipe renders GL there).
set -euo pipefail
exec xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp" "$@"
