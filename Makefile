# QUELLSTORM front door. `make run` plays, `make test` runs every test.
BUILD    ?= build
ASAN     ?= build-asan
JOBS     ?= $(shell nproc)
CMAKE_FLAGS ?=
# ccache keys on paths below the clone, so other clones and work trees share hits.
export CCACHE_BASEDIR ?= $(CURDIR)

.PHONY: all deps deps-test configure build build-game run install package test test-asan asan clean preview bench bench-instr fuzz golden \
        web web-serve test-web board bench-board test-service

all: build

deps:
	@bash scripts/deps.sh run

deps-test:
	@bash scripts/deps.sh test

# Playing needs no test tools: the test programs come with `make test`.
$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQS_TESTS=OFF $(CMAKE_FLAGS)

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The game, its data and its installed files only: no test programs.
GAME_TARGETS = quellstorm assets distfiles pngpictures
build-game: configure
	cmake --build $(BUILD) -j $(JOBS) --target $(GAME_TARGETS)

run: build-game
	cd $(BUILD) && ./quellstorm $(ARGS)

# make install [PREFIX=/usr/local] [DESTDIR=...]
PREFIX ?= /usr/local
install: build-game
	@# The board server, its manual page and settings file too (its install rules are part of the build's).
	cmake --build $(BUILD) -j $(JOBS) --target quellstorm-board boardman boardconf
	DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian packages (quellstorm, quellstorm-data, quellstorm-board) in build-deb/packages/,
# from a build of their own with Debian's hardening flags.
DEB_BUILD ?= build-deb
package: deps-test
	cmake -S . -B $(DEB_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQS_DEB_BUILDFLAGS=ON $(CMAKE_FLAGS)
	cmake --build $(DEB_BUILD) -j $(JOBS) --target $(GAME_TARGETS)
	@# The board server too (its own package).
	cmake --build $(DEB_BUILD) -j $(JOBS) --target quellstorm-board boardman boardconf
	cd $(DEB_BUILD) && cpack -G DEB -B packages
	@ls -l $(DEB_BUILD)/packages/*.deb

# The board's package installed on a Debian 12 with systemd running (a root
# made from the mirror, booted in a container): the service must be active,
# answer on its port and verify a game under its unit. Not part of `make
# test`: it needs root, the mirror and a few minutes.
test-service: package
	@bash scripts/deps.sh service
	timeout 1800 bash scripts/test-service.sh $(DEB_BUILD)/packages

# Every test, on the normal build and then under the sanitizers, the
# fuzzers and the browser build. Everything the whole suite needs is
# installed first, before anything is configured: the Debian packages and
# the browser tests' node modules (scripts/deps.sh test), then the page's
# WebAssembly libraries (scripts/web-deps.sh). (Configured again with the
# tests on: a build folder first made by `make run` has no test programs.)
test: deps-test
	bash scripts/web-deps.sh >/dev/null
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQS_TESTS=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 600 -E '^x11_'
	@# The window tests drive a virtual X server and a window manager that
	@# can lag under load: they run alone and get a second try.
	cd $(BUILD) && ctest --output-on-failure --timeout 600 -R '^x11_' --repeat until-pass:2
	$(MAKE) --no-print-directory test-asan
	$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=30
	$(MAKE) --no-print-directory test-web

# The same suite under AddressSanitizer + UndefinedBehaviorSanitizer. The
# long end-to-end playthroughs are left to the normal build there: the soak
# and the golden replays already play whole stages under the sanitizers.
ASAN_SKIP ?= BossE2E|Boss23E2E|Boss45E2E|Stage5E2E|Stage1Playthrough|StagesE2E|JumpsLand|^x11_
test-asan: deps-test
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQS_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN) -j $(JOBS)
	cd $(ASAN) && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS) --timeout 1500 \
	  -E '$(ASAN_SKIP)'

# Benchmarks, built with optimisation in their own folder.
bench: deps-test
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DQS_BENCH=ON $(CMAKE_FLAGS)
	cmake --build build-bench -j $(JOBS) --target qs_bench qs_framebench quellstorm assets
	./build-bench/qs_bench
	cd build-bench && ./qs_framebench $(REPLAY)
	bash scripts/bench-replay.sh build-bench $(REPLAY)
	bash scripts/bench-cpu.sh build-bench $(REPLAY)
	bash scripts/bench-pace.sh build-bench $(REPLAY)

# Instructions per frame under callgrind (valgrind): exact, whatever the load.
bench-instr: deps-test
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DQS_BENCH=ON $(CMAKE_FLAGS)
	cmake --build build-bench -j $(JOBS) --target qs_framebench quellstorm assets
	bash scripts/bench-instr.sh build-bench $(REPLAY)

# Fuzzing the readers of outside data (WAV, score file, replay, bitmap,
# settings file, MIDI), and a kept replay's start made into a game and
# played for 500 frames (replay_start).
# Each target runs FUZZ_SECONDS; new finds go to build-fuzz/finds/.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = wave score replay replay_start bmp config midi
fuzz: deps-test
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQS_FUZZ=ON $(CMAKE_FLAGS)
	cmake --build build-fuzz -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p build-fuzz/corpus/$$t build-fuzz/finds/$$t; \
	  echo "fuzz: $$t for $(FUZZ_SECONDS) s"; \
	  ASAN_OPTIONS=detect_leaks=0 ./build-fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    -artifact_prefix=build-fuzz/finds/$$t/ build-fuzz/corpus/$$t fuzz/corpus/$$t 2>&1 \
	    | grep -E 'stat::number_of_executed_units|stat::average_exec_per_sec|ERROR|SUMMARY|Done' || exit 1; \
	  ls build-fuzz/finds/$$t | grep -q . && { echo "fuzz: $$t found a failing input in build-fuzz/finds/$$t"; exit 1; } || true; \
	done

# Contact sheet of every bitmap (build/preview/contact.png, one PNG per sheet
# under build/preview/sheets/) and every tune rendered to a WAV through
# FluidSynth (build/preview/music/).
SOUNDFONT ?= /usr/share/sounds/sf2/default-GM.sf2
preview: build
	$(BUILD)/tools/assetgen/qs_assetgen --preview $(BUILD) $(BUILD)/preview
	mkdir -p $(BUILD)/preview/music
	for f in $(BUILD)/MIDI/*; do \
	  n=$$(basename "$$f"); \
	  fluidsynth -ni -q -F "$(BUILD)/preview/music/$${n%.*}.wav" $(SOUNDFONT) "$$f" >/dev/null || exit 1; \
	done
	@echo "preview: $(BUILD)/preview/music/*.wav"

# Re-records the golden replays from their key scripts (tests/golden/*.keys,
# each with a "# frames: N" line). Only after a change meant to alter play.
golden: build
	@for k in tests/golden/*.keys; do \
	  n=$$(sed -n 's/^# frames: *//p' $$k); b=$$(sed -n 's/^# bot: *//p' $$k); h=$$(mktemp -d); \
	  src="--script $$k"; [ -n "$$b" ] && src="--bot $$b"; \
	  grep -q '^# invincible' $$k && src="$$src --invincible"; \
	  echo "golden: $$k ($$n frames)"; \
	  $(BUILD)/quellstorm --headless --home $$h --frames $$n $$src --record $${k%.keys}.qsr >/dev/null 2>&1 || exit 1; \
	  rm -rf $$h; \
	done

# The browser build (Emscripten) in build-web/; the first run installs
# emscripten and chromium and builds the WebAssembly libraries into
# ~/.cache/quellstorm-web/ (scripts/web-deps.sh).
WEB ?= build-web
WEB_PORT ?= 8080
web:
	@BUILD=$(BUILD) WEB=$(WEB) bash scripts/web-build.sh

# The page's files (build-web/play/) with their compressed copies and cache
# rules, as a real server should hand them out (Ctrl+C stops).
web-serve: web
	@/usr/bin/python3 scripts/web-serve.py $(WEB)/play --port $(WEB_PORT)

# The browser build checked in headless Chromium: its data (every text's
# letters in the cut font, the packed pictures), then the page itself (see
# tests/web/browser_test.mjs).
test-web: web
	@cmake --build $(BUILD) -j $(JOBS) --target quellstorm quellstorm-board
	@/usr/bin/python3 tests/web/glyphs_test.py src $(WEB)/data $(BUILD)
	@QS_BOARD_BIN=$(abspath $(BUILD))/quellstorm-board QS_GAME_BIN=$(abspath $(BUILD))/quellstorm node tests/web/browser_test.mjs $(WEB)/play tests/golden

# The score board (quellstorm-board) on this machine: a SQLite file in the
# XDG data folder, verifiers on every core, the web build under /play/ when
# it has been built. BOARD_DB=postgresql://... uses PostgreSQL instead.
BOARD_PORT ?= 8090
BOARD_DB ?= $(or $(XDG_DATA_HOME),$(HOME)/.local/share)/quellstorm/board.sqlite
board: configure
	cmake --build $(BUILD) -j $(JOBS) --target quellstorm-board quellstorm assets
	@echo "board: http://127.0.0.1:$(BOARD_PORT)/ (database $(BOARD_DB); Ctrl+C stops)"
	$(BUILD)/quellstorm-board serve --listen 127.0.0.1:$(BOARD_PORT) --db "$(BOARD_DB)" $(ARGS)

# The board's reads per second and their p99 latency (wrk) on SQLite and on
# a throw-away PostgreSQL, a burst of 500 submissions drained by 1 and by 2
# verifiers, and the verifiers' game frames per second per core.
bench-board: deps-test
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build build-bench -j $(JOBS) --target quellstorm-board quellstorm assets
	python3 scripts/bench-board.py build-bench

clean:
	rm -rf $(BUILD) $(ASAN) build-bench build-fuzz $(WEB)
