"""What the package's tests share: the package under test and its references.

The environment names them (CTest sets it; so does `make test-pip`):
VARNEL_TEST_PACKAGE, the directory that holds the package to test;
VARNEL_TEST_LIBRARY, libVarnel.so; VARNEL_TEST_SPLIT, varnel-split;
VARNEL_TEST_SPLIT_CASES, the program that prints the shared split cases.
"""

import ctypes
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def _required(name):
    value = os.environ.get(name, "")
    if not os.path.exists(value):
        raise SystemExit("%s must name an existing file or directory, not %r" % (name, value))
    return value


PACKAGE_DIR = _required("VARNEL_TEST_PACKAGE")
LIBRARY = _required("VARNEL_TEST_LIBRARY")
SPLIT_TOOL = _required("VARNEL_TEST_SPLIT")
SPLIT_CASES_TOOL = _required("VARNEL_TEST_SPLIT_CASES")

# The package under test, never the sources beside this file: they lack the
# compiled module.
sys.path.insert(0, PACKAGE_DIR)
import varnel  # noqa: E402

if not os.path.realpath(varnel.__file__).startswith(os.path.realpath(PACKAGE_DIR) + os.sep):
    raise SystemExit("imported %s instead of the package in %s" % (varnel.__file__, PACKAGE_DIR))

ENCODE = {"utf-8": 1, "gbk": 0}


def sample(name):
    with open(os.path.join(HERE, "..", "samples", name), "rb") as f:
        return f.read()


SAMPLES = [("en.txt", "utf-8"), ("zh-utf8.txt", "utf-8"), ("zh-gbk.txt", "gbk")]


class LibrarySplitter:
    """The sentences of bytes as libVarnel.so gives them, through its C interface."""

    def __init__(self):
        self.library = ctypes.CDLL(LIBRARY)
        self.library.VN_GetSentence.argtypes = [ctypes.c_char_p, ctypes.c_int]
        self.library.VN_GetSentence.restype = ctypes.c_char_p  # copied as the call returns
        self.library.VN_Init(None, None)

    def split(self, data, encoding):
        sentences = []
        for piece in data.split(b"\0"):  # a NUL ends a text
            if not piece:
                continue
            sentence = self.library.VN_GetSentence(piece, ENCODE[encoding])
            while sentence:
                sentences.append(sentence)
                sentence = self.library.VN_GetSentence(None, 0)
        return sentences


def split_cases():
    """The shared split cases: (name, encoding, text, sentences), as bytes."""
    output = subprocess.run([SPLIT_CASES_TOOL], check=True, capture_output=True, text=True).stdout
    cases = []
    for line in output.splitlines():
        name, encode, text, *sentences = line.split("\t")
        cases.append((name, "utf-8" if encode == "1" else "gbk", bytes.fromhex(text),
                      [bytes.fromhex(s) for s in sentences]))
    if len(cases) < 10:
        raise SystemExit("too few split cases from %s: %r" % (SPLIT_CASES_TOOL, output))
    return cases


def varnel_split_output(path, encoding, *options):
    """What varnel-split prints for the file."""
    command = [SPLIT_TOOL, "--no-progress", "-e", "utf8" if encoding == "utf-8" else "gbk"]
    return subprocess.run(command + list(options) + [path], check=True,
                          capture_output=True).stdout


def as_printed(sentences):
    """Sentences as varnel-split prints them: one CR or LF that ends one dropped, an LF added."""
    return b"".join((s[:-1] if s[-1:] in (b"\r", b"\n") else s) + b"\n" for s in sentences)
