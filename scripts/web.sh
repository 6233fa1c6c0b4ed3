#!/usr/bin/env bash
# Installs what the browser build needs, builds it (build-web/) and serves the page's own
# folder (build-web/page/, nothing else of the build) on http://127.0.0.1:8000/vorlith.html
# (loopback only). Ctrl+C stops the server.
#   ?replay=PATH  plays a replay file served beside the page (e.g. copy one into
#                 build-web/page/)
#   ?trace=1      writes each frame's trace line to the browser's console
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build-web.sh build-web
echo "Vorlith: open http://127.0.0.1:8000/vorlith.html"
cd build-web/page
exec python3 -m http.server 8000 --bind 127.0.0.1
