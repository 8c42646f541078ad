#!/usr/bin/env python3
"""The deep pile, 600 steps from the drop: ours (bench/PhysicsBench.cpp) against Box2D
(box2d-pile/pile.cpp), side by side, rounds interleaved. Times are CPU time of the 600 steps.

    sudo apt-get install libbox2d-dev libbenchmark-dev   # peers are never build dependencies
    cmake --preset release && cmake --build build
    bench/peers/pile.py [--rounds 3] [--counts 250,500,1000,2000,4000] [--baseline OLD_BENCH_BINARY] [--awake]

--baseline adds an older build's corvalune_bench (with this PhysicsBench.cpp) to each round, for
before-and-after tables. --awake adds Box2D with sleeping turned off, whose bodies are all stepped
to the end as ours are: the ratio against it is the solvers' alone.
"""
import os
import re
import subprocess
import sys
import tempfile

from sidebyside import BENCH, ROOT, arguments, bench, ratio, spread


def ours(count, binary=BENCH):
    run = bench(f'PhysicsPile/{count}/', binary)
    return run['cpu_time'], int(run['escaped'])


def box2d(binary, count, awake=False):
    out = subprocess.run([binary, str(count)] + (['awake'] if awake else []), capture_output=True, text=True,
                         check=True).stdout
    found = re.search(r'([0-9.]+) ms for 600 steps, ([0-9]+) escaped', out)
    return float(found.group(1)), int(found.group(2))


def main():
    args = arguments('250,500,1000,2000,4000', baseline=True, awake=True)
    with tempfile.TemporaryDirectory() as folder:
        peer = os.path.join(folder, 'pile')
        subprocess.run(['g++', '-O2', '-o', peer, os.path.join(ROOT, 'bench/peers/box2d-pile/pile.cpp'),
                        '-lbox2d'], check=True)
        print(f'load average at start: {os.getloadavg()}')
        for count in args.counts:
            mine, theirs, old, awake, lost, theirLost, oldLost = [], [], [], [], 0, 0, 0
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
                if args.awake:
                    awake.append(box2d(peer, count, awake=True)[0])
            if old:
                print(f'{count:5d} bodies  baseline ms {spread(old, 8)} (escaped {oldLost})')
            print(f'{count:5d} bodies  ours ms {spread(mine, 8)} (escaped {lost})   box2d {spread(theirs, 8)}'
                  f' (escaped {theirLost})   {ratio(mine, theirs)}')
            if awake:
                print(f'{count:5d} bodies  box2d without sleeping {spread(awake, 8)}   {ratio(mine, awake)}')
        print(f'load average at end: {os.getloadavg()}')
    return 0


if __name__ == '__main__':
    sys.exit(main())
