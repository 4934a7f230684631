#!/usr/bin/env node
// `quillbrook-review FILE... [--pgn out.pgn] [--jsonl out.jsonl]` and
// `quillbrook-review worker --queue redis://HOST:PORT`: see lib/cli.js.
import {main} from "../lib/cli.js"

// Whoever read the games has gone (`| head`): end quietly.
process.stdout.on("error", () => process.exit(1))

process.exitCode = await main()
// Nothing is left to wait for: engines and connections are closed, but a connection's
// timers may still hold the event loop for a while.
process.exit()
