#!/usr/bin/env python3
"""The ten-statement script per entity: ours (bench/ScriptBench.cpp) against Lua 5.4
(lua-script/script.lua), side by side, rounds interleaved. Times are CPU time per statement.

    sudo apt-get install lua5.4 libbenchmark-dev   # peers are never build dependencies
    cmake --preset release && cmake --build build
    bench/peers/script.py [--rounds 3] [--counts 1000,2000,4000,8000]
"""
import os
import re
import subprocess
import sys

from sidebyside import ROOT, arguments, bench, ratio, spread


def ours(count):
    return 1e9 / bench(f'ScriptStep/{count}$')['items_per_second']


def lua(count):
    out = subprocess.run(['lua5.4', os.path.join(ROOT, 'bench/peers/lua-script/script.lua'), str(count)],
                         capture_output=True, text=True, check=True).stdout
    return float(re.search(r'([0-9.]+) ns per statement', out).group(1))


def main():
    args = arguments('1000,2000,4000,8000')
    print(f'load average at start: {os.getloadavg()}')
    for count in args.counts:
        mine, theirs = [], []
        for _ in range(args.rounds):
            mine.append(ours(count))
            theirs.append(lua(count))
        print(f'{count:5d} entities  ours ns/statement {spread(mine, 6)}   lua {spread(theirs, 6)}   '
              f'{ratio(mine, theirs)}')
    print(f'load average at end: {os.getloadavg()}')
    return 0


if __name__ == '__main__':
    sys.exit(main())
