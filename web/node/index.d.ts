import { EventEmitter } from "node:events";

export interface EngineOptions {
  /** Command-line arguments: ["bench", "13"], ["perfttest"]; none for UCI. */
  args?: string[];
  /** Working directory: the protocol log and relative paths. Default process.cwd(). */
  cwd?: string;
}

export interface Engine extends EventEmitter {
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

/** Starts an engine in a worker thread. */
export function startEngine(options?: EngineOptions): Engine;
