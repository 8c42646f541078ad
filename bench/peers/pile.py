#!/usr/bin/env python3
"""The deep pile, 600 steps from the drop: ours (bench/PhysicsBench.cpp) against Box2D
(box2d-pile/pile.cpp), side by side, rounds interleaved. Times are CPU time of the 600 steps.

    sudo apt-get install libbox2d-dev libbenchmark-dev   # peers are never build dependencies
    cmake --preset release && cmake --build build
    bench/peers/pile.py [--rounds 3] [--counts 250,500,1000,2000,4000] [--baseline OLD_BENCH_BINARY]

--baseline adds an older build's corvalune_bench (with this PhysicsBench.cpp) to each round, for
before-and-after tables.
"""
import argparse
import json
import os
import re
import statistics
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def ours(count, binary=os.path.join(ROOT, 'build/bench/corvalune_bench')):
    out = subprocess.run([binary,
                          f'--benchmark_filter=PhysicsPile/{count}/', '--benchmark_format=json'],
                         env=dict(os.environ, SDL_AUDIODRIVER='dummy'), capture_output=True, text=True,
                         check=True).stdout
    run = json.loads(out)['benchmarks'][0]
    return run['cpu_time'], int(run['escaped'])


def box2d(binary, count):
    out = subprocess.run([binary, str(count)], capture_output=True, text=True, check=True).stdout
    found = re.search(r'([0-9.]+) ms for 600 steps, ([0-9]+) escaped', out)
    return float(found.group(1)), int(found.group(2))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--rounds', type=int, default=3)
    parser.add_argument('--counts', default='250,500,1000,2000,4000')
    parser.add_argument('--baseline', help="an older build's corvalune_bench")
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as folder:
        peer = os.path.join(folder, 'pile')
        subprocess.run(['g++', '-O2', '-o', peer, os.path.join(ROOT, 'bench/peers/box2d-pile/pile.cpp'),
                        '-lbox2d'], check=True)
        print(f'load average at start: {os.getloadavg()}')
        for count in [int(c) for c in args.counts.split(',')]:
            mine, theirs, old, lost, theirLost, oldLost = [], [], [], 0, 0, 0
            for _ in range(args.rounds):
                if args.baseline:
                    ms, escaped = ours(count, args.baseline)
                    old.append(ms)
                    oldLost = max(oldLost, escaped)
                ms, escaped = ours(count)
                mine.append(ms)
                lost = max(lost, escaped)
                ms, escaped = box2d(peer, count)
                theirs.append(ms)
                theirLost = max(theirLost, escaped)
            if old:
                print(f'{count:5d} bodies  baseline median {statistics.median(old):8.1f} ms min {min(old):8.1f}'
                      f' (escaped {oldLost})')
            print(f'{count:5d} bodies  ours median {statistics.median(mine):8.1f} ms min {min(mine):8.1f}'
                  f' (escaped {lost})   box2d median {statistics.median(theirs):8.1f} min {min(theirs):8.1f}'
                  f' (escaped {theirLost})   ratio of medians {statistics.median(mine) / statistics.median(theirs):.2f}')
        print(f'load average at end: {os.getloadavg()}')
    return 0


if __name__ == '__main__':
    sys.exit(main())
