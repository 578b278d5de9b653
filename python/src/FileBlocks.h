// split_file's work on a file read block by block: a BlockSplitter finds
// where the input may be cut (the hosts' cut finder) and gives the sentences
// before the cut, as bytes or decoded.
#ifndef VARNEL_PYTHON_FILEBLOCKS_H
#define VARNEL_PYTHON_FILEBLOCKS_H

#include "Text.h"

namespace varnel_python {

// Creates the type varnel._varnel.BlockSplitter; null with an error set.
//
// BlockSplitter(encoding, block_size, *, attach_closers=False, reader=False),
// encoding an encode switch, serves one input, one call at a time:
// split(block, final, *, binary=False, errors="strict") -> (sentences, used,
// error) takes what the last call left (block[used:]) followed by what has
// been read since, and returns the sentences of block[:used], a prefix that
// splits on its own as it does inside the whole input: all of it when final,
// 0 bytes when no cut is known yet (read on, to wanted() bytes at least).
// Sentences are bytes with binary, otherwise str decoded one by one with
// errors as bytes.decode does; error is the UnicodeDecodeError that stopped
// the decoding, after the sentences before it, or None.
PyObject* CreateBlockSplitterType();

// first_line_cut(window, start, encoding) -> int: the position in the bytes
// window right after the first NUL or line feed at or after start that is a
// safe cut by the hosts' rule (a line feed that is certainly a character
// boundary), or -1. The window must hold the bytes before start that decide:
// five in UTF-8; in GBK back to the file's start or to a byte below 0x80.
// For readers that start anywhere in a file, such as Dask's partitions.
PyObject* FirstLineCut(PyObject* pModule, PyObject* pArgs);

}  // namespace varnel_python

#endif
