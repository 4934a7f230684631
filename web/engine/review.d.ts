// The game review: every position of a game searched at a fixed node count from a
// cleared state by a pool of engines, each move judged, each side's accuracy. The same
// module as the page's review, so that both give the same verdicts.
import type { CreateEngineOptions, Engine, Score } from "./index.js";

export const DEFAULT_NODES: number;

/** A game: its first position (the usual start when absent) and its legal moves in coordinates. */
export interface Game {
  fen?: string;
  moves: string[];
}

/** One position after 0..n moves. score from White's side; end where the side to move has no move. */
export interface Evaluation {
  score: Score | null;
  best: string | null;
  pv: string[];
  depth: number;
  end?: "checkmate" | "stalemate";
}

export type Verdict = "Inaccuracy" | "Mistake" | "Blunder";

/** A move judged: ply counts the position it leads to; drop is the fall in the mover's chances (0..2). */
export interface JudgedMove {
  ply: number;
  move: string;
  side: "w" | "b";
  drop: number;
  verdict: Verdict | null;
  /** The engine's move where this one is marked. */
  better?: string;
}

export interface Review {
  nodes: number;
  /** With the side to move and White's winning chances, -1..1. */
  positions: Array<Evaluation & { side: "w" | "b"; chances: number }>;
  moves: JudgedMove[];
  /** 0..100 per side, null for a side that made no move. */
  accuracy: { w: number | null; b: number | null };
}

export interface ReviewOptions {
  /** Per position; 300000 by default. */
  nodes?: number;
  onProgress?: (progress: { done: number; total: number; ply: number; evaluation: Evaluation }) => void;
  signal?: AbortSignal;
}

/** Engines started as jobs need them, up to size, each given options before its first job. */
export interface EnginePool {
  size: number;
  run<T>(job: (engine: Engine, signal: AbortSignal) => Promise<T>, options?: { signal?: AbortSignal }): Promise<T>;
  cancel(): void;
  close(): Promise<void>;
}

export function createEnginePool(config: {
  size?: number;
  start: (config: CreateEngineOptions) => Promise<Engine>;
  options?: Record<string, string | number | boolean>;
}): EnginePool;

export function analyseGame(pool: EnginePool, game: Game, options?: ReviewOptions): Promise<Evaluation[]>;
export function judgeGame(game: Game, evaluations: Evaluation[]): Omit<Review, "nodes">;
export function reviewGame(pool: EnginePool, game: Game, options?: ReviewOptions): Promise<Review>;

/** White's winning chances, -1..1, from a score from White's side. */
export function winningChances(score: Score): number;
export function positionChances(evaluation: Evaluation, side: "w" | "b"): number;
export function verdict(drop: number): Verdict | null;
export function moveAccuracy(drop: number): number;
export function sideAccuracy(judged: JudgedMove[], side: "w" | "b"): number | null;
/** The first marked move of side after position ply, or null. */
export function nextMistake(judged: JudgedMove[], side: "w" | "b", ply: number): JudgedMove | null;
