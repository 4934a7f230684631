// The page's service worker: it keeps every file of the page, so that after one
// visit the page opens and analyses with the network off, and can be installed as
// an app. scripts/web_folder.sh fills in the files and the version they share;
// a new version takes over from the old one, whose files it then drops. It takes
// no page already open: it serves the next visit (Firefox fails the first request
// that a worker claiming an open, cross-origin isolated page intercepts).
const VERSION = "unbuilt"
const FILES = []
const CACHE = `quillbrook-${VERSION}`

self.addEventListener("install", event => {
  event.waitUntil(caches.open(CACHE).then(cache => cache.addAll(FILES)).then(() => self.skipWaiting()))
})

self.addEventListener("activate", event => {
  event.waitUntil(
    caches
      .keys()
      .then(names => Promise.all(names.filter(name => name.startsWith("quillbrook-") && name !== CACHE).map(name => caches.delete(name)))),
  )
})

// The kept file when there is one, else the network; a page asked for by its
// folder's address is index.html. The address's query does not matter.
self.addEventListener("fetch", event => {
  const request = event.request
  if (request.method !== "GET" || new URL(request.url).origin !== location.origin) return
  event.respondWith(
    caches.open(CACHE).then(async cache => {
      const kept = await cache.match(request, {ignoreSearch: true})
      if (kept) return kept
      if (request.mode === "navigate") {
        const page = await cache.match("index.html")
        if (page) return page
      }
      return fetch(request)
    }),
  )
})
