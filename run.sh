#!/usr/bin/env bash
# Sets up (packages, build, generated data) and plays the show.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
vessara_install_packages
vessara_build build

if [ $# -eq 0 ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  # No window to play in: render the show offscreen at 60 fps instead.
  # (With options, such as --help, the show itself is started.)
  out=show.mp4
  command -v ffmpeg >/dev/null || out=show/
  echo "No display found (DISPLAY is not set): capturing the show to $out instead (this takes a while)." >&2
  build/vessara-capture --out "$out"
  echo "The show is in $PWD/$out"
  exit 0
fi
exec build/vessara "$@"
