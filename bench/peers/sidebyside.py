"""What the side-by-side scripts share: their command line, a run of our benchmark binary, and
how a count's rounds are summed up (median and minimum, and the ratio of medians)."""
import argparse
import json
import os
import statistics
import subprocess

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BENCH = os.path.join(ROOT, 'build/bench/corvalune_bench')


def arguments(counts, baseline=False, awake=False):
    parser = argparse.ArgumentParser()
    parser.add_argument('--rounds', type=int, default=3)
    parser.add_argument('--counts', default=counts)
    if baseline:
        parser.add_argument('--baseline', help="an older build's corvalune_bench")
    if awake:
        parser.add_argument('--awake', action='store_true', help='also run the peer with sleeping off')
    args = parser.parse_args()
    args.counts = [int(c) for c in args.counts.split(',')]
    return args


def bench(name_filter, binary=BENCH, env=None, extra=()):
    """The first benchmark that `name_filter` selects, as Google Benchmark's JSON reports it."""
    out = subprocess.run([binary, f'--benchmark_filter={name_filter}', '--benchmark_format=json', *extra],
                         env=env or dict(os.environ, SDL_AUDIODRIVER='dummy'), capture_output=True, text=True,
                         check=True).stdout
    return json.loads(out)['benchmarks'][0]


def spread(values, width=7, digits=1):
    return f'median {statistics.median(values):{width}.{digits}f} min {min(values):{width}.{digits}f}'


def ratio(mine, theirs):
    return f'ratio of medians {statistics.median(mine) / statistics.median(theirs):.2f}'
