#!/usr/bin/env bash
# The board's package on a host with systemd running: a Debian 12 root made
# from the mirror (mmdebstrap), booted in a container (systemd-nspawn), the
# packages installed there with apt, then quellstorm-board.service must be
# active, answer on its port and verify a genuine game under its unit's
# hardening. Then the same host set up for PostgreSQL as docs/board.md tells
# it (a role and database, the settings file, the service restarted, two
# quellstorm-board-worker@ instances enabled): a genuine game must be
# verified by a worker. Needs root and the mirror (deb.debian.org, or
# MIRROR=...); bounded in time; whatever fails, the container is stopped and
# its root removed.
#
#   test-service.sh PACKAGES_DIR     (quellstorm*_*.deb, as `make package` makes them)
#
# Tools: mmdebstrap, systemd-container (scripts/deps.sh service).
set -euo pipefail

PKGS=$(cd "${1:?usage: test-service.sh PACKAGES_DIR}" && pwd)
MIRROR=${MIRROR:-http://deb.debian.org/debian}
PORT=8090  # the installed settings file's own

for t in mmdebstrap:mmdebstrap systemd-nspawn:systemd-container nsenter:util-linux; do
  command -v "${t%%:*}" >/dev/null || { echo "test-service: ${t%%:*} is missing (Debian package ${t#*:};" \
    "scripts/deps.sh service)" >&2; exit 1; }
done
[ "$(id -u)" -eq 0 ] || { echo "test-service: must run as root (it boots a container)" >&2; exit 1; }
debs=("$PKGS"/quellstorm_*.deb "$PKGS"/quellstorm-data_*.deb "$PKGS"/quellstorm-board_*.deb)
for d in "${debs[@]}"; do [ -f "$d" ] || { echo "test-service: no $d (make package)" >&2; exit 1; }; done

WORK=$(mktemp -d /var/tmp/qs-service-XXXXXX)
ROOTFS=$WORK/root
NSPAWN=
cleanup() {
  if [ -n "$NSPAWN" ] && kill -0 "$NSPAWN" 2>/dev/null; then
    # SIGTERM: the container's systemd powers off; then SIGKILL if it lingers.
    kill -TERM "$NSPAWN" 2>/dev/null || true
    for _ in $(seq 60); do kill -0 "$NSPAWN" 2>/dev/null || break; sleep 0.5; done
    kill -KILL "$NSPAWN" 2>/dev/null || true
    wait "$NSPAWN" 2>/dev/null || true
  fi
  rm -rf --one-file-system "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
  echo "test-service: FAIL $*" >&2
  if [ -n "${LEADER:-}" ]; then
    echo "--- the service's journal:" >&2
    inside journalctl -u quellstorm-board.service -u 'quellstorm-board-worker@*' -u 'postgresql*' \
      --no-pager -n 80 >&2 || true
  fi
  exit 1
}
now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }'; }

# A root with systemd, curl for the checks, PostgreSQL (the second set-up's
# database, installed as a host would: its cluster made by the package, it
# is started at boot), and the packages' dependencies
# (with what they recommend, as apt installs on a host) fetched into apt's
# cache, so that the container needs no network.
echo "test-service: making a Debian 12 root from $MIRROR" >&2
t0=$(now)
timeout 900 mmdebstrap --quiet --variant=minbase --include=systemd,systemd-sysv,dbus,curl,postgresql \
  --skip=cleanup/apt/lists,cleanup/apt/cache \
  --customize-hook='mkdir -p "$1/root/debs"' \
  --customize-hook="copy-in ${debs[*]} /root/debs" \
  --customize-hook="chroot \"\$1\" sh -c 'cd /root/debs && apt-get install -q -y -o APT::Install-Recommends=true --download-only ./*.deb' >$WORK/download.log" \
  bookworm "$ROOTFS" "$MIRROR" || { tail -20 "$WORK/download.log" >&2 || true; fail "mmdebstrap could not make the root"; }
echo "test-service: root made in $(since "$t0") s" >&2

# Booted with a network of its own (only its loopback: the board's port
# is the container's, whatever answers on the host's). The container's
# systemd is told nothing of a host manager (there is none here).
# systemd-nspawn 252's own system call filter refuses Landlock's calls
# (EPERM), which a host's systemd does not: they are let through, so that
# what the sandbox gets is what the unit's own filter allows.
t0=$(now)
systemd-nspawn -q -D "$ROOTFS" --boot --register=no --keep-unit --private-network --console=pipe \
  --system-call-filter="landlock_create_ruleset landlock_add_rule landlock_restrict_self" \
  -M "qs-service-$$" >"$WORK/boot.log" 2>&1 </dev/null &
NSPAWN=$!
# The container's init: the child of systemd-nspawn that is process 1 of
# its own namespace (nspawn's first child only sets it up and leaves).
LEADER=
for _ in $(seq 100); do
  for c in $(cat "/proc/$NSPAWN/task/$NSPAWN/children" 2>/dev/null); do
    [ "$(awk '/^NSpid:/ { print $NF }' "/proc/$c/status" 2>/dev/null)" = 1 ] && LEADER=$c
  done
  [ -n "$LEADER" ] && break
  kill -0 "$NSPAWN" 2>/dev/null || { cat "$WORK/boot.log" >&2; LEADER=; fail "the container did not start"; }
  sleep 0.1
done
[ -n "$LEADER" ] || fail "the container did not start"
inside() {
  nsenter -t "$LEADER" -m -u -i -n -p -- env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"
}

# Waits for the board's verdict on submission ID (two minutes at most):
# its last answer in `got`.
verdict() {
  for _ in $(seq 600); do
    got=$(inside curl -fsS "http://127.0.0.1:$PORT/api/submissions/$1") || fail "GET /api/submissions/$1"
    case "$got" in *'"status":"verified"'* | *'"status":"rejected"'* | *'"status":"held"'*) return ;; esac
    sleep 0.2
  done
}
# (Its manager's socket first: systemctl asked before it exists gives up.)
for _ in $(seq 600); do
  inside test -S /run/systemd/private 2>/dev/null && break
  kill -0 "$NSPAWN" 2>/dev/null && kill -0 "$LEADER" 2>/dev/null || { cat "$WORK/boot.log" >&2; fail "the container stopped"; }
  sleep 0.2
done
state=$(inside timeout 120 systemctl is-system-running --wait 2>&1) || true
[ "$state" = running ] || { inside systemctl --failed --no-pager >&2 || true; fail "the container's systemd is $state"; }
boot=$(since "$t0")
echo "test-service: booted in $boot s ($(inside systemctl --version | head -1))" >&2

# The packages installed as a host would (the game and its data are files
# too: nothing else has them). The rest comes from apt's cache (the
# container has no network); named by absolute paths, as apt 2.6 wants
# them once its cache holds the files ("Pathname to install is not
# absolute" otherwise).
t0=$(now)
inside sh -c 'DEBIAN_FRONTEND=noninteractive timeout 300 apt install -q -y \
  /root/debs/quellstorm_*.deb /root/debs/quellstorm-data_*.deb /root/debs/quellstorm-board_*.deb' >"$WORK/apt.log" 2>&1 ||
  { tail -30 "$WORK/apt.log" >&2; fail "apt install failed"; }
installed=$(since "$t0")
echo "test-service: installed in $installed s" >&2

# Answering on its port: the page and the API.
t0=$(now)
for _ in $(seq 150); do
  inside curl -fsS -o /dev/null "http://127.0.0.1:$PORT/" 2>/dev/null && break
  sleep 0.2
done
inside curl -fsS -o /dev/null "http://127.0.0.1:$PORT/" || fail "no answer on port $PORT after the install"
answered=$(since "$t0")
active=$(inside systemctl is-active quellstorm-board.service) || true
enabled=$(inside systemctl is-enabled quellstorm-board.service) || true
[ "$active" = active ] && [ "$enabled" = enabled ] || fail "quellstorm-board.service is $active, $enabled"
status=$(inside curl -fsS "http://127.0.0.1:$PORT/api/status") || fail "GET /api/status"
echo "test-service: active and enabled; answered $answered s after apt finished; /api/status $status" >&2
pid=$(inside systemctl show -P MainPID quellstorm-board.service)
uid=$(inside awk '/^Uid:/ { print $2 }' "/proc/$pid/status")
[ "$uid" != 0 ] || fail "the board runs as root"

# A genuine game, recorded by the installed game, verified by the board.
inside sh -c 'mkdir -p /root/rec && printf "5 hold SPACE\n6 hold\n40 hold SPACE\n41 hold\n60 hold UP SPACE\n4800 hold\n5000 hold SPACE\n5001 hold\n" >/root/rec/k.keys &&
  SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME=/root/rec timeout 300 /usr/games/quellstorm --headless \
  --home /root/rec --script /root/rec/k.keys --frames 5100 --draw-every 1000 --keep-replays on >/dev/null 2>&1' ||
  fail "the installed game could not record a game"
replay=$(inside sh -c 'ls /root/rec/replays/*.qsr | head -1')
[ -n "$replay" ] || fail "the installed game kept no replay"
sent=$(inside curl -fsS -H 'Content-Type: application/octet-stream' --data-binary "@$replay" \
  "http://127.0.0.1:$PORT/api/submissions?name=service") || fail "the submission was refused"
id=$(echo "$sent" | sed -n 's/.*"id":"\([0-9a-f]*\)".*/\1/p')
[ -n "$id" ] || fail "no id in $sent"
t0=$(now)
verdict "$id"
case "$got" in *'"status":"verified"'*) ;; *) fail "the game was not verified: $got" ;; esac
echo "test-service: a genuine game verified in $(since "$t0") s: $got" >&2

journal=$(inside journalctl -u quellstorm-board.service --no-pager -o cat)
sandbox=$(echo "$journal" | grep -m1 'sandbox: ' || true)
[ -n "$sandbox" ] || fail "the board did not say what its sandbox holds"
echo "test-service: under the unit (uid $uid): ${sandbox#*; sandbox: }" >&2
case "$sandbox" in *"Landlock (version"*) ;; *) fail "no Landlock under the unit" ;; esac
echo "$journal" | grep -m1 "verified $id" >&2 || fail "the journal does not say it verified $id"

# The running unit's exposure as systemd rates it (at most 2.0).
exposure=$(inside systemd-analyze security --no-pager quellstorm-board.service | tail -1)
inside systemd-analyze security --no-pager --threshold=20 quellstorm-board.service >/dev/null ||
  fail "the running unit is rated above 2.0: $exposure"
echo "test-service: systemd-analyze security (running unit): $exposure" >&2

# The second set-up, as docs/board.md tells a host: the board on this
# machine's PostgreSQL (a role named after the units' user, its own
# database, reached on the local socket with no password: peer
# authentication), the service answering without verifying, two workers
# verifying.
t0=$(now)
inside timeout 60 sh -c 'until pg_isready -q; do sleep 0.2; done' || fail "PostgreSQL is not ready"
inside timeout 60 runuser -u postgres -- createuser quellstorm-board || fail "createuser quellstorm-board"
inside timeout 60 runuser -u postgres -- createdb -O quellstorm-board quellstorm-board || fail "createdb quellstorm-board"
inside sed -i -e 's|^#db =.*|db = postgresql://quellstorm-board@/quellstorm-board|' -e 's|^#verifiers =.*|verifiers = -1|' \
  /etc/quellstorm-board.conf
[ "$(inside grep -cE '^(db = postgresql://|verifiers = -1$)' /etc/quellstorm-board.conf)" = 2 ] ||
  fail "the settings file has no \"#db =\" and \"#verifiers =\" lines to set"
inside timeout 120 systemctl restart quellstorm-board.service || fail "systemctl restart quellstorm-board"
inside timeout 120 systemctl enable --now quellstorm-board-worker@1.service quellstorm-board-worker@2.service \
  >>"$WORK/apt.log" 2>&1 || fail "systemctl enable --now quellstorm-board-worker@1 @2"
for _ in $(seq 150); do
  inside curl -fsS -o /dev/null "http://127.0.0.1:$PORT/" 2>/dev/null && break
  sleep 0.2
done
pgstatus=$(inside curl -fsS "http://127.0.0.1:$PORT/api/status") || fail "no answer on port $PORT on PostgreSQL"
pgset=$(since "$t0")
uids=
for u in quellstorm-board.service quellstorm-board-worker@1.service quellstorm-board-worker@2.service; do
  [ "$(inside systemctl is-active "$u")" = active ] || fail "$u is not active on PostgreSQL"
  p=$(inside systemctl show -P MainPID "$u")
  u_id=$(inside awk '/^Uid:/ { print $2 }' "/proc/$p/status") || true
  [ -n "$u_id" ] && [ "$u_id" != 0 ] || fail "$u runs as root (or not at all)"
  uids="$uids $u_id"
done
echo "test-service: PostgreSQL set up, restarted, workers enabled in $pgset s (uids$uids); /api/status $pgstatus" >&2
# (Each journal read whole before it is searched: with pipefail, grep -q
# leaving early could fail the pipe.)
said=$(inside journalctl -u quellstorm-board.service --no-pager -o cat)
[[ "$said" == *'database PostgreSQL, 0 verifiers'* ]] || fail "the service did not start on PostgreSQL without verifiers"
for n in 1 2; do
  for _ in $(seq 50); do
    said=$(inside journalctl -u "quellstorm-board-worker@$n.service" --no-pager -o cat) || true
    [[ "$said" == *'verifying with 1 verifier (database PostgreSQL)'* ]] && break
    sleep 0.2
  done
  [[ "$said" == *'verifying with 1 verifier (database PostgreSQL)'* ]] || fail "worker @$n did not say it verifies on PostgreSQL"
done

# The same genuine game, new to this database, verified by a worker: the
# database names the process that verified it, a worker's main process.
sent=$(inside curl -fsS -H 'Content-Type: application/octet-stream' --data-binary "@$replay" \
  "http://127.0.0.1:$PORT/api/submissions?name=service") || fail "the submission was refused on PostgreSQL"
case "$sent" in *"\"id\":\"$id\""*'"status":"queued"'*) ;; *) fail "not queued anew on PostgreSQL: $sent" ;; esac
t0=$(now)
verdict "$id"
case "$got" in *'"status":"verified"'*) ;; *) fail "the game was not verified on PostgreSQL: $got" ;; esac
pgverified=$(since "$t0")
by=$(inside timeout 30 runuser -u postgres -- psql -d quellstorm-board -tAc "SELECT worker FROM submissions WHERE id = '$id'") ||
  fail "psql could not read who verified $id"
pid=${by#*:}
pid=${pid%%:*}
worker=
for n in 1 2; do
  [ "$pid" = "$(inside systemctl show -P MainPID "quellstorm-board-worker@$n.service")" ] && worker=$n
done
[ -n "$worker" ] || fail "verified by $by, not by a worker's main process"
wjournal=$(inside journalctl -u "quellstorm-board-worker@$worker.service" --no-pager -o cat)
grep -m1 "verified $id" <<<"$wjournal" >&2 || fail "worker @$worker's journal does not say it verified $id"
echo "test-service: verified on PostgreSQL in $pgverified s by quellstorm-board-worker@$worker ($by)" >&2
sandbox=$(echo "$wjournal" | grep -m1 'sandbox: ' || true)
case "$sandbox" in *"Landlock (version"*) ;; *) fail "no Landlock under the worker's unit: $sandbox" ;; esac
echo "test-service: under the worker's unit: ${sandbox#*sandbox: }" >&2
wexposure=$(inside systemd-analyze security --no-pager quellstorm-board-worker@1.service | tail -1)
inside systemd-analyze security --no-pager --threshold=20 quellstorm-board-worker@1.service >/dev/null ||
  fail "the running worker unit is rated above 2.0: $wexposure"
echo "test-service: systemd-analyze security (running worker): $wexposure" >&2

# What systemd or the board warned of since the boot (shown, not judged:
# the container's own units have their say too).
inside journalctl -b -p warning --no-pager -o short-monotonic | sed 's/^/test-service: warned: /' >&2 || true

# Removed: the service and the workers stop, nothing answers on its port.
inside sh -c 'DEBIAN_FRONTEND=noninteractive timeout 120 apt-get remove -q -y quellstorm-board' >>"$WORK/apt.log" 2>&1 ||
  { tail -20 "$WORK/apt.log" >&2; fail "apt-get remove failed"; }
! inside curl -fsS -o /dev/null "http://127.0.0.1:$PORT/" 2>/dev/null || fail "the board still answers once removed"
for u in quellstorm-board.service quellstorm-board-worker@1.service quellstorm-board-worker@2.service; do
  [ "$(inside systemctl is-active "$u")" != active ] || fail "$u is still active once removed"
done
echo "test-service: PASS (booted in $boot s, installed in $installed s, answering $answered s later;" \
  "PostgreSQL set up in $pgset s, a game verified by a worker in $pgverified s)"
