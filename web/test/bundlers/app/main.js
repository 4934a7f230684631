// An app as a web developer writes one: the engine from the npm package, nothing
// copied or located by hand. It searches ?fen= to ?nodes= and shows the answer
// in #result (data-bestmove, data-mode), or the error (data-error).
import {createEngine} from "quillbrook"

const result = document.getElementById("result")
const query = new URLSearchParams(location.search)

try {
  const engine = await createEngine({options: {Hash: 16}})
  const found = await engine.analyse({fen: query.get("fen") ?? undefined, nodes: Number(query.get("nodes") ?? 10000)})
  Object.assign(result.dataset, {state: "done", mode: engine.mode, bestmove: found.bestmove})
  result.textContent = `${engine.name}, ${engine.mode}: bestmove ${found.bestmove}`
  await engine.quit()
} catch (error) {
  Object.assign(result.dataset, {state: "failed", error: error.message})
  result.textContent = `Failed: ${error.message}`
}
