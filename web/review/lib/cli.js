// The command line: `quillbrook-review FILE...` reviews games, `quillbrook-review
// worker` takes games from a queue. Returns the exit status: 0 all reviewed, 2 some
// games skipped, 1 the run could not be done (one line on standard error says why).
import {availableParallelism} from "node:os"
import {Command, InvalidArgumentError} from "commander"
import {DEFAULT_NODES} from "quillbrook/review"
import {runWorker} from "./queue.js"
import {reviewInputs} from "./run.js"

const log = line => process.stderr.write(`${line}\n`)

function wholeNumber(text) {
  const value = Number(text)
  if (!Number.isSafeInteger(value) || value < 1) throw new InvalidArgumentError("a whole number from 1 is needed")
  return value
}

function queueUrl(text) {
  if (!/^rediss?:\/\//.test(text)) throw new InvalidArgumentError("a Redis address such as redis://host:6379 is needed")
  return text
}

// The command's options, parsed from `argv` (process.argv); `run(settings)` and
// `work(settings)` are called with plain data.
export function commandLine({run, work}) {
  const program = new Command("quillbrook-review")
    // The worker has options of the same names as the review's own.
    .enablePositionalOptions()
    .description("Reviews chess games in PGN with the Quillbrook engine: every position searched at a fixed node count, moves marked as inaccuracies, mistakes and blunders, each side's accuracy.")
    .argument("<files...>", "PGN files, - for standard input")
    .option("--nodes <n>", "nodes searched in each position", wholeNumber, DEFAULT_NODES)
    .option("--workers <n>", "engines searching at once", wholeNumber, availableParallelism())
    .option("--engine <path>", "a native Quillbrook program instead of the WebAssembly engine")
    .option("--pgn <file>", "the games written with the review in them")
    .option("--jsonl <file>", "every position's evaluation as a JSON line")
    .option("--queue <url>", "add the games to the job queue at this Redis address and collect what its workers find", queueUrl)
    .option("--ahead <n>", "games being reviewed ahead of the last one written (default: 4 a worker and 4, or 1000 with --queue)", wholeNumber)
    .addHelpText("after", "\nWithout --pgn or --jsonl the annotated games go to standard output. A run stopped at any point and\nrun again goes on where it was (the journal beside the first output keeps its progress).")
    .action((files, options) => run({...options, ahead: options.ahead ?? (options.queue ? 1000 : undefined), inputs: files}))
  program
    .command("worker")
    .description("takes games from the job queue and reviews them")
    .requiredOption("--queue <url>", "the Redis address the games are queued at", queueUrl)
    .option("--workers <n>", "engines, and games taken at once", wholeNumber, availableParallelism())
    .option("--engine <path>", "a native Quillbrook program instead of the WebAssembly engine")
    .option("--lock-ms <ms>", "how long a game held by a worker that stopped answering waits before another worker takes it", wholeNumber, 30000)
    .action(options => work(options))
  return program
}

export async function main(argv = process.argv) {
  let status = 0
  const program = commandLine({
    run: async settings => (status = await reviewInputs(settings, {log})),
    work: ({queue, workers, engine, lockMs}) => runWorker({url: queue, size: workers, program: engine, lockMs, log}),
  })
  try {
    await program.parseAsync(argv)
  } catch (error) {
    log(`quillbrook-review: ${error.message}`)
    return 1
  }
  return status
}
