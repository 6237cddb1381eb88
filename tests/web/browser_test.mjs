// Plays the browser build in Debian's headless Chromium, over the DevTools
// protocol (puppeteer-core, no browser of its own):
//   node browser_test.mjs WEB_DIR GOLDEN_DIR
// Prints one line per case and a closing "web: N passed, N failed".
import http from 'node:http';
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

// ---- A static server for the page and the replays -----------------------
const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
                '.data': 'application/octet-stream', '.qsr': 'text/plain' };
const served = { bytes: 0 };
const server = http.createServer((req, res) => {
  const url = decodeURIComponent(new URL(req.url, 'http://x').pathname);
  const file = url.startsWith('/golden/') ? path.join(goldenDir, url.slice(8))
                                          : path.join(webDir, url === '/' ? 'index.html' : url);
  fs.readFile(file, (err, data) => {
    if (err) { res.writeHead(404); res.end(); return; }
    served.bytes += data.length;
    res.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream' });
    res.end(data);
  });
});
await new Promise((r) => server.listen(0, '127.0.0.1', r));
const base = `http://127.0.0.1:${server.address().port}/`;

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
async function openPage(query = '') {
  const page = await browser.newPage();
  page.on('console', (m) => {
    if (m.type() === 'error') consoleErrors.push(m.text());
    if (process.env.QS_WEB_VERBOSE) console.log('  page: ' + m.text());
  });
  page.on('pageerror', (e) => consoleErrors.push(String(e)));
  // Keys reach a page only while it has the focus.
  const cdp = await page.createCDPSession();
  await cdp.send('Emulation.setFocusEmulationEnabled', { enabled: true });
  await page.goto(base + query, { waitUntil: 'load' });
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
  const firstLoad = served.bytes;
  result(firstLoad <= 20e6, 'the first load transfers at most 20 MB', `${(firstLoad / 1e6).toFixed(1)} MB`);
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
    const mixed = m1[0] - m0[0], loud = m1[1] - m0[1], secs = (w1 - w0) / 1000;
    result(mixed > 0.5 * 44100 * secs && loud > 0.2 * 44100 * secs, 'the mixer puts out music while a tune plays',
           `${(mixed / secs).toFixed(0)} frames/s mixed, ${(loud / secs).toFixed(0)} not silent`);

    // ---- Escape: saved, back to the title; a reload reads it back -------
    const syncs = await page.evaluate(() => Module.qsSyncs);
    const played = await state(page);
    await tap(page, 'Escape');
    const back = await waitState(page, (st) => st.Scene === 0, 5000);
    const synced = await waitFor(page, (n) => Module.qsSyncs > n, syncs, 10000);
    result(!!back && synced, 'Escape saves the record to the browser storage and returns to the title',
           `HiScore=${played.HiScore} PlayCount=${played.PlayCount}`);
    const hiscore = (back || played).HiScore, playcount = (back || played).PlayCount;
    await page.close();

    page = await openPage();
    await ready(page);
    await page.click('#cover');
    const again = await waitState(page, (st) => st.Scene === 0 && st.PlayCount > 0, 30000);
    const noBox = !(await dialogShowing(page));
    result(!!again && noBox && again.HiScore === hiscore && again.PlayCount === playcount && hiscore > 0,
           'after a reload the record is read back with its high score, with no load box',
           again ? `HiScore=${again.HiScore} PlayCount=${again.PlayCount} box=${!noBox}` : 'no title');

    // The settings page's text rows take what is typed (the browser's key
    // presses as SDL's text input): the board's address, saved.
    let ini = '';
    if (again && await waitState(page, (st) => st.MenuState >= 11, 30000)) {
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
  }
  await page.close();

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
  server.close();
  fs.rmSync(profile, { recursive: true, force: true });
}
console.log(`web: ${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
