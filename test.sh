#!/usr/bin/env bash
# Sets up (packages, build, generated data) and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
vessara_install_packages

export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

vessara_build build
ctest --test-dir build -j "$(nproc)" --output-on-failure

# Loaders and the shader compiler again under AddressSanitizer and UBSan,
# driven by the randomized mutation tests.
if [ "${VESSARA_SKIP_SANITIZE:-0}" != 1 ]; then
  if [ ! -f build-asan/build.ninja ]; then
    cmake -S . -B build-asan -G Ninja -DVESSARA_SANITIZE=ON >/dev/null
  fi
  if cmake --build build-asan --target help | grep -q '^fuzz_tests'; then
    cmake --build build-asan -j "$(nproc)" --target fuzz_tests
    ctest --test-dir build-asan -L fuzz -j "$(nproc)" --output-on-failure
  fi
fi
