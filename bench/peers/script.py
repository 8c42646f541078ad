#!/usr/bin/env python3
"""The ten-statement script per entity: ours (bench/ScriptBench.cpp) against Lua 5.4
(lua-script/script.lua), side by side, rounds interleaved. Times are CPU time per statement.

    sudo apt-get install lua5.4 libbenchmark-dev   # peers are never build dependencies
    cmake --preset release && cmake --build build
    bench/peers/script.py [--rounds 3] [--counts 1000,2000,4000,8000]
"""
import argparse
import json
import os
import re
import statistics
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def ours(count):
    out = subprocess.run([os.path.join(ROOT, 'build/bench/corvalune_bench'),
                          f'--benchmark_filter=ScriptStep/{count}$', '--benchmark_format=json'],
                         env=dict(os.environ, SDL_AUDIODRIVER='dummy'), capture_output=True, text=True,
                         check=True).stdout
    return 1e9 / json.loads(out)['benchmarks'][0]['items_per_second']


def lua(count):
    out = subprocess.run(['lua5.4', os.path.join(ROOT, 'bench/peers/lua-script/script.lua'), str(count)],
                         capture_output=True, text=True, check=True).stdout
    return float(re.search(r'([0-9.]+) ns per statement', out).group(1))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--rounds', type=int, default=3)
    parser.add_argument('--counts', default='1000,2000,4000,8000')
    args = parser.parse_args()
    print(f'load average at start: {os.getloadavg()}')
    for count in [int(c) for c in args.counts.split(',')]:
        mine, theirs = [], []
        for _ in range(args.rounds):
            mine.append(ours(count))
            theirs.append(lua(count))
        print(f'{count:5d} entities  ours ns/statement median {statistics.median(mine):6.1f} min {min(mine):6.1f}'
              f'   lua median {statistics.median(theirs):6.1f} min {min(theirs):6.1f}'
              f'   ratio of medians {statistics.median(mine) / statistics.median(theirs):.2f}')
    print(f'load average at end: {os.getloadavg()}')
    return 0


if __name__ == '__main__':
    sys.exit(main())
