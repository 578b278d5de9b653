#!/usr/bin/env python3
"""Times varnel-split on texts of one line and on ordinary files.

Usage: host_bench.py VARNEL_SPLIT [--sizes 16,64,256] [--repeat 3]
                     [--compare OTHER_VARNEL_SPLIT] [--dir DIR]

The texts are the samples of samples/ repeated to each size in MiB: "lines"
keeps their line feeds, "one line" turns every line feed into a blank, so the
whole text is one line of short sentences. Each run splits a file already in
the page cache into /dev/null; the table gives the least wall time of the
runs, the CPU time (user + system, the workers included) of that run, the
rate, and the peak resident memory of the largest process, all as GNU time
(/usr/bin/time, Debian package "time") reports them. With --compare,
the other program runs on the same files, rows side by side.
"""

import argparse
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLES = os.path.join(HERE, "..", "samples")
MIB = 1 << 20

# The option sets each text is split with.
VARIANTS = [["-j", "1"], ["-j", "2"]]


def make_text(path, size, one_line):
    with open(os.path.join(SAMPLES, "en.txt"), "rb") as f:
        unit = f.read()
    with open(os.path.join(SAMPLES, "zh-utf8.txt"), "rb") as f:
        unit += f.read()
    if one_line:
        unit = unit.replace(b"\n", b" ").replace(b"\r", b" ")
    unit *= 64
    with open(path, "wb") as out:
        left = size
        while left > 0:
            out.write(unit[:left])
            left -= min(left, len(unit))


def run_once(program, args, path):
    """Wall seconds, CPU seconds and peak memory in bytes of one run.

    GNU time reports them: a child forked from this interpreter would count
    the interpreter's own pages in its peak.
    """
    with tempfile.NamedTemporaryFile("r") as report, open(os.devnull, "wb") as null:
        command = ["/usr/bin/time", "-q", "-f", "%e %U %S %M", "-o", report.name,
                   program, "--no-progress"] + args + [path]
        start = time.monotonic()
        status = subprocess.call(command, stdout=null)
        wall = time.monotonic() - start
        if status != 0:
            sys.exit("%s failed with %d" % (" ".join(command), status))
        _, user, system, peak_kb = report.read().split()
    return wall, float(user) + float(system), int(peak_kb) * 1024


def best_of(program, args, path, repeat):
    runs = [run_once(program, args, path) for _ in range(repeat)]
    return min(runs, key=lambda r: r[0])


def cell(result, size):
    wall, cpu, peak = result
    return "%.2f | %.2f | %.0f | %.1f" % (wall, cpu, size / 1e6 / wall, peak / 1e6)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("program")
    parser.add_argument("--sizes", default="16,64,256")
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--compare")
    parser.add_argument("--dir", default=None)
    options = parser.parse_args()
    programs = [options.program] + ([options.compare] if options.compare else [])

    header = "| Text | MiB | Options |"
    rule = "|---|---|---|"
    for label in ("", "other ")[:len(programs)]:
        header += " %swall s | CPU s | MB/s | peak MB |" % label
        rule += "---|---|---|---|"
    print(header)
    print(rule)
    with tempfile.TemporaryDirectory(dir=options.dir) as scratch:
        for size_mib in (int(s) for s in options.sizes.split(",")):
            for kind, one_line in (("lines", False), ("one line", True)):
                path = os.path.join(scratch, "text")
                make_text(path, size_mib * MIB, one_line)
                with open(path, "rb") as f:  # into the page cache
                    while f.read(1 << 24):
                        pass
                for args in VARIANTS:
                    row = "| %s | %d | `%s` |" % (kind, size_mib, " ".join(args))
                    for program in programs:
                        row += " %s |" % cell(best_of(program, args, path, options.repeat),
                                              size_mib * MIB)
                    print(row, flush=True)


if __name__ == "__main__":
    main()
