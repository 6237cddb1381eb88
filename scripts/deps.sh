#!/usr/bin/env bash
# Installs the Debian packages QUELLSTORM needs to build, test and play.
# Only what is missing is installed; what is already there is left alone.
# Runs apt-get directly as root, through sudo otherwise.
set -euo pipefail

# deps.sh [run|test]: `run` (the default) is what building and playing
# need; `test` adds the tools of the test suite, benchmarks and fuzzers.
PROFILE=${1:-run}

RUN_PACKAGES=(
  build-essential cmake pkg-config git ccache
  libsdl2-dev libsdl2-mixer-dev libsdl2-ttf-dev libsdl2-image-dev
  libfluidsynth-dev fluidsynth timgm6mb-soundfont libx11-dev libasound2-dev
  fonts-ipafont-mincho fontconfig libfontconfig-dev
  libcairo2-dev
  libinih-dev
  libmicrohttpd-dev libseccomp-dev nlohmann-json3-dev libsqlite3-dev libpq-dev libssl-dev
  libcurl4-openssl-dev
)

TEST_PACKAGES=(
  googletest libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  valgrind
  desktop-file-utils appstream lintian groff-base dpkg-dev file
  xvfb openbox x11-utils xdotool
  postgresql-15 wrk nodejs chromium
  strace systemd
)

case "$PROFILE" in
  run) PACKAGES=("${RUN_PACKAGES[@]}") ;;
  test) PACKAGES=("${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}") ;;
  *) echo "usage: scripts/deps.sh [run|test]" >&2; exit 2 ;;
esac

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "deps: all ${#PACKAGES[@]} packages present"
  exit 0
fi

echo "deps: installing missing packages: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then SUDO="sudo"; else
    echo "deps: not root and no sudo; please install: ${missing[*]}" >&2; exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get -o DPkg::Lock::Timeout=900 update -q
$SUDO apt-get -o DPkg::Lock::Timeout=900 install -y -q --no-install-recommends "${missing[@]}"
echo "deps: done"
