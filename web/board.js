// The page and the score board that serves it (quellstorm-board's /play/),
// joined to the game's own script (--post-js): a finished game goes to the
// board of the page's own origin and its answer shows in the page;
// /play/#replay=URL (same origin only) plays that replay with its check on
// and says at the end whether this browser reproduced the recorded game.
(function () {
  if (typeof window === 'undefined' || !window.QS || !window.Module) return;
  var M = window.Module;

  // One line of its own under the page's result line.
  var line = document.createElement('div');
  line.id = 'board';
  line.setAttribute('role', 'status');
  line.style.cssText = 'display:none;position:fixed;left:50%;bottom:8px;transform:translateX(-50%);z-index:5;' +
    'padding:4px 12px;border-radius:4px;background:rgba(0,0,0,.8);color:#ddd;font:14px sans-serif;max-width:90vw';
  document.body.appendChild(line);
  function say(text, ok, link, button) {
    line.textContent = text;
    line.style.color = ok === true ? '#8f8' : ok === false ? '#f98' : '#ddd';
    if (link) {
      var a = document.createElement('a');
      a.href = link;
      a.textContent = 'see the entry';
      a.style.cssText = 'color:#9cf;margin-left:8px';
      line.appendChild(a);
    }
    if (button) line.appendChild(button);
    line.style.display = 'block';
  }

  // The page sits at <board>/play/: the board answers at <board>/api/.
  var m = /^(.*\/)play\/[^/]*$/.exec(location.pathname);
  var root = m ? m[1] : null, onBoard = false;
  if (root) {
    var back = document.getElementById('to-board');
    if (back) {
      back.href = root;
      back.style.display = '';
    }
    fetch(root + 'api/status', { cache: 'no-store' }).then(function (r) {
      return r.ok ? r.json() : null;
    }).then(function (j) { onBoard = !!j; }).catch(function () { onBoard = false; });
  }

  function follow(id, until) {
    fetch(root + 'api/submissions/' + encodeURIComponent(id), { cache: 'no-store' }).then(function (r) {
      return r.json();
    }).then(function (j) {
      if (j.status === 'verified') {
        say('Board: verified, rank ' + j.rank + (j.board_title ? ' on ' + j.board_title : '') + ' (' + j.score + ')',
            true, root + 'entry/' + encodeURIComponent(id));
      } else if (j.status === 'rejected' || j.status === 'removed') {
        say('Board: rejected: ' + (j.reason || 'refused'), false, root + 'entry/' + encodeURIComponent(id));
      } else if (j.status === 'held') {
        // The board's own trouble, not the file's: its host has it re-played.
        say('Board: held, not the replay\'s fault: ' + (j.reason || 'the board could not judge it'), null,
            root + 'entry/' + encodeURIComponent(id));
      } else if (Date.now() > until) {
        say('Board: not verified yet; the entry will show it', null, root + 'entry/' + encodeURIComponent(id));
      } else {
        say('Board: ' + (j.status === 'verifying' ? 'verifying…' : 'queued for verification'), null);
        setTimeout(function () { follow(id, until); }, 1500);
      }
    }).catch(function () {
      say('Board: could not be reached; your replay is kept (Download last replay)', false);
    });
  }

  function send(bytes, name) {
    say('Board: sending your game…', null);
    fetch(root + 'api/submissions?name=' + encodeURIComponent(name || 'PLAYER'), {
      method: 'POST', headers: { 'Content-Type': 'application/octet-stream' }, body: bytes
    }).then(function (r) {
      return r.json().then(function (j) { return { ok: r.ok, j: j }; });
    }).then(function (a) {
      if (!a.ok || !a.j.id) return say('Board: refused: ' + (a.j.error || 'no reason given'), false);
      follow(a.j.id, Date.now() + 10 * 60 * 1000);
    }).catch(function () {
      say('Board: could not be reached; your replay is kept (Download last replay)', false);
    });
  }

  // The game has kept a finished game (`mode`: the board-submit setting,
  // 0 ask, 1 always, 2 never; `name`: the player-name setting).
  // The replays page's entry address: a link under the picture (a key in
  // the canvas is no click, so a new tab may be refused), and the clipboard.
  M.qsOpenUrl = function (url) {
    if (!/^https?:\/\//.test(url)) return false;
    say('Board entry:', null, url);
    try { window.open(url, '_blank', 'noopener'); } catch (e) { /* the link stays */ }
    return true;
  };
  M.qsCopyText = function (text) {
    if (!navigator.clipboard || !navigator.clipboard.writeText) return false;
    navigator.clipboard.writeText(text).then(function () { say('Copied: ' + text, true); },
                                             function () { say('Not copied (the browser refused): ' + text, false); });
    return true;
  };

  var keptBefore = M.qsGameKept;
  M.qsGameKept = function (path, mode, name) {
    if (keptBefore) keptBefore(path, mode, name);
    if (!onBoard || mode === 2) return;
    var bytes;
    try { bytes = M.FS.readFile(path); } catch (e) { return; }
    if (mode === 1) return send(bytes, name);
    var b = document.createElement('button');
    b.type = 'button';
    b.textContent = 'Send to the board';
    b.style.marginLeft = '8px';
    b.addEventListener('click', function (e) {
      e.stopPropagation();
      send(bytes, name);
      var c = document.querySelector('canvas');
      if (c) c.focus();
    });
    say('Your game has ended.', null, null, b);
  };

  // ---- The board's ghosts ------------------------------------------------
  // The track of each difficulty's best verified run (the first entry of
  // board dN in /api/boards), handed to the game, which checks it as the
  // desktop's board client does and keeps it for the games it races. One
  // fetch at a time; a failure ends it, and what was kept before stays.
  M.qsOnBoard = function () { return onBoard; };
  var GHOST_FILE = '/tmp/qs-board-ghost.qst';
  function bestOf(boards, d) {
    var list = boards && Array.isArray(boards.boards) ? boards.boards : [];
    for (var i = 0; i < list.length; i++) {
      var b = list[i];
      if (!b || b.board !== 'd' + d) continue;
      var first = Array.isArray(b.entries) && b.entries[0];
      var id = first && typeof first.id === 'string' ? first.id : '';
      return /^[0-9a-fA-F]{32}$/.test(id) ? id : null;
    }
    return null;
  }
  function giveGhost(d, bytes) {
    if (bytes) M.FS.writeFile(GHOST_FILE, bytes);
    M.qsCallGame(function () { M.ccall('qs_page_ghost', null, ['number', 'string'], [d, bytes ? GHOST_FILE : '']); });
    if (bytes) M.FS.unlink(GHOST_FILE);
  }
  M.qsFetchGhosts = function () {
    if (!root || !M.qsCallGame) return false;
    function answer(r) {
      if (!r.ok) throw new Error('answer ' + r.status);
      return r;
    }
    fetch(root + 'api/boards', { cache: 'no-store' }).then(answer).then(function (r) { return r.json(); })
      .then(function (boards) {
        var d = 0;
        return (function next() {
          if (d > 3) return null;
          var id = bestOf(boards, d);
          if (!id) { giveGhost(d++, null); return next(); }
          return fetch(root + 'api/replays/' + id + '/track', { cache: 'no-store' }).then(answer)
            .then(function (r) { return r.arrayBuffer(); })
            .then(function (b) { giveGhost(d++, new Uint8Array(b)); return next(); });
        })();
      }).catch(function (err) {
        console.warn('QUELLSTORM: the board\'s ghosts could not be fetched (' + err.message + ')');
      }).then(function () { giveGhost(-1, null); });
    return true;
  };

  // ---- #replay=URL: watch an entry ------------------------------------------
  // The board's entry for the linked replay (its score as the board's
  // verifier found it), kept over the page's reload: never the file's own
  // header line, which nothing checks.
  var LINK = 'qs-link-entry';
  function entryOf(url) {
    var m = /\/api\/replays\/([0-9a-f]+)$/.exec(url.pathname);
    if (!m) return Promise.resolve(null);
    return fetch('/api/entry/' + m[1]).then(function (r) { return r.ok ? r.json() : null; })
      .catch(function () { return null; });
  }
  var hm = /^#replay=(.+)$/.exec(location.hash);
  if (hm && QS.replayWaiting && QS.replayWaiting()) {
    // A file opened on this page afterwards: it is what plays now.
    history.replaceState(null, '', location.pathname + location.search);
    hm = null;
  }
  if (hm) {
    var url = null;
    try { url = new URL(decodeURIComponent(hm[1]), location.href); } catch (e) { url = null; }
    // The address keeps the link: a reload (or "Watch it again") plays it
    // from the start, and it can be passed on as it is.
    if (!url || url.origin !== location.origin || !/^https?:$/.test(url.protocol)) {
      say('Only a replay of this site can be watched from a link.', false);
    } else {
      say('Fetching the replay…', null);
      Promise.all([fetch(url.href).then(function (r) {
        if (!r.ok) throw new Error(r.status + ' ' + r.statusText);
        return r.arrayBuffer();
      }), entryOf(url)]).then(function (got) {
        var bytes = new Uint8Array(got[0]), entry = got[1];
        var board = entry && entry.status === 'verified' && typeof entry.score === 'number' ? entry.score : null;
        try { sessionStorage.setItem(LINK, JSON.stringify({ board: board })); } catch (e) { /* the verdict says less */ }
        line.style.display = 'none';
        QS.openReplay(bytes, (url.pathname.split('/').pop() || 'entry') + '.qsr');
      }).catch(function (err) {
        say('The replay could not be fetched (' + err.message + ').', false);
      });
    }
  }
  var ended = M.qsEnded;
  M.qsEnded = function (code) {
    if (ended) ended(code);
    var link = null;
    try { link = JSON.parse(sessionStorage.getItem(LINK)); sessionStorage.removeItem(LINK); } catch (e) { link = null; }
    // A take-over is the player's run: nothing to hold against the entry.
    if (!link || M.qsTakenAt !== null) return;
    // The score this browser's own playback reached (the game's result).
    var own = null;
    try { own = JSON.parse(new TextDecoder().decode(M.FS.readFile('/in/result.json'))).score; } catch (e) { own = null; }
    var box = document.getElementById('result');
    if (!box || code !== 0 || typeof own !== 'number') return;
    if (link.board === null) {
      box.textContent = 'verified in your browser: score ' + own + ' (the board has no verified entry to compare)';
      box.className = 'ok';
    } else if (own === link.board) {
      box.textContent = 'verified in your browser: same score as the board\'s entry (' + own + ')';
      box.className = 'ok';
    } else {
      box.textContent = 'your browser reproduced the recording, but its score ' + own +
        ' differs from the board\'s entry, ' + link.board;
      box.className = 'bad';
    }
    box.style.display = 'block';
  };
})();
