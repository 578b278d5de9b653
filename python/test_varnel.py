"""Tests of the package varnel: its compiled splitter against libVarnel.so,
the shared split cases and varnel-split."""

import io
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import unittest

from testsupport import (HERE, PACKAGE_DIR, SAMPLES, LibrarySplitter, as_printed, sample,
                         split_cases, varnel, varnel_split_output)

LIBRARY = LibrarySplitter()


def sentences_at(data, spans):
    return [data[spans[i]:spans[i + 1]] for i in range(0, len(spans), 2)]


def variants(data):
    """The text, with CRLF line ends, and the two joined by a NUL: long enough
    (over 16 KB) that the splitter works with the GIL released."""
    text = data * 8 + b"\0" + data.replace(b"\n", b"\r\n") * 8
    return {"plain": data, "long, CRLF and NUL": text * 2}


class SplitCasesTest(unittest.TestCase):
    def test_shared_cases_through_every_function(self):
        for name, encoding, text, sentences in split_cases():
            with self.subTest(name):
                self.assertEqual(varnel.split(text, encoding), sentences)
                self.assertEqual(list(varnel.iter_split(text, encoding)), sentences)
                self.assertEqual(sentences_at(text, varnel.spans(text, encoding)), sentences)
                try:
                    decoded = text.decode(encoding)
                except UnicodeDecodeError:
                    continue  # no str encodes to these bytes
                want = [s.decode(encoding) for s in sentences]
                self.assertEqual(varnel.split(decoded, encoding), want)
                self.assertEqual(list(varnel.iter_split(decoded, encoding)), want)

    # The ctypes binding's cases, which the package answers alike.
    CASES = [
        ("你好。Hi there. Bye", ["你好。", "Hi there.", "Bye"]),
        ("Dr. Who? Yes!No", ["Dr.", "Who?", "Yes!", "No"]),
        ("你好. Bye", ["你好. Bye"]),  # a '.' ends nothing after a Chinese character
        ("  一！二？\n三", ["一！", "二？", "三"]),
        ("a\nb\r\nc", ["a\n", "b\r", "c"]),
        ("丂丄。再见！x", ["丂丄。", "再见！", "x"]),  # GBK 81 40 81 41: second bytes '@', 'A'
        ("One\0Two. Three\0\0Four", ["One", "Two.", "Three", "Four"]),  # a NUL ends a text
        ("", []),
        ("   ", []),
    ]

    def test_str_gives_str_and_bytes_give_bytes(self):
        for text, expected in self.CASES:
            for encoding in ("utf-8", "gbk", "UTF8", "cp936"):
                with self.subTest(text=text, encoding=encoding):
                    self.assertEqual(varnel.split(text, encoding), expected)
            for encoding in ("utf-8", "gbk"):
                data = text.encode(encoding)
                want = [s.encode(encoding) for s in expected]
                for given in (data, bytearray(data), memoryview(data)):
                    with self.subTest(text=text, encoding=encoding, type=type(given)):
                        self.assertEqual(varnel.split(given, encoding), want)
                        self.assertTrue(all(type(s) is bytes for s in varnel.split(given, encoding)))

    def test_str_of_characters_of_every_width(self):
        # One to four bytes in UTF-8; str slices must fall on the same characters.
        self.assertEqual(varnel.split("aé中😀。b😀! c\U0010FFFF"), ["aé中😀。", "b😀!", "c\U0010FFFF"])
        self.assertEqual(varnel.split("café! Olé? x" * 2000)[:3], ["café!", "Olé?", "xcafé!"])

    def test_gbk_bytes_are_what_the_library_splits(self):
        # 你好。再见 in GBK: the full stop is A1 A3.
        self.assertEqual(varnel.split(b"\xC4\xE3\xBA\xC3\xA1\xA3\xD4\xD9\xBC\xFB", "gbk"),
                         [b"\xC4\xE3\xBA\xC3\xA1\xA3", b"\xD4\xD9\xBC\xFB"])
        # UTF-8 bytes read as GBK hold no GBK full stop: one sentence.
        utf8 = "你好。再见".encode("utf-8")
        self.assertEqual(varnel.split(utf8, "gbk"), [utf8])


class LibraryTest(unittest.TestCase):
    """The package gives what libVarnel.so gives, on the samples."""

    def test_samples_as_the_library_splits_them(self):
        for name, encoding in SAMPLES:
            for variant, data in variants(sample(name)).items():
                with self.subTest(sample=name, variant=variant):
                    want = LIBRARY.split(data, encoding)
                    self.assertGreater(len(want), 5)
                    self.assertEqual(varnel.split(data, encoding), want)
                    self.assertEqual(list(varnel.iter_split(data, encoding)), want)
                    self.assertEqual(sentences_at(data, varnel.spans(data, encoding)), want)
                    text = data.decode(encoding)
                    decoded = [s.decode(encoding) for s in want]
                    self.assertEqual(varnel.split(text, encoding), decoded)
                    self.assertEqual(list(varnel.iter_split(text, encoding)), decoded)

    def test_spans_are_offsets_into_the_data(self):
        data = b"  One. \xE4\xBD\xA0\xE5\xA5\xBD\xE3\x80\x82\nTwo"  # One. 你好。\nTwo
        self.assertEqual(varnel.spans(data).tolist(), [2, 6, 7, 16, 17, 20])
        self.assertEqual(varnel.spans(data).typecode, "Q")
        self.assertEqual(varnel.spans(b"").tolist(), [])


class OptionsTest(unittest.TestCase):
    """Every function gives the same sentences under each option."""

    TEXT = "他说：“下个月就要上线了。”她问：“真的吗？！”（是的。）Yes!” he said. “No.” 《快乐！星期天》\n"

    def test_functions_agree_under_every_option(self):
        for options in ({}, {"attach_closers": True}, {"reader": True},
                        {"attach_closers": True, "reader": True}):
            for encoding in ("utf-8", "gbk"):
                with self.subTest(options=options, encoding=encoding):
                    data = self.TEXT.encode(encoding) * 3
                    want = varnel.split(data, encoding, **options)
                    self.assertEqual(varnel.split(data.decode(encoding), encoding, **options),
                                     [s.decode(encoding) for s in want])
                    self.assertEqual(list(varnel.iter_split(data, encoding, **options)), want)
                    self.assertEqual(sentences_at(data, varnel.spans(data, encoding, **options)),
                                     want)
                    self.assertEqual(list(varnel.split_file(io.BytesIO(data), encoding, 16,
                                                            binary=True, **options)), want)

    def test_options_move_the_cuts(self):
        cases = [
            ("你好。”再见", {}, ["你好。", "”再见"]),
            ("你好。”再见", {"attach_closers": True}, ["你好。”", "再见"]),
            ("什么？！《快乐！星期天》好。", {"attach_closers": True},
             ["什么？", "！", "《快乐！", "星期天》好。"]),
            ("什么？！《快乐！星期天》好。", {"reader": True}, ["什么？！", "《快乐！星期天》好。"]),
        ]
        for text, options, want in cases:
            for encoding in ("utf-8", "gbk"):
                with self.subTest(text=text, options=options, encoding=encoding):
                    self.assertEqual(varnel.split(text, encoding, **options), want)
                    self.assertEqual(varnel.split(text.encode(encoding), encoding, **options),
                                     [s.encode(encoding) for s in want])
        self.assertEqual(varnel.split("Dr. Smith came. He sat.", reader=True),
                         ["Dr. Smith came.", "He sat."])

    def test_pieces_between_nuls_are_texts_of_their_own_under_every_option(self):
        pieces = ["“你好。”他说。“再见！", "Dr. Smith came. He sat.", "什么？！《快乐！星期天》"]
        for options in ({}, {"attach_closers": True}, {"reader": True}):
            for encoding in ("utf-8", "gbk"):
                with self.subTest(options=options, encoding=encoding):
                    datas = [piece.encode(encoding) for piece in pieces]
                    want, want_spans, offset = [], [], 0
                    for data in datas:
                        want += varnel.split(data, encoding, **options)
                        spans = varnel.spans(data, encoding, **options)
                        want_spans += [offset + x for x in spans]
                        offset += len(data) + 1
                    whole = b"\0".join(datas)
                    self.assertEqual(varnel.split(whole, encoding, **options), want)
                    self.assertEqual(list(varnel.spans(whole, encoding, **options)), want_spans)

    def test_arguments_by_name(self):
        self.assertEqual(varnel.split(text="A. B", encoding="gbk"), ["A.", "B"])
        self.assertEqual(list(varnel.iter_split(text=b"A. B")), [b"A.", b"B"])
        self.assertEqual(varnel.spans(data=b"A. B", encoding="utf8").tolist(), [0, 2, 3, 4])

    def test_options_are_keywords_only(self):
        with self.assertRaises(TypeError):
            varnel.split("A. B", "utf-8", True)
        with self.assertRaises(TypeError):
            varnel.split("A. B", closers=True)


class SplitFileTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="varnel-python-")
        self.addCleanup(shutil.rmtree, self.dir)

    def write(self, data, name="text.txt"):
        path = os.path.join(self.dir, name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    # Texts that must come out alike whatever the block size: long lines,
    # CRLF, NULs, and line feeds that a stray lead byte takes into its character.
    TEXTS = [
        ("utf-8", b"One. Two!\r\nThree\n\0Four? five\n\nsix"),
        ("utf-8", b"no line feed at all, " * 20 + b"end. Next"),
        # a\xE4\n: the stray lead byte E4 takes the line feed; 好。 follows.
        ("utf-8", b"a\xE4\nb\xE5\xA5\xBD\xE3\x80\x82c\n\xF0\n\n!\nx"),
        # 你\xC4\n: a lone GBK lead byte C4 takes the line feed; 好。 is C4 E3 A1 A3.
        ("gbk", b"\xC4\xE3\xC4\nA\xC4\xE3\xA1\xA3B\n\xC4\xC4\xC4\n!\n"),
        ("gbk", b"\xC4\xE3\xBA\xC3\xA1\xA3\r\n" * 30 + b"\x81\n"),
    ]

    def test_every_block_size_gives_the_sentences_of_the_whole(self):
        for encoding, data in self.TEXTS:
            want = varnel.split(data, encoding)
            for block_size in list(range(1, 12)) + [100, 1 << 20]:
                with self.subTest(data=data[:20], block_size=block_size):
                    got = list(varnel.split_file(io.BytesIO(data), encoding, block_size,
                                                 binary=True))
                    self.assertEqual(got, want)

    def test_samples_as_split_and_varnel_split_give_them(self):
        for name, encoding in SAMPLES:
            for variant, data in variants(sample(name)).items():
                long_line = data.replace(b"\n", b" ")  # one line longer than the blocks
                for label, text in ((variant, data), (variant + ", one line", long_line)):
                    with self.subTest(sample=name, variant=label):
                        path = self.write(text)
                        want = varnel.split(text, encoding)
                        got = list(varnel.split_file(path, encoding, 1000, binary=True))
                        self.assertEqual(got, want)
                        self.assertEqual(list(varnel.split_file(path, encoding, 1000)),
                                         [s.decode(encoding) for s in want])
                        self.assertEqual(as_printed(got), varnel_split_output(path, encoding))

    def test_a_long_line_is_cut_between_sentences(self):
        # Memory stays within a few blocks on a file that is one long line.
        class RecordingFile(io.BytesIO):
            largest = 0

            def read(self, size=-1):
                RecordingFile.largest = max(RecordingFile.largest, size)
                return super().read(size)

        for encoding, sentence in (("utf-8", "Sentence %d. 还有一句！"), ("gbk", "第%d句。")):
            with self.subTest(encoding=encoding):
                data = "".join(sentence % i for i in range(20000)).encode(encoding)
                RecordingFile.largest = 0
                got = list(varnel.split_file(RecordingFile(data), encoding, 1024, binary=True))
                self.assertEqual(got, varnel.split(data, encoding))
                self.assertLess(RecordingFile.largest, 8 * 1024)

    def test_decoding_follows_errors_sentence_by_sentence(self):
        data = "你好。坏".encode() + b"\x80! " + "再见。".encode()  # 80: a stray continuation byte
        self.assertEqual(list(varnel.split_file(io.BytesIO(data), errors="replace")),
                         ["你好。", "坏\ufffd!", "再见。"])
        got = []
        with self.assertRaises(UnicodeDecodeError):
            for sentence in varnel.split_file(io.BytesIO(data), block_size=4):
                got.append(sentence)
        self.assertEqual(got, ["你好。"])

    def test_a_path_is_closed_and_a_file_object_left_open(self):
        path = self.write(b"A. B")
        with varnel.split_file(path) as sentences:
            self.assertEqual(next(sentences), "A.")
            file = sentences._file
        self.assertTrue(file.closed)
        iterator = iter(varnel.split_file(path))  # the loop keeps only this
        file = iterator.gi_frame.f_locals["file"]
        self.assertEqual(list(iterator), ["A.", "B"])
        self.assertTrue(file.closed)
        with open(path, "rb") as f:
            self.assertEqual(list(varnel.split_file(f)), ["A.", "B"])
            self.assertFalse(f.closed)

    def test_errors(self):
        missing = os.path.join(self.dir, "missing.txt")
        with self.assertRaises(FileNotFoundError) as caught:
            varnel.split_file(missing)
        self.assertEqual(caught.exception.filename, missing)
        with self.assertRaises(IsADirectoryError) as caught:
            list(varnel.split_file(self.dir))
        self.assertEqual(caught.exception.filename, self.dir)
        with self.assertRaises(TypeError):
            varnel.split_file(42)
        with open(self.write(b"A. B"), encoding="utf-8") as text_file, self.assertRaises(TypeError):
            list(varnel.split_file(text_file))
        for kwargs in ({"encoding": "latin-1"}, {"block_size": 0}, {"block_size": 1.5}):
            with self.subTest(kwargs), self.assertRaises(ValueError):
                varnel.split_file(io.BytesIO(b"x"), **kwargs)


class ErrorsTest(unittest.TestCase):
    FUNCTIONS = [varnel.split, varnel.iter_split, varnel.spans]

    def test_other_types_raise_type_error(self):
        for function in self.FUNCTIONS:
            for text in (None, 42, ["x"], {"x": 1}):
                with self.subTest(function=function.__name__, text=text):
                    with self.assertRaises(TypeError):
                        function(text)
        with self.assertRaisesRegex(TypeError, "spans.. takes a bytes-like object, not str"):
            varnel.spans("x")

    def test_unknown_encodings_raise_value_error(self):
        for function in self.FUNCTIONS:
            for encoding in ("latin-1", "no-such-codec", "gb2312", "utf-8\0", None, 8, b"utf-8"):
                with self.subTest(function=function.__name__, encoding=encoding):
                    with self.assertRaisesRegex(ValueError, "unsupported encoding"):
                        function(b"x", encoding)

    def test_text_the_encoding_cannot_hold_raises_unicode_encode_error(self):
        for text, encoding in (("\U0001F600。", "gbk"), ("a\ud800。", "utf-8"), ("\ud800", "gbk"),
                               ("长句子。" * 9000 + "\udfff", "utf-8")):
            for function in (varnel.split, varnel.iter_split):
                with self.subTest(text=text, encoding=encoding, function=function.__name__):
                    with self.assertRaises(UnicodeEncodeError):
                        function(text, encoding)


class ThreadsTest(unittest.TestCase):
    def test_threads_split_at_once_and_each_gets_its_own_sentences(self):
        # Texts long enough that each call releases the GIL, so that the
        # splitters of several threads run at the same time.
        texts = {}
        for n in range(8):
            name, encoding = SAMPLES[n % len(SAMPLES)]
            data = b"".join(b"T%d s%d! " % (n, i) + sample(name) for i in range(30))
            texts[n] = (data if n % 2 else data.decode(encoding), encoding)
        expected = {n: LIBRARY.split(text if isinstance(text, bytes) else text.encode(encoding),
                                     encoding) for n, (text, encoding) in texts.items()}
        failures = []

        def work(n):
            text, encoding = texts[n]
            want = expected[n]
            if isinstance(text, str):
                want = [s.decode(encoding) for s in want]
            for _ in range(40):
                got = varnel.split(text, encoding)
                if got != want:
                    failures.append(n)
                    return

        threads = [threading.Thread(target=work, args=(n,)) for n in texts]
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join()
        self.assertEqual(failures, [])


class PackageTest(unittest.TestCase):
    def test_version_is_the_project_version(self):
        with open(os.path.join(HERE, "..", "VERSION")) as f:
            self.assertEqual(varnel.__version__, f.read().strip())

    def test_importing_the_package_needs_no_dask(self):
        code = "import sys; sys.modules['dask'] = None; import varnel; print(varnel.split('A. B'))"
        result = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True,
                                cwd=PACKAGE_DIR, env=dict(os.environ, PYTHONPATH=PACKAGE_DIR))
        self.assertEqual(result.stdout, "['A.', 'B']\n", result.stderr)

    def test_typing_files_come_with_the_package(self):
        for name in ("py.typed", "_varnel.pyi"):
            with self.subTest(name):
                self.assertTrue(os.path.isfile(os.path.join(os.path.dirname(varnel.__file__), name)))


if __name__ == "__main__":
    unittest.main()
