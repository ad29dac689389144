#!/usr/bin/env bash
# Sets up (packages, build, generated data) and plays the show.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
vessara_install_packages
vessara_build build

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found (DISPLAY is not set): cannot open the demo window." >&2
  exit 1
fi
exec build/vessara "$@"
