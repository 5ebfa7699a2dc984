// Serves the built site (ZARNEL_WEB_SITE) on 127.0.0.1 for the page's tests as most hosts do: a
// file goes compressed where the site has a .br or .gz of it that the browser accepts, with its
// Content-Encoding and the compressed length. The first part of the path chooses the faults a
// player's server or browser may bring: /play/ is the site as built, and words joined by '+' add
// faults (e.g. /hooked+missing-zarnel.data/):
// - missing-<file>: 404 for that file;
// - wasm-untyped: zarnel.wasm as application/octet-stream, which streaming compilation refuses;
// - wasm-text: zarnel.wasm answered 200 with a page of text, as some hosts do for an error;
// - no-webgl: the page finds no WebGL at all; no-game-context: WebGL for the page's probe, none
//   for the game's canvas;
// - hooked: the page keeps its console lines and uncaught errors in window.zarnelSeen, for
//   drivers that do not hear the console.
// Any other word only names a path of its own (a scope of its own for the service worker): a copy
// of the site, whose files copies[word] may replace with texts (another build put up there).
// Nothing may be cached by the browser (only the service worker keeps files), offline() makes
// every later request fail as with no network, and sent lists each file sent, as
// '<path>/<file> <encoding>'.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';

const Types = { html: 'text/html', js: 'text/javascript', wasm: 'application/wasm', data: 'application/octet-stream',
  png: 'image/png', webmanifest: 'application/manifest+json', txt: 'text/plain' };

// Scripts put before the page's own.
const Injected = {
  hooked: `window.zarnelSeen = { console: [], errors: [] };
    console.log = ((log) => function (...a) { zarnelSeen.console.push(a.join(' ')); log.apply(console, a); })(console.log);
    addEventListener('error', (e) => zarnelSeen.errors.push(e.message));
    addEventListener('unhandledrejection', (e) => zarnelSeen.errors.push(String(e.reason)));`,
  'no-webgl': `HTMLCanvasElement.prototype.getContext = ((get) => function (kind, ...rest) {
    return /webgl/.test(kind) ? null : get.call(this, kind, ...rest); })(HTMLCanvasElement.prototype.getContext);`,
  'no-game-context': `HTMLCanvasElement.prototype.getContext = ((get) => function (kind, ...rest) {
    return /webgl/.test(kind) && this.id === 'canvas' ? null : get.call(this, kind, ...rest); })(HTMLCanvasElement.prototype.getContext);`,
};

export async function serveSite(site = process.env.ZARNEL_WEB_SITE) {
  if (!site) throw new Error('ZARNEL_WEB_SITE is not set: run through scripts/test-web');
  let offline = false;
  const copies = {}, sent = [];
  const server = createServer(async (request, response) => {
    if (offline) return request.socket.destroy();
    const [, variant, name = ''] = new URL(request.url, 'http://x').pathname.match(/^\/([^/]+)\/(.*)$/) || [];
    const faults = (variant || '').split('+'), file = name || 'index.html';
    const type = Types[file.split('.').pop()];
    const text = faults.map((f) => (copies[f] || {})[file]).find((t) => t !== undefined);
    let body = text ?? await readFile(`${site}/${file}`).catch(() => null), encoding = '';
    if (!variant || !type || !body || faults.includes(`missing-${file}`)) {
      response.writeHead(404, { 'Content-Type': 'text/plain' });
      return response.end('File not found');
    }
    const headers = { 'Content-Type': type, 'Cache-Control': 'no-store' };
    if (file === 'zarnel.wasm' && faults.includes('wasm-untyped')) headers['Content-Type'] = 'application/octet-stream';
    if (file === 'zarnel.wasm' && faults.includes('wasm-text')) {
      headers['Content-Type'] = 'text/html';
      body = '<html><body>Our servers are busy.</body></html>';
    }
    const scripts = faults.filter((f) => f in Injected).map((f) => `<script>${Injected[f]}</script>`).join('');
    if (file === 'index.html' && scripts) body = String(body).replace('<script src="page.js">', `${scripts}$&`);
    if (Buffer.isBuffer(body) && text === undefined) {
      const accepted = request.headers['accept-encoding'] || '';
      for (const [e, suffix] of [['br', '.br'], ['gzip', '.gz']]) {
        const packed = accepted.includes(e) && await readFile(`${site}/${file}${suffix}`).catch(() => null);
        if (packed) {
          [body, encoding, headers['Content-Encoding']] = [packed, e, e];
          break;
        }
      }
    }
    response.writeHead(200, { ...headers, 'Content-Length': Buffer.byteLength(body) });
    response.end(body);
    sent.push(`${variant}/${file} ${encoding || 'plain'}`);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {
    copies, sent,
    url: (variant = 'play') => `http://127.0.0.1:${server.address().port}/${variant}/`,
    offline(value = true) { offline = value; },
    close() { server.closeAllConnections(); return new Promise((resolve) => server.close(resolve)); },
  };
}
