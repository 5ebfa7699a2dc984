// The page's service worker: it keeps every file of the site in a cache named after this build,
// so that a second visit starts from the cache and plays with no network. The build writes its
// name below (a hash of the site's files): a new build is a new worker, which fills its own cache
// and deletes the caches of earlier builds.
'use strict';
const Cache = 'zarnel-@ZARNEL_BUILD@';
const Files = ['./', 'index.html', 'page.js', 'zarnel.js', 'zarnel.wasm', 'zarnel.data', 'favicon.png',
  'manifest.webmanifest', 'icon-192.png', 'icon-512.png'];

// Each file is checked with the server (the browser's own cache may still hold an earlier
// build's), and taken from that cache only where the server says it is unchanged.
self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(Cache)
    .then((cache) => cache.addAll(Files.map((name) => new Request(name, { cache: 'no-cache' }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n.startsWith('zarnel-') && n !== Cache).map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

// The files of one build come from its own cache, never mixed with another's; anything else,
// and any file the cache lacks, from the network.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(Cache)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((cached) => cached || fetch(event.request)));
});
