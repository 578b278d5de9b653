// The arguments that the splitting functions share, parsed once for all.
#ifndef VARNEL_PYTHON_ARGUMENTS_H
#define VARNEL_PYTHON_ARGUMENTS_H

#include "Text.h"

namespace varnel_python {

// The encode switch for an encoding name; false with ValueError set for a
// name that is neither UTF-8 nor GBK (or no str at all).
bool ParseEncoding(PyObject* pName, int& nEncode);

// (text, encoding="utf-8", *, attach_closers=False, reader=False) of the
// function sFunction ("data" in place of "text" for spans). False with an
// error set.
bool ParseSplitArguments(PyObject* pArgs, PyObject* pKeywords, const char* sFunction,
                         PyObject*& pText, Request& request);

}  // namespace varnel_python

#endif
