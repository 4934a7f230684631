// A review of PGN inputs: the games read in turn, reviewed a window of them at a time,
// and written in input order to the outputs, with a journal that lets a stopped run
// go on where it was.
import {statSync} from "node:fs"
import {once} from "node:events"
import {analyseGame, judgeGame} from "quillbrook/review"
import {ENGINE_OPTIONS, enginePool} from "./engines.js"
import {openInput, parseGame, readGames} from "./games.js"
import {chainWith, openJournal} from "./journal.js"
import {inOrder} from "./order.js"
import {openOutputs} from "./output-files.js"
import {annotatedPgn, evaluationLines} from "./outputs.js"
import {createProgress} from "./progress.js"
import {queueReviewer} from "./queue.js"

// Reviews the games of `settings.inputs` (names, "-" for standard input); resolves with
// the exit status: 0 when every game was reviewed, 2 when some were skipped. Throws
// an Error saying what went wrong when the run cannot go on (status 1).
// settings: {inputs, nodes, workers, engine?, pgn?, jsonl?, queue?, ahead?}
export async function reviewInputs(settings, {log}) {
  const {inputs, nodes, pgn, jsonl} = settings
  const total = inputSize(inputs)
  const began = performance.now()
  const reviewer = settings.queue ? await queueReviewer(settings.queue) : localReviewer(settings)
  let outputs = null
  let progress = null
  try {
    // With no output named, the annotated games go to standard output, and the run
    // cannot be resumed.
    const journal = pgn || jsonl ? await openJournal(`${pgn || jsonl}.journal`, {nodes, hash: ENGINE_OPTIONS.Hash, pgn: Boolean(pgn), jsonl: Boolean(jsonl)}) : null
    const last = journal?.commit ?? {commit: 0, skipped: 0, chain: ""}
    outputs = journal ? openOutputs({pgn, jsonl}, last.sizes) : standardOutput()
    if (last.commit > 0) log(`resuming after game ${last.commit}`)

    const counts = {games: 0, positions: 0, done: 0, skipped: last.skipped}
    progress = createProgress({total})
    let chain = ""
    let read = 0

    const work = async entry => {
      if (entry.number <= last.commit) return null
      let parsed
      try {
        parsed = parseGame(entry)
      } catch (error) {
        return {skip: error.message}
      }
      const id = `${nodes}-${entry.number}-${entry.hash}`
      const saved = journal?.reviewed.get(entry.number)
      if (saved?.hash === entry.hash) {
        // A run stopped between saving a game and removing its job leaves the job behind.
        await reviewer.forget(id)
        return {parsed, evaluations: saved.evaluations}
      }
      let evaluations
      try {
        evaluations = await reviewer.review(id, parsed.game, nodes, positions => {
          counts.positions += positions
          progress.update(counts)
        })
      } catch (error) {
        // A game the review cannot finish (an engine that ended, a search with no
        // score) is named and skipped like a game that cannot be read.
        return {skip: `the review failed: ${error.message}`}
      }
      journal?.record(entry.number, entry.hash, evaluations)
      await reviewer.forget(id)
      return {parsed, evaluations}
    }

    const deliver = async (entry, {value, error}) => {
      read = entry.number
      chain = chainWith(chain, entry.hash)
      counts.done += entry.text.length
      if (entry.number === last.commit && chain !== last.chain) throw new Error(`the input is not the one the journal beside ${pgn || jsonl} was written for: give the same input, or remove the journal to start over`)
      if (entry.number <= last.commit) return
      if (error) throw new Error(`game ${entry.number} (${entry.input}, line ${entry.line}): ${error.message}`)
      if (value.skip) {
        counts.skipped++
        log(`game ${entry.number} skipped (${entry.input}, line ${entry.line}: ${entry.firstLine}): ${value.skip}`)
      } else {
        const {parsed, evaluations} = value
        const review = {nodes, ...judgeGame(parsed.game, evaluations)}
        await outputs.write({jsonl: evaluationLines(parsed, review), pgn: `${annotatedPgn(parsed, review)}\n`})
        outputs.sync()
        counts.games++
      }
      journal?.commitTo({commit: entry.number, skipped: counts.skipped, chain, sizes: outputs.sizes()})
      progress.update(counts)
    }

    await inOrder(readGames(inputs.map(openInput)), {ahead: settings.ahead ?? 4 * settings.workers + 4, work, deliver})
    if (read < last.commit) throw new Error(`the input has ${read} games, fewer than the ${last.commit} the journal beside ${pgn || jsonl} has written`)
    progress.stop()
    outputs.close()
    outputs = null
    journal?.remove()
    const seconds = (performance.now() - began) / 1000
    const speed = `${counts.positions} positions searched in ${seconds.toFixed(1)} s, ${(counts.positions / seconds).toFixed(1)} a second`
    log(`${read - counts.skipped} games reviewed${counts.skipped ? `, ${counts.skipped} skipped` : ""}; ${speed}`)
    return counts.skipped ? 2 : 0
  } finally {
    progress?.stop()
    outputs?.close()
    await reviewer.close()
  }
}

// The inputs' size in characters as far as known (files), 0 for standard input; throws
// on an input that is not there.
function inputSize(inputs) {
  let size = 0
  for (const name of inputs) {
    if (name === "-") return 0
    try {
      size += statSync(name).size
    } catch {
      throw new Error(`no such file: ${name}`)
    }
  }
  return size
}

// Reviews on a pool of this machine's engines: review(id, game, nodes, onPositions)
// as the queue's reviewer, onPositions(1) seeing each position searched.
function localReviewer({workers, engine}) {
  const pool = enginePool({size: workers, program: engine})
  return {
    review: (id, game, nodes, onPositions) => analyseGame(pool, game, {nodes, onProgress: () => onPositions(1)}),
    forget() {},
    close: () => pool.close(),
  }
}

// The annotated games on standard output, as the outputs' files are written.
function standardOutput() {
  return {
    async write({pgn}) {
      if (!process.stdout.write(pgn)) await once(process.stdout, "drain")
    },
    sizes: () => ({}),
    sync() {},
    close() {},
  }
}
