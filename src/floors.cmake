# The floors of the game's source, lowest first. A folder of src/ includes
# only folders on the floors below its own; folders that share a floor (the
# play itself) lean on each other. The build refuses anything else
# (tests/check_floors.cmake), and the build files take the folder list from
# here.
set(QS_FLOORS
  text                # text rules shared with the score board (header-only: names, URLs, roff)
  platform            # SDL and the operating system, nothing of the game
  core                # frame step and pacing, random numbers, pause and speed, boxes, texts, controls
  config              # settings, run options, paths, the data folder, the record's place
  sound
  render
  entity              # sprite pools, animation, lines
  "player enemy game" # the play: ship, enemies and the stage flow share one frame's state
  boss                # the bosses answer the stages through game/bosses.h
  boardclient         # the score board's client: sending finished games
  pages               # the settings and records pages
  shell)              # start-up, the frame loop, replays, scripts, the bot
