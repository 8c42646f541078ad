#!/usr/bin/env python3
"""Frame time of N moving sprites: ours (bench/SpriteBench.cpp) against LOVE (love-sprites/),
side by side, rounds interleaved, in one X server (Xvfb is started when DISPLAY is unset).

    sudo apt-get install love xvfb libbenchmark-dev   # peers are never build dependencies
    cmake --preset release && cmake --build build
    bench/peers/sprites.py [--rounds 3] [--counts 1000,5000] [--baseline OLD_BENCH_BINARY]

--baseline adds an older build's corvalune_bench (with this SpriteBench.cpp) to each round, for
before-and-after tables.
"""
import argparse
import json
import os
import re
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def ours(count, env, binary=os.path.join(ROOT, 'build/bench/corvalune_bench')):
    out = subprocess.run([binary,
                          f'--benchmark_filter=SpriteFrame/{count}/', '--benchmark_min_time=2',
                          '--benchmark_format=json'], env=env, capture_output=True, text=True, check=True).stdout
    run = json.loads(out)['benchmarks'][0]
    return run['real_time'], run['submit_us']


def love(count, env):
    frames = max(10, 20000 // count)
    out = subprocess.run(['love', os.path.join(ROOT, 'bench/peers/love-sprites'), str(count), str(frames), ROOT],
                         env=env, capture_output=True, text=True, check=True).stdout
    return float(re.search(r'([0-9.]+) ms per frame', out).group(1))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--rounds', type=int, default=3)
    parser.add_argument('--counts', default='1000,5000')
    parser.add_argument('--baseline', help="an older build's corvalune_bench")
    args = parser.parse_args()
    env = dict(os.environ, SDL_AUDIODRIVER='dummy', SDL_VIDEODRIVER='x11')
    server = None
    if 'DISPLAY' not in env:
        server = subprocess.Popen(['Xvfb', ':91', '-screen', '0', '1280x720x24'], stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL)
        env['DISPLAY'] = ':91'
        time.sleep(2)
    try:
        print(f'load average at start: {os.getloadavg()}')
        for count in [int(c) for c in args.counts.split(',')]:
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
                print(f'{count:6d} sprites  baseline ms/frame median {statistics.median(old):7.1f} min {min(old):7.1f}'
                      f' (submission {statistics.median(oldSubmit) / 1000:.1f} ms)')
            print(f'{count:6d} sprites  ours ms/frame median {statistics.median(mine):7.1f} min {min(mine):7.1f}'
                  f' (submission {statistics.median(submit) / 1000:.1f} ms)   love median '
                  f'{statistics.median(theirs):7.1f} min {min(theirs):7.1f}   ratio of medians '
                  f'{statistics.median(mine) / statistics.median(theirs):.2f}')
        print(f'load average at end: {os.getloadavg()}')
    finally:
        if server is not None:
            server.terminate()
    return 0


if __name__ == '__main__':
    sys.exit(main())
