// The engine as a Web Worker, one UCI line per message each way:
//   const engine = new Worker("quillbrook-worker.js");
//   engine.onmessage = (event) => console.log(event.data);
//   engine.postMessage("uci");
// The engine itself runs in a worker of this worker (engine-worker.js), whose
// thread a search keeps busy; this one stays free to pass each line into the
// line channel at once, so that stop and isready reach a running search. The
// channel lives in a SharedArrayBuffer: the page must be cross-origin isolated
// (served with Cross-Origin-Opener-Policy: same-origin and
// Cross-Origin-Embedder-Policy: require-corp).
"use strict";
importScripts("line-channel.js");

if (typeof SharedArrayBuffer !== "function" || !self.crossOriginIsolated) {
  throw new Error("Quillbrook needs a cross-origin isolated page (COOP same-origin, COEP require-corp) for SharedArrayBuffer");
}

const input = createLineChannel();
const writer = channelWriter(input);
const engine = new Worker("engine-worker.js");
engine.onmessage = (event) => {
  if (typeof event.data === "string") postMessage(event.data);
  else close();  // the engine has ended (quit): nothing more will come
};
engine.onerror = (event) => {
  // Passed on as this worker's own error, for the page's onerror.
  throw new Error(event.message || "the engine's worker failed");
};
engine.postMessage(input);
onmessage = (event) => writer.write(`${event.data}\n`);
