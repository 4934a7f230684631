#!/usr/bin/env python3
"""Times what a GUI sees from a freshly started engine, for one or more binaries.

  first_search.py [--runs N] [--hash 16,256,1024,2048] BINARY...
      For each Hash size, N fresh processes answer `go movetime 100` as their
      first search and N more answer `go wtime 1000 btime 1000` (white to move,
      whose hard limit is 45 ms); the time is from writing `go` to reading
      `bestmove`. A last row per size waits 300 ms after `readyok`, so that
      the `go` arrives while the idle engine commits its table. Then start-up
      (`quit` on standard input until the process has exited) and
      `setoption name Hash value 2048` until `readyok`.
  first_search.py --bench DEPTH [--rounds N] BINARY...
      Runs `bench DEPTH` twice in one process per binary, the binaries taking
      turns for N rounds, and reports the nodes per second of the second run.

Every engine runs in a scratch directory so that its protocol log lands there.
Run it under `flock -x /tmp/qb-measure.lock` on a shared machine.
"""

import argparse
import os
import re
import subprocess
import tempfile
import time

MOVETIME = 100
MOVETIME_LIMIT_MS = 130  # the promise of `go movetime 100`, with room for the process
CLOCK_MS = 1000


def hard_limit_ms(clock_ms, inc_ms=0):
    """The engine's hard limit for a clock without movestogo."""
    t = max(clock_ms - 100, 10)
    mtg = 60 if t < 1000 else 40 if t < 5000 else 30 if t < 15000 else 25
    base = t // mtg + (3 * inc_ms) // 4
    return max(min(2 * t // 5, 3 * base), 10)


class Engine:
    def __init__(self, binary, workdir):
        self.proc = subprocess.Popen([os.path.abspath(binary)], cwd=workdir, stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, bufsize=0)

    def send(self, line):
        self.proc.stdin.write((line + "\n").encode())
        self.proc.stdin.flush()

    def wait_for(self, prefix):
        while True:
            line = self.proc.stdout.readline()
            if not line:
                raise RuntimeError("engine ended before " + prefix)
            text = line.decode().strip()
            if text.startswith(prefix):
                return text

    def timed(self, command, reply):
        start = time.perf_counter()
        self.send(command)
        self.wait_for(reply)
        return (time.perf_counter() - start) * 1000

    def close(self):
        self.send("quit")
        self.proc.wait()


def first_go_ms(binary, workdir, hash_mb, go, pause_s=0):
    engine = Engine(binary, workdir)
    engine.send(f"setoption name Hash value {hash_mb}")
    engine.timed("isready", "readyok")
    time.sleep(pause_s)
    engine.send("position startpos")
    ms = engine.timed(go, "bestmove")
    engine.close()
    return ms


def startup_ms(binary, workdir):
    start = time.perf_counter()
    subprocess.run([os.path.abspath(binary)], cwd=workdir, input=b"quit\n", stdout=subprocess.DEVNULL, check=True)
    return (time.perf_counter() - start) * 1000


def hash_change_ms(binary, workdir, hash_mb):
    engine = Engine(binary, workdir)
    engine.timed("isready", "readyok")
    start = time.perf_counter()
    engine.send(f"setoption name Hash value {hash_mb}")
    engine.timed("isready", "readyok")
    ms = (time.perf_counter() - start) * 1000
    engine.close()
    return ms


def row(label, values, limit=None):
    text = ", ".join(f"{v:.0f}" for v in values)
    verdict = "" if limit is None else ("  ok" if max(values) <= limit else f"  OVER {limit}")
    print(f"  {label:<30} {text}{verdict}", flush=True)


def latency(binaries, hashes, runs, workdir):
    hard = hard_limit_ms(CLOCK_MS)
    for binary in binaries:
        print(f"{binary}", flush=True)
        for mb in hashes:
            row(f"Hash {mb} go movetime {MOVETIME}",
                [first_go_ms(binary, workdir, mb, f"go movetime {MOVETIME}") for _ in range(runs)], MOVETIME_LIMIT_MS)
            row(f"Hash {mb} go wtime {CLOCK_MS}",
                [first_go_ms(binary, workdir, mb, f"go wtime {CLOCK_MS} btime {CLOCK_MS}") for _ in range(runs)], hard)
            row(f"Hash {mb} movetime, idle 0.3 s",
                [first_go_ms(binary, workdir, mb, f"go movetime {MOVETIME}", 0.3) for _ in range(runs)],
                MOVETIME_LIMIT_MS)
        row("start-up (quit)", [startup_ms(binary, workdir) for _ in range(runs)], 200)
        row("Hash 2048 then readyok", [hash_change_ms(binary, workdir, 2048) for _ in range(runs)], 1000)


def bench_nps(binary, workdir, depth):
    engine = Engine(binary, workdir)
    nps = []
    for _ in range(2):
        engine.send(f"bench {depth}")
        nodes = int(engine.wait_for("Nodes").split(":")[1])
        nps.append((nodes, int(engine.wait_for("NPS").split(":")[1])))
    engine.close()
    return nps[1]


def bench(binaries, depth, rounds, workdir):
    results = {b: [] for b in binaries}
    for _ in range(rounds):
        for binary in binaries:
            nodes, nps = bench_nps(binary, workdir, depth)
            results[binary].append(nps)
            print(f"  {binary}: nodes {nodes} nps {nps}", flush=True)
    for binary, values in results.items():
        ordered = sorted(values)
        print(f"{binary}: median nps {ordered[len(ordered) // 2]} of {values}")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("binaries", nargs="+")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--hash", default="16,256,1024,2048")
    parser.add_argument("--bench", type=int, metavar="DEPTH")
    parser.add_argument("--rounds", type=int, default=3)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as workdir:
        if args.bench:
            bench(args.binaries, args.bench, args.rounds, workdir)
        else:
            latency(args.binaries, [int(h) for h in args.hash.split(",")], args.runs, workdir)


if __name__ == "__main__":
    main()
