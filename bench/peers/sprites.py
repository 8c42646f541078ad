#!/usr/bin/env python3
"""Frame time of N moving sprites: ours (bench/SpriteBench.cpp) against LOVE (love-sprites/),
side by side, rounds interleaved, in one X server (Xvfb is started when DISPLAY is unset).

    sudo apt-get install love xvfb libbenchmark-dev   # peers are never build dependencies
    cmake --preset release && cmake --build build
    bench/peers/sprites.py [--rounds 3] [--counts 1000,5000] [--baseline OLD_BENCH_BINARY]

--baseline adds an older build's corvalune_bench (with this SpriteBench.cpp) to each round, for
before-and-after tables.
"""
import os
import re
import statistics
import subprocess
import sys
import time

from sidebyside import BENCH, ROOT, arguments, bench, ratio, spread


def ours(count, env, binary=BENCH):
    run = bench(f'SpriteFrame/{count}/', binary, env, ['--benchmark_min_time=2'])
    return run['real_time'], run['submit_us']


def love(count, env):
    frames = max(10, 20000 // count)
    out = subprocess.run(['love', os.path.join(ROOT, 'bench/peers/love-sprites'), str(count), str(frames), ROOT],
                         env=env, capture_output=True, text=True, check=True).stdout
    return float(re.search(r'([0-9.]+) ms per frame', out).group(1))


def main():
    args = arguments('1000,5000', baseline=True)
    env = dict(os.environ, SDL_AUDIODRIVER='dummy', SDL_VIDEODRIVER='x11')
    server = None
    if 'DISPLAY' not in env:
        server = subprocess.Popen(['Xvfb', ':91', '-screen', '0', '1280x720x24'], stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL)
        env['DISPLAY'] = ':91'
        time.sleep(2)
    try:
        print(f'load average at start: {os.getloadavg()}')
        for count in args.counts:
            mine, theirs, submit, old, oldSubmit = [], [], [], [], []
            for _ in range(args.rounds):
                if args.baseline:
                    frame, cpu = ours(count, env, args.baseline)
                    old.append(frame)
                    oldSubmit.append(cpu)
                frame, cpu = ours(count, env)
                mine.append(frame)
                submit.append(cpu)
                theirs.append(love(count, env))
            if old:
                print(f'{count:6d} sprites  baseline ms/frame {spread(old)}'
                      f' (submission {statistics.median(oldSubmit) / 1000:.1f} ms)')
            print(f'{count:6d} sprites  ours ms/frame {spread(mine)}'
                  f' (submission {statistics.median(submit) / 1000:.1f} ms)   love {spread(theirs)}   {ratio(mine, theirs)}')
        print(f'load average at end: {os.getloadavg()}')
    finally:
        if server is not None:
            server.terminate()
    return 0


if __name__ == '__main__':
    sys.exit(main())
