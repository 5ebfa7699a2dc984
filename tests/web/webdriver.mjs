// A small W3C WebDriver client over HTTP for WebKitGTK's WebKitWebDriver and the MiniBrowser it
// starts: what the page's tests need of a session (navigation, scripts, input actions, element
// screenshots and clicks, the window's size) and nothing more. The driver is started on a free
// port of 127.0.0.1 and ended, with its browser, by process id.
import { spawn } from 'node:child_process';
import { createServer } from 'node:net';

const Element = 'element-6066-11e4-a52e-4f735466cecf';
export const MiniBrowser = process.env.ZARNEL_MINIBROWSER || '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
// The key names of the tests, as WebDriver codes them.
const Keys = { F1: '\uE031', Escape: '\uE00C', Tab: '\uE004', Shift: '\uE008' };

function freePort() {
  return new Promise((resolve, reject) => {
    const server = createServer().listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    }).on('error', reject);
  });
}

export class WebDriverSession {
  static async start(driverPath = process.env.ZARNEL_WEBKITWEBDRIVER || '/usr/bin/WebKitWebDriver') {
    const port = await freePort();
    const driver = spawn(driverPath, [`--port=${port}`], { stdio: 'ignore' });
    const session = new WebDriverSession(`http://127.0.0.1:${port}`, driver);
    const end = Date.now() + 20000;
    while (!await session.send('GET', '/status').then((s) => s.ready, () => false)) {
      if (Date.now() > end || driver.exitCode !== null) {
        driver.kill('SIGKILL');
        throw new Error('WebKitWebDriver did not start');
      }
      await new Promise((resolve) => setTimeout(resolve, 100));
    }
    const { sessionId } = await session.send('POST', '/session', { capabilities: { alwaysMatch: {
      browserName: 'MiniBrowser', 'webkitgtk:browserOptions': { binary: MiniBrowser, args: ['--automation'] } } } });
    session.path = `/session/${sessionId}`;
    return session;
  }

  constructor(base, driver) {
    this.base = base;
    this.driver = driver;
  }

  async send(method, path, body) {
    const response = await fetch(this.base + path, { method, headers: { 'Content-Type': 'application/json' },
      body: body && JSON.stringify(body) });
    const { value } = await response.json();
    if (!response.ok) throw new Error(`WebDriver ${method} ${path}: ${value.error}: ${value.message}`);
    return value;
  }

  command(method, path, body) { return this.send(method, this.path + path, body); }

  goto(url) { return this.command('POST', '/url', { url }); }

  // Runs a function in the page with the given arguments; a promise it returns is awaited.
  evaluate(fn, ...args) {
    return this.command('POST', '/execute/sync', { script: `return (${fn}).apply(null, arguments);`, args });
  }

  async element(selector) {
    return (await this.command('POST', '/element', { using: 'css selector', value: selector }))[Element];
  }

  async click(selector) { await this.command('POST', `/element/${await this.element(selector)}/click`, {}); }

  async screenshot(selector) {
    return Buffer.from(await this.command('GET', `/element/${await this.element(selector)}/screenshot`), 'base64');
  }

  // Resizes the window until the page's viewport has the size asked for: the window's own bars
  // take their share of it.
  async setViewport({ width, height }) {
    for (let w = width, h = height, i = 0; i < 3; i++) {
      await this.command('POST', '/window/rect', { width: w, height: h });
      const inner = await this.evaluate(() => [innerWidth, innerHeight]);
      if (inner[0] === width && inner[1] === height) return;
      [w, h] = [w + width - inner[0], h + height - inner[1]];
    }
    throw new Error(`the viewport cannot be made ${width} x ${height}`);
  }

  // Input actions: the mouse and the keyboard keep their state between calls.
  pointer(actions) {
    return this.command('POST', '/actions', { actions: [{ type: 'pointer', id: 'mouse', parameters: { pointerType: 'mouse' }, actions }] });
  }
  move(x, y) { return this.pointer([{ type: 'pointerMove', x: Math.round(x), y: Math.round(y), origin: 'viewport', duration: 0 }]); }
  down(button) { return this.pointer([{ type: 'pointerDown', button }]); }
  up(button) { return this.pointer([{ type: 'pointerUp', button }]); }
  keys(actions) { return this.command('POST', '/actions', { actions: [{ type: 'key', id: 'keyboard', actions }] }); }
  keyDown(name) { return this.keys([{ type: 'keyDown', value: Keys[name] }]); }
  keyUp(name) { return this.keys([{ type: 'keyUp', value: Keys[name] }]); }

  async close() {
    await this.command('DELETE', '').catch(() => {});
    this.driver.kill('SIGTERM');
  }
}
