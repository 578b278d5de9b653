"""split_file(): the sentences of a file of any size, a block at a time."""

import os
from typing import BinaryIO, Iterator, Union

from . import _varnel

PathOrFile = Union[str, bytes, "os.PathLike[str]", "os.PathLike[bytes]", BinaryIO]

_DEFAULT_BLOCK = 1 << 20


def split_file(file: PathOrFile, encoding: str = "utf-8", block_size: int = _DEFAULT_BLOCK, *,
               errors: str = "strict", binary: bool = False, attach_closers: bool = False,
               reader: bool = False) -> "_SentenceFile":
    """An iterator over the sentences of a file, in order.

    file is a path (str, bytes or os.PathLike), opened and closed here, or a
    file object open for reading bytes, read from where it stands and left
    open. The sentences are exactly those of split() on the whole content as
    bytes, line breaks kept, each decoded with encoding and errors as
    bytes.decode() does (a UnicodeDecodeError comes after the sentences before
    it); with binary=True, the bytes themselves.

    The file is read block_size bytes at a time and split in parts that end
    at a NUL, at a line feed that is certainly a character boundary, or in a
    long line between two sentences that nothing that follows can change, so
    memory stays within a few blocks and about twice the longest sentence.
    The iterator is also a context manager that closes the file it opened.

    Raises ValueError for another encoding or a block_size below 1, OSError
    naming the file when it cannot be opened or read, TypeError when file is
    neither a path nor a binary file.
    """
    return _SentenceFile(file, encoding, block_size, errors, binary,
                         {"attach_closers": attach_closers, "reader": reader})


class _SentenceFile:
    """split_file's iterator; iteration itself runs in a generator."""

    def __init__(self, file, encoding, block_size, errors, binary, options):
        encode = _varnel.encoding_switch(encoding)
        if not isinstance(block_size, int) or block_size < 1:
            raise ValueError("varnel: block_size must be a positive int, not %r" % (block_size,))
        if isinstance(file, (str, bytes, os.PathLike)):
            self._file = open(file, "rb", buffering=0)
            self._owned = True
        elif hasattr(file, "read"):
            self._file = file
            self._owned = False
        else:
            raise TypeError("varnel.split_file() takes a path or a binary file, not %s"
                            % type(file).__name__)
        name = getattr(self._file, "name", repr(file))
        splitter = _varnel.BlockSplitter(encode, block_size, **options)
        # The generator closes a file opened here once it is done, closed or
        # collected; a `for` loop keeps only the generator.
        self._sentences = _sentences(self._file, self._owned, name, splitter, block_size, errors,
                                     binary)

    def __iter__(self) -> Iterator[Union[str, bytes]]:
        return self._sentences

    def __next__(self) -> Union[str, bytes]:
        return next(self._sentences)

    def close(self) -> None:
        """Stops the iteration; closes the file if split_file opened it."""
        self._sentences.close()
        if self._owned:
            self._file.close()  # also when the iteration never started

    def __enter__(self) -> "_SentenceFile":
        return self

    def __exit__(self, *exc_info):
        self.close()


def _read(file, name, size):
    try:
        data = file.read(size)
    except OSError as error:
        if error.filename is None and error.errno is not None:
            raise OSError(error.errno, error.strerror, name) from error
        raise
    if not isinstance(data, bytes):
        raise TypeError("varnel.split_file() needs a file open for reading bytes, not text")
    return data


def _sentences(file, owned, name, splitter, block_size, errors, binary):
    try:
        carry = b""
        while True:
            # Where the carry holds no cut yet, the splitter says how much it wants.
            data = _read(file, name, max(block_size, splitter.wanted() - len(carry)))
            final = not data
            block = carry + data if carry else data
            sentences, used, error = splitter.split(block, final, binary=binary, errors=errors)
            carry = block[used:]
            yield from sentences
            if error is not None:
                raise error
            if final:
                return
    finally:
        if owned:
            file.close()
