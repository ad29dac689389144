# Shared set-up for run.sh and test.sh: install missing Debian packages,
# configure and build. Sourced, not run.

VESSARA_PACKAGES=(
  g++ cmake ninja-build pkg-config
  libsdl2-dev libepoxy-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri libegl-mesa0 libegl-dev
  libstb-dev libmpg123-dev libmp3lame-dev fonts-dejavu-core
  libgtest-dev ffmpeg xvfb xauth glslang-tools
)

# The browser build and its tests: Emscripten to compile, Chromium (driven
# by Node) to watch the page headless, Python to serve it.
VESSARA_WEB_PACKAGES=(emscripten chromium nodejs python3)

# vessara_install_packages [more packages...]: the show's packages and those.
vessara_install_packages() {
  local missing=()
  local p
  for p in "${VESSARA_PACKAGES[@]}" "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Install them as root with:" >&2
    echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

# vessara_build DIR [cmake options...]: configure once, then build.
vessara_build() {
  local dir=$1; shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  fi
  cmake --build "$dir" -j "$(nproc)"
}

# vessara_build_web DIR: the browser build (the page, vessara.js, .wasm and
# .data) in DIR. The content must have been generated (vessara_build first).
vessara_build_web() {
  local dir=$1
  # Debian's Emscripten finds its Node modules here.
  export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
  if [ ! -f "$dir/build.ninja" ]; then
    emcmake cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  fi
  cmake --build "$dir" -j "$(nproc)"
}
