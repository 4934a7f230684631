// Runs the engine (quillbrook.js and quillbrook.wasm, beside this file) for
// quillbrook-worker.js, which sends the line channel as its first message.
// Output lines go back as strings, standard error to the console, and the
// end of the engine as { exit: status }. The protocol log has no place to go
// in a browser: its file is a link to /dev/null.
"use strict";
importScripts("line-channel.js", "quillbrook.js");

onmessage = (event) => {
  onmessage = null;
  Quillbrook({
    arguments: [],
    lineInput: channelReader(event.data),
    print: (line) => postMessage(line),
    printErr: (line) => console.error(line),
    preRun: [(module) => module.FS.symlink("/dev/null", `${module.FS.cwd()}/quillbrook_uci.log`)],
    onExit: (status) => {
      postMessage({ exit: status });
      close();
    },
  });
};
