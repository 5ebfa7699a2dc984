// The browser build played in headless Chromium with real input events, one page from its first
// frame to the end of the game and a restart. Frames are compared with the desktop's golden
// references where the picture matches; elsewhere with the page's own earlier frames.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { GamePage, differingPixels, front, waitUntil } from './browser.mjs';
import { decodePng, compareFrames } from './png.mjs';

const Prompt = ['Please select the driver you want for this example:', ' (a) Direct3D 9.0c', ' (b) Direct3D 8.1',
  ' (c) OpenGL 1.5', ' (d) Software Renderer', " (e) Burning's Software Renderer", ' (f) NullDevice',
  ' (otherKey) exit', ''];
// SwiftShader against the desktop's llvmpipe: measured on the first frame, 25 pixels off by more
// than 64 (glyph and sprite edges).
const Tolerance = { channel: 64, pixels: 40 };

const Background = { x: 760, y: 20 }, Play = { x: 250, y: 540 };

function assertMatches(frame, expected, what) {
  const d = compareFrames(frame, expected, Tolerance.channel);
  assert.ok(d.beyond <= Tolerance.pixels,
    `${what}: ${d.beyond} pixels differ by more than ${Tolerance.channel} (largest ${d.most}, ${d.differing} differ at all)`);
}
const golden = (name) => decodePng(readFileSync(new URL(`../golden/${name}.png`, import.meta.url)));

let game, frame, first;

// One step of play: the action must change the picture; the settled picture becomes the frame.
async function step(what, action) {
  const before = frame;
  await action();
  assert.ok(await waitUntil(async () => differingPixels(await game.capture(), before) > 0),
    `${what}: the picture did not change`);
  frame = await game.captureSettled();
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
after(async () => { if (game) await game.close(); });

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
  // Centred in the 1000 x 700 viewport.
  assert.deepEqual(game.origin, { x: 100, y: 50 });
  assert.equal(await game.evaluate(() => fetch(document.querySelector('link[rel=icon]').href).then((r) => r.ok)), true);
  // The reference shows face texture 0 at the front face's centre and the status line.
  frame = first = await game.captureSettled();
  assertMatches(frame, golden('first'), 'first frame');
});

test('A click gives the canvas the keyboard; F1 then shows the help and hides it again, and the browser does not act on it', async () => {
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
});

test('Hovering PLAY highlights it; leaving it takes the highlight away', async () => {
  await step('hover PLAY', () => game.move(Play.x, Play.y));
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
  await step('hover PLAY', () => game.move(Play.x, Play.y));
  await game.press();
  await game.release();
  let pictures = 0;
  for (let last = frame; pictures < 3; pictures++) {
    const changed = await waitUntil(async () => differingPixels(await game.capture(), last) > 1000);
    if (!changed) break;
    last = await game.capture();
  }
  assert.equal(pictures, 3, 'the scramble is not animated');
  frame = await game.captureSettled();
  assert.ok(differingPixels(frame, golden('play-hovered')) > 2000, 'the cube is not scrambled');
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

test('No uncaught error in the page from its start to the restart', () => {
  assert.deepEqual(game.errors, []);
});
