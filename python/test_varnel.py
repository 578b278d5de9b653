"""Tests of the Python binding, run against the built libVarnel.so.

VARNEL_TEST_LIBRARY names the library to test (CTest sets it).
"""

import os
import shutil
import subprocess
import sys
import tempfile
import threading
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
LIBRARY = os.environ.get("VARNEL_TEST_LIBRARY", "")
if not os.path.isfile(LIBRARY):
    raise SystemExit("VARNEL_TEST_LIBRARY must name the built libVarnel.so, not %r" % LIBRARY)
os.environ["VARNEL_LIBRARY"] = LIBRARY
sys.path.insert(0, HERE)

import varnel  # noqa: E402


class SplitTest(unittest.TestCase):
    CASES = [
        ("你好。Hi there. Bye", ["你好。", "Hi there.", "Bye"]),
        ("Dr. Who? Yes!No", ["Dr.", "Who?", "Yes!", "No"]),
        # A '.' ends a sentence only when all of it before is single-byte.
        ("你好. Bye", ["你好. Bye"]),
        ("  一！二？\n三", ["一！", "二？", "三"]),
        ("a\nb\r\nc", ["a\n", "b\r", "c"]),
        ("", []),
        ("   ", []),
    ]

    def test_str_gives_str_in_both_encodings(self):
        for text, expected in self.CASES:
            for encoding in ("utf-8", "gbk", "UTF8", "cp936"):
                with self.subTest(text=text, encoding=encoding):
                    self.assertEqual(varnel.split(text, encoding), expected)

    def test_bytes_give_bytes_in_their_encoding(self):
        for text, expected in self.CASES:
            for encoding in ("utf-8", "gbk"):
                with self.subTest(text=text, encoding=encoding):
                    want = [s.encode(encoding) for s in expected]
                    self.assertEqual(varnel.split(text.encode(encoding), encoding), want)
                    self.assertEqual(varnel.split(bytearray(text.encode(encoding)), encoding), want)

    def test_gbk_bytes_are_what_the_library_splits(self):
        # 你好。再见 in GBK: the full stop is A1 A3.
        self.assertEqual(varnel.split(b"\xC4\xE3\xBA\xC3\xA1\xA3\xD4\xD9\xBC\xFB", "gbk"),
                         [b"\xC4\xE3\xBA\xC3\xA1\xA3", b"\xD4\xD9\xBC\xFB"])
        # UTF-8 bytes read as GBK hold no GBK full stop: one sentence.
        utf8 = "你好。再见".encode("utf-8")
        self.assertEqual(varnel.split(utf8, "gbk"), [utf8])

    def test_a_nul_ends_a_text_and_loses_nothing_after_it(self):
        self.assertEqual(varnel.split("One\0Two. Three\0\0Four"),
                         ["One", "Two.", "Three", "Four"])
        self.assertEqual(varnel.split(b"\0A!\0", "gbk"), [b"A!"])

    def test_bad_arguments_raise(self):
        with self.assertRaises(ValueError):
            varnel.split("x", "latin-1")
        with self.assertRaises(ValueError):
            varnel.split("x", "no-such-codec")
        with self.assertRaises(ValueError):
            varnel.split("x", None)
        with self.assertRaises(UnicodeEncodeError):
            varnel.split("\U0001F600。", "gbk")
        for text in (None, 42, ["x"], memoryview(b"x")):
            with self.subTest(text=text), self.assertRaises(TypeError):
                varnel.split(text)

    def test_threads_get_their_own_sentences(self):
        # Each thread splits its own text again and again; without the lock the
        # shared splitter hands one thread's sentences to another.
        texts = {n: "".join("T%d s%d! " % (n, i) for i in range(20)) + "Last%d" % n
                 for n in range(8)}
        expected = {n: varnel.split(text) for n, text in texts.items()}
        failures = []

        def work(n):
            for _ in range(200):
                got = varnel.split(texts[n])
                if got != expected[n]:
                    failures.append((n, got))
                    return

        threads = [threading.Thread(target=work, args=(n,)) for n in texts]
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join()
        self.assertEqual(failures, [])
        self.assertEqual(len(expected[3]), 21)


class LibrarySearchTest(unittest.TestCase):
    """Each case runs a fresh interpreter: the loader reads its environment once."""

    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="varnel-python-")
        self.addCleanup(shutil.rmtree, self.dir)
        shutil.copy(os.path.join(HERE, "varnel.py"), self.dir)

    def run_split(self, **env):
        environment = {k: v for k, v in os.environ.items()
                       if k not in ("VARNEL_LIBRARY", "LD_LIBRARY_PATH")}
        environment.update(env)
        environment["PYTHONDONTWRITEBYTECODE"] = "1"
        code = ("import varnel\n"
                "try:\n"
                "    print(varnel.split('A. B'))\n"
                "except varnel.LibraryNotFoundError as error:\n"
                "    print('LibraryNotFoundError:', error)\n")
        return subprocess.run([sys.executable, "-c", code], cwd=self.dir, env=environment,
                              capture_output=True, text=True, timeout=60)

    def test_found_beside_the_module(self):
        shutil.copy(LIBRARY, os.path.join(self.dir, "libVarnel.so"))
        result = self.run_split()
        self.assertEqual(result.stdout, "['A.', 'B']\n", result.stderr)

    def test_found_through_the_environment(self):
        result = self.run_split(VARNEL_LIBRARY=LIBRARY)
        self.assertEqual(result.stdout, "['A.', 'B']\n", result.stderr)

    def test_found_by_the_system_loader(self):
        result = self.run_split(LD_LIBRARY_PATH=os.path.dirname(LIBRARY))
        self.assertEqual(result.stdout, "['A.', 'B']\n", result.stderr)

    def test_missing_library_names_every_place_tried(self):
        result = self.run_split()
        beside = os.path.join(os.path.realpath(self.dir), "libVarnel.so")
        self.assertTrue(result.stdout.startswith("LibraryNotFoundError: cannot load libVarnel.so"),
                        result.stdout + result.stderr)
        self.assertIn("beside the module: " + beside + " (no such file)", result.stdout)
        self.assertIn("the system loader: libVarnel.so (", result.stdout)

    def test_a_named_library_is_the_only_one_tried(self):
        # A copy beside the module must not stand in for a wrong VARNEL_LIBRARY.
        shutil.copy(LIBRARY, os.path.join(self.dir, "libVarnel.so"))
        missing = os.path.join(self.dir, "missing", "libVarnel.so")
        result = self.run_split(VARNEL_LIBRARY=missing)
        self.assertEqual(result.stdout,
                         "LibraryNotFoundError: cannot load libVarnel.so; tried:\n"
                         "  VARNEL_LIBRARY=" + missing + " (no such file)\n",
                         result.stderr)


if __name__ == "__main__":
    unittest.main()
