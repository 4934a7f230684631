#!/usr/bin/env node
// `npx quillbrook [bench [depth] | perfttest]`: the engine on standard input and
// output, like the native program. Input goes through as bytes, each output
// line is written as it comes, and the exit status is the engine's.
// QUILLBROOK_INPUT=yielding runs the engine as a browser without shared memory does.
"use strict";
const { startEngine } = require("../index.js");

const engine = startEngine({ args: process.argv.slice(2), input: process.env.QUILLBROOK_INPUT || undefined });
engine.on("line", (line) => process.stdout.write(`${line}\n`));
engine.on("stderr", (line) => process.stderr.write(`${line}\n`));
// Whoever read the output has gone: end quietly, as a native program ends on SIGPIPE.
process.stdout.on("error", () => process.exit(1));
process.stdin.on("data", (chunk) => engine.write(chunk));
process.stdin.on("end", () => engine.end());
engine.exited.then((code) => {
  process.exitCode = code;
  process.stdin.destroy();
});
