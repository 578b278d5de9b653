#!/usr/bin/env python3
"""Throughput of the Python package varnel against its references, in one run.

On the C benchmark's three corpora (the samples repeated to --size-mib and cut
after their last whole line): split from str and from bytes, spans, split_file
on a file in the page cache, PyICU's sentence iterator (Debian's python3-icu)
and re.split on a look-behind of the end marks; the C library end to end from
the C benchmark's program on the same texts; two threads against one. Each
row is the best of --repeat runs (the time includes freeing the results);
ratios compare rows of this run. 1 MB/s is 10^6 bytes a second, counted in the
corpus's own encoding.

    python3 bench/python_bench.py --package build-bench/python \\
        --c-bench build-bench/bench/varnel-bench

--big-file-gib N also runs split_file over an N GiB file of ordinary lines in
a fresh interpreter and reports its rate and peak memory, beside the same on a
file of --size-mib, to show that memory does not grow with the file.
"""

import argparse
import json
import os
import re
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CORPORA = [("en", "en.txt", "utf-8", "en"), ("zh-utf8", "zh-utf8.txt", "utf-8", "zh"),
           ("zh-gbk", "zh-gbk.txt", "gbk", "zh")]
END_MARKS = re.compile(r"(?<=[。！？?!\r\n])")


def make_text(sample, size):
    """The sample repeated to about size bytes, cut after its last whole line."""
    with open(os.path.join(ROOT, "samples", sample), "rb") as f:
        data = f.read()
    text = data * (size // len(data) + 1)
    return text[:text.rfind(b"\n", 0, size) + 1]


def best_time(function, repeat):
    best = float("inf")
    for _ in range(repeat):
        start = time.perf_counter()
        function()
        best = min(best, time.perf_counter() - start)
    return best


def icu_split(icu, locale, text):
    iterator = icu.BreakIterator.createSentenceInstance(icu.Locale(locale))
    iterator.setText(text)
    sentences, start = [], 0
    for end in iterator:
        sentences.append(text[start:end])
        start = end
    return sentences


def two_threads(varnel, data, encoding, repeat):
    """The time for two threads to split data each, at once."""
    def run():
        threads = [threading.Thread(target=varnel.split, args=(data, encoding)) for _ in range(2)]
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join()
    return best_time(run, repeat)


def c_library_rates(c_bench, size_mib, repeat):
    """MB/s of the C library end to end, by corpus, from the C benchmark's program."""
    if not c_bench:
        return {}
    command = [c_bench, "--benchmark_filter=^Varnel/.*/%dMB$" % size_mib,
               "--benchmark_repetitions=%d" % repeat, "--benchmark_format=json"]
    report = json.loads(subprocess.run(command, check=True, capture_output=True).stdout)
    times = {}
    for run in report["benchmarks"]:
        if run.get("run_type") != "iteration":
            continue
        corpus = run["name"].split("/")[1]
        seconds = run["real_time"] * {"ms": 1e-3, "us": 1e-6, "ns": 1e-9, "s": 1}[run["time_unit"]]
        times[corpus] = min(times.get(corpus, float("inf")), seconds)
    size = {name: len(make_text(sample, size_mib << 20)) for name, sample, _, _ in CORPORA}
    return {corpus: size[corpus] / 1e6 / seconds for corpus, seconds in times.items()}


def measure_corpus(varnel, icu, name, sample, encoding, locale, args, directory):
    data = make_text(sample, args.size_mib << 20)
    text = data.decode(encoding)
    path = os.path.join(directory, name + ".txt")
    with open(path, "wb") as f:
        f.write(data)
    mb = len(data) / 1e6
    repeat = args.repeat
    rates = {
        "split(str)": mb / best_time(lambda: varnel.split(text, encoding), repeat),
        "split(bytes)": mb / best_time(lambda: varnel.split(data, encoding), repeat),
        "spans": mb / best_time(lambda: varnel.spans(data, encoding), repeat),
        "split_file(str)": mb / best_time(lambda: list(varnel.split_file(path, encoding)), repeat),
        "split_file(binary)": mb / best_time(
            lambda: list(varnel.split_file(path, encoding, binary=True)), repeat),
        "re.split(str)": mb / best_time(lambda: END_MARKS.split(text), repeat),
        "two threads, split(bytes)": 2 * mb / two_threads(varnel, data, encoding, repeat),
    }
    for option in ("attach_closers", "reader"):
        rates["split(bytes, %s=True)" % option] = mb / best_time(
            lambda: varnel.split(data, encoding, **{option: True}), repeat)
    rates["split(str, reader=True)"] = mb / best_time(
        lambda: varnel.split(text, encoding, reader=True), repeat)
    if icu:
        rates["PyICU(str)"] = mb / best_time(lambda: icu_split(icu, locale, text), repeat)
    # The floor for any API that returns an object a sentence: CPython's own
    # split at one mark, which only finds the mark and makes the objects.
    mark = "。" if locale == "zh" else ". "
    floor = {}
    for kind, whole, separator in (("bytes", data, mark.encode(encoding)), ("str", text, mark)):
        pieces = len(whole.split(separator))
        floor[kind] = best_time(lambda: whole.split(separator), repeat) / pieces * 1e9
    return rates, len(varnel.spans(data, encoding)) // 2, len(data), floor


def print_results(results, c_rates):
    names = [name for name, _, _, _ in CORPORA]
    rows = list(results[names[0]][0])
    print("| Row | " + " | ".join("%s MB/s" % name for name in names) + " |")
    print("|---|" + "---|" * len(names))
    for row in rows:
        print("| %s | %s |" % (row, " | ".join("%.0f" % results[n][0][row] for n in names)))
    if c_rates:
        print("| C library, end to end | %s |" % " | ".join("%.0f" % c_rates[n] for n in names))
    print()

    def ratio(n, top, bottom):
        rates = dict(results[n][0], **({"C": c_rates[n]} if c_rates else {}))
        return "%.2f" % (rates[top] / rates[bottom]) if bottom in rates and top in rates else "-"

    print("| Ratio | " + " | ".join(names) + " |")
    print("|---|" + "---|" * len(names))
    for label, top, bottom in (("split(str) / PyICU (target 3)", "split(str)", "PyICU(str)"),
                               ("split(bytes) / PyICU (target 5)", "split(bytes)", "PyICU(str)"),
                               ("spans / C library (target 0.5)", "spans", "C"),
                               ("split_file(binary) / split(bytes) (target 0.5)",
                                "split_file(binary)", "split(bytes)"),
                               ("split_file(str) / split(bytes)", "split_file(str)", "split(bytes)"),
                               ("two threads / one, split(bytes)", "two threads, split(bytes)",
                                "split(bytes)"),
                               ("split(str, reader=True) / split(str) (target 0.5)",
                                "split(str, reader=True)", "split(str)"),
                               ("split(bytes, reader=True) / split(bytes) (target 0.5)",
                                "split(bytes, reader=True)", "split(bytes)")):
        print("| %s | %s |" % (label, " | ".join(ratio(n, top, bottom) for n in names)))
    print()
    print("Sentences: " + ", ".join("%s %d (%.1f bytes each)" % (n, results[n][1],
                                                                  results[n][2] / results[n][1])
                                    for n in names))
    # What one sentence costs, and the part of it that only makes the objects.
    for n in names:
        rates, count, size, floor = results[n]
        per = {row: size / 1e6 / rates[row] / count * 1e9 for row in rates}
        print("%s, ns a sentence: split(str) %.0f, split(bytes) %.0f, spans %.0f, so the bytes "
              "objects and their list %.0f%s" % (
                  n, per["split(str)"], per["split(bytes)"], per["spans"],
                  per["split(bytes)"] - per["spans"],
                  ", PyICU %.0f" % per["PyICU(str)"] if "PyICU(str)" in per else ""))
        print("    the floor, CPython's split at one mark, ns a piece: bytes %.0f, str %.0f"
              % (floor["bytes"], floor["str"]))


# The peak resident size of this process alone (VmHWM; ru_maxrss would keep
# the parent's across fork and exec).
PEAK = """
def peak_kib():
    with open("/proc/self/status") as f:
        return next(int(line.split()[1]) for line in f if line.startswith("VmHWM:"))
"""

FILE_RUN = PEAK + """
import sys, time
sys.path.insert(0, sys.argv[1])
import varnel
start = time.perf_counter()
count = 0
for sentence in varnel.split_file(sys.argv[2], binary=sys.argv[3] == "binary"):
    count += 1
seconds = time.perf_counter() - start
print(count, seconds, peak_kib())
"""

IMPORT_RUN = PEAK + """
import sys
sys.path.insert(0, sys.argv[1])
import varnel
print(peak_kib())
"""


def big_file_run(args, directory):
    """split_file over files of ordinary lines of two sizes, each in a fresh interpreter."""
    with open(os.path.join(ROOT, "samples", "en.txt"), "rb") as f:
        lines = f.read()
    with open(os.path.join(ROOT, "samples", "zh-utf8.txt"), "rb") as f:
        lines = (lines + f.read()) * 64
    print("| File | Mode | Sentences | MB/s | Peak memory (VmHWM) |")
    print("|---|---|---|---|---|")
    baseline = subprocess.run([sys.executable, "-c", IMPORT_RUN, args.package],
                              check=True, capture_output=True, text=True).stdout.split()[0]
    for size in (args.size_mib << 20, args.big_file_gib << 30):
        path = os.path.join(directory, "lines-%d.txt" % size)
        with open(path, "wb") as f:
            for _ in range(size // len(lines)):
                f.write(lines)
        subprocess.run(["cat", path], check=True, stdout=subprocess.DEVNULL)  # into the page cache
        for mode in ("binary", "str"):
            out = subprocess.run([sys.executable, "-c", FILE_RUN, args.package, path, mode],
                                 check=True, capture_output=True, text=True).stdout.split()
            count, seconds, rss_kib = int(out[0]), float(out[1]), int(out[2])
            print("| %.0f MiB | %s | %d | %.0f | %.1f MiB |" % (
                os.path.getsize(path) / (1 << 20), mode, count,
                os.path.getsize(path) / 1e6 / seconds, rss_kib / 1024))
        os.remove(path)
    print("\nThe interpreter with varnel imported and nothing split: %.1f MiB."
          % (int(baseline) / 1024))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--package", required=True, help="directory holding the package varnel")
    parser.add_argument("--c-bench", help="the C benchmark's program (varnel-bench)")
    parser.add_argument("--size-mib", type=int, default=16)
    parser.add_argument("--repeat", type=int, default=5)
    parser.add_argument("--big-file-gib", type=int, default=0)
    args = parser.parse_args()
    sys.path.insert(0, args.package)
    import varnel
    try:
        import icu
    except ImportError:
        icu = None
        print("PyICU is not installed (Debian: python3-icu); its rows are left out.\n")
    print("varnel %s from %s, Python %s, load average %s\n" % (
        varnel.__version__, os.path.dirname(varnel.__file__), sys.version.split()[0],
        " ".join("%.2f" % x for x in os.getloadavg())))
    c_rates = c_library_rates(args.c_bench, args.size_mib, args.repeat)
    with tempfile.TemporaryDirectory(prefix="varnel-bench-") as directory:
        results = {name: measure_corpus(varnel, icu, name, sample, encoding, locale, args, directory)
                   for name, sample, encoding, locale in CORPORA}
        print_results(results, c_rates)
        if args.big_file_gib:
            print()
            big_file_run(args, directory)
    print("\nLoad average at the end: %s" % " ".join("%.2f" % x for x in os.getloadavg()))


if __name__ == "__main__":
    main()
