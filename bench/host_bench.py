#!/usr/bin/env python3
"""Times varnel-split on texts of one line and on ordinary files.

Usage: host_bench.py VARNEL_SPLIT [--sizes 16,64,256] [--repeat 3]
                     [--compare OTHER_VARNEL_SPLIT] [--dir DIR]
                     [--reader-mib 64]   (--sizes "" for the reader table alone)

The texts are the samples of samples/ repeated to each size in MiB: "lines"
keeps their line feeds, "one line" turns every line feed into a blank, so the
whole text is one line of short sentences. Each run splits a file already in
the page cache into /dev/null; the table gives the least wall time of the
runs, the CPU time (user + system, the workers included) of that run, the
rate, and the peak resident memory of the largest process, all as GNU time
(/usr/bin/time, Debian package "time") reports them. With --compare,
the other program runs on the same files, rows side by side.

A second table sets --reader beside the plain run on each sample alone
(Chinese UTF-8, Chinese GBK, English) repeated to --reader-mib MiB (0 leaves
it out): the two run one after the other, --repeat times each, and the ratio
of their rates compares the least CPU times of the same run.
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


# The samples of the reader table: name, file, options.
READER_TEXTS = [("zh-utf8", "zh-utf8.txt", []), ("zh-gbk", "zh-gbk.txt", ["-e", "gbk"]),
                ("en", "en.txt", [])]


def make_sample_text(path, sample, size):
    """One sample repeated to about size bytes, cut after its last whole line."""
    with open(os.path.join(SAMPLES, sample), "rb") as f:
        unit = f.read()
    text = unit * (size // len(unit) + 1)
    with open(path, "wb") as out:
        out.write(text[:text.rfind(b"\n", 0, size) + 1])


def run_timed(program, args, path):
    """Wall and CPU seconds of one run, the CPU time from the kernel's own
    count (finer than GNU time's hundredths)."""
    with open(os.devnull, "wb") as null:
        start = time.monotonic()
        child = subprocess.Popen([program, "--no-progress"] + args + [path], stdout=null)
        _, status, usage = os.wait4(child.pid, 0)
        wall = time.monotonic() - start
    if status != 0:
        sys.exit("%s failed with %d" % (program, status))
    return wall, usage.ru_utime + usage.ru_stime


def reader_table(program, size_mib, repeat, scratch):
    """Plain and --reader, alternately, on each sample: the reader mode's cost."""
    print()
    print("| Text | MiB | plain MB/s | --reader MB/s | plain CPU s | --reader CPU s "
          "| ratio (CPU) | ratio (wall) |")
    print("|---|---|---|---|---|---|---|---|")
    for name, sample, args in READER_TEXTS:
        path = os.path.join(scratch, name)
        make_sample_text(path, sample, size_mib * MIB)
        size = os.path.getsize(path)
        with open(path, "rb") as f:  # into the page cache
            while f.read(1 << 24):
                pass
        best = {}
        for _ in range(repeat):
            for mode in ((), ("--reader",)):
                wall, cpu = run_timed(program, args + list(mode), path)
                old = best.get(mode, (float("inf"), float("inf")))
                best[mode] = (min(old[0], wall), min(old[1], cpu))
        plain, reader = best[()], best[("--reader",)]
        print("| %s | %d | %.0f | %.0f | %.3f | %.3f | %.2f | %.2f |" % (
            name, size_mib, size / 1e6 / plain[1], size / 1e6 / reader[1], plain[1], reader[1],
            plain[1] / reader[1], plain[0] / reader[0]), flush=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("program")
    parser.add_argument("--sizes", default="16,64,256")
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--compare")
    parser.add_argument("--dir", default=None)
    parser.add_argument("--reader-mib", type=int, default=64)
    options = parser.parse_args()
    programs = [options.program] + ([options.compare] if options.compare else [])

    header = "| Text | MiB | Options |"
    rule = "|---|---|---|"
    for label in ("", "other ")[:len(programs)]:
        header += " %swall s | CPU s | MB/s | peak MB |" % label
        rule += "---|---|---|---|"
    if options.sizes:
        print(header)
        print(rule)
    with tempfile.TemporaryDirectory(dir=options.dir) as scratch:
        for size_mib in (int(s) for s in options.sizes.split(",") if s):
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
        if options.reader_mib:
            reader_table(options.program, options.reader_mib, options.repeat, scratch)


if __name__ == "__main__":
    main()
