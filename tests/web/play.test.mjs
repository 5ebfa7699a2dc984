// The browser build played in headless Chromium with real input events, one page from its first
// frame to the end of the game and a restart, then the same game by touch on a phone, the page on
// other screens, its failures, its second visit offline, and the page on a host that compresses,
// with two copies of the site on one origin and a new build put up. Frames are compared with the
// desktop's golden references where the picture matches; elsewhere with the page's own earlier
// frames.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync, readdirSync, statSync } from 'node:fs';
import { brotliDecompressSync, gunzipSync } from 'node:zlib';
import { pathToFileURL } from 'node:url';
import { Background, GamePage, OnPlay, Screens, differingPixels, front, serveSite, waitUntil } from './browser.mjs';
import { decodePng, compareFrames } from './png.mjs';

// The driver prompt as the console shows it: a message a line, the last one empty.
const Prompt = readFileSync(new URL('../golden/prompt.txt', import.meta.url), 'utf8').split('\n').slice(0, -1);
// SwiftShader against the desktop's llvmpipe: measured on the first frame, 25 pixels off by more
// than 64 (glyph and sprite edges).
const Tolerance = { channel: 64, pixels: 40 };

function assertMatches(frame, expected, what) {
  const d = compareFrames(frame, expected, Tolerance.channel);
  assert.ok(d.beyond <= Tolerance.pixels,
    `${what}: ${d.beyond} pixels differ by more than ${Tolerance.channel} (largest ${d.most}, ${d.differing} differ at all)`);
}
const golden = (name) => decodePng(readFileSync(new URL(`../golden/${name}.png`, import.meta.url)));

let game, touch, hosted, host, frame, first;
const site = process.env.ZARNEL_WEB_SITE;
const ProgramFiles = ['zarnel.js', 'zarnel.wasm', 'zarnel.data'];
const programBytes = () => ProgramFiles.reduce((n, f) => n + statSync(`${site}/${f}`).size, 0);

// One step of play on a page: the action must change the picture; the settled picture becomes the
// frame.
async function step(what, action, on = game) {
  const before = frame;
  await action();
  assert.ok(await waitUntil(async () => differingPixels(await on.capture(), before) > 0),
    `${what}: the picture did not change`);
  frame = await on.captureSettled();
}

// After PLAY: the picture changes in several animated steps and settles on a scrambled cube.
async function assertScrambles(on) {
  let pictures = 0;
  for (let last = frame; pictures < 3; pictures++) {
    const changed = await waitUntil(async () => differingPixels(await on.capture(), last) > 1000);
    if (!changed) break;
    last = await on.capture();
  }
  assert.equal(pictures, 3, 'the scramble is not animated');
  frame = await on.captureSettled();
  assert.ok(differingPixels(frame, golden('play-hovered')) > 2000, 'the cube is not scrambled');
}

// Watches the next such event on the page: read() then tells whether the page's own handlers
// kept the browser's default action from it.
async function watchDefault(type, key) {
  await game.evaluate((type, key) => {
    window.zarnelSeen = undefined;
    window.addEventListener(type, function seen(e) {
      if (key && e.key !== key) return;
      window.removeEventListener(type, seen);
      window.zarnelSeen = e.defaultPrevented;
    });
  }, type, key);
  return {
    read: async () => {
      await game.waitFor(() => window.zarnelSeen !== undefined, 5000);
      return game.evaluate(() => window.zarnelSeen);
    },
  };
}

before(async () => { game = await GamePage.open(); });
after(async () => {
  for (const g of [game, touch, hosted]) if (g) await g.close();
  if (host) await host.close();
});

test('Without WebGL the page says so and loads no program', async () => {
  const page = await game.browser.newPage();
  await page.evaluateOnNewDocument(() => {
    const getContext = HTMLCanvasElement.prototype.getContext;
    HTMLCanvasElement.prototype.getContext = function (kind, ...rest) {
      return /webgl/.test(kind) ? null : getContext.call(this, kind, ...rest);
    };
  });
  await page.goto(game.url);
  assert.equal(await page.$eval('#no-webgl', (e) => !e.hidden && getComputedStyle(e).display !== 'none'), true);
  assert.equal(await page.evaluate(() => typeof window.Module), 'undefined');
  await page.close();
});

test('The page opens on the game: the prompt in the console, the cube and the status line, the keyboard on the canvas', async () => {
  await game.load();
  assert.ok(await waitUntil(() => game.console.length >= Prompt.length, 5000));
  assert.deepEqual(game.console.slice(0, Prompt.length), Prompt);
  assert.equal(await game.evaluate(() => document.title), 'Zarnel');
  assert.equal(await game.evaluate(() => document.activeElement.id), 'canvas');
  // Twice its size in the 1600 x 1200 window, which it fills.
  assert.deepEqual(game.box, { x: 0, y: 0, width: 1600, height: 1200, density: 1 });
  // The loading bar counted every file the game downloads.
  assert.equal(await game.evaluate(() => document.getElementById('loading-bar').max), programBytes());
  assert.equal(await game.evaluate(() => fetch(document.querySelector('link[rel=icon]').href).then((r) => r.ok)), true);
  // The reference shows face texture 0 at the front face's centre and the status line.
  frame = first = await game.captureSettled();
  assertMatches(frame, golden('first'), 'first frame');
});

test('A click gives the canvas the keyboard; F1 then shows the help and hides it again, and the browser does not act on it; Tab goes to the help button and back with a focus ring, which a click takes away', async () => {
  await game.evaluate(() => document.activeElement.blur());
  await game.move(Background.x, Background.y);
  await game.press();
  await game.release();
  assert.equal(await game.evaluate(() => document.activeElement.id), 'canvas');
  const prevented = await watchDefault('keydown', 'F1');
  await step('F1', () => game.key('F1'));
  assert.equal(await prevented.read(), true);
  assertMatches(frame, golden('help'), 'help shown');
  await step('F1 again', () => game.key('F1'));
  assertMatches(frame, first, 'help hidden');
  const focused = () => game.evaluate(() => [document.activeElement.id, getComputedStyle(document.activeElement).opacity,
    document.activeElement.matches(':focus-visible') && getComputedStyle(document.activeElement).outlineStyle]);
  await game.key('Tab');
  assert.deepEqual(await focused(), ['help', '1', 'solid']);
  await game.page.keyboard.down('Shift');
  await step('Shift+Tab', () => game.key('Tab'));
  await game.page.keyboard.up('Shift');
  assert.deepEqual(await focused(), ['canvas', '1', 'solid']);
  await step('click the background', () => game.move(Background.x, Background.y).then(() => game.press()).then(() => game.release()));
  assertMatches(frame, first, 'without the ring');
});

test('Hovering PLAY highlights it; leaving it takes the highlight away', async () => {
  await step('hover PLAY', () => game.move(OnPlay.x, OnPlay.y));
  assertMatches(frame, golden('play-hovered'), 'PLAY hovered');
  await step('leave PLAY', () => game.move(Background.x, Background.y));
  assertMatches(frame, first, 'PLAY left');
});

test('A left drag onto a neighbour turns a layer; the reverse drag turns it back', async () => {
  const middle = front(1, 2), left = front(0, 2);
  await step('drag the top row left', () => game.drag('left', middle, left));
  assert.ok(differingPixels(frame, first) > 2000, 'the top row did not turn');
  await step('drag it back', () => game.drag('left', left, middle));
  // The pressed sub-cube stays highlighted until a press elsewhere.
  await step('press the background', async () => {
    await game.move(Background.x, Background.y);
    await game.press();
    await game.release();
  });
  assertMatches(frame, first, 'after the reverse drag');
});

test('A right drag turns the whole cube, without the browser menu; the drag back restores it', async () => {
  const prevented = await watchDefault('contextmenu');
  await step('right drag', () => game.drag('right', { x: 60, y: 300 }, { x: 160, y: 300 }));
  assert.equal(await prevented.read(), true);
  assert.ok(differingPixels(frame, first) > 2000, 'the cube did not turn');
  // Five pixels turn the cube by one degree, and the cube shows its latest move's turn once more
  // until the next move: 100 pixels out in moves of 10 show 22 degrees; 90 back show 0 again.
  await step('right drag back', () => game.drag('right', { x: 160, y: 300 }, { x: 70, y: 300 }, 9));
  assertMatches(frame, first, 'after the drag back');
});

test('PLAY scrambles the cube with animated turns', async () => {
  await step('hover PLAY', () => game.move(OnPlay.x, OnPlay.y));
  await game.press();
  await game.release();
  await assertScrambles(game);
});

test('Esc ends the game: the page says so, and its button starts the game again', async () => {
  await game.move(Background.x, Background.y);
  const prevented = await watchDefault('keydown', 'Escape');
  await game.key('Escape');
  assert.equal(await prevented.read(), true);
  assert.ok(await game.waitFor(() => !document.getElementById('ended').hidden), 'no ended panel');
  assert.equal(await game.evaluate(() => window.zarnelPage.exitStatus), 0);
  game.console.length = 0;
  await Promise.all([game.page.waitForNavigation(), game.page.click('#restart')]);
  assert.ok(await game.waitFor(() => window.zarnelPage && window.zarnelPage.firstFrameAt !== null), 'no new first frame');
  assert.ok(await waitUntil(() => game.console.length >= Prompt.length, 5000));
  assert.deepEqual(game.console.slice(0, Prompt.length), Prompt);
  assertMatches(await game.captureSettled(), first, 'the restarted game');
});

test('Installable, and a second visit plays from the service worker\'s cache with the network off', async () => {
  assert.deepEqual((await game.cdp.send('Page.getInstallabilityErrors')).installabilityErrors, []);
  assert.equal(await game.evaluate(() => navigator.serviceWorker.ready.then((r) => !!r.active)), true);
  // Every file this page loaded is in the worker's cache, and the browser's own cache is emptied.
  assert.deepEqual(await game.evaluate(async () => {
    const cache = await caches.open((await caches.keys()).find((n) => n.startsWith('zarnel ')));
    const files = [location.href, ...performance.getEntriesByType('resource').map((e) => e.name)];
    return (await Promise.all(files.map(async (f) => ((await cache.match(f)) ? null : f)))).filter((f) => f);
  }), []);
  await game.cdp.send('Network.clearBrowserCache');
  await game.page.setOfflineMode(true);
  await game.load();
  frame = await game.captureSettled();
  assertMatches(frame, first, 'first frame offline');
  await step('F1 offline', () => game.key('F1'));
  assertMatches(frame, golden('help'), 'help offline');
  await game.page.setOfflineMode(false);
});

// --- The page on a host of our own that compresses, with two copies of the site -----------------

// Build N+1 of the site, as a host puts it up: another sentence on the panel at the game's end (the
// game sets the page's title itself), and so another build name in the worker, here the build's
// hash reversed.
function buildNext() {
  const sw = readFileSync(`${site}/sw.js`, 'utf8'), build = sw.match(/const Build = '(\w+)'/)[1];
  const name = [...build].reverse().join('');
  return { name, files: { 'sw.js': sw.replace(build, name),
    'index.html': readFileSync(`${site}/index.html`, 'utf8').replace(N, N1) } };
}
const N = 'The game has ended.', N1 = 'Build N+1 has ended.';
let next;

// Visits a copy of the site on our host until its worker is active; returns the build's sentence.
async function visit(copy) {
  hosted.url = `${host.url}${copy}/`;
  await hosted.load();
  await hosted.evaluate(() => navigator.serviceWorker.ready);
  return hosted.evaluate(() => document.querySelector('#ended p').textContent);
}

test('The site\'s .br and .gz are its large files compressed; on a host that sends them, the loading bar fills and the game plays', async () => {
  const compressed = readdirSync(site).filter((f) => /\.(br|gz)$/.test(f));
  for (const name of ProgramFiles) assert.ok(compressed.includes(`${name}.br`) && compressed.includes(`${name}.gz`), name);
  for (const name of compressed) {
    const plain = readFileSync(`${site}/${name.slice(0, -3)}`), packed = readFileSync(`${site}/${name}`);
    assert.ok((name.endsWith('.br') ? brotliDecompressSync : gunzipSync)(packed).equals(plain), `${name} is not its file compressed`);
  }
  host = await serveSite(site);
  next = buildNext();
  host.copies['zarnel-beta'] = next.files;
  hosted = await GamePage.open(Screens.desktop);
  assert.equal(await visit('zarnel'), N);
  assert.ok(ProgramFiles.every((f) => host.sent.includes(`zarnel/${f} br`)), `sent: ${host.sent.join(', ')}`);
  const bar = () => hosted.evaluate(() => [document.getElementById('loading-bar').value, document.getElementById('loading-bar').max]);
  assert.ok(await waitUntil(async () => (await bar())[0] === programBytes(), 5000), `the bar stopped at ${await bar()}`);
  assert.deepEqual(await bar(), [programBytes(), programBytes()]);
  assertMatches(await hosted.captureSettled(), golden('first'), 'first frame from the compressing host');
});

test('Two copies of the site on one origin, builds N and N+1 at two paths, each keep their own cache: both play offline after each was visited', async () => {
  assert.equal(await visit('zarnel-beta'), N1);
  host.down = true;
  try {
    await hosted.cdp.send('Network.clearBrowserCache');
    for (const [copy, sentence] of [['zarnel', N], ['zarnel-beta', N1]]) {
      assert.equal(await visit(copy), sentence, `${copy} offline`);
      assertMatches(await hosted.captureSettled(), golden('first'), `${copy} offline`);
    }
  } finally {
    host.down = false;
  }
});

test('A player of build N who reloads once N+1 is up gets N+1 from the next load on: the reload brings N+1\'s worker, which replaces N\'s cache and leaves the other copy\'s', async () => {
  host.copies.zarnel = next.files;
  const seen = [await visit('zarnel')];
  const cacheNames = () => hosted.evaluate(() => caches.keys().then((names) => names.filter((n) => n.startsWith('zarnel ')).sort()));
  const expected = [`zarnel ${host.url}zarnel-beta/ ${next.name}`, `zarnel ${host.url}zarnel/ ${next.name}`];
  assert.ok(await waitUntil(async () => JSON.stringify(await cacheNames()) === JSON.stringify(expected), 10000),
    `caches: ${await cacheNames()}`);
  seen.push(await visit('zarnel'));
  assert.deepEqual(seen, [N, N1]);
  assertMatches(await hosted.captureSettled(), golden('first'), 'first frame of build N+1');
});

test('A missing file, and the page opened as a file, say what is wrong within seconds', async () => {
  const context = await game.browser.createBrowserContext();
  const page = await context.newPage();
  const shown = (id) => page.waitForFunction((id) => !document.getElementById(id).hidden, { timeout: 5000 }, id)
    .then(() => page.$eval(`#${id}`, (e) => e.innerText));
  let missing;
  await page.setRequestInterception(true);
  page.on('request', (r) => (r.url().endsWith(missing) ? r.respond({ status: 404, body: 'File not found' }) : r.continue()));
  for (missing of ['zarnel.data', 'zarnel.wasm']) {
    await page.goto(game.url);
    assert.match(await shown('failed'), new RegExp(`${missing} could not be downloaded \\(the server answered 404.*\\)\\.\\s+Reload$`));
  }
  await page.goto(pathToFileURL(`${site}/index.html`).href);
  assert.match(await shown('not-served'), /served over http[^]*python3 -m http\.server[^]*http:\/\/localhost:8000\//);
  await context.close();
});

// --- The same game on a touch screen -----------------------------------------------------------

test('On phones held both ways, a tablet and a wide window the game is the largest centred 4:3 box the screen holds and nothing scrolls; touch screens show the help button', async () => {
  touch = await GamePage.open(Screens.phonePortrait);
  await touch.load();
  // Turning the phone and the tablet re-fit the page without a reload; the others load it anew.
  for (const name of ['phonePortrait', 'phoneLandscape', 'tablet', 'wideWindow', 'phoneLandscape']) {
    const { width, height, hasTouch } = Screens[name];
    await touch.page.setViewport(Screens[name]);
    assert.ok(await touch.waitFor(() => window.zarnelPage.firstFrameAt !== null), `${name}: no frame`);
    if (process.env.ZARNEL_WEB_SHOTS) await touch.page.screenshot({ path: `${process.env.ZARNEL_WEB_SHOTS}/${name}.png` });
    const fit = await touch.evaluate(() => {
      scrollTo(100, 100);
      const [s, h] = ['stage', 'help'].map((id) => document.getElementById(id).getBoundingClientRect());
      return { stage: [s.x, s.y, s.width, s.height], scrolls: [scrollX, scrollY, document.documentElement.scrollWidth - innerWidth,
        document.documentElement.scrollHeight - innerHeight], help: getComputedStyle(document.getElementById('help')).opacity === '1' &&
        h.left >= 0 && h.top >= 0 && h.right <= innerWidth && h.bottom <= innerHeight };
    });
    const w = Math.min(width, height * 4 / 3), fitted = [(width - w) / 2, (height - w * 3 / 4) / 2, w, w * 3 / 4];
    assert.ok(fit.stage.every((v, i) => Math.abs(v - fitted[i]) < 1), `${name}: stage at ${fit.stage}, not ${fitted}`);
    assert.deepEqual(fit.scrolls, [0, 0, 0, 0], `${name}: the page scrolls`);
    if (hasTouch) assert.ok(fit.help, `${name}: no help button`);
  }
  await touch.load();
  // The help button stands beside the game, not on it.
  frame = await touch.captureSettled();
  assertMatches(frame, golden('first'), 'first frame on the phone');
});

test('On the phone a one-finger drag onto a neighbour turns a layer, and the drag back turns it back', async () => {
  const middle = front(1, 2), left = front(0, 2);
  await step('drag the top row left', () => touch.swipe([{ from: middle, to: left }]), touch);
  assert.ok(differingPixels(frame, golden('first')) > 2000, 'the top row did not turn');
  await step('drag it back', () => touch.swipe([{ from: left, to: middle }]), touch);
  await step('tap the background', () => touch.swipe([{ from: Background, to: Background }], 0), touch);
  assertMatches(frame, golden('first'), 'after the reverse drag');
});

test('On the phone two fingers turn the whole cube as a right drag of their midpoint does, a third changes nothing, the page does not zoom, and the drag back restores it', async () => {
  // Moves of 20 game pixels are 13 screen pixels on this phone: exact both ways. Going out, the
  // fingers also spread apart as for a zoom, about the same midpoint.
  const pair = (x0, x1, spread = 0) => [{ from: { x: x0, y: 260 }, to: { x: x1, y: 260 - spread } },
    { from: { x: x0, y: 340 }, to: { x: x1, y: 340 + spread } }];
  const third = { from: { x: 400, y: 100 }, to: { x: 700, y: 500 } };
  await step('two fingers out', () => touch.swipe([...pair(60, 160, 100), third], 5), touch);
  assert.ok(differingPixels(frame, golden('first')) > 2000, 'the cube did not turn');
  assert.deepEqual(await touch.evaluate(() => [visualViewport.scale, scrollX, scrollY]), [1, 0, 0]);
  // As with the mouse, 100 pixels out in moves of 20 show 24 degrees; 80 back show 0.
  await step('two fingers back', () => touch.swipe(pair(160, 80), 4), touch);
  assertMatches(frame, golden('first'), 'after the two-finger drag back');
});

test('On the phone the help button shows and hides the help as F1 does, the keyboard stays with the game, and a tap on PLAY scrambles the cube', async () => {
  await step('tap help', () => touch.page.tap('#help'), touch);
  assertMatches(frame, golden('help'), 'help shown');
  await step('tap help again', () => touch.page.tap('#help'), touch);
  assertMatches(frame, golden('first'), 'help hidden');
  assert.equal(await touch.evaluate(() => document.activeElement.id), 'canvas');
  await touch.swipe([{ from: OnPlay, to: OnPlay }], 0);
  await assertScrambles(touch);
});

test('No uncaught error in the pages from their start to the end', () => {
  assert.deepEqual([game, touch, hosted].flatMap((g) => (g ? g.errors : [])), []);
});
