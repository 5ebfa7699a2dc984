// One page of the browser build in the system's headless Chromium, driven by real input events
// through puppeteer-core (mouse, keys, and touch through the DevTools protocol): the frames it
// shows, its console and its uncaught errors. Used by the tests and the benchmarks. The site's
// address comes from ZARNEL_WEB_URL (scripts/test-web and scripts/bench-web serve build-web/site
// on 127.0.0.1), or from a host of the tests' own (serveSite). Positions are the game's 800 x 600
// pixels, wherever the page shows the canvas.
import puppeteer from 'puppeteer-core';
import { existsSync, readFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { decodePng } from './png.mjs';

// Headless WebGL draws with SwiftShader; the other flags keep Chromium off the network, which
// this machine does not reach.
const chromiumArgs = ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
  '--no-first-run', '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--disable-quic', '--disable-default-apps'];

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Polls a condition every 50 ms until it holds or the time is up; returns whether it held.
export async function waitUntil(condition, timeoutMs = 30000) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    if (await condition()) return true;
    if (Date.now() > end) return false;
    await sleep(50);
  }
}

// The screens the page is played on: a desktop window that shows the game at twice its size, so
// that a game pixel is a whole number of screen pixels; phones held both ways and a tablet, with
// touch; and a window much wider than 4:3.
export const Screens = {
  desktop: { width: 1600, height: 1200 },
  phoneLandscape: { width: 844, height: 390, deviceScaleFactor: 3, isMobile: true, hasTouch: true, isLandscape: true },
  phonePortrait: { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
  tablet: { width: 820, height: 1180, deviceScaleFactor: 2, isMobile: true, hasTouch: true },
  wideWindow: { width: 1024, height: 500 },
};

export class GamePage {
  static async open(screen = Screens.desktop, url = process.env.ZARNEL_WEB_URL) {
    if (!url) throw new Error('ZARNEL_WEB_URL is not set: run through scripts/test-web');
    const browser = await puppeteer.launch({ executablePath: process.env.ZARNEL_CHROMIUM || '/usr/bin/chromium',
      headless: true, args: chromiumArgs });
    const game = new GamePage(browser, url);
    game.page = await browser.newPage();
    await game.page.setViewport(screen);
    game.cdp = await game.page.createCDPSession();
    game.page.on('console', (m) => { if (m.type() === 'log') game.console.push(m.text()); });
    game.page.on('pageerror', (e) => game.errors.push(e.message));
    return game;
  }

  constructor(browser, url) {
    this.browser = browser;
    this.url = url;
    this.console = [];
    this.errors = [];
  }

  // Navigates and waits for the game's first presented frame; returns the page's own timings.
  async load() {
    this.console.length = 0;
    await this.page.goto(this.url);
    if (!await this.waitFor(() => window.zarnelPage && window.zarnelPage.firstFrameAt !== null))
      throw new Error('no frame within 30 s');
    this.box = await this.page.evaluate(() => {
      const box = document.getElementById('canvas').getBoundingClientRect();
      return { x: box.x, y: box.y, width: box.width, height: box.height, density: devicePixelRatio };
    });
    return this.page.evaluate(() => ({ firstFrameAt: window.zarnelPage.firstFrameAt }));
  }

  // Waits until a function evaluated in the page returns true.
  waitFor(pageFunction, timeoutMs = 30000) {
    return this.page.waitForFunction(pageFunction, { timeout: timeoutMs, polling: 50 }).then(() => true, () => false);
  }

  evaluate(pageFunction, ...args) {
    return this.page.evaluate(pageFunction, ...args);
  }

  // The canvas as the page shows it, drawn at one screen pixel a canvas pixel: 800 x 600 pixels,
  // 0xRRGGBB.
  async capture() {
    const { x, y, width, height, density } = this.box;
    const png = await this.page.screenshot({ clip: { x, y, width, height, scale: 800 / (width * density) } });
    return decodePng(Buffer.from(png));
  }

  // A capture that has not changed for 300 ms, longer than a slow frame takes.
  async captureSettled() {
    let last = await this.capture(), since = Date.now();
    await waitUntil(async () => {
      const now = await this.capture();
      if (differingPixels(now, last) !== 0) {
        last = now;
        since = Date.now();
      }
      return Date.now() - since >= 300;
    });
    return last;
  }

  // Where a game pixel lies on the page, in CSS pixels.
  onPage(p) { return { x: this.box.x + p.x * this.box.width / 800, y: this.box.y + p.y * this.box.height / 600 }; }

  // Pointer and keys.
  move(x, y, steps = 1) {
    const p = this.onPage({ x, y });
    return this.page.mouse.move(p.x, p.y, { steps });
  }
  press(button = 'left') { return this.page.mouse.down({ button }); }
  release(button = 'left') { return this.page.mouse.up({ button }); }
  key(name) { return this.page.keyboard.press(name); }

  // Presses at from, moves to to in steps, then on to each point of then, and releases.
  async drag(button, from, to, steps = 10, then = []) {
    await this.move(from.x, from.y);
    await this.press(button);
    const points = [];
    for (let i = 1; i <= steps; i++)
      points.push({ x: from.x + (to.x - from.x) * i / steps, y: from.y + (to.y - from.y) * i / steps });
    for (const p of points.concat(then)) {
      await this.move(p.x, p.y);
      await sleep(20);
    }
    await this.release(button);
  }

  // Fingers: touchStart and touchMove name every finger on the screen, touchEnd lifts them all.
  touch(type, points) {
    return this.cdp.send('Input.dispatchTouchEvent', { type, touchPoints: points.map((p, id) => ({ ...this.onPage(p), id })) });
  }

  // Puts one finger down at each path's start, one after another, moves them together to the
  // paths' ends in steps (none: a tap), and lifts them. Each move reaches the page before the next
  // (two display frames): a busy page would otherwise get two moves merged into one.
  async swipe(paths, steps = 10) {
    for (let n = 1; n <= paths.length; n++) await this.touch('touchStart', paths.slice(0, n).map((p) => p.from));
    for (let i = 1; i <= steps; i++) {
      await this.touch('touchMove', paths.map(({ from, to }) =>
        ({ x: from.x + (to.x - from.x) * i / steps, y: from.y + (to.y - from.y) * i / steps })));
      await this.page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
    }
    await this.touch('touchEnd', []);
  }

  async close() {
    const process = this.browser.process();
    await this.browser.close().catch(() => {});
    if (process && process.exitCode === null) process.kill('SIGKILL');
  }
}

// Where things are in the game's window, as the C++ tests have them: the points a test aims at,
// the fixed camera, and the cube's cell spacing and face offset.
const screen = JSON.parse(readFileSync(new URL('../support/screen.json', import.meta.url), 'utf8'));
const point = ([x, y]) => ({ x, y });
export const Background = point(screen.background), OnPlay = point(screen.play), OnExit = point(screen.exit);

// Canvas pixel of the centre of the face of cell (gx, gy, gz) with outward normal n, on the
// unturned cube: a left-handed look-at from the eye (in the plane x = 0) to the origin, right
// along +X, on an 800 x 600 canvas.
function faceCentre(gx, gy, gz, n) {
  const { eye, cellSpacing, faceOffset } = screen;
  const v = [gx, gy, gz].map((g, k) => (g - 1) * cellSpacing + n[k] * faceOffset - eye[k]);
  const f = eye.map((e) => -e / Math.hypot(...eye)), u = [0, f[2], -f[1]];
  const cy = v[1] * u[1] + v[2] * u[2], cz = v[1] * f[1] + v[2] * f[2];
  const focal = 1 / Math.tan(screen.fieldOfViewDegrees * Math.PI / 360);
  return { x: Math.round((v[0] * focal / (4 / 3) / cz + 1) * 400), y: Math.round((1 - cy * focal / cz) * 300) };
}
export const front = (gx, gy) => faceCentre(gx, gy, 0, [0, 0, -1]);
export function differingPixels(a, b) {
  let n = 0;
  for (let i = 0; i < a.pixels.length; i++) n += a.pixels[i] !== b.pixels[i];
  return n;
}

// A host of our own for the site in folder, serving it as most hosts do: a file goes compressed
// where the site has a .br or .gz of it that the browser accepts, with its Content-Encoding and
// the compressed length. Every copy of the site lies under a path of its own, /<copy>/<file>, all
// from folder, where copies[copy] may replace files with texts (another build); when down, the
// host drops every connection, as one off the network does. sent lists each file sent, as
// '<copy>/<file> <encoding>'.
const Types = { html: 'text/html', js: 'text/javascript', wasm: 'application/wasm', data: 'application/octet-stream',
  webmanifest: 'application/manifest+json', png: 'image/png', txt: 'text/plain' };
export async function serveSite(folder) {
  const host = { copies: {}, down: false, sent: [] };
  const server = createServer((request, response) => {
    if (host.down) return request.socket.destroy();
    const [, copy, name] = new URL(request.url, host.url).pathname.split('/');
    const file = name || 'index.html', text = (host.copies[copy] || {})[file];
    const accepted = request.headers['accept-encoding'] || '';
    const [encoding, suffix] = (text === undefined && [['br', '.br'], ['gzip', '.gz']]
      .find(([e, suffix]) => accepted.includes(e) && existsSync(`${folder}/${file}${suffix}`))) || ['', ''];
    if (text === undefined && !existsSync(`${folder}/${file}`)) return response.writeHead(404).end();
    const body = text ?? readFileSync(`${folder}/${file}${suffix}`);
    response.writeHead(200, { 'Content-Type': Types[file.split('.').pop()], 'Content-Length': Buffer.byteLength(body),
      'Cache-Control': 'no-cache', ...(encoding && { 'Content-Encoding': encoding }) });
    response.end(body);
    host.sent.push(`${copy}/${file} ${encoding || 'plain'}`);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  host.url = `http://127.0.0.1:${server.address().port}/`;
  host.close = () => new Promise((resolve) => { server.closeAllConnections(); server.close(resolve); });
  return host;
}
