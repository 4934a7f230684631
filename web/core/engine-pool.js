// Several engines and a queue of jobs. A job is a function given an idle engine and
// an AbortSignal, which returns a promise; it has the engine to itself until then.
//
// `start(config)` starts one engine and resolves to its client once it is ready;
// config is {options}, the UCI options every engine gets before it is first ready
// ({Hash: 16}: memory is then Hash megabytes times size), so that createEngine can be
// passed as it is. Engines start when a job needs one, up to `size`. One that ends
// fails the job it had and is dropped; the next job that needs an engine starts
// another.
export function createEnginePool({size = 1, start, options = {}}) {
  if (!Number.isInteger(size) || size < 1) throw new Error(`size ${size} is not a whole number from 1`)
  const live = new Set()
  const idle = []
  const waiting = []
  const running = new Set()
  const starting = new Set()
  const following = new Map()
  let closed = false

  // Runs `job(engine, signal)` on the next free engine; resolves or rejects as the job
  // does. A job cancelled (by cancel(), or by aborting `signal`) rejects with the abort's
  // reason whatever it returns, once it has returned if it was running, so that a
  // search cut short is never taken for a finished one.
  function run(job, {signal} = {}) {
    if (closed) return Promise.reject(new Error("the engine pool is closed"))
    if (signal?.aborted) return Promise.reject(signal.reason)
    return new Promise((resolve, reject) => {
      const task = {job, controller: new AbortController(), engine: null, done: false}
      const forget = signal ? follow(signal, task) : () => {}
      task.settle = (outcome, failed) => {
        task.done = true
        forget()
        if (task.controller.signal.aborted) reject(task.controller.signal.reason)
        else if (failed) reject(outcome)
        else resolve(outcome)
      }
      waiting.push(task)
      pump()
    })
  }

  // The tasks of each caller's signal: one listener for a signal that many jobs share
  // (the positions of a game) rather than one a job. Returns what forgets the task.
  function follow(signal, task) {
    if (!following.has(signal)) {
      const tasks = new Set()
      const abort = () => tasks.forEach(each => cancelTask(each, signal.reason))
      signal.addEventListener("abort", abort)
      following.set(signal, {tasks, abort})
    }
    const {tasks, abort} = following.get(signal)
    tasks.add(task)
    return () => {
      tasks.delete(task)
      if (tasks.size > 0) return
      signal.removeEventListener("abort", abort)
      following.delete(signal)
    }
  }

  function pump() {
    while (waiting.length > 0 && idle.length > 0) give(idle.pop(), waiting.shift())
    while (!closed && live.size + starting.size < size && starting.size < waiting.length) startEngine()
  }

  function startEngine() {
    const started = Promise.resolve()
      .then(() => start({options}))
      .then(
        engine => {
          live.add(engine)
          engine.on("exit", () => {
            live.delete(engine)
            if (idle.includes(engine)) idle.splice(idle.indexOf(engine), 1)
            pump()
          })
          free(engine)
        },
        // A start that fails fails a job, so that a pool whose engines cannot start
        // reports it instead of trying again for ever.
        error => waiting.shift()?.settle(error, true),
      )
      .finally(() => {
        starting.delete(started)
        pump()
      })
    starting.add(started)
  }

  async function give(engine, task) {
    task.engine = engine
    running.add(task)
    try {
      task.settle(await task.job(engine, task.controller.signal), false)
    } catch (error) {
      task.settle(error, true)
    }
    running.delete(task)
    if (live.has(engine)) free(engine)
  }

  function free(engine) {
    if (closed) return
    idle.push(engine)
    pump()
  }

  function cancelTask(task, reason) {
    if (task.done || task.controller.signal.aborted) return
    task.controller.abort(reason)
    if (task.engine) return task.engine.stop()
    waiting.splice(waiting.indexOf(task), 1)
    task.settle()
  }

  // Drops the jobs waiting and stops the searches running; every one of them rejects
  // with an AbortError. The pool takes new jobs as before.
  function cancel() {
    for (const task of [...waiting, ...running]) cancelTask(task)
  }

  // Cancels everything and ends every engine; resolves once they have ended.
  async function close() {
    closed = true
    cancel()
    await Promise.allSettled([...starting])
    await Promise.all([...live].map(engine => engine.quit()))
  }

  return {size, run, cancel, close}
}
