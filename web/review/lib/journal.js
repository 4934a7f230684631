// The journal that makes a run resumable: a file of JSON lines beside the outputs,
// synced to disk as it grows.
//   {"settings": {...}}                              what the results depend on
//   {"game": n, "hash", "evaluations"}               a game reviewed, in any order
//   {"commit": n, "skipped", "chain", "sizes"}       games 1..n written to the outputs,
//                                                    which were then `sizes` bytes long
// A run stopped at any moment leaves the outputs at least as long as its last commit
// says; the next run cuts them back to that, writes on from game n + 1, and takes the
// games reviewed since from the journal. `chain` hashes the texts of games 1..n, so
// that a journal is never applied to other input.
import {createHash} from "node:crypto"
import {createReadStream, existsSync, fdatasyncSync, fsyncSync, closeSync, openSync, renameSync, rmSync, writeSync} from "node:fs"
import path from "node:path"
import {createInterface} from "node:readline"

const START = {commit: 0, skipped: 0, chain: "", sizes: {}}

// The chain after one more game whose text hashes to `hash`.
export function chainWith(chain, hash) {
  return createHash("sha1").update(`${chain}${hash}`).digest("hex")
}

// The journal at `file` for a run with `settings` (plain data), created when there is
// none: {commit, reviewed, record(number, hash, evaluations), commitTo(state), remove()}.
// `commit` is the last commit found ({commit: 0, ...} for a new run), `reviewed` maps
// each later game's number to {hash, evaluations}. Throws when the journal is of a run
// with other settings.
export async function openJournal(file, settings) {
  const found = existsSync(file) ? await readJournal(file) : null
  if (found && JSON.stringify(found.settings) !== JSON.stringify(settings)) {
    throw new Error(`${file} is the journal of a run with other settings (${JSON.stringify(found.settings)}): run that again, or remove the journal to start over`)
  }
  const last = found?.commit ?? START
  const reviewed = found?.reviewed ?? new Map()
  // Written anew with only what is still of use, then put in place in one step.
  const fresh = `${file}.new`
  const fd = openSync(fresh, "w")
  writeLines(fd, [{settings}, last, ...[...reviewed].map(([game, {hash, evaluations}]) => ({game, hash, evaluations}))])
  fsyncSync(fd)
  closeSync(fd)
  renameSync(fresh, file)
  syncFolder(file)
  const journal = openSync(file, "a")

  return {
    commit: last,
    reviewed,
    record(game, hash, evaluations) {
      writeLines(journal, [{game, hash, evaluations}])
      fdatasyncSync(journal)
    },
    commitTo(state) {
      writeLines(journal, [state])
      fdatasyncSync(journal)
    },
    // The run is over: its outputs are whole, and nothing is left to resume.
    remove() {
      closeSync(journal)
      rmSync(file)
    },
  }
}

function writeLines(fd, records) {
  writeSync(fd, records.map(record => `${JSON.stringify(record)}\n`).join(""))
}

function syncFolder(file) {
  const fd = openSync(path.dirname(path.resolve(file)), "r")
  fsyncSync(fd)
  closeSync(fd)
}

// The settings, last commit and the games reviewed after it. A last line cut short
// (the run was stopped while writing it) is left out; a bad line before others means
// the file is not a journal.
async function readJournal(file) {
  let settings = null
  let commit = START
  let torn = 0
  let number = 0
  const reviewed = new Map()
  for await (const text of createInterface({input: createReadStream(file, {encoding: "utf8"}), crlfDelay: Infinity})) {
    number++
    if (torn) throw new Error(`${file}: line ${torn} is not a journal entry`)
    let record
    try {
      record = JSON.parse(text)
    } catch {
      torn = number
      continue
    }
    if (record.settings) settings = record.settings
    else if (record.commit !== undefined) {
      commit = record
      for (const game of reviewed.keys()) if (game <= commit.commit) reviewed.delete(game)
    } else if (record.game > commit.commit) reviewed.set(record.game, {hash: record.hash, evaluations: record.evaluations})
  }
  if (!settings) throw new Error(`${file} is not a journal of quillbrook-review`)
  return {settings, commit, reviewed}
}
