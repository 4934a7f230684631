// The page: a game against the engine, or analysis with it, on one board.
import {Chessboard, COLOR, INPUT_EVENT_TYPE} from "cm-chessboard/src/Chessboard.js"
import {Markers, MARKER_TYPE} from "cm-chessboard/src/extensions/markers/Markers.js"
import {PromotionDialog, PROMOTION_DIALOG_RESULT_TYPE} from "cm-chessboard/src/extensions/promotion-dialog/PromotionDialog.js"
import {createEngine, whiteScore} from "quillbrook"
import {formatNps, formatScore} from "./format.js"
import {Chess, DEFAULT_POSITION, gameEnd, gameFromFragment, gameFragment, moveRows, sanLine, searchRequest} from "./game.js"

const PROTOCOL_LINES_KEPT = 400
const MODE_NAMES = {"shared-memory": "shared memory", yielding: "yielding"}
const element = id => document.getElementById(id)

const chess = new Chess()
let analysing = false
let engine = null
// The search the page waits for, if any: {purpose: "play" | "analyse", fen}. A
// search that is no longer this one has been left behind, and its result is dropped.
let current = null

const board = new Chessboard(element("board"), {
  position: chess.fen(),
  assetsUrl: "vendor/cm-chessboard/assets/",
  style: {cssClass: "default", showCoordinates: true, animationDuration: 200},
  extensions: [{class: Markers, props: {autoMarkers: MARKER_TYPE.frame}}, {class: PromotionDialog}],
})

function engineSide() {
  return element("engine-side").value
}

function engineToMove() {
  return engineSide() === chess.turn()
}

// What the engine should do in this position: play, analyse or rest.
function think() {
  if (!engine) return
  if (gameEnd(chess)) {
    analysing = false
    rest()
  } else if (engineToMove()) {
    const limit = element("limit-kind").value
    const value = Math.max(1, Math.round(Number(element("limit-value").value) || 1))
    search("play", {[limit]: value})
  } else if (analysing) {
    search("analyse", {infinite: true})
  } else {
    rest()
  }
  showState()
}

function rest() {
  if (!current) return
  current = null
  engine.stop()
}

function search(purpose, limit) {
  element("analysis-line").textContent = ""
  const searched = {purpose, fen: chess.fen()}
  current = searched
  engine.analyse({...searchRequest(chess), ...limit}, info => current === searched && showInfo(info, searched)).then(
    result => current === searched && finished(result.bestmove, searched),
    error => current === searched && failed(error.message),
  )
}

// A move by either side, already known to be legal.
function play(move) {
  chess.move(move)
  board.setPosition(chess.fen(), true)
  think()
}

function onMoveInput(event) {
  switch (event.type) {
    case INPUT_EVENT_TYPE.moveInputStarted: {
      const moves = chess.moves({square: event.squareFrom, verbose: true})
      if (engineToMove() || gameEnd(chess) || moves.length === 0) return false
      board.addLegalMovesMarkers(moves)
      return true
    }
    case INPUT_EVENT_TYPE.validateMoveInput: {
      const moves = chess.moves({square: event.squareFrom, verbose: true}).filter(move => move.to === event.squareTo)
      if (moves.length === 0) return false
      if (moves[0].promotion) {
        board.showPromotionDialog(event.squareTo, chess.turn() === "w" ? COLOR.white : COLOR.black, result => {
          if (result.type === PROMOTION_DIALOG_RESULT_TYPE.pieceSelected) {
            play({from: event.squareFrom, to: event.squareTo, promotion: result.piece.charAt(1)})
          } else {
            board.setPosition(chess.fen(), true)
          }
        })
      } else {
        // Castling and en passant move a second piece: the board follows the rules' position.
        event.chessboard.state.moveInputProcess.then(() => play(moves[0]))
      }
      return true
    }
    case INPUT_EVENT_TYPE.moveInputCanceled:
    case INPUT_EVENT_TYPE.moveInputFinished:
      board.removeLegalMovesMarkers()
      return undefined
    default:
      return undefined
  }
}

function ready(started) {
  engine = started
  const style = engine.options.find(option => option.name === "Style")
  for (const value of style ? style.vars : []) element("style").add(new Option(value, value, false, value === style.default))
  const status = element("engine-status")
  status.dataset.state = "ready"
  status.dataset.mode = engine.mode
  status.dataset.readyMs = performance.now().toFixed(0)
  status.textContent = `${engine.name} ready, ${status.dataset.readyMs} ms after the page began to load; stop during a search: ${MODE_NAMES[engine.mode]}`
  board.enableMoveInput(onMoveInput)
  think()
}

function failed(message) {
  const status = element("engine-status")
  status.dataset.state = "failed"
  status.textContent = `The engine failed: ${message}`
  console.error(`quillbrook: ${message}`)
}

function showInfo(info, searched) {
  const white = whiteScore(info.score, searched.fen.split(" ")[1])
  element("analysis-depth").textContent = `${info.depth}/${info.seldepth}`
  element("analysis-score").textContent = formatScore(white)
  element("analysis-nps").textContent = info.nps === undefined ? "" : formatNps(info.nps)
  element("analysis-nodes").textContent = info.nodes === undefined ? "" : info.nodes.toLocaleString("en")
  // One unbreakable span a word, so that a line wraps between moves, never inside O-O-O.
  const words = sanLine(searched.fen, info.pv).split(" ").map(word => Object.assign(document.createElement("span"), {textContent: word}))
  element("analysis-line").replaceChildren(...words.flatMap(word => [word, " "]))
}

function finished(move, searched) {
  current = null
  if (searched.purpose === "play" && move) {
    try {
      play({from: move.slice(0, 2), to: move.slice(2, 4), promotion: move[4]})
    } catch {
      failed(`its move ${move} is not legal in ${searched.fen}`)
    }
    return
  }
  if (searched.purpose === "analyse") element("analysis-best").textContent = move ? `best ${sanLine(searched.fen, [move])}` : ""
  showState()
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

function showState() {
  const played = chess.history({verbose: true})
  element("moves").replaceChildren(...moveRows(played).map(({number, white, black}) => {
    const row = document.createElement("li")
    row.value = number
    row.innerHTML = "<span></span><span></span>"
    row.children[0].textContent = white || "…"
    row.children[1].textContent = black
    return row
  }))
  element("moves").lastElementChild?.scrollIntoView({block: "nearest"})

  const end = gameEnd(chess)
  const status = element("game-status")
  if (end) status.textContent = `${end.result}: ${end.reason}`
  else if (current?.purpose === "play") status.textContent = `The engine thinks (${chess.turn() === "w" ? "White" : "Black"})`
  else status.textContent = `${chess.turn() === "w" ? "White" : "Black"} to move${chess.inCheck() ? ", in check" : ""}`
  status.dataset.over = end ? "true" : "false"

  element("analyse").textContent = analysing ? "Stop" : "Analyse"
  element("analyse").disabled = Boolean(end) || !engine
  element("fen").value = chess.fen()
  // The address carries the game, so that copying it shares the game.
  history.replaceState(null, "", gameFragment(chess) || location.pathname + location.search)

  board.removeMarkers(MARKER_TYPE.square)
  const last = played.at(-1)
  if (last) {
    board.addMarker(MARKER_TYPE.square, last.from)
    board.addMarker(MARKER_TYPE.square, last.to)
  }
}

function setGame(game) {
  chess.reset()
  if (game.pgn) chess.loadPgn(game.pgn)
  else chess.load(game.fen)
  board.setPosition(chess.fen(), true)
  element("analysis-best").textContent = ""
  if (engine) {
    rest()
    engine.newGame()
  }
  think()
}

element("new-game").addEventListener("click", () => setGame({fen: DEFAULT_POSITION}))
element("flip").addEventListener("click", () => {
  board.setOrientation(board.getOrientation() === COLOR.white ? COLOR.black : COLOR.white, true)
})
element("take-back").addEventListener("click", () => {
  chess.undo()
  if (engineToMove()) chess.undo()
  board.setPosition(chess.fen(), true)
  think()
})
element("fen-form").addEventListener("submit", event => {
  event.preventDefault()
  const fen = element("fen").value.trim()
  try {
    new Chess(fen)
  } catch (error) {
    element("fen-error").textContent = error.message
    return
  }
  element("fen-error").textContent = ""
  setGame({fen})
})
element("engine-side").addEventListener("change", () => {
  // The player's own side at the bottom of the board.
  if (engineSide() !== "none") board.setOrientation(engineSide() === "w" ? COLOR.black : COLOR.white, true)
  think()
})
element("limit-kind").addEventListener("change", () => {
  element("limit-value").value = element("limit-kind").value === "depth" ? 10 : 1000
})
element("style").addEventListener("change", () => engine?.setOption("Style", element("style").value))
element("hash").addEventListener("change", () => engine?.setOption("Hash", element("hash").value))
element("analyse").addEventListener("click", () => {
  analysing = !analysing
  element("analysis-best").textContent = ""
  if (analysing) think()
  else if (current?.purpose === "analyse") rest()
  showState()
})

// A line typed for the engine goes as it is: the page's own searches see only the
// answers to what they asked.
element("protocol-form").addEventListener("submit", event => {
  event.preventDefault()
  const line = element("protocol-line").value.trim()
  if (!engine || !line) return
  engine.send(line)
  element("protocol-line").value = ""
})

const opened = gameFromFragment(location.hash)
if (opened.error) element("fen-error").textContent = opened.error
else if (opened.fen || opened.pgn) setGame(opened)
showState()

// A served page keeps its files for the next visit, with the network off or on.
if ("serviceWorker" in navigator && location.protocol.startsWith("http")) {
  addEventListener("load", () => navigator.serviceWorker.register("sw.js").catch(error => console.warn(`no offline copy: ${error.message}`)))
}

// The single-file page carries its engine inlined; a served page fetches the
// worker and the engine beside it.
const files = typeof QUILLBROOK_SINGLE_FILE === "undefined" ? {workerUrl: "quillbrook-worker.js"} : {}
createEngine({...files, options: {Hash: element("hash").value}, log: logLine}).then(ready, error => failed(error.message))
