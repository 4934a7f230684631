// The move list: the tree of moves as text, variations in parentheses after the move
// they replace, each move a span that goes to its position when clicked. A reviewed
// move carries its mark (?!, ?, ??) and, in its title, the engine's better move.
const MARKS = {Inaccuracy: "?!", Mistake: "?", Blunder: "??"}

// renders the moves after `node` (its main move, the variations beside it, then the
// main line on) into `out`, an array of DOM nodes.
function renderContinuation(node, out, forceNumber, current) {
  const [main, ...variations] = node.children
  if (!main) return
  out.push(moveSpan(main, forceNumber, current))
  for (const variation of variations) {
    const group = document.createElement("span")
    group.className = "variation"
    const inner = [moveSpan(variation, true, current)]
    renderContinuation(variation, inner, false, current)
    group.append("(", ...spaced(inner), ")")
    out.push(group)
  }
  renderContinuation(main, out, variations.length > 0, current)
}

function moveSpan(node, forceNumber, current) {
  const span = document.createElement("span")
  span.className = "move"
  span.dataset.id = node.id
  const whiteMoved = node.ply % 2 === 1
  const number = Math.floor((node.ply + 1) / 2)
  const review = node.data?.review
  const mark = review?.verdict ? MARKS[review.verdict] : ""
  span.textContent = `${whiteMoved ? `${number}. ` : forceNumber ? `${number}... ` : ""}${node.move.san}${mark}`
  if (mark) {
    span.dataset.verdict = review.verdict
    span.title = review.betterSan ? `${review.verdict}: best was ${review.betterSan}` : review.verdict
  }
  if (node.id === current) span.setAttribute("aria-current", "true")
  return span
}

function spaced(items) {
  return items.flatMap((item, i) => (i === 0 ? [item] : [" ", item]))
}

// Shows the tree in `element`, the current node marked and scrolled into view.
export function showMoves(element, tree, current) {
  const out = []
  renderContinuation(tree.root, out, true, current)
  element.replaceChildren(...spaced(out))
  element.querySelector('[aria-current="true"]')?.scrollIntoView({block: "nearest"})
}
