// The page: a game against the engine, or analysis with it, on one board.
import {Chessboard, COLOR, INPUT_EVENT_TYPE} from "cm-chessboard/src/Chessboard.js"
import {Markers, MARKER_TYPE} from "cm-chessboard/src/extensions/markers/Markers.js"
import {PromotionDialog, PROMOTION_DIALOG_RESULT_TYPE} from "cm-chessboard/src/extensions/promotion-dialog/PromotionDialog.js"
import {startEngine} from "./engine.js"
import {Chess, DEFAULT_POSITION, gameEnd, moveRows, positionCommand, sanLine} from "./game.js"
import {formatNps, formatScore, whiteScore} from "./uci.js"

const PROTOCOL_LINES_KEPT = 400
const element = id => document.getElementById(id)

const chess = new Chess()
let startFen = DEFAULT_POSITION
let analysing = false
let engineReady = false

const board = new Chessboard(element("board"), {
  position: chess.fen(),
  assetsUrl: "vendor/cm-chessboard/assets/",
  style: {cssClass: "default", showCoordinates: true, animationDuration: 200},
  extensions: [{class: Markers, props: {autoMarkers: MARKER_TYPE.frame}}, {class: PromotionDialog}],
})

const engine = startEngine({onLine, onReady, onInfo, onBestmove, onError})

function engineSide() {
  return element("engine-side").value
}

function engineToMove() {
  return engineSide() === chess.turn()
}

// What the engine should do in this position: play, analyse or rest.
function think() {
  if (!engineReady) return
  if (gameEnd(chess)) {
    analysing = false
    engine.cancel()
  } else if (engineToMove()) {
    const limit = element("limit-kind").value
    const value = Math.max(1, Math.round(Number(element("limit-value").value) || 1))
    search("play", `go ${limit} ${value}`)
  } else if (analysing) {
    search("analyse", "go infinite")
  } else {
    engine.cancel()
  }
  showState()
}

function search(purpose, go) {
  element("analysis-line").textContent = ""
  engine.search({purpose, go, fen: chess.fen(), position: positionCommand(startFen, chess.history({verbose: true}))})
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

function onReady({name, options}) {
  const style = options.find(option => option.name === "Style")
  for (const value of style ? style.vars : []) element("style").add(new Option(value, value, false, value === style.default))
  const status = element("engine-status")
  status.dataset.state = "ready"
  status.dataset.readyMs = performance.now().toFixed(0)
  status.textContent = `${name} ready, ${status.dataset.readyMs} ms after the page began to load`
  engineReady = true
  board.enableMoveInput(onMoveInput)
  think()
}

function onError(message) {
  const status = element("engine-status")
  status.dataset.state = "failed"
  status.textContent = `The engine failed: ${message}`
  console.error(`quillbrook: ${message}`)
}

function onInfo(info, search) {
  const white = whiteScore(info.score, search.fen.split(" ")[1] === "b")
  element("analysis-depth").textContent = `${info.depth}/${info.seldepth}`
  element("analysis-score").textContent = formatScore(white)
  element("analysis-nps").textContent = info.nps === undefined ? "" : formatNps(info.nps)
  element("analysis-nodes").textContent = info.nodes === undefined ? "" : info.nodes.toLocaleString("en")
  // One unbreakable span a word, so that a line wraps between moves, never inside O-O-O.
  const words = sanLine(search.fen, info.pv).split(" ").map(word => Object.assign(document.createElement("span"), {textContent: word}))
  element("analysis-line").replaceChildren(...words.flatMap(word => [word, " "]))
}

function onBestmove(move, search) {
  if (search.purpose === "play" && move) {
    try {
      play({from: move.slice(0, 2), to: move.slice(2, 4), promotion: move[4]})
    } catch {
      onError(`its move ${move} is not legal in ${search.fen}`)
    }
    return
  }
  if (search.purpose === "analyse") element("analysis-best").textContent = move ? `best ${sanLine(search.fen, [move])}` : ""
  showState()
}

function onLine(direction, line) {
  const list = element("protocol-lines")
  const item = document.createElement("li")
  item.className = direction === ">" ? "sent" : "received"
  item.dataset.t = performance.now().toFixed(1)
  item.textContent = `${direction} ${line}`
  list.append(item)
  while (list.childElementCount > PROTOCOL_LINES_KEPT) list.firstElementChild.remove()
}

function showState() {
  const rows = moveRows(chess.history({verbose: true}))
  element("moves").replaceChildren(...rows.map(({number, white, black}) => {
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
  else if (engine.running()?.purpose === "play") status.textContent = `The engine thinks (${chess.turn() === "w" ? "White" : "Black"})`
  else status.textContent = `${chess.turn() === "w" ? "White" : "Black"} to move${chess.inCheck() ? ", in check" : ""}`
  status.dataset.over = end ? "true" : "false"

  element("analyse").textContent = analysing ? "Stop" : "Analyse"
  element("analyse").disabled = Boolean(end) || !engineReady
  element("fen").value = chess.fen()

  board.removeMarkers(MARKER_TYPE.square)
  const last = chess.history({verbose: true}).at(-1)
  if (last) {
    board.addMarker(MARKER_TYPE.square, last.from)
    board.addMarker(MARKER_TYPE.square, last.to)
  }
}

function setGame(fen) {
  chess.load(fen)
  startFen = chess.fen()
  engine.send("ucinewgame")
  board.setPosition(startFen, true)
  element("analysis-best").textContent = ""
  think()
}

element("new-game").addEventListener("click", () => setGame(DEFAULT_POSITION))
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
  try {
    new Chess(element("fen").value.trim())
  } catch (error) {
    element("fen-error").textContent = error.message
    return
  }
  element("fen-error").textContent = ""
  setGame(element("fen").value.trim())
})
element("engine-side").addEventListener("change", () => {
  // The player's own side at the bottom of the board.
  if (engineSide() !== "none") board.setOrientation(engineSide() === "w" ? COLOR.black : COLOR.white, true)
  think()
})
element("limit-kind").addEventListener("change", () => {
  element("limit-value").value = element("limit-kind").value === "depth" ? 10 : 1000
})
element("style").addEventListener("change", () => {
  engine.send(`setoption name Style value ${element("style").value}`)
})
element("analyse").addEventListener("click", () => {
  analysing = !analysing
  element("analysis-best").textContent = ""
  if (analysing) think()
  else if (engine.running()?.purpose === "analyse") engine.stop()
  showState()
})
showState()
