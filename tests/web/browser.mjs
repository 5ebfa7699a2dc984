// One page of the browser build in one of three browser engines, driven by real input events: the
// frames it shows, its console and its uncaught errors, on the site serve.mjs serves. Used by the
// tests and the benchmarks.
// - chromium: Debian's Chromium, headless, through puppeteer-core (the DevTools protocol: touch,
//   phones and tablets emulated);
// - firefox: Debian's Firefox ESR through puppeteer-core over WebDriver BiDi, on the X server of
//   DISPLAY (its headless mode has no WebGL on these machines); touch through BiDi touch actions,
//   which reach the page as touch events although Firefox reports no touch screen;
// - webkit: WebKitGTK's MiniBrowser through WebKitWebDriver (webdriver.mjs), on the X server. Its
//   driver turns touch actions into mouse events, so the page's touch cannot be tried there, and
//   its console does not reach the driver: the page is served with a hook that keeps both.
// Positions are the game's 800 x 600 pixels, wherever the page shows the canvas.
import puppeteer from 'puppeteer-core';
import { readFileSync } from 'node:fs';
import { decodePng } from './png.mjs';
import { WebDriverSession } from './webdriver.mjs';

// Headless WebGL draws with SwiftShader; the other flags keep Chromium off the network, which
// this machine does not reach.
const chromiumArgs = ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
  '--no-first-run', '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--disable-quic', '--disable-default-apps'];

// What each engine's driver can do besides mouse and keys: touch, and Chromium's emulation of
// phones and tablets and its installability report.
export const Engines = {
  chromium: { touch: true, devices: true },
  firefox: { touch: true, devices: false },
  webkit: { touch: false, devices: false },
};

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

// The screens the page is played on: a desktop window that shows the game at twice its size in
// Chromium (a game pixel is a whole number of screen pixels, and its screenshots scale back), at
// its own size elsewhere (BiDi and WebDriver screenshots are taken at the screen's pixels); phones
// held both ways and a tablet, with touch; and a window much wider than 4:3.
export const Screens = {
  desktop: { width: 1600, height: 1200 },
  desktopActualSize: { width: 800, height: 600 },
  phoneLandscape: { width: 844, height: 390, deviceScaleFactor: 3, isMobile: true, hasTouch: true, isLandscape: true },
  phonePortrait: { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
  tablet: { width: 820, height: 1180, deviceScaleFactor: 2, isMobile: true, hasTouch: true },
  wideWindow: { width: 1024, height: 500 },
};
export const desktop = (engine) => (engine === 'chromium' ? Screens.desktop : Screens.desktopActualSize);

function launch(engine) {
  if (engine === 'chromium') {
    return puppeteer.launch({ executablePath: process.env.ZARNEL_CHROMIUM || '/usr/bin/chromium', headless: true,
      args: chromiumArgs });
  }
  return puppeteer.launch({ browser: 'firefox', protocol: 'webDriverBiDi', headless: false,
    executablePath: process.env.ZARNEL_FIREFOX || '/usr/bin/firefox-esr' });
}

export class GamePage {
  // server: serve.mjs's server of the site.
  static async open(engine, server, screen = desktop(engine)) {
    const game = new GamePage(engine, server);
    if (engine === 'webkit') {
      game.session = await WebDriverSession.start();
    } else {
      game.browser = await launch(engine);
      game.page = (await game.browser.pages())[0] || await game.browser.newPage();
      if (engine === 'chromium') game.cdp = await game.page.createCDPSession();
      game.page.on('console', (m) => { if (m.type() === 'log') game.seen.console.push(m.text()); });
      game.page.on('pageerror', (e) => game.seen.errors.push(e.message));
    }
    await game.setViewport(screen);
    return game;
  }

  constructor(engine, server) {
    this.engine = engine;
    this.server = server;
    this.seen = { console: [], errors: [] };
    this.fingers = 0;
  }

  // The site's address with the given faults (serve.mjs); WebKit's pages keep their console.
  url(variant = 'play') { return this.server.url(this.engine === 'webkit' ? `hooked+${variant}` : variant); }

  async goto(url) {
    await this.keepErrors();
    return this.session ? this.session.goto(url) : this.page.goto(url);
  }

  setViewport(screen) { return (this.session || this.page).setViewport(screen); }

  // The console's lines since the last load.
  async console() { return this.session ? (await this.evaluate(() => window.zarnelSeen)).console : this.seen.console; }

  // WebKit's page keeps its own uncaught errors: they are gathered before it goes.
  async keepErrors() {
    if (this.session) this.seen.errors.push(...await this.evaluate(() => (window.zarnelSeen ? zarnelSeen.errors.splice(0) : [])));
  }

  // The uncaught errors of every page since the last call.
  async takeErrors() {
    await this.keepErrors();
    return this.seen.errors.splice(0);
  }

  // Navigates and waits for the game's first presented frame; returns the page's own timings.
  async load(url = this.url()) {
    this.seen.console.length = 0;
    await this.goto(url);
    if (!await this.waitFor(() => window.zarnelPage && window.zarnelPage.firstFrameAt !== null))
      throw new Error('no frame within 30 s');
    // To a tenth of a pixel: Firefox lays pages out in sixtieths.
    this.box = await this.evaluate(() => {
      const box = document.getElementById('canvas').getBoundingClientRect(), tenth = (v) => Math.round(v * 10) / 10;
      return { x: tenth(box.x), y: tenth(box.y), width: tenth(box.width), height: tenth(box.height), density: devicePixelRatio };
    });
    return this.evaluate(() => ({ firstFrameAt: window.zarnelPage.firstFrameAt }));
  }

  // Runs action, which makes the page load again, and waits for the new page's first frame.
  async reloaded(action) {
    await this.keepErrors();
    await this.evaluate(() => { window.zarnelOldPage = true; });
    this.seen.console.length = 0;
    await action();
    return this.waitFor(() => !window.zarnelOldPage && window.zarnelPage && window.zarnelPage.firstFrameAt !== null);
  }

  // Waits until a function evaluated in the page (with args) returns true, through a navigation
  // too.
  waitFor(pageFunction, timeoutMs = 30000, ...args) {
    if (this.session) return waitUntil(() => this.evaluate(pageFunction, ...args).catch(() => false), timeoutMs);
    return this.page.waitForFunction(pageFunction, { timeout: timeoutMs, polling: 50 }, ...args).then(() => true, () => false);
  }

  evaluate(pageFunction, ...args) {
    return (this.session || this.page).evaluate(pageFunction, ...args);
  }

  click(selector) { return this.session ? this.session.click(selector) : this.page.click(selector); }

  // The canvas as the page shows it, drawn at one screen pixel a canvas pixel: 800 x 600 pixels,
  // 0xRRGGBB.
  async capture() {
    const { x, y, width, height, density } = this.box;
    const scale = 800 / (width * density);
    let png;
    if (this.session) png = await this.session.screenshot('#canvas');
    else if (this.engine === 'chromium') png = await this.page.screenshot({ clip: { x, y, width, height, scale } });
    else png = await this.page.screenshot({ clip: { x, y, width, height } });
    const frame = decodePng(Buffer.from(png));
    if (frame.width !== 800 || frame.height !== 600) throw new Error(`a capture of ${frame.width} x ${frame.height}`);
    return frame;
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
  move(x, y) {
    const p = this.onPage({ x, y });
    return this.session ? this.session.move(p.x, p.y) : this.page.mouse.move(p.x, p.y);
  }
  press(button = 'left') { return this.session ? this.session.down(button === 'left' ? 0 : 2) : this.page.mouse.down({ button }); }
  release(button = 'left') { return this.session ? this.session.up(button === 'left' ? 0 : 2) : this.page.mouse.up({ button }); }
  keyDown(name) { return this.session ? this.session.keyDown(name) : this.page.keyboard.down(name); }
  keyUp(name) { return this.session ? this.session.keyUp(name) : this.page.keyboard.up(name); }
  async key(name) {
    await this.keyDown(name);
    await this.keyUp(name);
  }
  async clickAt(p) {
    await this.move(p.x, p.y);
    await this.press();
    await this.release();
  }

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

  // Fingers: touchStart and touchMove name every finger on the screen (touchStart puts the new
  // ones down one after another, at once), touchEnd and touchCancel lift them all. Chromium takes
  // them through the DevTools protocol (touchCancel too); Firefox as BiDi touch pointers, one a
  // finger, in one command, moving in the same tick.
  async touch(type, points) {
    const at = points.map((p) => this.onPage(p)), down = this.fingers;
    this.fingers = type === 'touchStart' || type === 'touchMove' ? at.length : 0;
    if (this.engine === 'chromium') {
      const send = (n) => this.cdp.send('Input.dispatchTouchEvent', { type, touchPoints: at.slice(0, n).map((p, id) => ({ ...p, id })) });
      if (type !== 'touchStart') return send(at.length);
      for (let n = down + 1; n <= at.length; n++) await send(n);
      return;
    }
    const move = (p) => ({ type: 'pointerMove', x: Math.round(p.x), y: Math.round(p.y) });
    const actions = Array.from({ length: this.fingers || down }, (_, id) => ({
      type: 'pointer', id: `finger${id}`, parameters: { pointerType: 'touch' },
      actions: !this.fingers ? [{ type: 'pointerUp', button: 0 }]
        : id >= down ? [...Array(2 * (id - down)).fill({ type: 'pause' }), move(at[id]), { type: 'pointerDown', button: 0 }]
          : type === 'touchMove' ? [move(at[id])] : [{ type: 'pause' }],
    }));
    return this.page.mainFrame().browsingContext.performActions(actions);
  }

  // Puts one finger down at each path's start, one after another, moves them together to the
  // paths' ends in steps (none: a tap), and lifts them. Each move reaches the page before the next
  // (two display frames): a busy page would otherwise get two moves merged into one.
  async swipe(paths, steps = 10) {
    await this.touch('touchStart', paths.map((p) => p.from));
    for (let i = 1; i <= steps; i++) {
      await this.touch('touchMove', paths.map(({ from, to }) =>
        ({ x: from.x + (to.x - from.x) * i / steps, y: from.y + (to.y - from.y) * i / steps })));
      await this.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
    }
    await this.touch('touchEnd', []);
  }

  async close() {
    if (this.session) return this.session.close();
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
