// The game and the settings kept in the browser between visits (localStorage): one
// record, written whole a moment after each change, so that a burst of moves writes
// once. What cannot be read back (an older shape, a full store) is dropped quietly:
// the page then starts afresh.
const KEY = "quillbrook.page"
const VERSION = 1
const DELAY_MS = 300

export function loadSaved() {
  try {
    const saved = JSON.parse(localStorage.getItem(KEY))
    return saved?.version === VERSION ? saved : null
  } catch {
    return null
  }
}

let timer = null

// `record()` gives what to keep, asked for when the write happens.
export function saveSoon(record) {
  clearTimeout(timer)
  timer = setTimeout(() => {
    try {
      localStorage.setItem(KEY, JSON.stringify({version: VERSION, ...record()}))
    } catch {
      // A full or forbidden store: the page works on without it.
    }
  }, DELAY_MS)
}
