"""Tests of varnel.dask on a local cluster of two worker processes: the bag
holds the sentences that split_file gives for each file, in order."""

import logging
import os
import shutil
import tempfile
import unittest

from testsupport import PACKAGE_DIR, as_printed, sample, varnel, varnel_split_output

# The workers are processes of their own: they import the package under test.
os.environ["PYTHONPATH"] = os.pathsep.join(filter(None, [PACKAGE_DIR,
                                                         os.environ.get("PYTHONPATH")]))

import dask.bag  # noqa: E402
from distributed import Client, LocalCluster  # noqa: E402

from varnel.dask import read_sentences, split_bag  # noqa: E402

BLOCK = 8192


def lines_of(name, size):
    """The sample, with CRLF in every other copy, to about size bytes."""
    data = sample(name)
    copies = [data if i % 2 else data.replace(b"\n", b"\r\n") for i in range(size // len(data) + 1)]
    return b"".join(copies)


def with_stray_lead_bytes(data, lead):
    """data with a lead byte right before a line feed near every block edge:
    the line feed one byte before the edge, at it, or just after it."""
    text = bytearray(data)
    for block in range(1, len(text) // BLOCK):
        feed = block * BLOCK + block % 4 - 2
        text[feed - 1:feed + 1] = lead + b"\n"
    return bytes(text)


class DaskTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.cluster = LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                   dashboard_address=None, silence_logs=logging.CRITICAL)
        cls.client = Client(cls.cluster)
        cls.dir = tempfile.mkdtemp(prefix="varnel-dask-")
        cls.corpus = {}
        # 你好 without an end mark, in UTF-8 and GBK: a text with no line feed.
        no_line = {"utf-8": "你好，".encode() * 9000, "gbk": b"\xC4\xE3\xBA\xC3\xA3\xAC" * 9000}
        for encoding, name, lead in (("utf-8", "zh-utf8.txt", b"\xE4"),
                                     ("gbk", "zh-gbk.txt", b"\xC4")):
            english = sample("en.txt")  # ASCII, the same bytes in both encodings
            texts = [lines_of(name, 300_000) + b"\0" + english * 40,
                     no_line[encoding] + b"\n" + lines_of(name, 20_000),
                     with_stray_lead_bytes(lines_of(name, 200_000), lead)]
            cls.corpus[encoding] = [cls.write("%s-%d.txt" % (encoding, i), text)
                                    for i, text in enumerate(texts)]

    @classmethod
    def tearDownClass(cls):
        cls.client.close()
        cls.cluster.close()
        shutil.rmtree(cls.dir)

    @classmethod
    def write(cls, name, data):
        path = os.path.join(cls.dir, name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def expected(self, paths, encoding, **options):
        return [s for path in paths for s in varnel.split_file(path, encoding, **options)]

    def test_the_cluster_has_two_workers(self):
        self.assertEqual(len(self.client.scheduler_info()["workers"]), 2)

    def test_the_corpus_as_split_file_and_varnel_split_give_it(self):
        for encoding, paths in self.corpus.items():
            with self.subTest(encoding=encoding):
                bag = read_sentences(paths, encoding, blocksize=BLOCK, errors="replace")
                self.assertGreater(bag.npartitions, 50)
                got = bag.compute()
                self.assertEqual(got, self.expected(paths, encoding, errors="replace"))
                for path in paths:
                    printed = varnel_split_output(path, encoding)
                    self.assertEqual(as_printed(list(varnel.split_file(path, encoding,
                                                                       binary=True))), printed)

    def test_a_glob_and_a_file_url_read_the_files_in_order(self):
        paths = self.corpus["utf-8"]
        want = self.expected(paths, "utf-8", errors="replace")
        pattern = os.path.join(self.dir, "utf-8-*.txt")
        self.assertEqual(read_sentences(pattern, blocksize=BLOCK, errors="replace").compute(), want)
        urls = ["file://" + path for path in paths]
        self.assertEqual(read_sentences(urls, blocksize="8 KiB", errors="replace").compute(), want)
        self.assertEqual(read_sentences(paths, blocksize=None, errors="replace").compute(), want)

    def test_closers_across_block_edges(self):
        # 他说：“好。”, with the closing quote on either side of many block edges.
        sentence = "他说：“好。”".encode()
        text = bytearray(lines_of("zh-utf8.txt", 100_000))
        for block in range(1, len(text) // BLOCK):
            at = block * BLOCK - len(sentence) + block % len(sentence)
            text[at:at + len(sentence)] = sentence
        path = self.write("closers.txt", bytes(text))
        for options in ({"attach_closers": True}, {"reader": True}):
            with self.subTest(options=options):
                got = read_sentences(path, blocksize=BLOCK, errors="replace", **options).compute()
                self.assertEqual(got, self.expected([path], "utf-8", errors="replace", **options))

    def test_a_missing_file_fails_with_its_name(self):
        missing = os.path.join(self.dir, "missing.txt")
        with self.assertRaisesRegex(FileNotFoundError, "missing.txt"):
            read_sentences([self.corpus["utf-8"][0], missing], blocksize=BLOCK).compute()
        path = self.write("gone.txt", b"A. B")
        bag = read_sentences(path)
        os.remove(path)
        with self.assertRaisesRegex(FileNotFoundError, "gone.txt"):
            bag.compute()
        with self.assertRaises(FileNotFoundError):
            read_sentences(os.path.join(self.dir, "nothing-*.txt"))

    def test_split_bag_splits_each_text(self):
        texts = ["你好。Hi there. Bye", "One\nTwo", b"A! B", ""]
        got = split_bag(dask.bag.from_sequence(texts, npartitions=2)).compute()
        self.assertEqual(got, ["你好。", "Hi there.", "Bye", "One\n", "Two", b"A!", b"B"])
        gbk = dask.bag.from_sequence(["你好！再见"], npartitions=1)
        self.assertEqual(split_bag(gbk, "gbk").compute(), ["你好！", "再见"])
        with self.assertRaises(ValueError):
            split_bag(gbk, "latin-1")


if __name__ == "__main__":
    unittest.main()
