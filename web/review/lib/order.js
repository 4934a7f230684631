// Work done out of order, handed on in order.

// Runs `work(item)` for the items of `source` (an async iterable), with at most `ahead`
// items started and not yet handed on, and hands each item with its outcome,
// {value} or {error}, to `deliver(item, outcome)` in the source's order, one at a
// time. The source is read only as far as that window needs.
export async function inOrder(source, {ahead, work, deliver}) {
  const pending = []
  const items = source[Symbol.asyncIterator]()
  let more = true
  for (;;) {
    while (more && pending.length < ahead) {
      const {value, done} = await items.next()
      if (done) more = false
      else pending.push({item: value, outcome: settled(work, value)})
    }
    if (pending.length === 0) return
    const {item, outcome} = pending.shift()
    await deliver(item, await outcome)
  }
}

// The outcome of `work(item)` as a promise that never rejects, so that a failure
// waiting its turn is not taken for an unhandled one.
function settled(work, item) {
  return Promise.resolve()
    .then(() => work(item))
    .then(
      value => ({value}),
      error => ({error}),
    )
}
