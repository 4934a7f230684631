// The board widget (cm-chessboard) as the page uses it: a position shown with its
// last move, moves made by dragging or clicking, a promotion dialog, and arrows for
// the engine's lines. Its sprites come in the page (inline-sprites.mjs), so it fetches
// none.
import {Chessboard, COLOR, INPUT_EVENT_TYPE} from "cm-chessboard/src/Chessboard.js"
import {Arrows} from "cm-chessboard/src/extensions/arrows/Arrows.js"
import {Markers, MARKER_TYPE} from "cm-chessboard/src/extensions/markers/Markers.js"
import {PromotionDialog, PROMOTION_DIALOG_RESULT_TYPE} from "cm-chessboard/src/extensions/promotion-dialog/PromotionDialog.js"
import {Chess} from "./game.js"

// The arrow of each line's move, the best one strongest (page.css).
const ARROW_TYPES = [1, 2, 3, 4, 5].map(rank => ({class: `arrow-line-${rank}`}))

// `play(move)` is called with {from, to, promotion?}, a legal move of the position
// shown, once the person has made it; `canMove()` says whether they may now.
export function createBoard(element, {play, canMove}) {
  let fen = new Chess().fen()
  let marked
  const board = new Chessboard(element, {
    position: fen,
    style: {cssClass: "default", showCoordinates: true, animationDuration: 200},
    extensions: [{class: Markers, props: {autoMarkers: MARKER_TYPE.frame}}, {class: PromotionDialog}, {class: Arrows}],
  })
  // The board is one picture to a screen reader, which the move list and the move
  // field describe; it gets a name, and the position as its description.
  board.view.svg.setAttribute("aria-label", "Chess board")

  const legalFrom = square => new Chess(fen).moves({square, verbose: true})

  board.enableMoveInput(event => {
    switch (event.type) {
      case INPUT_EVENT_TYPE.moveInputStarted: {
        const moves = legalFrom(event.squareFrom)
        if (!canMove() || moves.length === 0) return false
        board.addLegalMovesMarkers(moves)
        return true
      }
      case INPUT_EVENT_TYPE.validateMoveInput: {
        const moves = legalFrom(event.squareFrom).filter(move => move.to === event.squareTo)
        if (moves.length === 0) return false
        if (moves[0].promotion) {
          const color = fen.split(" ")[1] === "w" ? COLOR.white : COLOR.black
          board.showPromotionDialog(event.squareTo, color, result => {
            if (result.type === PROMOTION_DIALOG_RESULT_TYPE.pieceSelected) {
              play({from: event.squareFrom, to: event.squareTo, promotion: result.piece.charAt(1)})
            } else {
              board.setPosition(fen, true)
            }
          })
        } else {
          // Castling and en passant move a second piece: the board follows the rules' position.
          event.chessboard.state.moveInputProcess.then(() => play({from: event.squareFrom, to: event.squareTo}))
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
  })

  return {
    // Shows the position, the move that led to it marked; the step is animated.
    // The page draws itself often (each line of the engine's): the same position is
    // not drawn again.
    show(shown, lastMove, description) {
      board.view.svg.setAttribute("aria-description", description)
      if (shown === fen && lastMove === marked) return
      fen = shown
      marked = lastMove
      board.setPosition(fen, true)
      board.removeMarkers(MARKER_TYPE.square)
      if (lastMove) {
        board.addMarker(MARKER_TYPE.square, lastMove.slice(0, 2))
        board.addMarker(MARKER_TYPE.square, lastMove.slice(2, 4))
      }
    },
    // One arrow per line, for its first move: [{uci, rank}] with rank 1 the best.
    arrows(lines) {
      board.removeArrows()
      for (const {uci, rank} of [...lines].reverse()) board.addArrow(ARROW_TYPES[rank - 1], uci.slice(0, 2), uci.slice(2, 4))
    },
    flip() {
      board.setOrientation(board.getOrientation() === COLOR.white ? COLOR.black : COLOR.white, true)
    },
    // White or Black ("w", "b") at the bottom.
    orient(side) {
      board.setOrientation(side === "b" ? COLOR.black : COLOR.white, true)
    },
  }
}
