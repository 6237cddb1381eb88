#!/usr/bin/env bash
# Installs the Debian packages QUELLSTORM needs to build, test and play.
# Only what is missing is installed; what is already there is left alone.
# Runs apt-get directly as root, through sudo otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."

# deps.sh [run|test|web|service]
#   run   (the default) building, installing and playing the game and the
#         board server: the build stops at configure without these
#   web   what the browser build adds: Emscripten, the page's data tools,
#         the browser test's Chromium and node modules (scripts/web-deps.sh
#         then builds the WebAssembly libraries)
#   test  everything the whole suite needs (`make test`): run, web, and the
#         tools of the tests, package checks, benchmarks and fuzzers
#   service  what `make test-service` adds: a Debian root made from the
#         mirror and booted in a container, to install the board's package
#         under a running systemd
PROFILE=${1:-run}

RUN_PACKAGES=(
  build-essential cmake pkg-config git ccache
  libsdl2-dev libsdl2-mixer-dev libsdl2-ttf-dev libsdl2-image-dev
  libfluidsynth-dev fluidsynth timgm6mb-soundfont libx11-dev libasound2-dev
  fonts-ipafont-mincho fontconfig libfontconfig-dev
  libcairo2-dev libpng-dev
  libinih-dev
  libmicrohttpd-dev libseccomp-dev nlohmann-json3-dev libsqlite3-dev libpq-dev libssl-dev
  libcurl4-openssl-dev
)

WEB_PACKAGES=(
  emscripten nodejs chromium dpkg-dev sox python3 python3-munkres python3-fonttools python3-brotli
  libfreetype-dev ca-certificates fluid-soundfont-gm
)
# (python3-munkres first: it answers python3-fonttools' "scipy or munkres",
# which would otherwise bring SciPy and NumPy, neither of which we use.)
# Debian's nodejs comes without npm (a package of its own); a nodejs from
# elsewhere that brings npm conflicts with that package.
command -v npm >/dev/null 2>&1 || WEB_PACKAGES+=(npm)

TEST_PACKAGES=(
  googletest libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  valgrind
  desktop-file-utils appstream lintian groff-base dpkg-dev file
  xvfb openbox x11-utils xdotool
  postgresql-15 wrk
  strace systemd python3
)

SERVICE_PACKAGES=(
  mmdebstrap systemd-container
)

case "$PROFILE" in
  run) PACKAGES=("${RUN_PACKAGES[@]}") ;;
  web) PACKAGES=("${RUN_PACKAGES[@]}" "${WEB_PACKAGES[@]}") ;;
  test) PACKAGES=("${RUN_PACKAGES[@]}" "${WEB_PACKAGES[@]}" "${TEST_PACKAGES[@]}") ;;
  service) PACKAGES=("${SERVICE_PACKAGES[@]}") ;;
  *) echo "usage: scripts/deps.sh [run|test|web|service]" >&2; exit 2 ;;
esac

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
# (A package named twice is asked for once.)
mapfile -t missing < <(printf '%s\n' "${missing[@]}" | awk 'NF && !seen[$0]++')

if [ ${#missing[@]} -eq 0 ]; then
  echo "deps ($PROFILE): all packages present" >&2
else
  echo "deps ($PROFILE): installing missing packages: ${missing[*]}" >&2
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then SUDO="sudo"; else
      echo "deps: not root and no sudo; please install: ${missing[*]}" >&2; exit 1
    fi
  fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get -o DPkg::Lock::Timeout=900 update -q >&2
  $SUDO apt-get -o DPkg::Lock::Timeout=900 install -y -q --no-install-recommends "${missing[@]}" >&2
  echo "deps: done" >&2
fi

# The browser tests' node modules (the page's test and the board's
# hostile-names check), exactly as package-lock.json names them; Debian's
# Chromium is the browser, none is downloaded.
if [ "$PROFILE" != run ] && [ "$PROFILE" != service ] && [ ! -d tests/web/node_modules/puppeteer-core ]; then
  echo "deps ($PROFILE): installing the browser tests' node modules (tests/web)" >&2
  ( cd tests/web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund >&2 ) || {
    echo "deps: npm ci in tests/web failed" >&2; exit 1; }
fi
