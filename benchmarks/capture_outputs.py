#!/usr/bin/env python3
"""Captures every output of an engine build that must never change, for diffing two builds.

  capture_outputs.py [--bench-depths 1-14] [--search-depth 9] [--skip-perft] -- COMMAND...

COMMAND starts the engine (`build/quillbrook`, or `node build-wasm/npm/bin/quillbrook.js`).
Written to standard output, with times and speeds blanked:
  - the `bench` node total at each depth of the range (one process per depth);
  - the `perfttest` report;
  - `d` and `eval` for every position of tests/data/perft.epd and a few endings;
  - the `info` and `bestmove` lines of a `go depth N` from each of those positions, and of a
    MultiPV 3 search one ply shallower, each after `ucinewgame`.
Every search is awaited before the next command is sent: a search reads ahead whatever waits
on its input.
"""

import argparse
import os
import re
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
EPD = os.path.join(HERE, "..", "tests", "data", "perft.epd")

ENDINGS = [
    "8/8/8/4k3/8/8/4P3/4K3 w - - 0 1",          # KPK
    "8/8/8/4k3/8/8/8/R3K3 w - - 0 1",           # KRK
    "8/8/8/4k3/8/8/8/2B1KN2 w - - 0 1",         # KBNK
    "8/8/3k4/8/8/3r4/8/3QK3 w - - 0 1",         # KQKR
    "8/5k2/8/4PK2/8/8/8/6r1 w - - 0 1",         # rook against pawn
    "8/8/4k3/8/2B5/8/P7/K7 w - - 0 1",          # wrong bishop
    "8/pp3k2/8/8/8/8/PPP2K2/8 w - - 0 1",       # pawn ending
]

TIMES = re.compile(r"\b(time|nps) \d+")


def positions():
    fens = []
    with open(EPD) as f:
        for line in f:
            if line.strip():
                fens.append(line.split(";")[0].strip())
    return fens + ENDINGS


def blank(line):
    line = TIMES.sub(lambda m: m.group(1) + " _", line)
    line = re.sub(r"^(Time    :|NPS     :).*", r"\1 _", line)
    return re.sub(r"(\d+) ms\b", "_ ms", line)


def run(command, args, stdin=None):
    with tempfile.TemporaryDirectory() as work:
        out = subprocess.run(command + args, input=stdin, cwd=work, capture_output=True, text=True)
    return out.stdout


class Engine:
    def __init__(self, command):
        self.work = tempfile.TemporaryDirectory()
        self.proc = subprocess.Popen(command, cwd=self.work.name, stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, text=True, bufsize=1)

    def send(self, line):
        self.proc.stdin.write(line + "\n")
        self.proc.stdin.flush()

    def until(self, prefix):
        lines = []
        while True:
            line = self.proc.stdout.readline()
            if not line:
                raise SystemExit("engine ended early")
            lines.append(line.rstrip("\n"))
            if line.startswith(prefix):
                return lines

    def close(self):
        self.send("quit")
        self.proc.wait()
        self.work.cleanup()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bench-depths", default="1-14")
    parser.add_argument("--search-depth", type=int, default=9)
    parser.add_argument("--skip-perft", action="store_true")
    parser.add_argument("command", nargs="+")
    opts = parser.parse_args()
    # The engine runs in scratch directories: paths in the command become absolute.
    opts.command = [os.path.abspath(w) if os.path.exists(w) else w for w in opts.command]
    first, last = (int(x) for x in opts.bench_depths.split("-"))
    out = sys.stdout

    for depth in range(first, last + 1):
        nodes = re.search(r"Nodes   : (\d+)", run(opts.command, ["bench", str(depth)]))
        out.write(f"bench {depth}: {nodes.group(1) if nodes else 'missing'}\n")
    if not opts.skip_perft:
        for line in run(opts.command, ["perfttest"]).splitlines():
            out.write(blank(line) + "\n")

    engine = Engine(opts.command)
    for fen in positions():
        out.write(f"### {fen}\n")
        engine.send(f"position fen {fen}")
        engine.send("d")
        engine.send("eval")
        for line in engine.until("Total (side-to-move)"):
            out.write(blank(line) + "\n")
        for multipv, depth in ((1, opts.search_depth), (3, opts.search_depth - 1)):
            engine.send("ucinewgame")
            engine.send(f"setoption name MultiPV value {multipv}")
            engine.send(f"position fen {fen}")
            engine.send(f"go depth {depth}")
            for line in engine.until("bestmove"):
                out.write(blank(line) + "\n")
    engine.send("setoption name MultiPV value 1")
    engine.close()


if __name__ == "__main__":
    main()
