#!/usr/bin/env python3
"""The search's own work against `find` over the same tree, in the same run.

Makes the benchmark's tree on disk (10,000 folders, 50,000 files; the shape is
described at the top of search_bench.cpp), times `find <tree> -name '*.scr'`
(best of several runs, after one run that warms the cache), runs the
BM_SearchDiskTree benchmark over the same tree, and prints both times, their
ratio, and the pauses that the real program adds on top of the measured time.

    bench/search_vs_find.py <build-dir>/bench/search_bench [--runs N] [--tree DIR]

Build the benchmark optimised for figures worth comparing, e.g.
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release.
"""

import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

FOLDERS = 10000
BRANCHING = 8


def file_names(folder):
    last = "s%d.scr" % folder if folder % 10 == 0 else "f4.bmp"
    return ["f0.txt", "f1.dat", "f2.dll", "f3.swf", last]


def make_tree(base):
    paths = [base]
    for i in range(1, FOLDERS + 1):
        path = os.path.join(paths[(i - 1) // BRANCHING], "d%d" % i)
        os.mkdir(path)
        paths.append(path)
    for i, path in enumerate(paths):
        for name in file_names(i):
            with open(os.path.join(path, name), "wb"):
                pass
    return sum(len(file_names(i)) for i in range(FOLDERS + 1))


def time_find(tree, runs):
    argv = ["find", tree, "-name", "*.scr"]
    found = subprocess.run(argv, check=True, capture_output=True, text=True).stdout.split()
    best = None
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(argv, check=True, stdout=subprocess.DEVNULL)
        elapsed = time.perf_counter() - start
        best = elapsed if best is None else min(best, elapsed)
    return best, len(found)


def time_search(bench, tree, runs):
    env = dict(os.environ, LUMIVANE_BENCH_TREE=tree)
    out = subprocess.run([bench, "--benchmark_filter=BM_SearchDiskTree$", "--benchmark_format=json",
                          "--benchmark_repetitions=%d" % runs], env=env, check=True, capture_output=True,
                         text=True).stdout
    runs = [b for b in json.loads(out)["benchmarks"] if b.get("run_type") == "iteration"]
    if not runs or any(b.get("error_occurred") for b in runs):
        sys.exit("the benchmark did not run: %s" % [b.get("error_message") for b in runs])
    best = min(runs, key=lambda b: b["real_time"])
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[best["time_unit"]]
    return best["real_time"] * scale, best


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("bench", help="the search_bench program of a host build")
    parser.add_argument("--runs", type=int, default=5, help="repetitions of each side (the best counts)")
    parser.add_argument("--tree", help="where to make the tree (default: a new temporary folder, removed after)")
    args = parser.parse_args()

    base = args.tree or tempfile.mkdtemp(prefix="lumivane-search-tree-")
    try:
        if os.listdir(base):
            sys.exit("%s is not empty" % base)
        files = make_tree(base)
        find_s, find_found = time_find(base, args.runs)
        search_s, result = time_search(args.bench, base, args.runs)
        print("tree: %d folders, %d files (%s)" % (FOLDERS, files, base))
        print("find -name '*.scr':         %8.1f ms  (%d found)" % (find_s * 1e3, find_found))
        print("search, outside the pauses: %8.1f ms  (%d found, %d folders entered)"
              % (search_s * 1e3, result["found"], result["folders_entered"]))
        print("pauses the program adds:    %8.1f s" % result["pause_s"])
        print("ratio search / find:        %8.2f" % (search_s / find_s))
        if int(result["found"]) != find_found:
            sys.exit("the search and find disagree on the number of matches")
    finally:
        if not args.tree:
            shutil.rmtree(base, ignore_errors=True)


if __name__ == "__main__":
    main()
