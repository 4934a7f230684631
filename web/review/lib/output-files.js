// The output files, written on from a known length: a resumed run cuts each back to
// the length of the last game it knows whole, so that what a stopped run had begun
// to write is written again, once.
import {closeSync, fdatasyncSync, fstatSync, ftruncateSync, openSync, writeSync} from "node:fs"

// Opens each output of `paths` ({pgn?, jsonl?}) at its length in `sizes` (0 when not
// given): {sizes, write(texts), sync(), close()}. Throws when a file is shorter than
// that: it is not the one the journal knew.
export function openOutputs(paths, sizes = {}) {
  const files = Object.entries(paths)
    .filter(([, file]) => file)
    .map(([kind, file]) => {
      const size = sizes[kind] ?? 0
      const fd = openSync(file, size > 0 ? "r+" : "w")
      if (fstatSync(fd).size < size) throw new Error(`${file} is shorter than the journal beside it says: remove the journal to start over`)
      ftruncateSync(fd, size)
      return {kind, fd, size}
    })
  return {
    sizes: () => Object.fromEntries(files.map(({kind, size}) => [kind, size])),
    // texts: {pgn, jsonl}, each appended to its file.
    write(texts) {
      for (const file of files) {
        const bytes = Buffer.from(texts[file.kind])
        writeSync(file.fd, bytes, 0, bytes.length, file.size)
        file.size += bytes.length
      }
    },
    sync: () => files.forEach(({fd}) => fdatasyncSync(fd)),
    close: () => files.forEach(({fd}) => closeSync(fd)),
  }
}
