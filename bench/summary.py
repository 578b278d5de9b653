#!/usr/bin/env python3
"""Turns the JSON output of varnel-bench into the table of docs/performance.md.

    varnel-bench --benchmark_repetitions=5 --benchmark_out=bench.json
    python3 bench/summary.py bench.json

Each figure comes from the least CPU time per iteration among the
repetitions (the "min" aggregate), or from the single run without
repetitions. Rates are in decimal units: 1 GB/s = 10^9 bytes a second.
"""
import json
import sys


def load(path):
    with open(path) as f:
        data = json.load(f)
    best = {}
    for b in data["benchmarks"]:
        aggregate = b.get("aggregate_name")
        if aggregate not in (None, "min"):
            continue
        name = b.get("run_name", b["name"])
        if aggregate is None and name in best:
            continue  # a repetition; the min aggregate replaces it
        scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[b["time_unit"]]
        best[name] = (b["cpu_time"] * scale, b.get("bytes", 0), b.get("bytes/sentence", 0))
    return data.get("context", {}), best


def rate(entry):
    seconds, size, _ = entry
    return size / seconds / 1e9


def main(path):
    context, best = load(path)
    print("Run: %s, %s, %d CPUs at %s MHz" % (context.get("date", "?"), context.get("host_name", "?"),
                                            context.get("num_cpus", 0), context.get("mhz_per_cpu", "?")))
    print()
    print("| Corpus | Size | Varnel GB/s | Oracle GB/s | Varnel / oracle | ICU MB/s "
          "| Varnel / ICU | strlen GB/s | Varnel / strlen | Plain scan GB/s | Bytes a sentence |")
    print("|---|---|---|---|---|---|---|---|---|---|---|")
    corpora = ["en", "zh-utf8", "zh-gbk"]
    sizes = ["1MB", "16MB", "256MB"]
    for corpus in corpora:
        for size in sizes:
            get = lambda what: best.get("%s/%s/%s" % (what, corpus, size))
            varnel, oracle, icu, strlen, scalar = (get(w) for w in ("Varnel", "Oracle", "ICU", "strlen", "Scalar"))
            if not varnel:
                continue
            cells = [corpus, size, "%.2f" % rate(varnel)]
            cells += ["%.2f" % rate(oracle), "%.0f%%" % (100 * rate(varnel) / rate(oracle))] if oracle else ["", ""]
            cells += ["%.0f" % (rate(icu) * 1e3), "%.1f" % (rate(varnel) / rate(icu))] if icu else ["", ""]
            cells += ["%.1f" % rate(strlen), "%.2f" % (rate(varnel) / rate(strlen))] if strlen else ["", ""]
            cells += ["%.2f" % rate(scalar)] if scalar else [""]
            cells += ["%.1f" % varnel[2]]
            print("| " + " | ".join(cells) + " |")
    print()
    for corpus in corpora:
        small, large = best.get("Varnel/%s/1MB" % corpus), best.get("Varnel/%s/256MB" % corpus)
        if small and large:
            print("%s: time a byte at 256 MB / at 1 MB = %.2f" % (corpus, rate(small) / rate(large)))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "bench.json")
