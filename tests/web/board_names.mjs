// Opens a score board page in Debian's headless Chromium and checks that
// hostile player names are shown as text, never run or turned into markup:
//   node board_names.mjs URL SHOT.png NAME...
// Prints one line per case and a closing "board page: N passed, N failed".
import puppeteer from 'puppeteer-core';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const [url, shot, ...names] = process.argv.slice(2);
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'qs-board-chromium-'));
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  userDataDir: profile,
  args: ['--no-sandbox', '--window-size=900,700'],
  defaultViewport: { width: 900, height: 700 },
});
let passed = 0, failed = 0;
function result(ok, name, detail = '') {
  if (ok) passed++; else failed++;
  console.log(`${ok ? 'PASS' : 'FAIL'} ${name}${detail ? ': ' + detail : ''}`);
}
try {
  const page = await browser.newPage();
  const dialogs = [];
  page.on('dialog', async (d) => { dialogs.push(d.message()); await d.dismiss(); });
  await page.goto(url, { waitUntil: 'load', timeout: 30000 });
  const seen = await page.evaluate(() => ({
    links: [...document.querySelectorAll('td a')].map((a) => a.textContent),
    injected: document.querySelectorAll('td svg, td img, td script, td iframe, td b, td i').length,
    pwned: window.__pwned !== undefined,
  }));
  for (const n of names) result(seen.links.includes(n), `name shown as its own text: ${JSON.stringify(n)}`);
  result(seen.injected === 0 && !seen.pwned && dialogs.length === 0, 'no markup or script from a name',
         `elements ${seen.injected}, script ran ${seen.pwned}, dialogs ${dialogs.length}`);
  if (shot) await page.screenshot({ path: shot, fullPage: true });
} catch (e) {
  result(false, 'board page', String(e));
} finally {
  await browser.close();
  fs.rmSync(profile, { recursive: true, force: true });
}
console.log(`board page: ${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
