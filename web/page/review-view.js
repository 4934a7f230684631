// The review as the page shows it: a graph of White's winning chances over the main
// line, a dot on each marked move, and each side's accuracy. A click on the graph
// goes to the move under it.
const SVG = "http://www.w3.org/2000/svg"
const WIDTH = 300
const HEIGHT = 80
// The curve keeps this far from the edges, so that a dot on a won position is whole,
// and can be clicked.
const DOT_RADIUS = 3
const DOT = {Inaccuracy: "#d6a100", Mistake: "#e07000", Blunder: "#c02020"}

function svgElement(name, attributes) {
  const node = document.createElementNS(SVG, name)
  for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, value)
  return node
}

// The reviewed nodes of the main line, in order, with their place on the graph.
function points(tree, ids) {
  const nodes = []
  let node = tree.root
  for (const id of ids) {
    while (node && node.id !== id) node = node.children[0]
    if (!node?.data?.review) return []
    nodes.push(node)
  }
  const step = (WIDTH - 2 * DOT_RADIUS) / Math.max(1, nodes.length - 1)
  return nodes.map((node, i) => ({node, x: DOT_RADIUS + i * step, y: HEIGHT / 2 - (HEIGHT / 2 - DOT_RADIUS) * node.data.review.chances}))
}

export function showReview(graph, summary, {tree, review, current}, go) {
  const shown = review ? points(tree, review.ids) : []
  // An <svg> has no hidden property: the attribute it is.
  graph.toggleAttribute("hidden", shown.length === 0)
  if (shown.length === 0) {
    summary.textContent = ""
    return
  }
  graph.setAttribute("viewBox", `0 0 ${WIDTH} ${HEIGHT}`)
  const area = `M0,${HEIGHT / 2} ${shown.map(p => `L${p.x.toFixed(1)},${p.y.toFixed(1)}`).join(" ")} L${WIDTH},${HEIGHT / 2} Z`
  const children = [
    svgElement("rect", {x: 0, y: 0, width: WIDTH, height: HEIGHT, class: "graph-black"}),
    svgElement("path", {d: area, class: "graph-area"}),
    svgElement("line", {x1: 0, y1: HEIGHT / 2, x2: WIDTH, y2: HEIGHT / 2, class: "graph-even"}),
  ]
  for (const {node, x, y} of shown) {
    const verdict = node.data.review.verdict
    if (verdict) children.push(svgElement("circle", {cx: x, cy: y, r: DOT_RADIUS, fill: DOT[verdict], "data-id": node.id}))
    if (node.id === current) children.push(svgElement("line", {x1: x, y1: 0, x2: x, y2: HEIGHT, class: "graph-current"}))
  }
  graph.replaceChildren(...children)
  graph.onclick = event => {
    const dot = event.target.closest("circle[data-id]")
    if (dot) return go(dot.dataset.id)
    // In the graph's own units: the drawing keeps its proportions, centred in a box
    // of another shape, so the box's edges are not the graph's.
    const {x} = new DOMPoint(event.clientX, event.clientY).matrixTransform(graph.getScreenCTM().inverse())
    const nearest = shown.reduce((best, p) => (Math.abs(p.x - x) < Math.abs(best.x - x) ? p : best))
    go(nearest.node.id)
  }
  // "1 mistake", "2 mistakes".
  const counts = (verdict, one, many) => {
    const count = shown.filter(p => p.node.data.review.verdict === verdict).length
    return `${count} ${count === 1 ? one : many}`
  }
  const accuracy = side => ((review.accuracy?.[side] ?? null) === null ? "–" : `${Math.round(review.accuracy[side])}%`)
  summary.textContent =
    `Accuracy: White ${accuracy("w")}, Black ${accuracy("b")}. ` +
    `${counts("Inaccuracy", "inaccuracy", "inaccuracies")}, ${counts("Mistake", "mistake", "mistakes")}, ${counts("Blunder", "blunder", "blunders")} ` +
    `(${review.nodes.toLocaleString("en")} nodes a position).`
}
