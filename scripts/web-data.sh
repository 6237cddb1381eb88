#!/usr/bin/env bash
# The game's data as the browser build packages it, from a desktop build's
# generated assets (its targets `assets` and `pngpictures`):
#   BMP/, BG/  pictures as PNG (X.bmp -> X.bmp.png; the game loads either),
#              the same files the packages install
#   SE/        the effects as they are
#   MIDI/      the tunes as MIDI files (the game checks them)
#   font/      the Japanese face cut to the characters the game draws, its
#              licence and how to put the original back (tools/web/cut_font.py)
# and, outside the package (the page fetches them after the start), every
# tune rendered by FluidSynth with the Fluid R3 sound font into Ogg Vorbis:
#   TUNES_DIR/MIDI/X.ogg   for MIDI/X.mid
#
#   scripts/web-data.sh HOST_BUILD_DIR OUT_DIR TUNES_DIR
# Only what changed is made again.
set -euo pipefail
HOST=${1:?usage: scripts/web-data.sh HOST_BUILD_DIR OUT_DIR}
OUT=${2:?usage: scripts/web-data.sh HOST_BUILD_DIR OUT_DIR TUNES_DIR}
TUNES=${3:?usage: scripts/web-data.sh HOST_BUILD_DIR OUT_DIR TUNES_DIR}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
PY=/usr/bin/python3
die() { echo "web-data: ERROR: $*" >&2; exit 1; }

for d in SE MIDI png/BMP png/BG; do
  [ -d "$HOST/$d" ] || die "$HOST/$d missing: build the desktop targets 'assets pngpictures' first"
done
for t in fluidsynth sox; do command -v $t >/dev/null || die "$t not installed (scripts/web-deps.sh installs it)"; done
# The tunes are recorded with the Fluid R3 General MIDI sound font: its
# licence (Expat) lets a recording of our tunes made with its samples be
# passed on under ours; TimGM6mb's (GPL version 2 only) would not.
SOUNDFONT=/usr/share/sounds/sf2/FluidR3_GM.sf2
[ -r "$SOUNDFONT" ] || die "$SOUNDFONT missing (Debian package fluid-soundfont-gm; scripts/deps.sh web installs it)"
FONT=/usr/share/fonts/opentype/ipafont-mincho/ipamp.ttf
[ -r "$FONT" ] || die "$FONT missing (fonts-ipafont-mincho)"

mkdir -p "$OUT/BMP" "$OUT/BG" "$OUT/SE" "$OUT/MIDI" "$OUT/font" "$TUNES/MIDI"
# Rendered tunes of an older layout (inside the package) move out of it.
for ogg in "$OUT"/MIDI/*.ogg; do [ -e "$ogg" ] && mv -f "$ogg" "$TUNES/MIDI/"; done
for d in BMP BG; do
  rm -f "$OUT/$d"/*.tmp
  for png in "$HOST/png/$d"/*.png; do
    cmp -s "$png" "$OUT/$d/${png##*/}" || cp "$png" "$OUT/$d/"
  done
done
cp -u "$HOST"/SE/* "$OUT/SE/"
# The MIDI files too: the game checks each tune before the page plays its
# rendered Ogg file.
cp -u "$HOST"/MIDI/* "$OUT/MIDI/"

newer() { [ ! -e "$2" ] || [ "$1" -nt "$2" ]; }
# Recorded with another sound font: every tune again.
if [ "$(cat "$TUNES/soundfont.txt" 2>/dev/null)" != "$SOUNDFONT" ]; then
  rm -f "$TUNES"/MIDI/*.ogg
  echo "$SOUNDFONT" >"$TUNES/soundfont.txt"
fi
for mid in "$HOST"/MIDI/*; do
  name=$(basename "$mid")
  ogg="$TUNES/MIDI/${name%.*}.ogg"
  newer "$mid" "$ogg" || continue
  wav=$(mktemp --suffix=.wav)
  fluidsynth -ni -q -r 44100 -F "$wav" "$SOUNDFONT" "$mid" >/dev/null 2>&1 || { rm -f "$wav"; die "fluidsynth could not render $mid"; }
  sox "$wav" -C 3 "$ogg.tmp.ogg" || { rm -f "$wav"; die "sox could not encode $mid"; }
  rm -f "$wav"
  mv "$ogg.tmp.ogg" "$ogg"
done

chars=$(mktemp)
$PY "$ROOT/tools/web/game_texts.py" "$ROOT/src" >"$chars"
# The face cut to those characters and renamed, with its licence and the
# way back to the original (the IPA Font License's terms for a derived font).
if ! cmp -s "$chars" "$OUT/font/chars.txt" || [ ! -e "$OUT/font/quellstorm.ttf" ] ||
   [ "$ROOT/tools/web/cut_font.py" -nt "$OUT/font/quellstorm.ttf" ]; then
  $PY "$ROOT/tools/web/cut_font.py" "$FONT" "$chars" "$OUT/font" || die "cutting the font failed"
  cp "$chars" "$OUT/font/chars.txt"
fi
rm -f "$chars"
# The link step packages the data again only when something here changed.
if [ ! -e "$OUT/.stamp" ] || [ -n "$(find "$OUT" -newer "$OUT/.stamp" -type f -print -quit)" ]; then
  touch "$OUT/.stamp"
fi
du -sh "$OUT" "$TUNES" | sed 's/^/web-data: /'
