#!/usr/bin/env bash
# `make web`: the browser build in build-web/, the page's files ready to
# serve in build-web/play/ (tools/web/site.py: hashed names, compressed
# copies, the tunes apart). Installs and builds what it needs the first time
# (scripts/web-deps.sh), makes the game's data with the desktop build's
# asset generator (scripts/web-data.sh), then compiles the game with
# Emscripten.
#   BUILD (default build)      the desktop build whose assets are packaged
#   WEB   (default build-web)  the output folder
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
WEB=${WEB:-build-web}
JOBS=${JOBS:-$(nproc)}
export NODE_PATH=/usr/share/nodejs   # emcc needs Debian's node modules
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}

PREFIX=$(bash scripts/web-deps.sh | tail -1)
[ -f "$PREFIX/lib/libSDL2.a" ] || { echo "web: the WebAssembly libraries are missing ($PREFIX)" >&2; exit 1; }

[ -f "$BUILD/CMakeCache.txt" ] || cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQS_TESTS=OFF
cmake --build "$BUILD" -j "$JOBS" --target assets pngpictures
bash scripts/web-data.sh "$BUILD" "$WEB/data" "$WEB/tunes"

if [ ! -f "$WEB/CMakeCache.txt" ]; then
  emcmake cmake -S . -B "$WEB" -DCMAKE_BUILD_TYPE=Release \
    -DQS_WEB_PREFIX="$PREFIX" -DQS_WEB_DATA="$PWD/$WEB/data" >/dev/null
else
  cmake -S . -B "$WEB" -DQS_WEB_PREFIX="$PREFIX" -DQS_WEB_DATA="$PWD/$WEB/data" >/dev/null
fi
cmake --build "$WEB" -j "$JOBS"
for f in index.html index.js index.wasm index.data; do
  [ -f "$WEB/$f" ] || { echo "web: $WEB/$f was not made" >&2; exit 1; }
done
ICON="$BUILD/icons/hicolor/64x64/apps/quellstorm.png"
[ -f "$ICON" ] || { echo "web: $ICON missing (the desktop build's assets)" >&2; exit 1; }
/usr/bin/python3 tools/web/site.py "$WEB" "$WEB/tunes" "$ICON" "$WEB/play"
printf 'web: %s/play/index.html ready: js %s, wasm %s, data %s bytes\n' "$WEB" \
  "$(stat -c %s "$WEB/index.js")" "$(stat -c %s "$WEB/index.wasm")" "$(stat -c %s "$WEB/index.data")"
