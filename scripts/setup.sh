# Shared set-up for run.sh and test.sh: install missing Debian packages,
# configure and build. Sourced, not run.

VESSARA_PACKAGES=(
  g++ cmake ninja-build pkg-config
  libsdl2-dev libepoxy-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri libegl-mesa0 libegl-dev
  libstb-dev libmpg123-dev libmp3lame-dev fonts-dejavu-core
  libgtest-dev ffmpeg xvfb xauth glslang-tools
)

vessara_install_packages() {
  local missing=()
  local p
  for p in "${VESSARA_PACKAGES[@]}"; do
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
