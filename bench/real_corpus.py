#!/usr/bin/env python3
"""Writes the benchmark's corpora of real text, from documentation that the
machine's Debian packages install (all of it under free licences: GPL, LGPL,
BSD and the like, as Debian's main archive requires):

  en-real.txt       English: the packages' change logs and copyright files
                    under /usr/share/doc, up to --en-mb MiB
  zh-real-utf8.txt  Chinese: the translated messages of the zh_CN and zh_TW
                    message catalogues under /usr/share/locale and the
                    Chinese manual pages under /usr/share/man, roff removed

Both in UTF-8, one line of text a line, nothing in them repeated on purpose;
the benchmark converts the Chinese one to GBK and lengthens a corpus that is
shorter than a text it needs by the corpus's lines in shuffled order.

usage: real_corpus.py OUTDIR [--en-mb N]
"""
import argparse
import glob
import gzip
import os
import re
import struct
import sys

MIB = 1 << 20


def read_maybe_gzip(path):
    try:
        with open(path, "rb") as f:
            data = f.read()
        return gzip.decompress(data) if path.endswith(".gz") else data
    except (OSError, EOFError, gzip.BadGzipFile):
        return b""


def english_lines(limit):
    paths = sorted(glob.glob("/usr/share/doc/*/changelog*.gz") + glob.glob("/usr/share/doc/*/copyright"))
    total = 0
    for path in paths:
        text = read_maybe_gzip(path).decode("utf-8", "replace")
        for line in text.splitlines():
            line = line.strip()
            if not line:
                continue
            yield line
            total += len(line.encode("utf-8")) + 1
            if total >= limit:
                return


def mo_strings(path):
    """The translations of a gettext message catalogue."""
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < 28:
        return
    magic = struct.unpack("<I", data[:4])[0]
    order = "<" if magic == 0x950412DE else ">"
    count, _, table = struct.unpack(order + "III", data[8:20])
    for i in range(1, count):  # entry 0 is the catalogue's header
        length, offset = struct.unpack(order + "II", data[table + 8 * i : table + 8 * i + 8])
        for text in data[offset : offset + length].split(b"\0"):
            yield text.decode("utf-8", "replace")


def roff_text(text):
    for line in text.splitlines():
        if line.startswith((".", "'", '\\"')):
            continue
        yield re.sub(r"\\f[BIRP]|\\f\(..|\\[-&e]|\\\(..", "", line)


HAN = re.compile("[\u4e00-\u9fff]")


def chinese_lines():
    for lang in ("zh_CN", "zh_TW"):
        for path in sorted(glob.glob("/usr/share/locale/%s/LC_MESSAGES/*.mo" % lang)):
            for text in mo_strings(path):
                for line in text.splitlines():
                    if HAN.search(line):
                        yield line.strip()
        for path in sorted(glob.glob("/usr/share/man/%s/man*/*.gz" % lang)):
            for line in roff_text(read_maybe_gzip(path).decode("utf-8", "replace")):
                if HAN.search(line):
                    yield line.strip()


def write(path, lines):
    with open(path, "w", encoding="utf-8", errors="replace") as f:
        for line in lines:
            f.write(line + "\n")
    return os.path.getsize(path)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("outdir")
    parser.add_argument("--en-mb", type=int, default=128)
    args = parser.parse_args()
    os.makedirs(args.outdir, exist_ok=True)
    en = write(os.path.join(args.outdir, "en-real.txt"), english_lines(args.en_mb * MIB))
    zh = write(os.path.join(args.outdir, "zh-real-utf8.txt"), chinese_lines())
    if en == 0 or zh == 0:
        sys.exit("real_corpus.py: no documentation found for one of the corpora")
    print("real corpora: English %.1f MiB, Chinese %.1f MiB" % (en / MIB, zh / MIB))


if __name__ == "__main__":
    main()
