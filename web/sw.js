// The page's service worker: it keeps every file of the site in a cache of its own, so that a
// second visit starts from the cache and plays with no network. The build writes in the list of
// the site's files and the build's name, a hash of those files (web/site.cmake): a new build is a
// new worker, which fills a new cache and deletes the earlier builds' caches. A cache belongs to
// the whole origin, which may serve several copies of the site at several paths: each cache is
// named after the worker's scope (the site's address) as well as the build, and a worker deletes
// only its own scope's.
'use strict';
const Build = '@ZARNEL_BUILD@';
const Files = ['./', @ZARNEL_WEB_FILES@];
// A scope is a URL, which has no spaces: "zarnel <scope> " begins the names of one scope's caches
// and no other's.
const Scope = 'zarnel ' + self.registration.scope + ' ';
const Cache = Scope + Build;

// Each file is checked with the server (the browser's own cache may still hold an earlier
// build's), and taken from that cache only where the server says it is unchanged.
self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(Cache)
    .then((cache) => cache.addAll(Files.map((name) => new Request(name, { cache: 'no-cache' }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n.startsWith(Scope) && n !== Cache).map((n) => caches.delete(n))))
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
