// Benchmarks of the browser build in each engine of ZARNEL_WEB_ENGINES (scripts/bench-web; the
// engines as tests/web/browser.mjs drives them, the site served as tests/web/serve.mjs does),
// printed side by side: navigation to the first frame on a first visit, from the service worker's
// cache and (Chromium) on a phone; the idle loop's rate against the page's own refresh rate and
// the main-thread time a frame; the duration of a layer turn; and what a player downloads.
import { brotliCompressSync, constants, gzipSync } from 'node:zlib';
import { existsSync, readFileSync, statSync } from 'node:fs';
import { Engines, GamePage, Screens, front } from '../../tests/web/browser.mjs';
import { serveSite } from '../../tests/web/serve.mjs';

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const median = (xs) => [...xs].sort((a, b) => a - b)[xs.length >> 1];
const site = process.env.ZARNEL_WEB_SITE;
const engines = (process.env.ZARNEL_WEB_ENGINES || 'chromium').split(',');
const Loads = 5;

// Each measure's value in each engine, in the order measured.
const rows = new Map();
function report(engine, what, value, goal = '') {
  if (!rows.has(what)) rows.set(what, { goal, values: {} });
  rows.get(what).values[engine] = value;
}

// From now on, every presented frame with its time, whether a turn's pacing slept before it and
// whether an animation-frame callback presented it (the idle loop's frames, and a turn's first);
// and the main-thread time of the animation-frame callbacks, which run the program when it waits
// for the display. The page's own requestAnimationFrame stays as zarnelRefresh.
function recordFrames(game) {
  return game.evaluate(() => {
    if (!window.zarnelFrames) {
      const shown = Module.onFrame, request = window.zarnelRefresh = window.requestAnimationFrame;
      Module.onFrame = (count, paced) => {
        window.zarnelFrames.push({ at: performance.now(), paced, inAnimationFrame: window.zarnelInAnimationFrame });
        shown(count, paced);
      };
      window.requestAnimationFrame = (f) => request((t) => {
        const start = performance.now();
        window.zarnelInAnimationFrame = true;
        try { f(t); } finally {
          window.zarnelInAnimationFrame = false;
          window.zarnelBusy += performance.now() - start;
        }
      });
    }
    window.zarnelFrames = [];
    window.zarnelBusy = 0;
  });
}

// Milliseconds from navigation to the first frame, as the page measures it. Each first visit is
// to a path of its own: no service worker, and nothing in the browser's cache (the server forbids
// keeping files).
async function firstVisits(game, name) {
  const times = [];
  for (let i = 0; i < Loads; i++) times.push((await game.load(game.url(`${name}-${i}`))).firstFrameAt);
  return median(times);
}

// Later visits: everything from the service worker's cache.
async function fromServiceWorker(game) {
  await game.load(game.url('again'));
  await game.evaluate(() => navigator.serviceWorker.ready.then(() => true));
  const times = [];
  for (let i = 0; i < Loads; i++) times.push((await game.load(game.url('again'))).firstFrameAt);
  return median(times);
}

async function firstFrames(engine, game) {
  const goal = '<= 1500 ms';
  report(engine, `first frame, first visit (median of ${Loads})`, `${(await firstVisits(game, 'first')).toFixed(0)} ms`, goal);
  report(engine, `first frame, service worker's cache (median of ${Loads})`, `${(await fromServiceWorker(game)).toFixed(0)} ms`, goal);
  if (!Engines[engine].devices) return;
  await game.setViewport(Screens.phonePortrait);
  report(engine, `first frame, phone 390x844, first visit (median of ${Loads})`, `${(await firstVisits(game, 'phone')).toFixed(0)} ms`, goal);
  await game.setViewport(Screens.desktop);
}

// The idle loop over the same seconds: its frames against the display's refreshes, and the
// main-thread time the program takes a frame (the idle loop waits for nothing but the display).
// Chromium also counts every task of its main thread.
async function idle(engine, game, seconds) {
  await game.load(game.url('again'));
  await recordFrames(game);
  await sleep(1000);
  const before = engine === 'chromium' ? await game.page.metrics() : null;
  const { refreshes, frames, busy } = await game.evaluate((ms) => new Promise((resolve) => {
    window.zarnelFrames = [];
    window.zarnelBusy = 0;
    let refreshes = 0;
    const end = performance.now() + ms;
    (function tick(now) {
      if (now < end) {
        refreshes++;
        zarnelRefresh(tick);
      } else {
        resolve({ refreshes, frames: zarnelFrames.length, busy: zarnelBusy });
      }
    })(0);
  }), seconds * 1000);
  const after = before && await game.page.metrics();
  report(engine, 'idle frames per second', (frames / seconds).toFixed(1), 'no more than the display');
  report(engine, 'display refreshes per second', (refreshes / seconds).toFixed(1));
  report(engine, 'program\'s main-thread time per idle frame', `${(busy / frames).toFixed(2)} ms`, '<= 3 ms');
  if (before)
    report(engine, 'all main-thread tasks per idle frame', `${((after.TaskDuration - before.TaskDuration) * 1000 / frames).toFixed(2)} ms`);
}

// A turn draws its 46 frames from inside the event that starts it: the first in the animation
// frame that handles the event, the others after the turn's sleeps or zero-delay yields, outside
// any animation frame.
async function layerTurn(engine, game) {
  await game.evaluate(() => { window.zarnelFrames = []; });
  await game.drag('left', front(1, 2), front(0, 2));
  await sleep(3000);
  const frames = await game.evaluate(() => window.zarnelFrames);
  const start = frames.findIndex((f) => !f.inAnimationFrame) - 1;
  const what = 'layer turn, first to last of its 46 frames';
  if (start < 0 || start + 45 >= frames.length) {
    report(engine, what, 'no turn seen');
    return;
  }
  const turn = frames.slice(start, start + 46), paced = turn.filter((f) => f.paced).length;
  report(engine, what, `${((turn[45].at - turn[0].at) / 1000).toFixed(3)} s, ${paced}/45 paced`, '0.36 to 0.5 s at 60 Hz');
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
    console.log(`${name.padEnd(56)} ${mb(statSync(`${site}/${name}`).size)}, ${mb(z)} gzipped, ${mb(b)} brotli`);
  }
  console.log(`${'all three gzipped'.padEnd(56)} ${mb(gzipped)}   (goal <= 0.70 MB)`);
  console.log(`${'all three brotli'.padEnd(56)} ${mb(brotli)}`);
}

function printTable() {
  const width = 20;
  console.log(`${''.padEnd(56)} ${engines.map((e) => e.padEnd(width)).join(' ')} goal`);
  for (const [what, { goal, values }] of rows)
    console.log(`${what.padEnd(56)} ${engines.map((e) => (values[e] || '-').padEnd(width)).join(' ')} ${goal}`);
}

const server = await serveSite();
try {
  for (const engine of engines) {
    const game = await GamePage.open(engine, server);
    try {
      await firstFrames(engine, game);
      await idle(engine, game, 3);
      await layerTurn(engine, game);
    } finally {
      await game.close();
    }
  }
  printTable();
  sizes();
} finally {
  await server.close();
}
