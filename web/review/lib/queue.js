// Reviews through a job queue (BullMQ on Redis): one job a game, each holding the
// game's moves and the node count and answered with its evaluations. The coordinator
// adds the jobs and waits for their answers; workers on any machine take them. A job's
// id names the game (its number and the hash of its text) and the node count, so
// that a coordinator run again finds the jobs it had added rather than adding them
// twice. A worker that dies stops renewing its hold on its job, and the queue's
// check for stalled jobs then hands the job to another worker.
import {Queue, QueueEvents, Worker} from "bullmq"
import IORedis from "ioredis"
import {analyseGame} from "quillbrook/review"
import {enginePool} from "./engines.js"

const QUEUE = "quillbrook-review"
// How long a finished job is waited for before its state is asked again, in case its
// event was missed (a connection lost and made again).
const RECHECK_MS = 30000

// Resolves when the Redis server at `url` answers; rejects with one clear line.
export async function reachQueue(url) {
  const redis = new IORedis(url, {lazyConnect: true, maxRetriesPerRequest: 0, retryStrategy: () => null, connectTimeout: 5000})
  let cause = null
  redis.on("error", error => (cause ??= error))
  try {
    await redis.connect()
    await redis.ping()
  } catch (error) {
    throw new Error(`cannot reach the queue at ${url}: ${(cause ?? error).message}`)
  } finally {
    redis.disconnect()
  }
}

// A connection as BullMQ wants it: commands wait while Redis is away, however long.
const connect = url => new IORedis(url, {maxRetriesPerRequest: null})

// The coordinator's reviewer: review(id, game, nodes, onPositions) adds the game's job
// (unless it is there already) and resolves with its evaluations, telling
// onPositions(count) how many came; forget(id) removes the job once its answer is safe
// elsewhere.
export async function queueReviewer(url) {
  await reachQueue(url)
  const queue = new Queue(QUEUE, {connection: connect(url)})
  const events = new QueueEvents(QUEUE, {connection: connect(url)})
  await Promise.all([queue.waitUntilReady(), events.waitUntilReady()])
  // Every game waited for listens for the queue's closing.
  queue.setMaxListeners(0)
  return {
    async review(id, game, nodes, onPositions) {
      const job = await queue.add("game", {game, nodes}, {jobId: id, attempts: 2, backoff: {type: "fixed", delay: 1000}})
      // A job that failed in an earlier run is tried again in this one.
      if (await job.isFailed()) await job.retry()
      for (;;) {
        try {
          const evaluations = await job.waitUntilFinished(events, RECHECK_MS)
          onPositions(evaluations.length)
          return evaluations
        } catch (error) {
          if (!/timed out before finishing/.test(error.message)) throw new Error(`a worker failed: ${error.message}`)
        }
      }
    },
    forget: id => queue.remove(id),
    async close() {
      await events.close()
      await queue.close()
    },
  }
}

// A worker: `size` engines (native at `program`, else WebAssembly) taking as many
// games at a time. A job it holds is returned to the queue when it has not renewed
// its hold for `lockMs`. Resolves once stopped by SIGTERM or SIGINT, after the games
// it holds are done.
export async function runWorker({url, size, program, lockMs, log}) {
  await reachQueue(url)
  const pool = enginePool({size, program})
  const worker = new Worker(QUEUE, job => analyseGame(pool, job.data.game, {nodes: job.data.nodes}), {
    connection: connect(url),
    concurrency: size,
    lockDuration: lockMs,
    stalledInterval: lockMs,
    // A game whose workers keep dying (a machine taken away again and again) is tried
    // on others a few times before it is failed.
    maxStalledCount: 5,
  })
  worker.on("error", error => log(`queue: ${error.message}`))
  await worker.waitUntilReady()
  log(`worker: ${size} ${program ? `native engines (${program})` : "WebAssembly engines"} taking games from ${url}`)
  await new Promise(resolve => ["SIGTERM", "SIGINT"].forEach(signal => process.once(signal, resolve)))
  log("worker: stopping once the games it holds are done")
  await worker.close()
  await pool.close()
}
