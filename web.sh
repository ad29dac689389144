#!/usr/bin/env bash
# Sets up and builds the show for web browsers (WebAssembly and WebGL 2) into
# build-web/, then serves it on 127.0.0.1 and prints the address to open.
# PORT picks the port (default 8080). The native build comes first: its
# content tool makes the data the page packs.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
vessara_install_packages "${VESSARA_WEB_PACKAGES[@]}"
vessara_build build
vessara_build_web build-web
echo "web.sh: open the address below in a browser with WebGL 2; Ctrl-C stops the server."
exec python3 tools/web/serve.py build-web "${PORT:-8080}"
