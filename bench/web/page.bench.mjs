// Benchmarks of the browser build in headless Chromium (scripts/bench-web serves the site):
// navigation to the first frame with an empty cache, from the service worker's cache and on a
// phone, the idle loop's rate and main-thread time a frame against the page's own refresh rate,
// the duration of a layer turn, and what a player downloads.
import { brotliCompressSync, constants, gzipSync } from 'node:zlib';
import { existsSync, readFileSync, statSync } from 'node:fs';
import { GamePage, Screens, front } from '../../tests/web/browser.mjs';

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const median = (xs) => [...xs].sort((a, b) => a - b)[xs.length >> 1];
const site = process.env.ZARNEL_WEB_SITE;

function report(what, value, goal) {
  console.log(`${what.padEnd(56)} ${value}${goal ? `   (goal ${goal})` : ''}`);
}

// Every presented frame from now on, with its time and whether a turn's pacing slept before it.
function recordFrames(game) {
  return game.evaluate(() => {
    if (!window.zarnelFrames) {
      const shown = Module.onFrame;
      Module.onFrame = (count, paced) => {
        window.zarnelFrames.push({ at: performance.now(), paced });
        shown(count, paced);
      };
    }
    window.zarnelFrames = [];
  });
}

// Milliseconds from navigation to the first frame, as the page measures it.
async function firstFrame(page, url) {
  await page.goto(url);
  await page.waitForFunction(() => window.zarnelPage && window.zarnelPage.firstFrameAt !== null, { polling: 50, timeout: 30000 });
  return page.evaluate(() => window.zarnelPage.firstFrameAt);
}

// Each load with an empty cache: a fresh browser context, with no cache and no service worker.
async function emptyCache(game, screen, loads) {
  const times = [];
  for (let i = 0; i < loads; i++) {
    const context = await game.browser.createBrowserContext();
    const page = await context.newPage();
    await page.setViewport(screen);
    times.push(await firstFrame(page, game.url));
    await context.close();
  }
  return median(times);
}

// Second and later visits: everything from the service worker's cache, the browser's emptied.
async function fromServiceWorker(game, loads) {
  const context = await game.browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport(Screens.desktop);
  await firstFrame(page, game.url);
  await page.evaluate(() => navigator.serviceWorker.ready);
  const cdp = await page.createCDPSession(), times = [];
  for (let i = 0; i < loads; i++) {
    await cdp.send('Network.clearBrowserCache');
    times.push(await firstFrame(page, game.url));
  }
  await context.close();
  return median(times);
}

async function firstFrames(game, loads) {
  const goal = '<= 1500 ms';
  report(`first frame, empty cache (median of ${loads})`, `${(await emptyCache(game, Screens.desktop, loads)).toFixed(0)} ms`, goal);
  report(`first frame, service worker's cache (median of ${loads})`, `${(await fromServiceWorker(game, loads)).toFixed(0)} ms`, goal);
  report(`first frame, phone 390x844, empty cache (median of ${loads})`,
    `${(await emptyCache(game, Screens.phonePortrait, loads)).toFixed(0)} ms`, goal);
}

async function idle(game, seconds) {
  await sleep(1000);
  await recordFrames(game);
  const before = await game.page.metrics();
  const refreshes = game.evaluate((ms) => new Promise((resolve) => {
    let n = 0;
    const end = performance.now() + ms;
    (function tick(now) { if (now >= end) resolve(n); else { n++; requestAnimationFrame(tick); } })(0);
  }), seconds * 1000);
  const displayRate = await refreshes / seconds;
  const after = await game.page.metrics();
  const frames = await game.evaluate(() => window.zarnelFrames.length);
  const taskMs = (after.TaskDuration - before.TaskDuration) * 1000;
  report('idle frames per second', (frames / seconds).toFixed(1), `no more than the display: ${displayRate.toFixed(1)}`);
  report('main-thread time per idle frame', `${(taskMs / frames).toFixed(2)} ms`, '<= 3 ms');
}

async function layerTurn(game) {
  await recordFrames(game);
  await game.drag('left', front(1, 2), front(0, 2));
  await sleep(3000);
  const frames = await game.evaluate(() => window.zarnelFrames);
  const paced = frames.map((f, i) => ({ ...f, i })).filter((f) => f.paced);
  if (paced.length < 2) {
    report('layer turn', 'no paced frames: each frame took longer than the pacing interval');
    return;
  }
  // The turn's first frame is shown unpaced, just before the first paced one; 46 frames in all.
  const start = paced[0].i - 1;
  const last = frames[Math.min(start + 45, frames.length - 1)];
  report('layer turn, first to last of its 46 frames', `${((last.at - frames[start].at) / 1000).toFixed(3)} s, ` +
    `${paced.length} of 45 frames paced`, '0.36 to 0.5 s at 60 Hz');
}

// What a player downloads: each program file raw, and compressed as the site's .gz and .br are
// (gzip -9 and brotli's highest level), which hosts that compress send; where a site has none,
// compressed here by node's zlib at the same levels (its gzip is about 1 % larger than gzip's).
function sizes() {
  const mb = (n) => `${(n / 1e6).toFixed(3)} MB`;
  const compressed = (name, suffix, compress) =>
    (existsSync(`${site}/${name}${suffix}`) ? statSync(`${site}/${name}${suffix}`).size : compress(readFileSync(`${site}/${name}`)).length);
  let gzipped = 0, brotli = 0;
  for (const name of ['zarnel.wasm', 'zarnel.js', 'zarnel.data']) {
    const z = compressed(name, '.gz', (bytes) => gzipSync(bytes, { level: 9 }));
    const b = compressed(name, '.br', (bytes) => brotliCompressSync(bytes, { params: {
      [constants.BROTLI_PARAM_QUALITY]: 11, [constants.BROTLI_PARAM_SIZE_HINT]: bytes.length } }));
    gzipped += z;
    brotli += b;
    report(name, `${mb(statSync(`${site}/${name}`).size)}, ${mb(z)} gzipped, ${mb(b)} brotli`);
  }
  report('all three gzipped', mb(gzipped), '<= 0.70 MB');
  report('all three brotli', mb(brotli));
}

const game = await GamePage.open();
try {
  await firstFrames(game, 5);
  await game.load();
  await idle(game, 3);
  await layerTurn(game);
  sizes();
} finally {
  await game.close();
}
