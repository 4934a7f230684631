// The page: an analysis board. The game is a tree of moves (core/chess/tree.js) with a
// current node; the board, the move list, the analysis, the review and the address
// are drawn from it. One engine plays and analyses; a review runs on a pool of others.
import {createEngine, whiteScore} from "quillbrook"
import {
  addMove,
  createTree,
  deleteNode,
  lineEnd,
  mainLinePositions,
  movesTo,
  nodeAt,
  parentOf,
  pathTo,
  promoteVariation,
  siblings,
  treeFromJSON,
} from "quillbrook-core/chess/tree.js"
import {readPgn, writePgn} from "quillbrook-core/chess/pgn.js"
import {createEnginePool} from "quillbrook-core/engine-pool.js"
import {nextMistake, reviewGame} from "quillbrook-core/review/index.js"
import {showEvalBar, showLines} from "./analysis-view.js"
import {createBoard} from "./board.js"
import {formatNps, formatScore} from "./format.js"
import {DEFAULT_POSITION, gameEnd, gameFragment, gameFromFragment, sanLine} from "./game.js"
import {showMoves} from "./moves-view.js"
import {showReview} from "./review-view.js"
import {loadSaved, saveSoon} from "./storage.js"

const PROTOCOL_LINES_KEPT = 400
const MODE_NAMES = {"shared-memory": "shared memory", yielding: "yielding"}
// The review's NAG for each verdict: ?! ? ??
const VERDICT_NAGS = {Inaccuracy: 6, Mistake: 2, Blunder: 4}
const element = id => document.getElementById(id)

// The served page fetches the worker and the engine beside it; the single-file page
// carries them inlined.
const ENGINE_FILES = typeof QUILLBROOK_SINGLE_FILE === "undefined" ? {workerUrl: "quillbrook-worker.js"} : {}

const state = {
  tree: createTree(),
  current: "",
  tags: {},
  // The finished review: {nodes, positions, moves, accuracy}, with the ids of the
  // main line it covered.
  review: null,
  settings: {engineSide: "b", limitKind: "movetime", limitValue: 1000, lines: 3, style: "", hash: 16, reviewNodes: 300000},
}
let engine = null
let files = {}
let analysing = false
// The search the page waits for: {purpose: "play" | "analyse", id, fen, lines}. A search
// that is no longer this one has been left behind; its lines and result are dropped.
let search = null
let reviewing = null

const board = createBoard(element("board"), {play: playMove, canMove: () => !engineToMove() && !gameOver()})

const currentNode = () => nodeAt(state.tree, state.current)
const sideToMove = fen => fen.split(" ")[1]
const gameOver = () => gameEnd(pathTo(state.tree, state.current)) !== null
const engineToMove = () => state.settings.engineSide === sideToMove(currentNode().fen) && currentNode().children.length === 0

function announce(text) {
  element("announcer").textContent = text
}

// --- The engine: what it should do in the current position ---

function think() {
  if (!engine) return
  if (gameOver()) {
    analysing = false
    rest()
  } else if (engineToMove()) {
    startSearch("play", {[state.settings.limitKind]: state.settings.limitValue, multipv: 1})
  } else if (analysing) {
    startSearch("analyse", {infinite: true, multipv: state.settings.lines})
  } else {
    rest()
  }
}

function rest() {
  if (!search) return
  search = null
  engine.stop()
}

function startSearch(purpose, limit) {
  const node = currentNode()
  const searched = {purpose, id: node.id, fen: node.fen, lines: []}
  search = searched
  const fen = state.tree.root.fen
  const request = {...(fen === DEFAULT_POSITION ? {} : {fen}), moves: movesTo(state.tree, node.id), ...limit}
  engine.analyse(request, info => search === searched && showInfo(info, searched)).then(
    result => search === searched && finished(result.bestmove, searched),
    error => search === searched && failed(error.message),
  )
  showAnalysis()
}

function showInfo(info, searched) {
  searched.lines[info.multipv - 1] = {...info, score: whiteScore(info.score, sideToMove(searched.fen))}
  searched.nps = info.nps
  searched.nodes = info.nodes
  showAnalysis()
}

function finished(move, searched) {
  search = null
  if (searched.purpose === "play" && move) {
    const played = addMove(state.tree, searched.id, move)
    announce(`Quillbrook plays ${played.move.san}`)
    if (state.current === searched.id) go(played.id)
    return
  }
  showAnalysis()
}

function failed(message) {
  const status = element("engine-status")
  status.dataset.state = "failed"
  status.textContent = `The engine failed: ${message}`
  console.error(`quillbrook: ${message}`)
}

function logLine(direction, line) {
  const list = element("protocol-lines")
  const item = document.createElement("li")
  item.className = direction === ">" ? "sent" : "received"
  item.dataset.t = performance.now().toFixed(1)
  item.textContent = `${direction} ${line}`
  list.append(item)
  while (list.childElementCount > PROTOCOL_LINES_KEPT) list.firstElementChild.remove()
}

function engineOptions() {
  const options = {Hash: state.settings.hash}
  if (state.settings.style) options.Style = state.settings.style
  if (files.book) Object.assign(options, {BookFile: `/user/book/${files.book.name}`, OwnBook: "true"})
  if (files.tables?.length) options.SyzygyPath = "/user/tables"
  return options
}

async function startEngine() {
  const status = element("engine-status")
  status.dataset.state = "loading"
  // Started a second time when the first fails: a browser may fail a request that the
  // page's service worker answers once, with the same request answered the next time.
  // The engine's standard error goes to the protocol list, marked "!".
  const start = () => createEngine({...ENGINE_FILES, files, options: engineOptions(), log: logLine, onStderr: line => logLine("!", line)})
  try {
    engine = await start().catch(start)
  } catch (error) {
    failed(error.message)
    return
  }
  const style = engine.options.find(option => option.name === "Style")
  const select = element("style")
  select.replaceChildren(...(style?.vars ?? []).map(value => new Option(value, value, false, value === (state.settings.style || style.default))))
  status.dataset.state = "ready"
  status.dataset.mode = engine.mode
  status.dataset.readyMs = performance.now().toFixed(0)
  status.textContent = `${engine.name} ready, ${status.dataset.readyMs} ms after the page began to load; stop during a search: ${MODE_NAMES[engine.mode]}`
  render()
  think()
}

// A book or tables chosen: the engine starts again with them (an engine reads its
// files when it starts).
// Restarts run one after the other: files chosen twice in quick succession must not
// leave two engines.
let restarting = Promise.resolve()
function restartEngine() {
  restarting = restarting.then(async () => {
    const old = engine
    engine = null
    search = null
    await old?.quit()
    element("protocol-lines").replaceChildren()
    await startEngine()
  })
  return restarting
}

// --- Moves and navigation ---

function playMove(move) {
  let node
  try {
    node = addMove(state.tree, state.current, move)
  } catch (error) {
    return error.message
  }
  go(node.id)
  return null
}

function go(id) {
  if (id === undefined || !nodeAt(state.tree, id)) return
  state.current = id
  render()
  think()
}

const NAVIGATION = {
  ArrowLeft: () => parentOf(state.tree, state.current)?.id,
  ArrowRight: () => currentNode().children[0]?.id,
  Home: () => "",
  End: () => lineEnd(state.tree, state.current).id,
  ArrowUp: () => stepVariation(-1),
  ArrowDown: () => stepVariation(1),
}

function stepVariation(step) {
  const beside = siblings(state.tree, state.current)
  const index = beside.findIndex(node => node.id === state.current)
  return beside[index + step]?.id
}

// --- Drawing ---

function render() {
  const node = currentNode()
  const path = pathTo(state.tree, state.current)
  const end = gameEnd(path)
  board.show(node.fen, node.move?.uci, `${sideToMove(node.fen) === "w" ? "White" : "Black"} to move. FEN ${node.fen}`)
  showMoves(element("moves"), state.tree, state.current)
  // A move of any variation may be promoted, however deep: its own fork may be
  // promoted already while an outer one is not.
  element("promote").disabled = path.every((step, i) => i === 0 || path[i - 1].children[0] === step)
  element("delete").disabled = !state.current
  element("fen").value = node.fen

  const status = element("game-status")
  status.dataset.over = end ? "true" : "false"
  if (end) status.textContent = `${end.result}: ${end.reason}`
  else if (search?.purpose === "play") status.textContent = `The engine thinks (${sideToMove(node.fen) === "w" ? "White" : "Black"})`
  else status.textContent = `${sideToMove(node.fen) === "w" ? "White" : "Black"} to move${isCheck(node) ? ", in check" : ""}`

  element("analyse").textContent = analysing ? "Stop" : "Analyse"
  element("analyse").disabled = Boolean(end) || !engine
  element("review-start").disabled = !engine || reviewing !== null || state.tree.root.children.length === 0
  showAnalysis()
  showReviewState()
  const text = pgnText()
  element("pgn-output").value = text
  // Rewriting the address is a navigation's work for the browser: only when it changes.
  const plain = location.pathname + location.search
  const address = gameFragment(state.tree, text) || plain
  if (address !== (location.hash || plain)) history.replaceState(null, "", address)
  saveSoon(() => ({tree: state.tree, current: state.current, tags: state.tags, review: state.review, settings: state.settings}))
}

function isCheck(node) {
  return /[+#]$/.test(node.move?.san ?? "")
}

// The lines to show: those of the depth the best line has reached, and those of the
// depth before whose move none of them has yet (a line keeps its place until the
// engine has searched it again).
function currentLines(lines) {
  const depth = lines[0]?.depth
  const fresh = lines.filter(line => line.depth === depth)
  return lines.filter(line => line.depth === depth || !fresh.some(other => other.pv[0] === line.pv[0]))
}

function showAnalysis() {
  const shown = search && search.id === state.current ? search : null
  const lines = shown ? currentLines(shown.lines.filter(Boolean)) : []
  const reviewed = currentNode().data?.review?.score
  showEvalBar(element("eval-bar"), lines[0]?.score ?? reviewed ?? null)
  showLines(element("lines"), currentNode().fen, lines)
  board.arrows(lines.filter(line => line.pv.length).map(line => ({uci: line.pv[0], rank: line.multipv})))
  element("analysis-summary").textContent = shown?.nodes
    ? `${shown.purpose === "play" ? "The engine thinks: " : ""}${formatNps(shown.nps ?? 0)}, ${shown.nodes.toLocaleString("en")} nodes`
    : ""
}

// --- PGN ---

// The game as PGN, for the export and the address; "" for a game with no moves.
function pgnText() {
  if (state.tree.root.children.length === 0) return ""
  const evaluation = node => node.data?.review?.score ?? undefined
  return writePgn(state.tree, {tags: state.tags, evaluation})
}

function setGame(tree, tags = {}) {
  if (reviewing) reviewing.abort()
  state.tree = tree
  state.tags = tags
  state.current = ""
  state.review = null
  search = null
  analysing = false
  engine?.stop()
  engine?.newGame()
  render()
  think()
}

// --- Review ---

function showReviewState() {
  showReview(element("review-graph"), element("review-summary"), state, id => go(id))
  const marked = state.review !== null
  element("next-mistake-w").disabled = !marked
  element("next-mistake-b").disabled = !marked
}

async function startReview() {
  const positions = mainLinePositions(state.tree)
  const game = {fen: state.tree.root.fen, moves: positions.slice(1).map(position => position.move.uci)}
  // The count as typed, kept with the settings even where the field never lost the focus.
  readSettings()
  const nodes = Math.max(1000, Math.round(state.settings.reviewNodes))
  const size = Math.max(1, Math.min(8, (navigator.hardwareConcurrency || 2) - 1))
  const controller = new AbortController()
  reviewing = controller
  const progress = element("review-progress")
  progress.hidden = false
  progress.value = 0
  render()
  const pool = createEnginePool({size, start: config => createEngine({...ENGINE_FILES, ...config}), options: {Hash: 16}})
  try {
    const review = await reviewGame(pool, game, {nodes, signal: controller.signal, onProgress: ({done, total}) => (progress.value = done / total)})
    attachReview(positions, review)
    state.review = {nodes, accuracy: review.accuracy, ids: positions.map(position => position.id)}
    const marked = review.moves.filter(move => move.verdict).length
    const percent = value => (value === null ? "unknown" : `${Math.round(value)}%`)
    announce(`Review done: ${marked} moves marked; accuracy White ${percent(review.accuracy.w)}, Black ${percent(review.accuracy.b)}`)
  } catch (error) {
    if (!controller.signal.aborted) element("review-summary").textContent = `The review failed: ${error.message}`
  } finally {
    pool.close()
    reviewing = null
    progress.hidden = true
    render()
  }
}

// The review's findings on the nodes of the main line, where the move list, the
// export and the saved game find them.
function attachReview(positions, review) {
  for (const [ply, position] of positions.entries()) {
    const node = nodeAt(state.tree, position.id)
    const found = review.positions[ply]
    const judged = ply > 0 ? review.moves[ply - 1] : null
    node.data = {...node.data, review: {score: found.score ?? undefined, chances: found.chances, best: found.best}}
    if (judged?.verdict) {
      const before = positions[ply - 1]
      node.data.review.verdict = judged.verdict
      node.data.review.better = judged.better
      if (judged.better) node.data.review.betterSan = sanLine(before.fen, [judged.better]).replace(/^\d+\.+ /, "")
      node.nags = [...(node.nags ?? []).filter(nag => nag > 6), VERDICT_NAGS[judged.verdict]]
    }
  }
}

function goToNextMistake(side) {
  const ids = state.review?.ids ?? []
  const from = ids.indexOf(state.current)
  const next = ids.slice(from + 1).find(id => {
    const node = nodeAt(state.tree, id)
    return node?.data?.review?.verdict && sideToMove(parentOf(state.tree, id).fen) === side
  })
  if (next !== undefined) {
    go(next)
    const review = currentNode().data.review
    announce(`${currentNode().move.san}: ${review.verdict}${review.betterSan ? `, best was ${review.betterSan}` : ""}`)
  }
}

// --- Events ---

element("new-game").addEventListener("click", () => setGame(createTree()))
element("flip").addEventListener("click", () => board.flip())
element("first").addEventListener("click", () => go(NAVIGATION.Home()))
element("back").addEventListener("click", () => go(NAVIGATION.ArrowLeft()))
element("forward").addEventListener("click", () => go(NAVIGATION.ArrowRight()))
element("last").addEventListener("click", () => go(NAVIGATION.End()))
element("promote").addEventListener("click", () => {
  promoteVariation(state.tree, state.current)
  render()
})
element("delete").addEventListener("click", () => {
  const parent = deleteNode(state.tree, state.current)
  go(parent.id)
})
element("moves").addEventListener("click", event => {
  const id = event.target.closest(".move")?.dataset.id
  if (id !== undefined) go(id)
})
// On the press, not the click: the lines are drawn afresh with each line the engine
// sends, and a click whose release meets a line drawn anew is no click at all.
element("lines").addEventListener("pointerdown", event => {
  const span = event.target.closest(".line-move")
  if (!span || !search || event.button !== 0) return
  const line = search.lines[Number(span.dataset.multipv) - 1]
  let id = search.id
  for (const uci of line.pv.slice(0, Number(span.dataset.index) + 1)) id = addMove(state.tree, id, uci).id
  go(id)
})
document.addEventListener("keydown", event => {
  if (event.target.closest("input, textarea, select") || event.altKey || event.ctrlKey || event.metaKey) return
  const step = NAVIGATION[event.key]
  if (!step) return
  event.preventDefault()
  go(step())
})
element("move-form").addEventListener("submit", event => {
  event.preventDefault()
  const text = element("move-input").value.trim()
  if (!text || engineToMove()) return
  const problem = playMove(text)
  element("move-error").textContent = problem ? `${text} is not a legal move here` : ""
  if (!problem) {
    element("move-input").value = ""
    announce(`You play ${currentNode().move.san}`)
  }
})
element("fen-form").addEventListener("submit", event => {
  event.preventDefault()
  try {
    setGame(createTree(element("fen").value.trim()))
    element("fen-error").textContent = ""
  } catch (error) {
    element("fen-error").textContent = error.message
  }
})
element("analyse").addEventListener("click", () => {
  analysing = !analysing
  if (analysing) think()
  else if (search?.purpose === "analyse") rest()
  render()
})
element("review-start").addEventListener("click", startReview)
element("next-mistake-w").addEventListener("click", () => goToNextMistake("w"))
element("next-mistake-b").addEventListener("click", () => goToNextMistake("b"))

// PGN in: pasted or opened; with several games, the first is loaded and the others
// offered.
let pgnGames = []
function loadPgnText(text) {
  const {games, skipped} = readPgn(text)
  element("pgn-error").textContent = skipped.map(game => `Game ${game.number} (line ${game.line}) skipped: ${game.reason}`).join("; ")
  if (games.length === 0) {
    element("pgn-error").textContent ||= "No game found"
    return
  }
  pgnGames = games
  // A game brought in is for analysis: the engine no longer plays a side.
  state.settings.engineSide = "none"
  showSettings()
  const select = element("pgn-games")
  select.replaceChildren(...games.map((game, index) => new Option(`${game.number}. ${game.tags.White ?? "?"} – ${game.tags.Black ?? "?"} ${game.tags.Result ?? ""}`, index)))
  select.hidden = element("pgn-games-label").hidden = games.length < 2
  setGame(games[0].tree, games[0].tags)
}
element("pgn-load").addEventListener("click", () => loadPgnText(element("pgn-input").value))
element("pgn-file").addEventListener("change", async () => {
  const [file] = element("pgn-file").files
  if (file) loadPgnText(await file.text())
})
element("pgn-games").addEventListener("change", () => {
  const game = pgnGames[Number(element("pgn-games").value)]
  if (game) setGame(game.tree, game.tags)
})
element("pgn-copy").addEventListener("click", () => navigator.clipboard?.writeText(element("pgn-output").value))
element("pgn-download").addEventListener("click", () => {
  const url = URL.createObjectURL(new Blob([element("pgn-output").value], {type: "application/x-chess-pgn"}))
  element("pgn-download").href = url
  setTimeout(() => URL.revokeObjectURL(url), 10000)
})

// Settings: kept with the game; those of the engine reach it between searches.
function readSettings() {
  const s = state.settings
  s.engineSide = element("engine-side").value
  s.limitKind = element("limit-kind").value
  s.limitValue = Math.max(1, Math.round(Number(element("limit-value").value) || 1))
  s.lines = Number(element("lines-count").value)
  s.hash = Number(element("hash").value)
  s.reviewNodes = Number(element("review-nodes").value) || 300000
}
function showSettings() {
  const s = state.settings
  element("engine-side").value = s.engineSide
  element("limit-kind").value = s.limitKind
  element("limit-value").value = s.limitValue
  element("lines-count").value = s.lines
  element("hash").value = s.hash
  element("review-nodes").value = s.reviewNodes
}
for (const id of ["engine-side", "limit-kind", "limit-value", "lines-count", "review-nodes"]) {
  element(id).addEventListener("change", () => {
    const kind = state.settings.limitKind
    readSettings()
    if (id === "limit-kind" && kind !== state.settings.limitKind) {
      state.settings.limitValue = {movetime: 1000, depth: 10, nodes: 300000}[state.settings.limitKind]
      showSettings()
    }
    if (id === "engine-side" && state.settings.engineSide !== "none") board.orient(state.settings.engineSide === "w" ? "b" : "w")
    render()
    think()
  })
}
element("hash").addEventListener("change", () => {
  readSettings()
  engine?.setOption("Hash", state.settings.hash)
  render()
})
element("style").addEventListener("change", () => {
  state.settings.style = element("style").value
  engine?.setOption("Style", state.settings.style)
  render()
})
function filesChosen() {
  const book = element("book-file").files[0]
  const tables = [...element("table-files").files, ...element("table-folder").files].filter(file => /\.rtb[wz]$/.test(file.name))
  files = {book, tables}
  element("files-status").textContent = [book ? `book ${book.name}` : "", tables.length ? `${tables.length} table files` : ""].filter(Boolean).join(", ")
  restartEngine()
}
for (const id of ["book-file", "table-files", "table-folder"]) element(id).addEventListener("change", filesChosen)

// A line typed for the engine goes as it is: the page's own searches see only the
// answers to what they asked.
element("protocol-form").addEventListener("submit", event => {
  event.preventDefault()
  const line = element("protocol-line").value.trim()
  if (!engine || !line) return
  engine.send(line)
  element("protocol-line").value = ""
})

// --- Start: the game from the address, else the one kept from the last visit ---

function open() {
  const saved = loadSaved()
  if (saved?.settings) Object.assign(state.settings, saved.settings)
  showSettings()
  const opened = gameFromFragment(location.hash)
  try {
    if (opened.fen) {
      state.tree = createTree(opened.fen)
    } else if (opened.pgn) {
      const [game] = readPgn(opened.pgn).games
      if (!game) throw new Error("the address's game cannot be read")
      state.tree = game.tree
      state.tags = game.tags
    } else if (saved?.tree) {
      state.tree = treeFromJSON(saved.tree)
      state.tags = saved.tags ?? {}
      state.review = saved.review ?? null
      state.current = nodeAt(state.tree, saved.current) ? saved.current : ""
    }
  } catch (error) {
    element("fen-error").textContent = opened.error ?? error.message
  }
  if (opened.error) element("fen-error").textContent = opened.error
  render()
}

// The engine starts in a task of its own once the page is drawn, so that neither
// keeps the other's input waiting long.
open()
setTimeout(startEngine)

// A served page keeps its files for the next visit, with the network off or on.
if ("serviceWorker" in navigator && location.protocol.startsWith("http")) {
  addEventListener("load", () => navigator.serviceWorker.register("sw.js").catch(error => console.warn(`no offline copy: ${error.message}`)))
}
