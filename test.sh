#!/usr/bin/env bash
# Sets up (packages, build, generated data) and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
vessara_install_packages "${VESSARA_WEB_PACKAGES[@]}"

export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

vessara_build build
# The browser build, which the "web" tests open in headless Chromium.
vessara_build_web build-web
ctest --test-dir build -j "$(nproc)" --output-on-failure

# Loaders and the shader compiler again under AddressSanitizer and UBSan,
# driven by the randomized mutation tests. This step runs or fails: every
# tests/fuzz_* folder must give a program with tests, and each must pass.
if [ "${VESSARA_SKIP_SANITIZE:-0}" != 1 ]; then
  if [ ! -f build-asan/build.ninja ]; then
    cmake -S . -B build-asan -G Ninja -DVESSARA_SANITIZE=ON >/dev/null
  fi
  cmake --build build-asan -j "$(nproc)" --target fuzz_tests
  for folder in tests/fuzz_*/; do
    name=$(basename "$folder")
    listed=$(ctest --test-dir build-asan -N -L fuzz -R "^$name\\." | sed -n 's/^Total Tests: //p')
    if [ "${listed:-0}" -eq 0 ]; then
      echo "test.sh: the sanitizer build has no tests of $folder (is $name missing from fuzz_tests?)" >&2
      exit 1
    fi
  done
  ctest --test-dir build-asan -L fuzz --no-tests=error -j "$(nproc)" --output-on-failure
fi
