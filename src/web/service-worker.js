// Keeps the game's files so that a later visit starts at once, with or without a network. The
// page comes from the network while there is one, so a new deployment shows at once; every other
// file carries its content in its name and never changes, so a kept copy serves it.
const Shelf = "snowroll";

self.addEventListener("install", () => self.skipWaiting());
self.addEventListener("activate", event => event.waitUntil(self.clients.claim()));

self.addEventListener("fetch", event => {
  const request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== location.origin) return;
  event.respondWith(request.mode === "navigate" ? FromNetwork(request) : FromShelf(request));
});

// The page tells what it uses: "store" adds those files, "keep" also drops every other one, the
// files of older deployments.
self.addEventListener("message", event => {
  const data = event.data || {};
  const files = data.store || data.keep;
  if (Array.isArray(files)) event.waitUntil(Keep(files.map(String), Boolean(data.keep)));
});

async function Fetched(shelf, request) {
  const response = await fetch(request);
  if (response.status === 200) await shelf.put(request, response.clone());
  return response;
}

async function FromNetwork(request) {
  const shelf = await caches.open(Shelf);
  try {
    return await Fetched(shelf, request);
  } catch (error) {
    return (await shelf.match(request, {ignoreSearch: true})) || Response.error();
  }
}

async function FromShelf(request) {
  const shelf = await caches.open(Shelf);
  return (await shelf.match(request)) || Fetched(shelf, request);
}

async function Keep(files, dropOthers) {
  const shelf = await caches.open(Shelf);
  const wanted = new Set(files.filter(file => new URL(file).origin === location.origin));
  if (dropOthers) {
    for (const request of await shelf.keys()) {
      if (!wanted.has(request.url)) await shelf.delete(request);
    }
  }
  await Promise.all([...wanted].map(async file => {
    if (!(await shelf.match(file))) await Fetched(shelf, file).catch(() => null);
  }));
}
