// Plays the browser build in Debian's headless Chromium, over the DevTools
// protocol (puppeteer-core, no browser of its own):
//   node browser_test.mjs WEB_DIR GOLDEN_DIR
// Prints one line per case and a closing "web: N passed, N failed".
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import puppeteer from 'puppeteer-core';

const [webDir, goldenDir] = process.argv.slice(2);
if (!webDir || !goldenDir) {
  console.error('usage: node browser_test.mjs WEB_DIR GOLDEN_DIR');
  process.exit(2);
}
const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// ---- The page's own server (make web-serve), the replays beside it ------
// It prints its address first; stopped whatever happens.
import { spawn } from 'node:child_process';
const SERVE = path.join(path.dirname(new URL(import.meta.url).pathname), '../../scripts/web-serve.py');
const servers = [];
async function serve(dir) {
  const child = spawn('/usr/bin/python3', [SERVE, dir, '--port', '0', '--mount', `golden=${goldenDir}`],
                      { stdio: ['ignore', 'pipe', 'inherit'] });
  servers.push(child);
  const line = await new Promise((resolve, reject) => {
    let out = '';
    child.stdout.on('data', (d) => { out += d; if (out.includes('\n')) resolve(out.split('\n')[0]); });
    child.on('exit', (code) => reject(new Error(`web-serve.py ended with ${code}`)));
  });
  return line.replace(/^web-serve: /, '');
}
const base = await serve(webDir);

// ---- Results --------------------------------------------------------------
let passed = 0, failed = 0;
function result(ok, name, detail = '') {
  if (ok) passed++; else failed++;
  console.log(`${ok ? 'PASS' : 'FAIL'} ${name}${detail ? ': ' + detail : ''}`);
  return ok;
}

// ---- Screenshots of the canvas, decoded -----------------------------------
function decodePng(buf) {
  let pos = 8, w = 0, h = 0, type = 0;
  const idat = [];
  while (pos < buf.length) {
    const n = buf.readUInt32BE(pos), kind = buf.toString('ascii', pos + 4, pos + 8);
    const body = buf.subarray(pos + 8, pos + 8 + n);
    if (kind === 'IHDR') { w = body.readUInt32BE(0); h = body.readUInt32BE(4); type = body[9]; }
    else if (kind === 'IDAT') idat.push(body);
    pos += 12 + n;
  }
  const bpp = type === 6 ? 4 : 3, stride = w * bpp;
  const raw = zlib.inflateSync(Buffer.concat(idat));
  const out = Buffer.alloc(h * stride);
  for (let y = 0; y < h; y++) {
    const f = raw[y * (stride + 1)], src = y * (stride + 1) + 1, dst = y * stride;
    for (let x = 0; x < stride; x++) {
      const a = x >= bpp ? out[dst + x - bpp] : 0, b = y ? out[dst - stride + x] : 0;
      const c = x >= bpp && y ? out[dst - stride + x - bpp] : 0;
      let v = raw[src + x];
      if (f === 1) v += a;
      else if (f === 2) v += b;
      else if (f === 3) v += (a + b) >> 1;
      else if (f === 4) { const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
                          v += pa <= pb && pa <= pc ? a : pb <= pc ? b : c; }
      out[dst + x] = v & 255;
    }
  }
  return { w, h, px: (x, y) => { const i = y * stride + x * bpp; return [out[i], out[i + 1], out[i + 2]]; } };
}

let shotNo = 0;
async function canvasPicture(page) {
  const el = await page.$('#canvas');
  const png = Buffer.from(await el.screenshot({ type: 'png' }));
  // QS_WEB_SHOTS=DIR keeps every picture looked at, to see what the test saw.
  if (process.env.QS_WEB_SHOTS) fs.writeFileSync(path.join(process.env.QS_WEB_SHOTS, `shot${++shotNo}.png`), png);
  return decodePng(png);
}

// Counts the pixels of a band of the 640x480 picture that pass `test`.
function count(pic, y0, y1, test) {
  const sx = pic.w / 640, sy = pic.h / 480;
  let n = 0;
  for (let y = y0; y < y1; y += 2)
    for (let x = 0; x < 640; x += 2) if (test(pic.px(Math.floor(x * sx), Math.floor(y * sy)))) n++;
  return n;
}
const white = ([r, g, b]) => r > 180 && g > 180 && b > 180;
const red = ([r, g, b]) => r > 90 && g < 60 && b < 60;
const lit = ([r, g, b]) => r + g + b > 60;
// The instructions: white lines of text in the upper half, the red loading
// line below, the rest black.
const instructionCounts = (pic) => [count(pic, 85, 265, white), count(pic, 315, 355, red), count(pic, 0, 480, lit)];
const isInstructions = (pic) => {
  const [w, r, l] = instructionCounts(pic);
  return w > 150 && r > 40 && l < 0.25 * 320 * 240;
};

// ---- The browser ----------------------------------------------------------
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'qs-web-'));
const browser = await puppeteer.launch({
  executablePath: CHROMIUM,
  headless: true,
  userDataDir: profile,
  args: ['--no-sandbox', '--autoplay-policy=no-user-gesture-required', '--enable-unsafe-swiftshader',
         '--use-angle=swiftshader', '--window-size=800,600', '--mute-audio'],
  defaultViewport: { width: 800, height: 600 },
  protocolTimeout: 600000,
});

const consoleErrors = [];
// Every page counts what it takes from the network (the browser's own
// figures: bytes on the wire, what came from its cache).
async function openPage(query = '', at = base) {
  const page = await browser.newPage();
  page.on('console', (m) => {
    if (m.type() === 'error') consoleErrors.push(m.text());
    if (process.env.QS_WEB_VERBOSE) console.log('  page: ' + m.text());
  });
  page.on('pageerror', (e) => consoleErrors.push(String(e)));
  // Keys reach a page only while it has the focus.
  const cdp = await page.createCDPSession();
  await cdp.send('Emulation.setFocusEmulationEnabled', { enabled: true });
  const net = page.net = { bytes: 0, fetched: [], responses: {} };
  cdp.on('Network.responseReceived', (e) => { net.responses[e.requestId] = e.response; });
  cdp.on('Network.loadingFinished', (e) => {
    const r = net.responses[e.requestId];
    net.bytes += e.encodedDataLength;
    if (r && !r.fromDiskCache && !r.fromPrefetchCache && !r.fromServiceWorker && r.status !== 0)
      net.fetched.push({ url: r.url, status: r.status, bytes: e.encodedDataLength,
                         encoding: r.headers['content-encoding'] || r.headers['Content-Encoding'] || '' });
  });
  await cdp.send('Network.enable');
  await page.goto(at + query, { waitUntil: 'load' });
  await page.bringToFront();
  return page;
}

async function waitFor(page, fn, arg, timeoutMs) {
  try {
    await page.waitForFunction(fn, { timeout: timeoutMs, polling: 100 }, arg);
    return true;
  } catch { return false; }
}
const ready = (page) => waitFor(page, () => document.getElementById('cover-text').textContent.includes('Click'), null, 120000);
const state = (page) => page.evaluate(() => Object.fromEntries(
  Module.UTF8ToString(Module._qs_page_state()).split(' ').filter(Boolean).map((kv) => kv.split('='))
    .map(([k, v]) => [k, Number(v)])));
const frames = (page) => page.evaluate(() => Module._qs_page_frames());
const dialogShowing = (page) => page.evaluate(() => Module.qsDialogShowing());
async function waitState(page, test, timeoutMs) {
  const end = Date.now() + timeoutMs;
  while (Date.now() < end) {
    const s = await state(page);
    if (test(s)) return s;
    await sleep(100);
  }
  return null;
}
async function tap(page, key) {
  await page.keyboard.down(key);
  await sleep(120);
  await page.keyboard.up(key);
  await sleep(250);
}

try {
  // ---- First visit: cover, instructions, the load box, the title -------
  const t0 = Date.now();
  let page = await openPage();
  result(await ready(page), 'the page loads and shows its start cover', `${Date.now() - t0} ms`);
  // Playable after at most 5 MB on the wire, the big files compressed.
  const firstLoad = page.net.bytes;
  const wasm = page.net.fetched.find((f) => f.url.endsWith('.wasm'));
  result(firstLoad <= 5e6 && wasm && wasm.encoding === 'br', 'the start cover is ready after at most 5 MB, brotli-compressed',
         `${(firstLoad / 1e6).toFixed(2)} MB in ${page.net.fetched.length} requests, wasm ${wasm && wasm.encoding}`);
  // Every box the game opens goes through the page's dialog: counted.
  await page.evaluate(() => {
    const open = Module.qsDialog;
    window.qsBoxes = 0;
    Module.qsDialog = function () { window.qsBoxes++; return open.apply(this, arguments); };
  });
  await page.click('#cover');
  // A first visit (no settings yet) asks for the language, preselected from
  // the browser's, before the game's first frame.
  await sleep(1500);
  const asked = (await frames(page)) === 0 && !(await dialogShowing(page));
  let pic = await canvasPicture(page);
  result(asked && count(pic, 0, 480, lit) > 0, 'a first visit asks for the language before the game starts');
  await tap(page, 'Enter');
  const started = await waitFor(page, () => Module._qs_page_frames() >= 1, null, 10000);
  result(started, 'the game starts once the language is chosen');
  // The intro spells the name, then the title picture comes up by itself.
  const title = await waitState(page, (st) => st.Scene === 0 && st.MenuState >= 11, 60000);
  let titleSeen = false, litShare = 0;
  for (let i = 0; i < 20 && title && !titleSeen; i++) {
    pic = await canvasPicture(page);
    litShare = count(pic, 0, 480, lit) / (320 * 240);
    titleSeen = !isInstructions(pic) && litShare > 0.3;
    if (!titleSeen) await sleep(250);
  }
  result(titleSeen, 'the title appears after the instructions', `${(100 * litShare).toFixed(0)} % of the picture lit`);
  // No record yet: the fresh empty one is made in the browser's storage,
  // as on a desktop's first start, so no load box.
  const boxes = await page.evaluate(() => window.qsBoxes);
  result(boxes === 0, 'a first visit shows no load box', `${boxes} boxes`);

  // ---- A game: start it, move the ship, keep the pace --------------------
  await tap(page, 'Space');  // a new game
  let s = await waitState(page, (st) => st.Scene === 1, 10000);
  result(!!s, 'Space on the title starts a game', s ? `PlayCount=${s.PlayCount}` : '');
  if (s) {
    await sleep(1500);  // the ship flies in
    const before = await state(page);
    await page.keyboard.down('ArrowRight');
    await page.keyboard.down('ArrowDown');
    await sleep(1000);
    await page.keyboard.up('ArrowRight');
    await page.keyboard.up('ArrowDown');
    const after = await state(page);
    result(after.ShipX > before.ShipX && after.ShipY > before.ShipY, 'the arrow keys move the ship',
           `(${before.ShipX},${before.ShipY}) -> (${after.ShipX},${after.ShipY})`);

    const m0 = await page.evaluate(() => [Module._qs_music_frames_mixed(0), Module._qs_music_frames_mixed(1)]);
    const f0 = await frames(page), w0 = Date.now();
    await page.keyboard.down('Space');  // fire for a while: a score to keep
    await sleep(6000);
    await page.keyboard.up('Space');
    const f1 = await frames(page), w1 = Date.now();
    const m1 = await page.evaluate(() => [Module._qs_music_frames_mixed(0), Module._qs_music_frames_mixed(1)]);
    const rate = (f1 - f0) / ((w1 - w0) / 1000);
    // The pacer's own figure is 250 steps a second; a page stuck at one step
    // a picture would give 60. The margin is for a busy machine, not a speed goal.
    result(rate >= 200, 'the game keeps its pace of 250 steps a second', `${rate.toFixed(1)} steps/s`);
    // Each tune comes when it is first played: so far only stage 1's.
    const tunes = page.net.fetched.filter((f) => /\.ogg(\?|$)/.test(f.url));
    result(tunes.length === 1, 'the tunes fetched in the first seconds of play are the ones played',
           tunes.map((f) => f.url.split('/').pop()).join(', ') || 'none');
    const mixed = m1[0] - m0[0], loud = m1[1] - m0[1], secs = (w1 - w0) / 1000;
    result(mixed > 0.5 * 44100 * secs && loud > 0.2 * 44100 * secs, 'the mixer puts out music while a tune plays',
           `${(mixed / secs).toFixed(0)} frames/s mixed, ${(loud / secs).toFixed(0)} not silent`);

    // ---- Escape: saved, back to the title -------------------------------
    const syncs = await page.evaluate(() => Module.qsSyncs);
    const played = await state(page);
    await tap(page, 'Escape');
    const back = await waitState(page, (st) => st.Scene === 0, 5000);
    const synced = await waitFor(page, (n) => Module.qsSyncs > n, syncs, 10000);
    result(!!back && synced, 'Escape saves the record to the browser storage and returns to the title',
           `HiScore=${played.HiScore} PlayCount=${played.PlayCount}`);

    // ---- A second game, the tab closed in the middle of it: the record
    // keeps what Escape would have kept (this game counted) ----------------
    await waitState(page, (st) => st.Scene === 0 && st.MenuState >= 11, 60000);
    let second = null;
    for (let i = 0; i < 10 && !second; i++) {
      await tap(page, 'Space');
      second = await waitState(page, (st) => st.Scene === 1 && st.PlayCount === played.PlayCount + 1, 1000);
    }
    await sleep(1500);
    const closing = await state(page);
    await page.close();

    // The same profile again: a second visit, everything but index.html
    // from the browser's cache.
    page = await openPage();
    await ready(page);
    const again = page.net.fetched.filter((f) => !/\/(index\.html)?$/.test(new URL(f.url).pathname));
    result(again.length === 0, 'a second visit transfers only index.html',
           again.map((f) => `${f.url} ${f.status}`).join(', ') || `${page.net.fetched.length} request(s), ${page.net.bytes} bytes`);
    await page.click('#cover');
    const kept = await waitState(page, (st) => st.Scene === 0 && st.PlayCount > 0, 30000);
    const noBox = !(await dialogShowing(page));
    result(!!second && !!kept && noBox && kept.PlayCount === closing.PlayCount && kept.HiScore === closing.HiScore &&
           kept.Deaths === closing.Deaths && kept.HiScore > 0,
           'a tab closed mid-game keeps the record as Escape would, read back with no load box',
           kept ? `PlayCount ${closing.PlayCount} -> ${kept.PlayCount}, HiScore ${closing.HiScore} -> ${kept.HiScore}, ` +
                  `Deaths ${closing.Deaths} -> ${kept.Deaths}, box=${!noBox}` : 'no title');

    // ---- The picture fills the window (fit), at two common sizes --------
    for (const [w, h] of [[1366, 768], [1920, 1080]]) {
      await page.setViewport({ width: w, height: h });
      await sleep(300);
      const box = await (await page.$('#canvas')).boundingBox();
      const share = Math.max(box.width / w, box.height / h);  // of the side that limits it
      if (process.env.QS_WEB_SHOTS) await page.screenshot({ path: path.join(process.env.QS_WEB_SHOTS, `window-${w}x${h}.png`) });
      result(share >= 0.9 && Math.abs(box.width / box.height - 4 / 3) < 0.01, `at ${w}x${h} the picture fills the window`,
             `${box.width.toFixed(0)}x${box.height.toFixed(0)}, ${(100 * share).toFixed(0)} % of the limiting side`);
      // The corner buttons never cover the picture (the HUD) unless the
      // mouse wakes them.
      await sleep(3500);
      const corner = await page.$eval('#corner', (c) => {
        const r = c.getBoundingClientRect();
        return { x: r.x, y: r.y, w: r.width, h: r.height, opacity: getComputedStyle(c).opacity };
      });
      const overlaps = corner.x < box.x + box.width && corner.x + corner.w > box.x &&
                       corner.y < box.y + box.height && corner.y + corner.h > box.y;
      result(!overlaps || Number(corner.opacity) === 0, `at ${w}x${h} the corner buttons leave the picture free`,
             JSON.stringify(corner));
    }

    // The settings page's text rows take what is typed (the browser's key
    // presses as SDL's text input): the board's address, saved.
    let ini = '';
    if (kept && await waitState(page, (st) => st.MenuState >= 11, 30000)) {
      await tap(page, 'F1');
      for (let i = 0; i < 4; i++) await tap(page, 'ArrowUp');  // BOARD, from the last row
      await tap(page, 'Enter');
      await page.keyboard.type('http:', { delay: 30 });
      // (puppeteer types '/' as the keypad's key, which gives no text)
      for (let i = 0; i < 2; i++) await page.keyboard.press('Slash', { delay: 30 });
      await page.keyboard.type('b.example', { delay: 30 });
      await tap(page, 'Enter');
      ini = await page.evaluate(() => Module.FS.readFile('/save/quellstorm.ini', { encoding: 'utf8' }));
    }
    result(ini.includes('\nboard-url = http://b.example\n'), 'the settings page takes a typed board address',
           (ini.match(/board-url = .*/) || ['no settings file'])[0]);

    // Watching a kept game from the replays page, leaving it with Escape,
    // then a game from the title: the page must not stand still.
    await tap(page, 'Escape');  // the settings page closed: the title
    await tap(page, 'F3');
    await tap(page, 'Enter');
    await sleep(300);  // (the newest kept game, cut when its tab closed, is short)
    const watching = (await state(page)).Scene === 1;
    if (process.env.QS_WEB_SHOTS) await canvasPicture(page);  // the viewer's keys along the foot
    await tap(page, 'Escape');
    const left0 = await frames(page);
    await sleep(1000);
    const left1 = await frames(page);
    await tap(page, 'Escape');  // the replays page closed
    await tap(page, 'Space');
    const played2 = await waitState(page, (st) => st.Scene === 1, 10000);
    result(watching && left1 > left0 && !!played2, 'Escape leaves a replay watched from the replays page, and the title starts a game',
           `watching ${watching}, frames ${left0} -> ${left1}, ${played2 ? 'in play' : 'no game'}`);
  }
  await page.close();

  // ---- Replays opened in the page: by dropping a file, by the page's own
  // function; the check's verdict is shown on the page -----------------
  const golden = fs.readFileSync(path.join(goldenDir, 'bomb_barrage.qsr'));
  page = await openPage();
  await ready(page);
  await page.evaluate((bytes) => {
    const dt = new DataTransfer();
    dt.items.add(new File([new Uint8Array(bytes)], 'bomb_barrage.qsr'));
    window.dispatchEvent(new DragEvent('drop', { dataTransfer: dt, bubbles: true, cancelable: true }));
  }, [...golden]);
  const played1 = await waitFor(page, () => Module.qsExit !== null, null, 120000);
  const shown1 = await page.$eval('#result', (e) => e.textContent);
  result(played1 && shown1.includes('verified: your browser reproduced the recorded game'),
         'a dropped replay plays and the page says it verified', `${await frames(page)} frames; "${shown1}"`);
  await page.close();

  // The state fingerprint at frame 100 altered: the page names that frame.
  const tampered = golden.toString('latin1').replace(/^100 H ([0-9a-f]{16})$/m,
    (_, h) => `100 H ${(h[0] === '0' ? '1' : '0') + h.slice(1)}`);
  page = await openPage();
  await ready(page);
  await page.evaluate((text) => QS.openReplay(new TextEncoder().encode(text), 'tampered.qsr'), tampered);
  await waitFor(page, () => Module.qsExit !== null, null, 60000);
  const shown2 = await page.$eval('#result', (e) => e.textContent);
  result(tampered !== golden.toString('latin1') && shown2.includes('differs from frame 100'),
         'a tampered replay shows the frame where it differs', `"${shown2}"`);
  await page.close();

  // ---- A data file that fails to load: a message and a retry button ----
  const errorsBefore = consoleErrors.length;
  const broken = fs.mkdtempSync(path.join(os.tmpdir(), 'qs-web-404-'));
  fs.cpSync(webDir, broken, { recursive: true, filter: (f) => !/\.data(\.br|\.gz)?$/.test(f) });
  page = await openPage('', await serve(broken));
  const failed = await waitFor(page, () => getComputedStyle(document.getElementById('retry')).display !== 'none' &&
                                      document.getElementById('failure').offsetParent !== null, null, 60000);
  const failText = await page.$eval('#failure-text', (e) => e.textContent);
  result(failed && !(await page.$eval('#cover-text', (e) => e.offsetParent !== null)),
         'a data file that cannot be loaded shows a message and a retry button', `"${failText}"`);
  await page.close();
  fs.rmSync(broken, { recursive: true, force: true });
  consoleErrors.length = errorsBefore;  // that page's failure was meant

  // ---- The board serving the page: a game sent, ranked, watched ----------
  // (the desktop build's programs, build/ unless QS_BOARD_BIN and QS_GAME_BIN say)
  const buildDir = path.join(path.dirname(new URL(import.meta.url).pathname), '../../build');
  const boardBin = process.env.QS_BOARD_BIN || path.join(buildDir, 'quellstorm-board');
  const gameBin = process.env.QS_GAME_BIN || path.join(buildDir, 'quellstorm');
  if (!fs.existsSync(boardBin) || !fs.existsSync(gameBin)) {
    result(false, 'the board scenario has its programs', `missing ${boardBin} or ${gameBin}`);
  } else {
    const dbDir = fs.mkdtempSync(path.join(os.tmpdir(), 'qs-web-board-'));
    const board = spawn(boardBin, ['serve', '--listen', '127.0.0.1:0', '--db', path.join(dbDir, 'board.sqlite'),
                                   '--web', webDir, '--game', gameBin, '--verifiers', '1', '--submit-per-minute', '0'],
                        { stdio: ['ignore', 'pipe', 'inherit'] });
    servers.push(board);
    const first = await new Promise((resolve, reject) => {
      let out = '';
      board.stdout.on('data', (d) => { out += d; if (out.includes('\n')) resolve(out.split('\n')[0]); });
      board.on('exit', (code) => reject(new Error(`quellstorm-board ended with ${code}`)));
    });
    const boardUrl = /http:\/\/127\.0\.0\.1:\d+/.exec(first)[0];
    // A game played by keys in the page the board serves: up and firing
    // into the first groups until the three ships are lost, then the shot
    // key through the game-over picture to the title.
    let bp = await openPage('?args=' + encodeURIComponent('--lang en --board-submit always --player-name WEBTEST'),
                            boardUrl + '/play/');
    await ready(bp);
    await bp.click('#cover');
    await waitState(bp, (st) => st.Scene === 0 && st.MenuState >= 11, 60000);
    await tap(bp, 'Space');
    let st = await waitState(bp, (x) => x.Scene === 1, 10000);
    await bp.keyboard.down('ArrowUp');
    await bp.keyboard.down('Space');
    st = await waitState(bp, (x) => x.Deaths >= 3, 120000);
    await bp.keyboard.up('ArrowUp');
    await bp.keyboard.up('Space');
    for (let i = 0; i < 40 && st && !(await waitState(bp, (x) => x.Scene === 0, 500)); i++) await tap(bp, 'Space');
    const over = await state(bp);
    const kept = await bp.evaluate(() => {
      const r = QS.lastReplay();
      return r ? new TextDecoder('latin1').decode(r.bytes.subarray(0, 4096)) : '';
    });
    const score = (/(?:^|\n)score (\d+)/.exec(kept) || [])[1];
    result(over.Scene === 0 && !!score, 'a game played in the board\'s page ends and is kept',
           `Deaths=${over.Deaths} score ${score}`);
    const verified = await waitFor(bp, () => /verified, rank/.test(document.getElementById('board').textContent),
                                   null, 180000);
    const said = await bp.evaluate(() => document.getElementById('board').textContent);
    result(verified, 'the page sends it to its board, which verifies it', said);
    await bp.close();
    // Listed on the board's own page at the score the game computed.
    const html = await (await fetch(boardUrl + '/')).text();
    const row = />WEBTEST<\/a><\/td><td class="n"><a href="\/entry\/([0-9a-f]+)">(\d+)</.exec(html);
    result(!!row && row[2] === score, 'the board lists it at the score the simulation computed',
           row ? `listed ${row[2]}, kept ${score}` : 'no row');
    // The entry's watch link plays it in the page, which checks it.
    if (row) {
      const entry = await (await fetch(boardUrl + '/entry/' + row[1])).text();
      const watch = (/href="(\/play\/#replay=[^"]+)"/.exec(entry) || [])[1];
      bp = await openPage('', boardUrl + (watch || '/play/'));
      const done = watch && await waitFor(bp, () => Module.qsExit !== null, null, 300000);
      const text = await bp.evaluate(() => document.getElementById('result').textContent);
      result(done && text.includes(`verified in your browser: same score as the board's entry (${score})`),
             'the entry\'s watch link replays it verified in the page, its own score beside the board\'s', text);
      // Afterwards: the link stays in the address; the page offers it again,
      // a game, and the way back to the board.
      const after = await bp.evaluate(() => ({
        hash: location.hash,
        again: document.getElementById('watch-again').offsetParent !== null,
        play: document.getElementById('play-game').offsetParent !== null,
        board: document.getElementById('to-board').offsetParent !== null &&
               document.getElementById('to-board').getAttribute('href'),
      }));
      if (process.env.QS_WEB_SHOTS) await bp.screenshot({ path: path.join(process.env.QS_WEB_SHOTS, 'after-link.png') });
      result(/^#replay=/.test(after.hash) && after.again && after.play && after.board === '/',
             'after a watched link: the address keeps it, buttons to watch again, play and go back to the board',
             JSON.stringify(after));
      await bp.close();

      // Taken over while watching the link: T in play, a moment of the
      // player's own, Escape. The practice run is kept in the browser's
      // storage (there after a reload), marked, the entry's id its parent,
      // and it re-plays verified.
      bp = await openPage('', boardUrl + watch);
      // (the clock starts where the recorded game's was: two seconds into it)
      const inPlay = await waitFor(bp, () => { try { return /^Scene=1 /.test(Module.UTF8ToString(Module._qs_page_state())); }
                                              catch { return false; } }, null, 60000);
      const from = inPlay ? await frames(bp) : 0;
      await waitFor(bp, (f) => Module._qs_page_frames() > f + 500, from, 30000);
      await tap(bp, 'KeyT');
      await bp.keyboard.down('ArrowDown');
      await sleep(1000);
      await bp.keyboard.up('ArrowDown');
      await tap(bp, 'Escape');
      await waitFor(bp, () => Module.qsExit !== null, null, 30000);
      const took = await bp.evaluate(() => ({ at: Module.qsTakenAt, name: Module.qsPractice,
                                              said: document.getElementById('result').textContent }));
      await bp.close();
      bp = await openPage('', boardUrl + '/play/');
      await ready(bp);
      const head = took.name ? await bp.evaluate((n) => {
        try { return Module.FS.readFile('/save/replays/' + n, { encoding: 'utf8' }).split('\n').slice(0, 40).join('\n'); }
        catch { return ''; }
      }, took.name) : '';
      result(took.at > 500 && /-PRACTICE-/.test(took.name) && took.said.includes(took.name) &&
             head.includes(`\npractice take-over\nparent ${row[1]}\ntaken-at ${took.at}\n`),
             'T while watching a board link takes over: a practice run kept in the browser, its parent the entry',
             `${took.said}; ${head ? 'kept over a reload' : 'not kept'}`);
      if (head) {
        await bp.evaluate((n) => QS.openReplay(Module.FS.readFile('/save/replays/' + n), n), took.name);
        await waitFor(bp, () => Module.qsExit !== null, null, 120000);
        const again = await bp.$eval('#result', (e) => e.textContent);
        result(again.includes('verified: your browser reproduced'), 'the practice run re-plays verified', again);
      }
      await bp.close();
    }
    // The board's best run raced as a ghost: the same scripted game with
    // none and with the board's, its track fetched from the board serving
    // the page. The ghost is drawn; the game's fingerprints do not change.
    const runs = {};
    for (const ghost of ['none', 'board']) {
      const args = `--headless --lang en --board-submit never --ghost ${ghost} --frames 700 --draw-every 0 ` +
                   `--script /in/keys.txt --record /in/run.qsr --shot 350:/in/shot.png`;
      const gp = await openPage('?args=' + encodeURIComponent(args), boardUrl + '/play/');
      await ready(gp);
      await gp.evaluate(() => {
        Module.FS.mkdirTree('/in');
        Module.FS.writeFile('/in/keys.txt', '5 hold SPACE\n6 hold\n40 hold SPACE\n41 hold\n60 hold DOWN SPACE\n' +
                                            '140 hold RIGHT SPACE\n300 hold SPACE\n');
      });
      await gp.click('#cover');
      const ended = await waitFor(gp, () => Module.qsExit !== null, null, 120000);
      runs[ghost] = ended && await gp.evaluate(() => {
        const text = new TextDecoder('latin1').decode(Module.FS.readFile('/in/run.qsr'));
        let shot = '';
        for (const b of Module.FS.readFile('/in/shot.png')) shot += String.fromCharCode(b);
        return { code: Module.qsExit, prints: text.split('\n').filter((l) => / H /.test(l)), shot: btoa(shot) };
      });
      if (runs[ghost]) runs[ghost].track = gp.net.fetched.filter((f) => /\/api\/replays\/[0-9a-f]+\/track$/.test(f.url)).length;
      if (process.env.QS_WEB_SHOTS && runs[ghost])
        fs.writeFileSync(path.join(process.env.QS_WEB_SHOTS, `ghost-${ghost}.png`), Buffer.from(runs[ghost].shot, 'base64'));
      await gp.close();
    }
    const [none, raced] = [runs.none, runs.board];
    result(none && raced && none.code === 0 && raced.code === 0 && raced.track === 1 && none.track === 0 &&
           none.shot !== raced.shot, 'the page fetches its board\'s best run and draws it as a ghost',
           none && raced ? `exit ${none.code}/${raced.code}, tracks fetched ${none.track}/${raced.track}` : 'not run');
    result(none && raced && none.prints.length > 5 && none.prints.join('\n') === raced.prints.join('\n'),
           'a game racing the board\'s ghost has the fingerprints it has without one',
           none && raced ? `${none.prints.length} fingerprints` : 'not run');
    board.kill();
    fs.rmSync(dbDir, { recursive: true, force: true });
  }

  // ---- Every golden replay verifies in the browser ----------------------
  // (QS_WEB_REPLAYS=none leaves them out while working on the page.)
  const replays = process.env.QS_WEB_REPLAYS === 'none' ? [] : fs.readdirSync(goldenDir).filter((n) => n.endsWith('.qsr'));
  for (const f of replays.sort()) {
    const r0 = Date.now();
    const q = `?files=golden/${encodeURIComponent(f)}&args=` +
              encodeURIComponent(`--headless --play /in/${f} --verify --draw-every 8`);
    const p = await openPage(q);
    await ready(p);
    await p.click('#cover');
    const done = await waitFor(p, () => Module.qsExit !== null, null, 600000);
    const code = done ? await p.evaluate(() => Module.qsExit) : 'none (timed out)';
    const n = await frames(p);
    result(code === 0, `golden replay ${f} verifies in the browser`,
           `exit ${code}, ${n} frames in ${((Date.now() - r0) / 1000).toFixed(1)} s`);
    await p.close();
  }

  result(consoleErrors.length === 0, 'no errors in the console', consoleErrors.slice(0, 5).join(' | '));
} catch (e) {
  result(false, 'the browser test ran to its end', String(e && e.stack || e));
} finally {
  await browser.close().catch(() => {});
  for (const child of servers) child.kill();
  fs.rmSync(profile, { recursive: true, force: true });
}
console.log(`web: ${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
