// The playground's service worker: keeps the page, the library and the compiler in Cache
// Storage, so that a later visit compiles and runs programs offline. The page's own files are
// fetched when it installs; the compiler's (clang/, over 100 MB before compression) are kept as
// the compiler's worker first fetches them, with the page's progress bar. Every file is then
// answered from the cache. A new build has a new VERSION and takes over from the old one; the
// compiler's files are kept across builds of the same toolchain version.
const VERSION = '@VERSION@';
const TOOLCHAIN = 'vorla-clang-@TOOLCHAIN@';
const PAGE = 'vorla-playground-' + VERSION;
const PAGE_FILES = @PAGE_FILES@;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(PAGE).then((cache) => cache.addAll(PAGE_FILES))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys().then((names) => Promise.all(names
    .filter((name) => name !== PAGE && name !== TOOLCHAIN && name.startsWith('vorla-'))
    .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  if (event.request.method !== 'GET' || url.origin !== location.origin) return;
  const toolchain = url.pathname.includes('/clang/');
  event.respondWith((async () => {
    const cache = await caches.open(toolchain ? TOOLCHAIN : PAGE);
    // The page's address may carry a query (?wait=atomics); its file is the same.
    const kept = await cache.match(event.request, { ignoreSearch: event.request.mode === 'navigate' });
    if (kept) return kept;
    const response = await fetch(event.request);
    // Kept while the page reads the same bytes, so that its progress bar moves as they come.
    if (response.ok && toolchain) event.waitUntil(cache.put(event.request, response.clone()));
    return response;
  })());
});
