#!/usr/bin/env bash
# The installed game, as a player or a packager gets it.
#   install_test.sh tree    BUILD SOURCE  make install into a DESTDIR and play from there
#   install_test.sh package BUILD SOURCE  the .deb: its dependencies, its contents played, lintian
#   install_test.sh files   BUILD SOURCE  desktop entry, metainfo and manual page validated
set -euo pipefail
mode=$1
build=$(cd "$2" && pwd)
src=$(cd "$3" && pwd)
tmp=$(mktemp -d /tmp/qs_install_XXXXXX)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
mkdir -p "$tmp/elsewhere" "$tmp/home"
printf '300 press ESC\n' >"$tmp/esc.txt"

# runs PROGRAM with ARGS from a folder of its own, with a fresh home, the
# user data folder $xdg and the shared data folders $dirs; stderr in $tmp/err
run() {
  (cd "$tmp/elsewhere" && HOME="$tmp/home" XDG_DATA_HOME="$xdg" XDG_DATA_DIRS="$dirs" "$@") 2>"$tmp/err"
}

# The title picture of the build folder's own game, to compare with.
"$build/quellstorm" --headless --home "$tmp/home" --frames 250 --shot "250:$tmp/title-build.png" 2>/dev/null ||
  fail "the built game does not run"

# PROGRAM finds its data from where it lies, draws the same title as the
# build, and keeps its record in $XDG_DATA_HOME/quellstorm/ (a second run
# reads it back without a load box).
plays_and_keeps_its_record() {
  local prog=$1 name=$2
  xdg="$tmp/xdg-$name" dirs="$tmp/nowhere"
  run "$prog" --headless --frames 400 --script "$tmp/esc.txt" --shot "250:$tmp/title-$name.png" ||
    fail "$name: exit $? ($(cat "$tmp/err"))"
  cmp -s "$tmp/title-build.png" "$tmp/title-$name.png" || fail "$name: the title differs from the build's"
  local rec="$xdg/quellstorm/score.dat"
  [ "$(stat -c %s "$rec" 2>/dev/null)" = 1088 ] || fail "$name: no 1088-byte record in $rec"
  cp "$rec" "$tmp/first.dat"
  run "$prog" --headless --frames 400 --script "$tmp/esc.txt" || fail "$name: second run: exit $?"
  if grep -q "ロードできない" "$tmp/err"; then fail "$name: the second run could not load the record"; fi
  [ "$(stat -c %s "$rec")" = 1088 ] || fail "$name: the second save is not 1088 bytes"
  # Read back: the games-started count and the rest came through.
  cmp -s <(head -c 1056 "$rec") <(head -c 1056 "$tmp/first.dat") || fail "$name: the record changed between runs"
  echo "ok: $name plays from $(dirname "$prog") and keeps its record in \$XDG_DATA_HOME/quellstorm"
}

case "$mode" in
tree)
  root="$tmp/root"
  DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
  prog="$root/usr/games/quellstorm"
  for f in "$prog" "$root/usr/share/quellstorm/BMP/player.bmp.png" "$root/usr/share/quellstorm/MIDI" \
    "$root/usr/share/applications/io.github.quellstorm.Quellstorm.desktop" \
    "$root/usr/share/metainfo/io.github.quellstorm.Quellstorm.metainfo.xml" \
    "$root/usr/share/mime/packages/quellstorm.xml" "$root/usr/share/man/man6/quellstorm.6.gz" \
    "$root/usr/share/icons/hicolor/48x48/apps/quellstorm.png" "$root/usr/share/icons/hicolor/256x256/apps/quellstorm.png"; do
    [ -e "$f" ] || fail "not installed: ${f#$root}"
  done
  # Every picture installed as a PNG file that reads back (through libpng)
  # as the game's 5-6-5 pixels of the build's BMP file.
  for d in BMP BG; do
    "$build/tools/assetgen/qs_assetgen" --check-png "$build/$d" "$root/usr/share/quellstorm/$d" >/dev/null ||
      fail "the installed $d pictures are not the build's"
  done
  [ -z "$(find "$root/usr/share/quellstorm" -iname '*.bmp')" ] || fail "BMP files installed beside the PNG files"
  plays_and_keeps_its_record "$prog" destdir

  # The same program alone in another folder finds the data through
  # $XDG_DATA_DIRS, and with no data anywhere it names every place it
  # searched and stops before opening a window.
  mkdir -p "$tmp/bare/bin"
  cp "$prog" "$tmp/bare/bin/"
  xdg="$tmp/xdg-bare" dirs="$tmp/none:$root/usr/share"
  run "$tmp/bare/bin/quellstorm" --headless --frames 250 --shot "250:$tmp/title-bare.png" || fail "XDG_DATA_DIRS: exit $?"
  cmp -s "$tmp/title-build.png" "$tmp/title-bare.png" || fail "the data in XDG_DATA_DIRS was not used"
  dirs="$tmp/none:$tmp/none2"
  if run "$tmp/bare/bin/quellstorm" --frames 10; then fail "no data, yet exit 0"; fi
  for d in "$tmp/bare/bin/" "$tmp/bare/share/quellstorm/" "$tmp/none/quellstorm/" "$tmp/none2/quellstorm/"; do
    grep -qF "  $d" "$tmp/err" || fail "the no-data message does not name $d: $(cat "$tmp/err")"
  done
  [ "$(grep -c . "$tmp/err")" -le 8 ] || fail "more than one message without data: $(cat "$tmp/err")"

  # A record beside the program, in a folder it may write (a build
  # folder), stays there.
  printf '\x40\xe2\x01' | dd of="$tmp/old.dat" bs=1 seek=8 conv=notrunc 2>/dev/null  # high score 123456
  truncate -s 1088 "$tmp/old.dat"
  cp "$tmp/old.dat" "$root/usr/games/score.dat"
  xdg="$tmp/xdg-beside" dirs="$tmp/nowhere"
  run "$prog" --headless --frames 400 --script "$tmp/esc.txt" || fail "beside: exit $?"
  if grep -q "ロードできない" "$tmp/err"; then fail "the record beside the program was not read"; fi
  [ ! -e "$xdg/quellstorm" ] || fail "a record beside the program was not used in place"
  cmp -s <(head -c 16 "$root/usr/games/score.dat") <(head -c 16 "$tmp/old.dat") || fail "the high score beside the program was lost"
  cmp -s "$root/usr/games/score.dat" "$tmp/old.dat" && fail "the record beside the program was not saved"
  echo "ok: a record beside the program is used in place"

  # The options a player reads about.
  out=$("$prog" --version) || fail "--version: exit $?"
  [[ "$out" =~ ^quellstorm\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version printed '$out'"
  # (grep reads it all: with -q it could leave early and the help die of a broken pipe)
  "$prog" --help 2>/dev/null | grep "^usage: quellstorm" >/dev/null || fail "--help does not print the usage to standard output"
  # A replay given alone plays (the file manager opens one so).
  xdg="$tmp/xdg-replay" dirs="$tmp/nowhere"
  run "$prog" --headless --verify "$src/tests/golden/bomb_barrage.qsr" || fail "a replay given alone: exit $? ($(cat "$tmp/err"))"
  ;;

package)
  cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp/pkg" >"$tmp/cpack.log" 2>&1 || { cat "$tmp/cpack.log"; fail "cpack"; }
  deb=$(ls "$tmp"/pkg/quellstorm_*.deb) && data=$(ls "$tmp"/pkg/quellstorm-data_*.deb) ||
    fail "not the two packages quellstorm and quellstorm-data: $(ls "$tmp/pkg")"
  # The score board is a package of its own beside the game.
  board=$(ls "$tmp"/pkg/quellstorm-board_*.deb) || fail "no quellstorm-board package"
  case "$(dpkg-deb -c "$board")" in *" ./usr/bin/quellstorm-board"*) ;; *) fail "the board package lacks its program" ;; esac
  case "$(dpkg-deb -c "$board")" in *" ./usr/share/man/man1/quellstorm-board.1.gz"*) ;;
    *) fail "the board package lacks its manual page" ;; esac
  case "$(dpkg-deb -c "$deb")" in *quellstorm-board*) fail "the game package holds the board" ;; esac
  # As a service: its units pass systemd's checks, hardened to an
  # exposure of 2.0 at most; its settings file names every option.
  broot="$tmp/board-root"
  dpkg-deb -x "$board" "$broot"
  for f in lib/systemd/system/quellstorm-board.service "lib/systemd/system/quellstorm-board-worker@.service" \
    etc/quellstorm-board.conf usr/share/doc/quellstorm-board/examples/nginx-site.conf; do
    [ -e "$broot/$f" ] || fail "the board package lacks /$f"
  done
  dpkg-deb -I "$board" conffiles | grep -qx /etc/quellstorm-board.conf || fail "the settings file is not a conffile"
  for opt in $("$build/quellstorm-board" --help | grep -oE -- '--[a-z-]+' | sort -u); do
    [ "$opt" = --config ] || grep -qE "^#?${opt#--} =" "$broot/etc/quellstorm-board.conf" ||
      fail "the settings file lacks $opt"
  done
  cp -a /lib/systemd/system/. "$broot/lib/systemd/system/"  # the targets the units name
  systemd-analyze verify --man=no --root="$broot" /lib/systemd/system/quellstorm-board.service \
    "/lib/systemd/system/quellstorm-board-worker@1.service" >"$tmp/verify" 2>&1 || fail "systemd-analyze verify: $(cat "$tmp/verify")"
  [ ! -s "$tmp/verify" ] || fail "systemd-analyze verify: $(cat "$tmp/verify")"
  for unit in quellstorm-board.service "quellstorm-board-worker@.service"; do
    systemd-analyze security --offline=true --threshold=20 "$broot/lib/systemd/system/$unit" >"$tmp/security" 2>&1 ||
      fail "$unit: exposure over 2.0: $(tail -1 "$tmp/security")"
    echo "ok: $(tail -1 "$tmp/security")"
  done
  # Each package says it is free software under the GPL version 3 or later.
  for p in "$deb" "$data" "$board"; do
    dpkg-deb --fsys-tarfile "$p" | tar -xO --wildcards './usr/share/doc/*/copyright' 2>/dev/null |
      grep -q "^License: GPL-3+" || fail "$(basename "$p"): its copyright file does not give the GPL-3+ licence"
  done
  depends=$(dpkg-deb -f "$deb" Depends)
  for p in libsdl2-2.0-0 libsdl2-mixer-2.0-0 libsdl2-ttf-2.0-0 libfontconfig1 fonts-ipafont-mincho timgm6mb-soundfont \
    "quellstorm-data (= $(dpkg-deb -f "$data" Version))"; do
    [[ "$depends" == *"$p"* ]] || fail "the package does not depend on $p: $depends"
  done
  [ "$(dpkg-deb -f "$data" Architecture)" = all ] || fail "quellstorm-data is not Architecture: all"
  # The program and what the desktop needs of it in one, the data alone
  # (pictures as PNG) in the other.
  dpkg-deb -c "$deb" >"$tmp/game.list" && dpkg-deb -c "$data" >"$tmp/data.list" || fail "dpkg-deb -c"
  grep -q "/usr/share/quellstorm/" "$tmp/game.list" && fail "game data in the program's package"
  grep -qE "/usr/(games|share/applications|share/man)/" "$tmp/data.list" && fail "the program's files in the data package"
  grep -q "/usr/share/quellstorm/BMP/player.bmp.png" "$tmp/data.list" || fail "the pictures are not PNG files"
  # Installed into a root of their own (a dpkg database of its own; nothing
  # of this machine's is touched), played from another folder, removed.
  root="$tmp/root"
  mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
  : >"$root/var/lib/dpkg/status"
  dpkg_root() { dpkg --root="$root" --force-not-root --force-depends --log=/dev/null "$@" >>"$tmp/dpkg.log" 2>&1; }
  dpkg_root -i "$data" "$deb" || fail "dpkg -i: $(cat "$tmp/dpkg.log")"
  plays_and_keeps_its_record "$root/usr/games/quellstorm" package
  dpkg_root --purge quellstorm quellstorm-data || fail "dpkg --purge: $(cat "$tmp/dpkg.log")"
  left=$(find "$root" -type f -not -path "$root/var/lib/dpkg/*")
  [ -z "$left" ] || fail "files left after the packages were removed: $left"
  # Exit 0: no error or warning (informational and pedantic tags shown);
  # 1: errors or warnings found; 2: lintian itself failed.
  rc=0
  lintian -I --pedantic --fail-on error,warning --tag-display-limit 0 "$deb" "$data" "$board" >"$tmp/lintian" 2>&1 || rc=$?
  grep -v "root privileges" "$tmp/lintian" || true
  [ $rc = 0 ] || fail "lintian exit $rc"
  echo "ok: $(basename "$deb") and $(basename "$data") install, play, remove cleanly and pass lintian"
  ;;

files)
  desktop-file-validate "$src/dist/io.github.quellstorm.Quellstorm.desktop" || fail "desktop-file-validate"
  appstreamcli validate --no-net "$src/dist/io.github.quellstorm.Quellstorm.metainfo.xml" || fail "appstreamcli validate"
  # The page as the build makes it (its options and settings from the game).
  groff -man -ww -z "$build/dist/quellstorm.6" 2>"$tmp/groff"
  [ ! -s "$tmp/groff" ] || fail "groff: $(cat "$tmp/groff")"
  for opt in $("$build/quellstorm" --help | grep -oE -- '--[a-z-]+' | sort -u); do
    grep -qF -- "${opt//-/\\-}" "$build/dist/quellstorm.6" || fail "the manual page does not document $opt"
  done
  # The board's page, its options from the board's own table.
  if [ -x "$build/quellstorm-board" ]; then
    groff -man -ww -z "$build/dist/quellstorm-board.1" 2>"$tmp/groff"
    [ ! -s "$tmp/groff" ] || fail "groff (board): $(cat "$tmp/groff")"
    for opt in $("$build/quellstorm-board" --help | grep -oE -- '--[a-z-]+' | sort -u); do
      grep -qF -- "${opt//-/\\-}" "$build/dist/quellstorm-board.1" || fail "the board's manual page does not document $opt"
    done
  fi
  echo "ok: desktop entry, metainfo and manual page"
  ;;
*) fail "unknown mode $mode" ;;
esac
