"""Splitting a corpus into sentences on a Dask cluster.

    >>> from varnel.dask import read_sentences
    >>> sentences = read_sentences("corpus/*.txt", blocksize="64 MiB")
    >>> sentences.to_textfiles("out/*.txt")   # or .count().compute(), .map(...), ...

read_sentences() cuts each file into blocks of about blocksize bytes, each
moved to the first safe line cut after its nominal start: a NUL, or a line
feed that is certainly a character boundary (in malformed text a stray lead
byte can take a line feed into its character; such a line feed is no cut).
Every block is then split on its own, with no coordination, and the bag holds
exactly the sentences that split_file() gives for each file, in file order
then text order. Needs Dask (Debian: python3-dask, python3-distributed);
importing varnel does not.
"""

import io
from typing import Any, Dict, List, Optional, Sequence, Union

import dask
import dask.bag
import fsspec
from dask.utils import parse_bytes

from . import _varnel
from ._files import split_file
from ._varnel import split

__all__ = ["read_sentences", "split_bag"]

# How far a search for a block's start reads at a time, and how much a
# partition's reader reads at a time.
_SEARCH_CHUNK = 1 << 16
_SPLIT_BLOCK = 1 << 20


def read_sentences(paths: Union[str, Sequence[str]], encoding: str = "utf-8",
                   blocksize: Union[int, str, None] = "64 MiB", *, errors: str = "strict",
                   attach_closers: bool = False, reader: bool = False,
                   storage_options: Optional[Dict[str, Any]] = None) -> dask.bag.Bag:
    """A Dask bag of the sentences (str) of one or more files, in order.

    paths: a path, a glob pattern or a URL that fsspec understands (file://,
    and the remote schemes whose packages are installed), or a list of them.
    blocksize: bytes (or a string such as "64 MiB") per partition, None for
    one partition per file. The sentences are those of split_file() on each
    file with the same encoding, errors and options.

    Raises ValueError for another encoding, FileNotFoundError naming a path
    that does not exist or a pattern that matches nothing.
    """
    encode = _varnel.encoding_switch(encoding)
    fs, _, files = fsspec.get_fs_token_paths(paths, mode="rb",
                                             storage_options=storage_options or {})
    if not files:
        raise FileNotFoundError("varnel: no file matches %r" % (paths,))
    block = parse_bytes(blocksize) if isinstance(blocksize, str) else blocksize
    options = {"errors": errors, "attach_closers": attach_closers, "reader": reader}
    parts = []
    for path in files:
        size = fs.size(path)
        starts = list(range(0, size, block)) if block else [0]
        for start in starts or [0]:
            end = min(start + block, size) if block else size
            parts.append(dask.delayed(_block_sentences, pure=True)(
                fs, path, start, end, size, encoding, encode, options))
    return dask.bag.from_delayed(parts)


def split_bag(bag: dask.bag.Bag, encoding: str = "utf-8", *, attach_closers: bool = False,
              reader: bool = False) -> dask.bag.Bag:
    """A bag of the sentences of the texts (str or bytes) of bag, in order.

    Each text is split on its own as split() splits it: str gives str, bytes
    give bytes.
    """
    _varnel.encoding_switch(encoding)
    return bag.map_partitions(_split_texts, encoding,
                              {"attach_closers": attach_closers, "reader": reader})


def _split_texts(texts, encoding, options) -> List[Any]:
    return [sentence for text in texts for sentence in split(text, encoding, **options)]


def _block_sentences(fs, path, start, end, size, encoding, encode, options):
    """The sentences of the block of path that starts at the first safe cut at
    or after start and ends at the first one at or after end."""
    with fs.open(path, "rb") as f:
        first = _cut_at_or_after(f, start, size, encode)
        last = _cut_at_or_after(f, end, size, encode)
        if first >= last:
            return []
        f.seek(first)
        return list(split_file(_Range(f, last - first), encoding, _SPLIT_BLOCK, **options))


def _cut_at_or_after(f, position, size, encode):
    """The first safe cut of the file at or after position; the file's start
    and end are cuts."""
    if position <= 0 or position >= size:
        return max(0, min(position, size))
    # The window holds the bytes before a line feed that decide whether it is
    # a character: five in UTF-8; in GBK its run of high bytes, back to a
    # byte below 0x80 or the file's start.
    window_start = max(0, position - 8)
    f.seek(window_start)
    window = f.read(position - window_start)
    while encode != 1 and window_start > 0 and min(window[:-1], default=0x80) >= 0x80:
        back = min(window_start, _SEARCH_CHUNK)
        window_start -= back
        f.seek(window_start)
        window = f.read(back) + window
    f.seek(position)
    search_from = len(window) - 1  # the byte before position: a cut right at position
    while True:
        chunk = f.read(_SEARCH_CHUNK)
        if not chunk:
            return size
        window += chunk
        cut = _varnel.first_line_cut(window, search_from, encode)
        if cut >= 0:
            return window_start + cut
        keep = _context_start(window, encode)
        window_start += keep
        window = window[keep:]
        search_from = len(window)


_HIGH_BYTES = bytes(range(0x80, 0x100))


def _context_start(window, encode):
    """Where the bytes start that a line feed after the window may look back at."""
    if encode == 1:
        return max(0, len(window) - 8)
    return max(0, len(window.rstrip(_HIGH_BYTES)) - 1)


class _Range(io.RawIOBase):
    """The next size bytes of a file, as a binary file of their own."""

    def __init__(self, f, size):
        super().__init__()
        self._f = f
        self._left = size

    def readable(self):
        return True

    def read(self, size=-1):
        if size < 0 or size > self._left:
            size = self._left
        data = self._f.read(size) if size else b""
        self._left -= len(data)
        return data
