#!/usr/bin/env bash
# Everything the web build and its browser test need, on a fresh Debian 12:
#   - Debian packages and the browser test's node modules (package-lock.json,
#     no browser download): scripts/deps.sh web;
#   - deb-src lines for the machine's mirrors (a private apt folder in the
#     cache; /etc/apt is not touched), then the source packages
#     of SDL2, SDL2_mixer, SDL2_ttf, SDL2_image and FreeType, of the
#     same versions the desktop build links;
#   - those libraries built as WebAssembly static libraries into a cache
#     outside the clone, keyed by the versions:
#       ${XDG_CACHE_HOME:-$HOME/.cache}/quellstorm-web/<key>/prefix
# Safe to run again: what is there is kept. Prints the prefix as its last line.
#
#   scripts/web-deps.sh            install, fetch and build (prints prefix)
#   scripts/web-deps.sh --prefix   only print where the prefix would be
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
JOBS=${JOBS:-$(nproc)}

say() { echo "web-deps: $*" >&2; }
die() { echo "web-deps: ERROR: $*" >&2; exit 1; }

# The source packages and the desktop -dev package whose version they follow.
# (The game draws its own primitives: SDL2_gfx is not linked and not built.)
SOURCES=(libsdl2:libsdl2-dev libsdl2-mixer:libsdl2-mixer-dev libsdl2-ttf:libsdl2-ttf-dev
         libsdl2-image:libsdl2-image-dev freetype:libfreetype-dev)

src_version() {  # source version of the installed desktop package
  dpkg-query -W -f='${source:Version}' "$1" 2>/dev/null || true
}

cache_key() {
  local k="" p src dev v
  k="emcc-$(dpkg-query -W -f='${Version}' emscripten 2>/dev/null || echo none)"
  for p in "${SOURCES[@]}"; do
    src=${p%%:*}; dev=${p#*:}; v=$(src_version "$dev")
    k="$k;$src=$v"
  done
  echo "$k" | sha1sum | cut -c1-12
}

CACHE_ROOT=${QS_WEB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quellstorm-web}

if [ "${1:-}" = "--prefix" ]; then
  echo "$CACHE_ROOT/$(cache_key)/prefix"
  exit 0
fi

# --- 1. Debian packages and node modules ---------------------------------
# The same list `make test` installs before it configures (scripts/deps.sh).
bash scripts/deps.sh web >&2 || die "scripts/deps.sh web failed"
command -v emcc >/dev/null || die "emcc not found after installing emscripten"
command -v chromium >/dev/null || die "chromium not found after installing chromium"

# --- 2. deb-src lines -----------------------------------------------------
# The machine's apt configuration is left as it is: the deb-src lines (same
# URIs, suites and components as the machine's deb entries) and the
# source indexes they bring live in a private apt folder in the cache, and
# only this script's apt calls read it. The machine's keys are used.
APTDIR=$CACHE_ROOT/apt
APT_SRC=(-o Dir::Etc::sourcelist="$APTDIR/sources.list" -o Dir::Etc::sourceparts="$APTDIR/sources.list.d"
         -o Dir::State::lists="$APTDIR/lists" -o Dir::Cache="$APTDIR/cache" -o Debug::NoLocking=1)
# As root apt fetches as the user _apt, who cannot write into our folders.
[ "$(id -u)" -eq 0 ] && APT_SRC+=(-o APT::Sandbox::User=root)
have_src() { apt-cache "${APT_SRC[@]}" showsrc libsdl2 2>/dev/null | grep -q '^Package:'; }
if ! have_src; then
  say "adding deb-src lines for the machine's own mirrors (in $APTDIR, not /etc/apt)"
  rm -rf "$APTDIR"
  mkdir -p "$APTDIR/sources.list.d" "$APTDIR/lists/partial" "$APTDIR/cache/archives/partial"
  : >"$APTDIR/sources.list"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    case "$f" in */quellstorm-deb-src.*) continue ;; esac  # what older versions of this script put there
    awk 'BEGIN{RS=""; ORS="\n\n"} /(^|\n)Types:[^\n]*deb/ && /debian/ {
           gsub(/Types:[^\n]*/, "Types: deb-src"); print }' "$f" >>"$APTDIR/sources.list.d/quellstorm-deb-src.sources"
  done
  if [ -f /etc/apt/sources.list ]; then
    grep -E '^deb ' /etc/apt/sources.list | grep debian | sed 's/^deb /deb-src /' >>"$APTDIR/sources.list" || true
  fi
  apt-get "${APT_SRC[@]}" update -q >&2 || die "apt-get update of the deb-src lines in $APTDIR failed"
  have_src || die "apt knows no source packages (deb-src) even with the lines in $APTDIR"
fi

# --- 3. Source packages ---------------------------------------------------
KEY=$(cache_key)
CACHE=$CACHE_ROOT/$KEY
PREFIX=$CACHE/prefix
mkdir -p "$CACHE/src" "$CACHE/build" "$PREFIX/lib" "$PREFIX/include/SDL2"
say "cache $CACHE"

fetch() {  # fetch SRC DEVPKG -> prints the unpacked folder
  local src=$1 dev=$2 v upv dir
  v=$(src_version "$dev"); [ -n "$v" ] || die "$dev is not installed, cannot tell which $src to fetch"
  upv=${v#*:}; upv=${upv%-*}
  dir=$(ls -d "$CACHE/src/$src-${upv%+dfsg*}"* 2>/dev/null | grep -v '\.tar\|\.dsc\|\.diff' | head -1 || true)
  if [ -z "$dir" ]; then
    ( cd "$CACHE/src" && apt-get "${APT_SRC[@]}" source -q "$src=$v" >&2 ) || {
      # Some packaging tarballs are missing on the mirror; the upstream tarball is enough.
      local orig
      orig=$(ls "$CACHE/src/${src}_${upv}.orig.tar."* 2>/dev/null | head -1 || true)
      [ -n "$orig" ] || die "could not fetch source package $src $v (apt-get source failed, no ${src}_${upv}.orig.tar.* either)"
      say "$src: only the upstream tarball arrived; unpacking $orig"
      mkdir -p "$CACHE/src/$src-$upv"
      tar -xf "$orig" -C "$CACHE/src/$src-$upv" --strip-components=1
    }
    dir=$(ls -d "$CACHE/src/$src-${upv%+dfsg*}"* 2>/dev/null | grep -v '\.tar\|\.dsc\|\.diff' | head -1 || true)
    [ -n "$dir" ] || die "source of $src $v did not unpack under $CACHE/src"
  fi
  echo "$dir"
}

export NODE_PATH=/usr/share/nodejs
EMFLAGS="-O2"
stamp() { [ -f "$CACHE/build/$1.done" ]; }
done_stamp() { touch "$CACHE/build/$1.done"; }

emcmake_build() {  # NAME SRCDIR cmake-args...
  local name=$1 dir=$2; shift 2
  local b=$CACHE/build/$name
  rm -rf "$b"
  say "$name: configuring"
  emcmake cmake -S "$dir" -B "$b" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF \
    -DCMAKE_INSTALL_PREFIX="$PREFIX" -DCMAKE_PREFIX_PATH="$PREFIX" -DCMAKE_FIND_ROOT_PATH="$PREFIX" \
    -DCMAKE_C_FLAGS="$EMFLAGS -I$PREFIX/include/SDL2 -I$PREFIX/include" "$@" >"$b.log" 2>&1 \
    || { tail -30 "$b.log" >&2; die "$name: configure failed (log $b.log)"; }
  say "$name: building"
  cmake --build "$b" -j "$JOBS" >>"$b.log" 2>&1 || { tail -30 "$b.log" >&2; die "$name: build failed (log $b.log)"; }
  cmake --install "$b" >>"$b.log" 2>&1 || { tail -30 "$b.log" >&2; die "$name: install failed (log $b.log)"; }
  done_stamp "$name"
}

DIRS=()
for p in "${SOURCES[@]}"; do DIRS+=("$(fetch "${p%%:*}" "${p#*:}")"); done
SDL_DIR=${DIRS[0]} MIX_DIR=${DIRS[1]} TTF_DIR=${DIRS[2]} IMG_DIR=${DIRS[3]} FT_DIR=${DIRS[4]}

# --- 4. Libraries ---------------------------------------------------------
stamp sdl2 || emcmake_build sdl2 "$SDL_DIR" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_THREADS=OFF
stamp freetype || emcmake_build freetype "$FT_DIR" -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON \
  -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
stamp sdl2_ttf || emcmake_build sdl2_ttf "$TTF_DIR" -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF \
  -DSDL2TTF_SAMPLES=OFF -DSDL2_DIR="$PREFIX/lib/cmake/SDL2" -DFREETYPE_LIBRARY="$PREFIX/lib/libfreetype.a" \
  -DFREETYPE_INCLUDE_DIRS="$PREFIX/include/freetype2"
stamp sdl2_mixer || emcmake_build sdl2_mixer "$MIX_DIR" -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_DEPS_SHARED=OFF \
  -DSDL2MIXER_CMD=OFF -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_VORBIS=STB -DSDL2MIXER_WAVE=ON \
  -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MP3=OFF -DSDL2MIXER_OPUS=OFF \
  -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_MIDI_FLUIDSYNTH=OFF -DSDL2MIXER_MIDI_TIMIDITY=OFF -DSDL2MIXER_MIDI_NATIVE=OFF \
  -DSDL2_DIR="$PREFIX/lib/cmake/SDL2"
stamp sdl2_image || emcmake_build sdl2_image "$IMG_DIR" -DSDL2IMAGE_VENDORED=OFF -DSDL2IMAGE_DEPS_SHARED=OFF \
  -DSDL2IMAGE_SAMPLES=OFF -DSDL2IMAGE_BACKEND_STB=ON -DSDL2IMAGE_PNG=ON -DSDL2IMAGE_JPG=OFF \
  -DSDL2IMAGE_AVIF=OFF -DSDL2IMAGE_JXL=OFF -DSDL2IMAGE_TIF=OFF -DSDL2IMAGE_WEBP=OFF -DSDL2IMAGE_BMP=ON \
  -DSDL2IMAGE_GIF=OFF -DSDL2IMAGE_LBM=OFF -DSDL2IMAGE_PCX=OFF -DSDL2IMAGE_PNM=OFF -DSDL2IMAGE_QOI=OFF \
  -DSDL2IMAGE_SVG=OFF -DSDL2IMAGE_TGA=OFF -DSDL2IMAGE_XCF=OFF -DSDL2IMAGE_XPM=OFF -DSDL2IMAGE_XV=OFF \
  -DSDL2_DIR="$PREFIX/lib/cmake/SDL2"

for l in libSDL2.a libfreetype.a libSDL2_ttf.a libSDL2_mixer.a libSDL2_image.a; do
  [ -f "$PREFIX/lib/$l" ] || die "$l missing in $PREFIX/lib after the build"
done

say "ready"
echo "$PREFIX"
