// Quillbrook for Node.js programs and browser apps. The same client everywhere;
// startEngine, the raw protocol of a worker thread, in Node.js only.
import { EventEmitter } from "node:events";

/** How lines reach a searching engine: a channel in shared memory, or messages let in by pauses. */
export type InputMode = "shared-memory" | "yielding";

/** A score from the side to move: centipawns, or moves to mate (negative: the side to move is mated). */
export type Score = { cp: number } | { mate: number };

/** One info line of a search, parsed; fields the engine did not print are absent. */
export interface Info {
  depth: number;
  seldepth?: number;
  /** The MultiPV rank, 1 where the engine names none. */
  multipv: number;
  score: Score;
  nodes?: number;
  nps?: number;
  time?: number;
  tbhits?: number;
  /** Moves in coordinates: ["e2e4", "e7e5"]. */
  pv: string[];
}

/** What to search: a position (FEN, or the usual start) with moves played from it, and one limit. */
export interface SearchRequest {
  fen?: string;
  moves?: string[];
  /** Lines to find, 1 (the default) to 256. */
  multipv?: number;
  depth?: number;
  nodes?: number;
  movetime?: number;
  wtime?: number;
  btime?: number;
  winc?: number;
  binc?: number;
  movestogo?: number;
  /** Until stop(); also what a request with no limit does. */
  infinite?: boolean;
}

export interface SearchResult {
  /** null when the position has no legal move, or when a later search overtook this one before it began. */
  bestmove: string | null;
  ponder?: string;
  /** The last info line of each MultiPV rank, best first. */
  lines: Info[];
}

export interface EngineOption {
  name: string;
  type: string;
  default?: string;
  min?: string;
  max?: string;
  vars: string[];
}

export interface Engine {
  readonly name: string;
  readonly options: EngineOption[];
  readonly mode: InputMode;
  /**
   * Searches; resolves once the engine has answered with bestmove. A search asked for
   * while another runs stops that one, which resolves with what it had, first. Rejects
   * with an Error saying what is wrong with a request (a FEN that is not a legal
   * position, a move not in coordinates, a bad limit) without troubling the engine.
   */
  analyse(request?: SearchRequest, onInfo?: (info: Info) => void): Promise<SearchResult>;
  /** Ends the running search early; its analyse resolves with what it has. */
  stop(): void;
  /** Sets a UCI option between searches: setOption("Hash", 64). */
  setOption(name: string, value: string | number | boolean): void;
  /** ucinewgame: clears the engine's tables; resolves when the engine is ready again. */
  newGame(): Promise<void>;
  /** Sends a raw UCI line. */
  send(line: string): void;
  /** Every line the engine prints; the engine's end, with its status. */
  on(event: "line", listener: (line: string) => void): this;
  on(event: "exit", listener: (status: number) => void): this;
  off(event: "line" | "exit", listener: (...args: any[]) => void): this;
  /** Ends the engine; resolves with its exit status. */
  quit(): Promise<number>;
}

export interface CreateEngineOptions {
  /** UCI options set before the engine is first ready: { Hash: 16 }. */
  options?: Record<string, string | number | boolean>;
  /** Sees every line, ">" sent and "<" received. */
  log?: (direction: ">" | "<", line: string) => void;
  /** The input mode; by default shared memory where it can be had (always in Node.js). */
  input?: InputMode;
  /** Node.js: the engine's working directory (the protocol log, relative paths). */
  cwd?: string;
  /** Browser: the served quillbrook-worker.js (with its scripts and the engine beside it) instead of the inlined worker. */
  workerUrl?: string | URL;
  /** Browser: where the engine's .wasm is, or its bytes. */
  wasmUrl?: string;
  wasmBinary?: ArrayBuffer;
  /**
   * Browser: files the person chose, read where they are (never uploaded): the engine finds
   * the book as /user/book/<name> (for BookFile) and the tables in /user/tables (for SyzygyPath).
   */
  files?: { book?: File; tables?: File[] };
  /** Browser: the engine's standard error, a line at a time. */
  onStderr?: (line: string) => void;
}

/** Starts an engine (in a worker thread, or a Web Worker) and resolves once it is ready. */
export function createEngine(options?: CreateEngineOptions): Promise<Engine>;

/** null when the FEN is a legal position the engine may be given, else what is wrong with it. */
export function fenProblem(fen: string): string | null;

/** A score from the side to move, for a position with `side` ("w" or "b") to move, from White's side. */
export function whiteScore(score: Score, side: "w" | "b"): Score;

export interface StartEngineOptions {
  /** Command-line arguments: ["bench", "13"], ["perfttest"]; none for UCI. */
  args?: string[];
  /** Working directory: the protocol log and relative paths. Default process.cwd(). */
  cwd?: string;
  /** How lines reach a searching engine; "shared-memory" by default. */
  input?: InputMode;
}

/** The raw protocol of an engine in a worker thread (Node.js only). */
export interface EngineProcess extends EventEmitter {
  readonly mode: InputMode;
  /** Sends one UCI line; the line end is added. */
  send(line: string): void;
  /** Writes text or bytes to the engine's input as they are. */
  write(data: string | Uint8Array): void;
  /** Ends the engine's input, as a closed pipe does. */
  end(): void;
  /** Stops the engine at once; resolves with its exit code. */
  terminate(): Promise<number>;
  /** Resolves with the exit status when the engine has ended (0 after quit or end of input). */
  readonly exited: Promise<number>;

  /** Each line the engine prints on standard output, without its line end. */
  on(event: "line", listener: (line: string) => void): this;
  /** Each line of its standard error. */
  on(event: "stderr", listener: (line: string) => void): this;
  on(event: "exit", listener: (code: number) => void): this;
  on(event: string | symbol, listener: (...args: any[]) => void): this;
}

/** Starts an engine in a worker thread (Node.js only). */
export function startEngine(options?: StartEngineOptions): EngineProcess;
