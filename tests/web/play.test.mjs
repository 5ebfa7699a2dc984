// The browser build played with real input events in each browser engine of ZARNEL_WEB_ENGINES
// (chromium, firefox, webkit; browser.mjs says how each is driven), on a host of the test's own
// that compresses as most hosts do (serve.mjs): one page from its first frame to the end of the
// game and a restart, a lost WebGL context, a fault while it plays, its second visit offline and
// its failures; the site's .br and .gz files, the loading bar on the compressing host, two copies
// of the site on one origin both playing offline, and a new build replacing the old one's cache;
// then the same game by touch (on a phone in Chromium), and in Chromium the page on other screens.
// Each engine runs the same cases where its driver allows them: WebKitGTK's driver turns touch
// actions into mouse events, so no touch case runs there. Frames are compared with the desktop's
// golden references where the picture matches; elsewhere with the page's own earlier frames.
import { describe, test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { appendFileSync, readFileSync, readdirSync, statSync } from 'node:fs';
import { brotliDecompressSync, gunzipSync } from 'node:zlib';
import { pathToFileURL } from 'node:url';
import { Background, Engines, GamePage, OnPlay, Screens, differingPixels, front, waitUntil } from './browser.mjs';
import { decodePng, compareFrames } from './png.mjs';
import { serveSite } from './serve.mjs';

// The driver prompt as the console shows it: a message a line, the last one empty.
const Prompt = readFileSync(new URL('../golden/prompt.txt', import.meta.url), 'utf8').split('\n').slice(0, -1);
// Each engine against the desktop's llvmpipe, measured on the golden frames: Chromium's
// SwiftShader has 25 pixels off by more than 64 (glyph and sprite edges, largest 175); Firefox on
// llvmpipe 13 to 47 pixels off by 1, none by more; WebKitGTK on llvmpipe 8 pixels off by more than
// 64 (largest 92), about 7,500 by less.
const Tolerance = { chromium: { channel: 64, pixels: 40 }, firefox: { channel: 8, pixels: 10 }, webkit: { channel: 64, pixels: 16 } };
const golden = (name) => decodePng(readFileSync(new URL(`../golden/${name}.png`, import.meta.url)));
const site = process.env.ZARNEL_WEB_SITE;
const engines = (process.env.ZARNEL_WEB_ENGINES || 'chromium').split(',');
const ProgramFiles = ['zarnel.js', 'zarnel.wasm', 'zarnel.data'];
const programBytes = () => ProgramFiles.reduce((n, f) => n + statSync(`${site}/${f}`).size, 0);

let server;
before(async () => { server = await serveSite(); });
after(() => server.close());

for (const engine of engines) describe(engine, () => {
  const can = Engines[engine];
  let game, touch, hosted, hostedErrors = [], frame, first;

  // A case this engine's driver cannot play (why: the reason, or nothing where it can) is skipped
  // and recorded among the suite's skipped tests (scripts/test-web prints them last).
  function caseWhere(why, name, fn) {
    if (!why) return test(name, fn);
    if (process.env.ZARNEL_SKIPS) appendFileSync(process.env.ZARNEL_SKIPS, `web: SKIPPED in ${engine}: ${name} (${why})\n`);
    return test(name, { skip: why }, fn);
  }
  const noDevices = !can.devices && 'only Chromium emulates phones and tablets, and cancels a touch';
  const noTouch = !can.touch && 'the driver turns touch actions into mouse events';

  function assertMatches(picture, expected, what) {
    const { channel, pixels } = Tolerance[engine];
    const d = compareFrames(picture, expected, channel);
    assert.ok(d.beyond <= pixels, `${what}: ${d.beyond} pixels differ by more than ${channel} (largest ${d.most}, ${d.differing} differ at all)`);
  }

  // One step of play on a page: the action must change the picture; the settled picture becomes
  // the frame.
  async function step(what, action, on = game) {
    const before = frame;
    await action();
    assert.ok(await waitUntil(async () => differingPixels(await on.capture(), before) > 0), `${what}: the picture did not change`);
    frame = await on.captureSettled();
  }

  // After PLAY: the picture changes in several animated steps and settles on a scrambled cube.
  async function assertScrambles(on) {
    let pictures = 0;
    for (let last = frame; pictures < 3; pictures++) {
      if (!await waitUntil(async () => differingPixels(await on.capture(), last) > 1000)) break;
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
      window.zarnelDefault = undefined;
      window.addEventListener(type, function seen(e) {
        if (key && e.key !== key) return;
        window.removeEventListener(type, seen);
        window.zarnelDefault = e.defaultPrevented;
      });
    }, type, key);
    return { read: async () => (await game.waitFor(() => window.zarnelDefault !== undefined, 5000)) && game.evaluate(() => window.zarnelDefault) };
  }

  const shown = (id, on = game) => on.waitFor((id) => !document.getElementById(id).hidden, 10000, id)
    .then((ok) => ok && on.evaluate((id) => document.getElementById(id).innerText.trim(), id));
  const announced = () => game.evaluate(() => document.getElementById('announce').textContent);
  async function assertPrompt(on) {
    assert.ok(await waitUntil(async () => (await on.console()).length >= Prompt.length, 5000), 'no prompt');
    assert.deepEqual((await on.console()).slice(0, Prompt.length), Prompt);
  }

  before(async () => { game = await GamePage.open(engine, server); });
  after(async () => { for (const g of new Set([game, touch, hosted])) if (g) await g.close(); });

  test('The page opens on the game: the prompt in the console, the cube and the status line, the keyboard on the canvas, a label that says how to play', async () => {
    await game.load();
    await assertPrompt(game);
    assert.equal(await game.evaluate(() => document.title), 'Zarnel');
    assert.equal(await game.evaluate(() => document.activeElement.id), 'canvas');
    // The game fills the 4:3 window.
    const { width, height } = can.devices ? Screens.desktop : Screens.desktopActualSize;
    assert.deepEqual(game.box, { x: 0, y: 0, width, height, density: 1 });
    // The loading bar counted every file the game downloads.
    assert.equal(await game.evaluate(() => document.getElementById('loading-bar').max), programBytes());
    assert.equal(await game.evaluate(() => fetch(document.querySelector('link[rel=icon]').href).then((r) => r.ok)), true);
    const label = await game.evaluate(() => document.getElementById('canvas').getAttribute('aria-label'));
    for (const word of [/mouse/i, /right button/i, /touch/i, /two fingers/i, /F1/, /Esc/, /PLAY/]) assert.match(label, word);
    // The reference shows face texture 0 at the front face's centre and the status line.
    frame = first = await game.captureSettled();
    assertMatches(frame, golden('first'), 'first frame');
  });

  test('A click gives the canvas the keyboard; F1 then shows the help and hides it again, and the browser does not act on it; Tab goes to the help button and back with a focus ring, which a click takes away', async () => {
    await game.evaluate(() => document.activeElement.blur());
    await game.clickAt(Background);
    assert.equal(await game.evaluate(() => document.activeElement.id), 'canvas');
    const prevented = await watchDefault('keydown', 'F1');
    await step('F1', () => game.key('F1'));
    assert.equal(await prevented.read(), true);
    assertMatches(frame, golden('help'), 'help shown');
    await step('F1 again', () => game.key('F1'));
    assertMatches(frame, first, 'help hidden');
    // Firefox and WebKitGTK driven on the X server match no :focus-visible after a Tab, on any
    // page: there only where the focus goes is checked, not its ring.
    const ring = engine === 'chromium';
    const focused = async () => (await game.evaluate(() => [document.activeElement.id, getComputedStyle(document.activeElement).opacity,
      document.activeElement.matches(':focus-visible') && getComputedStyle(document.activeElement).outlineStyle])).slice(0, ring ? 3 : 1);
    await game.key('Tab');
    assert.deepEqual(await focused(), ['help', '1', 'solid'].slice(0, ring ? 3 : 1));
    await game.keyDown('Shift');
    await (ring ? step('Shift+Tab', () => game.key('Tab')) : game.key('Tab'));
    await game.keyUp('Shift');
    assert.deepEqual(await focused(), ['canvas', '1', 'solid'].slice(0, ring ? 3 : 1));
    if (!ring) return;
    await step('click the background', () => game.clickAt(Background));
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
    await step('press the background', () => game.clickAt(Background));
    assertMatches(frame, first, 'after the reverse drag');
  });

  test('A right drag turns the whole cube, without the browser menu, also where a system opens it at the release beside the game; the drag back restores it', async () => {
    const prevented = await watchDefault('contextmenu');
    await step('right drag', () => game.drag('right', { x: 60, y: 300 }, { x: 160, y: 300 }));
    assert.equal(await prevented.read(), true);
    assert.ok(differingPixels(frame, first) > 2000, 'the cube did not turn');
    assert.equal(await game.evaluate(() => document.body.dispatchEvent(new MouseEvent('contextmenu', { bubbles: true, cancelable: true }))), false);
    // Five pixels turn the cube by one degree, and the cube shows its latest move's turn once more
    // until the next move: 100 pixels out in moves of 10 show 22 degrees; 90 back show 0 again.
    await step('right drag back', () => game.drag('right', { x: 160, y: 300 }, { x: 70, y: 300 }, 9));
    assertMatches(frame, first, 'after the drag back');
  });

  test('PLAY scrambles the cube with animated turns; a win is said to screen readers in the status line\'s words', async () => {
    await step('hover PLAY', () => game.move(OnPlay.x, OnPlay.y));
    await game.press();
    await game.release();
    await assertScrambles(game);
    // What the game prints when the cube is solved (README), as the page hears it.
    await game.evaluate(() => Module.print('congratulations,you win!'));
    assert.equal(await announced(), 'Congratulations, you win! Press PLAY to restart.');
  });

  test('Esc ends the game: the page says so, to screen readers too, and its button starts the game again', async () => {
    await game.move(Background.x, Background.y);
    const prevented = await watchDefault('keydown', 'Escape');
    await game.key('Escape');
    assert.equal(await prevented.read(), true);
    assert.match(await shown('ended'), /^The game has ended\.\s+Play again$/);
    assert.equal(await game.evaluate(() => window.zarnelPage.exitStatus), 0);
    assert.equal(await announced(), 'The game has ended.');
    assert.ok(await game.reloaded(() => game.click('#restart')), 'no new first frame');
    await assertPrompt(game);
    assertMatches(await game.captureSettled(), first, 'the restarted game');
  });

  test('A lost WebGL context is said over the game, a Restart button follows within seconds, and the game starts again by itself when the context comes back', async () => {
    await game.evaluate(() => { window.zarnelLose = document.getElementById('canvas').getContext('webgl').getExtension('WEBGL_lose_context'); });
    await game.evaluate(() => zarnelLose.loseContext());
    assert.match(await shown('lost'), /taken back the graphics[^]*starts again as soon as it gives them back/);
    assert.ok(await game.waitFor(() => !document.getElementById('lost-restart').hidden, 10000), 'no Restart button');
    assert.ok(await game.reloaded(() => game.evaluate(() => { zarnelLose.restoreContext(); })), 'no new first frame');
    assertMatches(await game.captureSettled(), first, 'the game after its context came back');
  });

  test('A fault in the program while it plays is said over the game, and Reload starts it again', async () => {
    await game.evaluate(() => { Module.onFrame = () => { throw new Error('a planted fault'); }; });
    assert.match(await shown('failed'), /^Zarnel stopped with an error: a planted fault\s+Reload$/);
    assert.deepEqual((await game.takeErrors()).filter((e) => !/a planted fault/.test(e)), []);
    assert.ok(await game.reloaded(() => game.click('#reload')), 'no new first frame');
  });

  test('A second visit plays from the service worker\'s cache with no network', async () => {
    if (can.devices) assert.deepEqual((await game.cdp.send('Page.getInstallabilityErrors')).installabilityErrors, []);
    assert.equal(await game.evaluate(() => navigator.serviceWorker.ready.then((r) => !!r.active)), true);
    // Every file this page loaded is in the worker's cache (the server lets the browser keep none).
    // Its cache is named after the build and the worker's scope, the page's folder.
    assert.deepEqual(await game.evaluate(async (scope) => {
      const cache = await caches.open((await caches.keys()).find((n) => n.startsWith(scope)));
      const files = [location.href, ...performance.getEntriesByType('resource').map((e) => e.name)];
      return (await Promise.all(files.map(async (f) => ((await cache.match(f)) ? null : f)))).filter((f) => f);
    }, `zarnel ${game.url()} `), []);
    server.offline();
    try {
      await game.load();
      frame = await game.captureSettled();
      assertMatches(frame, first, 'first frame offline');
      await step('F1 offline', () => game.key('F1'));
      assertMatches(frame, golden('help'), 'help offline');
    } finally {
      server.offline(false);
    }
  });

  test('A missing file, a .wasm served as something else, a game that cannot make its WebGL context, no WebGL, and the page opened as a file: each is said plainly within seconds', async () => {
    for (const missing of ['zarnel.data', 'zarnel.wasm']) {
      await game.goto(game.url(`missing-${missing}`));
      assert.match(await shown('failed'), new RegExp(`^${missing} could not be downloaded \\(the server answered 404.*\\)\\.\\s+Reload$`));
    }
    await game.goto(game.url('wasm-text'));
    assert.match(await shown('failed'), /^zarnel\.wasm could not be downloaded: the server sent something other than the program \(text\/html\)\.\s+Reload$/);
    await game.goto(game.url('no-game-context'));
    assert.match(await shown('failed'), /^Zarnel stopped with an error/);
    assert.equal(await game.evaluate(() => window.zarnelPage.exitStatus), 1);
    await game.goto(game.url('no-webgl'));
    assert.match(await shown('no-webgl'), /needs WebGL/);
    assert.equal(await game.evaluate(() => typeof window.Module), 'undefined');
    await game.goto(pathToFileURL(`${site}/index.html`).href);
    assert.match(await shown('not-served'), /served over http[^]*python3 -m http\.server[^]*http:\/\/localhost:8000\//);
    // Streaming compilation refuses a .wasm not called application/wasm: the page compiles the
    // bytes it already has, downloading the file once.
    await game.load(game.url('wasm-untyped'));
    assert.equal(await game.evaluate(() => performance.getEntriesByType('resource').filter((e) => e.name.endsWith('/zarnel.wasm')).length), 1);
    // The failures were meant: what they left uncaught is not checked.
    await game.takeErrors();
  });

  // --- Two copies of the site on one origin, and a new build put up ----------------------------

  // Build N+1 of the site, as a host puts it up: another sentence on the panel at the game's end
  // (the game sets the page's title itself), and so another build name in the worker, here the
  // build's hash reversed.
  const N = 'The game has ended.', N1 = 'Build N+1 has ended.';
  function buildNext() {
    const sw = readFileSync(`${site}/sw.js`, 'utf8'), build = sw.match(/const Build = '(\w+)'/)[1];
    const name = [...build].reverse().join('');
    return { name, files: { 'sw.js': sw.replace(build, name), 'index.html': readFileSync(`${site}/index.html`, 'utf8').replace(N, N1) } };
  }
  let next;

  // Visits a copy of the site until its worker is active; returns the build's sentence.
  async function visit(copy) {
    await hosted.load(hosted.url(copy));
    await hosted.evaluate(() => navigator.serviceWorker.ready.then(() => true));
    return hosted.evaluate(() => document.querySelector('#ended p').textContent);
  }

  test('The site\'s .br and .gz are its large files compressed; sent by the host, the loading bar fills and the game plays', async () => {
    const compressed = readdirSync(site).filter((f) => /\.(br|gz)$/.test(f));
    for (const name of ProgramFiles) assert.ok(compressed.includes(`${name}.br`) && compressed.includes(`${name}.gz`), name);
    for (const name of compressed) {
      const plain = readFileSync(`${site}/${name.slice(0, -3)}`), packed = readFileSync(`${site}/${name}`);
      assert.ok((name.endsWith('.br') ? brotliDecompressSync : gunzipSync)(packed).equals(plain), `${name} is not its file compressed`);
    }
    next = buildNext();
    server.copies['zarnel-beta'] = next.files;
    hosted = await GamePage.open(engine, server);
    server.sent.length = 0;
    assert.equal(await visit('zarnel'), N);
    // Chromium accepts brotli from 127.0.0.1; Firefox and WebKit only gzip over http.
    const path = new URL(hosted.url('zarnel')).pathname.slice(1);
    assert.ok(ProgramFiles.every((f) => server.sent.some((s) => s === `${path}${f} br` || s === `${path}${f} gzip`)),
      `sent: ${server.sent.join(', ')}`);
    const bar = () => hosted.evaluate(() => [document.getElementById('loading-bar').value, document.getElementById('loading-bar').max]);
    assert.ok(await waitUntil(async () => (await bar())[0] === programBytes(), 5000), `the bar stopped at ${await bar()}`);
    assert.deepEqual(await bar(), [programBytes(), programBytes()]);
    assertMatches(await hosted.captureSettled(), golden('first'), 'first frame from the compressing host');
  });

  test('Two copies of the site on one origin, builds N and N+1 at two paths, each keep their own cache: both play offline after each was visited', async () => {
    assert.equal(await visit('zarnel-beta'), N1);
    server.offline();
    try {
      for (const [copy, sentence] of [['zarnel', N], ['zarnel-beta', N1]]) {
        assert.equal(await visit(copy), sentence, `${copy} offline`);
        assertMatches(await hosted.captureSettled(), golden('first'), `${copy} offline`);
      }
    } finally {
      server.offline(false);
    }
  });

  test('A player of build N who reloads once N+1 is up gets N+1 from the next load on: the reload brings N+1\'s worker, which replaces N\'s cache and leaves the other copy\'s', async () => {
    server.copies.zarnel = next.files;
    try {
      const seen = [await visit('zarnel')];
      const scopes = ['zarnel', 'zarnel-beta'].map((copy) => `zarnel ${hosted.url(copy)} `);
      const cacheNames = async () => (await hosted.evaluate(() => caches.keys())).filter((n) => scopes.some((s) => n.startsWith(s))).sort();
      const expected = scopes.map((s) => s + next.name).sort();
      assert.ok(await waitUntil(async () => JSON.stringify(await cacheNames()) === JSON.stringify(expected), 10000),
        `caches: ${await cacheNames()}`);
      seen.push(await visit('zarnel'));
      assert.deepEqual(seen, [N, N1]);
      assertMatches(await hosted.captureSettled(), golden('first'), 'first frame of build N+1');
    } finally {
      delete server.copies.zarnel;
      delete server.copies['zarnel-beta'];
      // Its game would go on drawing beside the touch cases', on the machine's few cores.
      if (hosted) {
        hostedErrors = await hosted.takeErrors();
        await hosted.close();
        hosted = undefined;
      }
    }
  });

  // --- The same game on a touch screen ---------------------------------------------------------

  caseWhere(noDevices, 'On phones held both ways, a tablet and a wide window the game is the largest centred 4:3 box the screen holds and nothing scrolls; touch screens show the help button', async () => {
    touch = await GamePage.open(engine, server, Screens.phonePortrait);
    await touch.load();
    // Turning the phone and the tablet re-fit the page without a reload; the others load it anew.
    for (const name of ['phonePortrait', 'phoneLandscape', 'tablet', 'wideWindow', 'phoneLandscape']) {
      const { width, height, hasTouch } = Screens[name];
      await touch.setViewport(Screens[name]);
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
  });

  caseWhere(noTouch, 'By touch (on a phone where the browser emulates one) a one-finger drag onto a neighbour turns a layer, and the drag back turns it back', async () => {
    touch = touch || game;
    await touch.load();
    frame = await touch.captureSettled();
    // The help button stands beside the game, not on it.
    assertMatches(frame, golden('first'), 'first frame');
    const middle = front(1, 2), left = front(0, 2);
    await step('drag the top row left', () => touch.swipe([{ from: middle, to: left }]), touch);
    assert.ok(differingPixels(frame, golden('first')) > 2000, 'the top row did not turn');
    await step('drag it back', () => touch.swipe([{ from: left, to: middle }]), touch);
    await step('tap the background', () => touch.swipe([{ from: Background, to: Background }], 0), touch);
    assertMatches(frame, golden('first'), 'after the reverse drag');
  });

  caseWhere(noTouch, 'Two fingers turn the whole cube as a right drag of their midpoint does, a third changes nothing, the page does not zoom, and the drag back restores it', async () => {
    // Moves of 20 game pixels are 13 screen pixels on the phone: exact both ways. Going out, the
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

  caseWhere(noDevices, 'On the phone the help button shows and hides the help as F1 does, the keyboard stays with the game, and a tap on PLAY that the system cancels presses nothing', async () => {
    await step('tap help', () => touch.page.tap('#help'), touch);
    assertMatches(frame, golden('help'), 'help shown');
    await step('tap help again', () => touch.page.tap('#help'), touch);
    assertMatches(frame, golden('first'), 'help hidden');
    assert.equal(await touch.evaluate(() => document.activeElement.id), 'canvas');
    // The finger rests less than the page waits before it presses.
    await Promise.all([touch.touch('touchStart', [OnPlay]), touch.touch('touchCancel', [])]);
    assert.equal(await waitUntil(async () => differingPixels(await touch.capture(), frame) > 0, 1000), false, 'a cancelled tap pressed');
  });

  caseWhere(noTouch, 'A tap on PLAY scrambles the cube', async () => {
    await touch.swipe([{ from: OnPlay, to: OnPlay }], 0);
    await assertScrambles(touch);
  });

  test('No uncaught error in the pages from their start to the end', async () => {
    for (const g of new Set([game, touch, hosted])) if (g) assert.deepEqual(await g.takeErrors(), []);
    assert.deepEqual(hostedErrors, []);
  });
});
