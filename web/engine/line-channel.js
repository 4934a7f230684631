// The engine's standard input between two threads. The engine runs in a
// worker that a search keeps busy for seconds, so no message could reach it;
// instead the thread that receives the lines (the page's worker, or Node's
// main thread) writes their bytes into a ring in a SharedArrayBuffer, and the
// engine reads them with Atomics: it waits while idle and only looks while it
// searches (src/platform/input_wasm.js). Loaded by the browser's worker with
// importScripts, by Node with require, and by the test program as --pre-js.
"use strict";

// The buffer: four 32-bit words, then the ring. The counters run on modulo 2^32.
const CHANNEL_WRITTEN = 0;  // bytes written so far
const CHANNEL_READ = 1;     // bytes read so far
const CHANNEL_CLOSED = 2;   // 1 once the input has ended
const CHANNEL_EVENTS = 3;   // moves at every write and at the close: what a reader waits on
const CHANNEL_HEADER_BYTES = 16;

// A new channel with room for `capacity` bytes (a power of two, so that the
// counters' wrap at 2^32 falls on the ring's start) in transit.
function createLineChannel(capacity = 1 << 16) {
  if (!Number.isInteger(capacity) || capacity < 1 || (capacity & (capacity - 1)) !== 0) {
    throw new RangeError(`a line channel's capacity is a power of two, not ${capacity}`);
  }
  return new SharedArrayBuffer(CHANNEL_HEADER_BYTES + capacity);
}

// The writing end. Bytes that find the ring full wait here, in order, and are
// retried on a timer: the reader never has to wake the writer.
function channelWriter(buffer) {
  const header = new Int32Array(buffer, 0, 4);
  const ring = new Uint8Array(buffer, CHANNEL_HEADER_BYTES);
  const encoder = new TextEncoder();
  const waiting = [];
  let closing = false;
  let retry = null;

  function flush() {
    retry = null;
    let written = Atomics.load(header, CHANNEL_WRITTEN);
    while (waiting.length > 0) {
      const room = ring.length - ((written - Atomics.load(header, CHANNEL_READ)) | 0);
      if (room === 0) break;
      const bytes = waiting[0];
      const count = Math.min(room, bytes.length);
      const start = written & (ring.length - 1);
      const first = Math.min(count, ring.length - start);
      ring.set(bytes.subarray(0, first), start);
      ring.set(bytes.subarray(first, count), 0);
      written = (written + count) | 0;
      if (count === bytes.length) waiting.shift();
      else waiting[0] = bytes.subarray(count);
    }
    Atomics.store(header, CHANNEL_WRITTEN, written);
    if (closing && waiting.length === 0) Atomics.store(header, CHANNEL_CLOSED, 1);
    Atomics.add(header, CHANNEL_EVENTS, 1);
    Atomics.notify(header, CHANNEL_EVENTS);
    if (waiting.length > 0) retry = setTimeout(flush, 1);
  }

  return {
    // Text or bytes, passed on as they are.
    write(data) {
      const bytes = typeof data === "string" ? encoder.encode(data) : new Uint8Array(data);
      if (bytes.length === 0 || closing) return;
      waiting.push(bytes);
      if (retry === null) flush();
    },
    // End of input, once everything written before has gone through.
    close() {
      if (closing) return;
      closing = true;
      if (retry === null) flush();
    },
  };
}

// The reading end, used by the engine's thread.
function channelReader(buffer) {
  const header = new Int32Array(buffer, 0, 4);
  const ring = new Uint8Array(buffer, CHANNEL_HEADER_BYTES);
  let read = Atomics.load(header, CHANNEL_READ);

  return {
    // True when read() would not wait: bytes are there or the input has ended.
    ready() {
      return Atomics.load(header, CHANNEL_WRITTEN) !== read || Atomics.load(header, CHANNEL_CLOSED) !== 0;
    },
    // Copies waiting bytes into the Uint8Array `target`, waiting for at least
    // one; 0 at the end of input.
    read(target) {
      for (;;) {
        const events = Atomics.load(header, CHANNEL_EVENTS);
        const available = (Atomics.load(header, CHANNEL_WRITTEN) - read) | 0;
        if (available > 0) {
          const count = Math.min(available, target.length);
          const start = read & (ring.length - 1);
          const first = Math.min(count, ring.length - start);
          target.set(ring.subarray(start, start + first), 0);
          target.set(ring.subarray(0, count - first), first);
          read = (read + count) | 0;
          Atomics.store(header, CHANNEL_READ, read);
          return count;
        }
        if (Atomics.load(header, CHANNEL_CLOSED) !== 0) return 0;
        Atomics.wait(header, CHANNEL_EVENTS, events);
      }
    },
  };
}

if (typeof module === "object" && module.exports) {
  module.exports = { createLineChannel, channelWriter, channelReader };
}
