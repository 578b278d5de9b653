#!/usr/bin/env python3
"""varnel.dask on a local cluster against varnel-split, on one large corpus.

    python3 bench/dask_bench.py --package DIR --split build/tools/varnel-split/varnel-split \\
        --corpus /tmp/1g.txt [--workers 1 2] [--blocksize "64 MiB"]

For each number of worker processes (one thread each): the time of
read_sentences(corpus).count().compute() on a cluster already running (its
start-up is given apart), then varnel-split -j N > /dev/null on the same file.
The file should be in the page cache (cat it to /dev/null first). 1 MB/s is
10^6 bytes a second.
"""

import argparse
import logging
import os
import subprocess
import sys
import time


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--package", required=True, help="directory holding the package varnel")
    parser.add_argument("--split", required=True, help="varnel-split")
    parser.add_argument("--corpus", required=True)
    parser.add_argument("--workers", type=int, nargs="+", default=[1, 2])
    parser.add_argument("--blocksize", default="64 MiB")
    args = parser.parse_args()
    sys.path.insert(0, args.package)
    os.environ["PYTHONPATH"] = os.path.abspath(args.package)
    from distributed import Client, LocalCluster
    from varnel.dask import read_sentences

    size = os.path.getsize(args.corpus)
    print("%s: %d bytes; load average %s\n" % (args.corpus, size, os.getloadavg()))
    print("| Run | Sentences | Seconds | MB/s |")
    print("|---|---|---|---|")
    for workers in args.workers:
        start = time.perf_counter()
        with LocalCluster(n_workers=workers, threads_per_worker=1, processes=True,
                          dashboard_address=None, silence_logs=logging.ERROR) as cluster, \
                Client(cluster):
            started = time.perf_counter() - start
            start = time.perf_counter()
            count = read_sentences(args.corpus, blocksize=args.blocksize).count().compute()
            seconds = time.perf_counter() - start
        print("| varnel.dask, %d worker%s (cluster start-up %.1f s apart) | %d | %.2f | %.0f |"
              % (workers, "s" if workers > 1 else "", started, count, seconds, size / 1e6 / seconds))
        start = time.perf_counter()
        subprocess.run([args.split, "--no-progress", "-j", str(workers), args.corpus], check=True,
                       stdout=subprocess.DEVNULL)
        seconds = time.perf_counter() - start
        print("| varnel-split -j %d > /dev/null | | %.2f | %.0f |"
              % (workers, seconds, size / 1e6 / seconds))
    print("\nLoad average at the end: %s" % (os.getloadavg(),))


if __name__ == "__main__":
    main()
