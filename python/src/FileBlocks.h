// split_file's work on one block of a file: where the block may be cut, and
// the sentences before the cut, as bytes or decoded.
#ifndef VARNEL_PYTHON_FILEBLOCKS_H
#define VARNEL_PYTHON_FILEBLOCKS_H

#include "Text.h"

namespace varnel_python {

// split_block(block, encoding, final, *, binary, errors, attach_closers,
// reader) -> (sentences, used, error): the sentences of the first `used`
// bytes of block, a prefix that splits on its own as it does inside the whole
// file (all of it when final). used is 0 when the block holds no such cut:
// the caller reads on. encoding is an encode switch. Sentences are bytes with
// binary, otherwise str decoded one by one with errors as bytes.decode does;
// error is the UnicodeDecodeError that stopped the decoding, after the
// sentences before it, or None.
PyObject* SplitBlock(PyObject* pModule, PyObject* pArgs, PyObject* pKeywords);

}  // namespace varnel_python

#endif
