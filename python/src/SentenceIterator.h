// iter_split's iterator: the sentences of one text, found at once and handed
// out one object at a time.
#ifndef VARNEL_PYTHON_SENTENCEITERATOR_H
#define VARNEL_PYTHON_SENTENCEITERATOR_H

#include "Text.h"

namespace varnel_python {

// Creates the iterator type; null with an error set.
PyObject* CreateSentenceIteratorType();

// An iterator of the type over the sentences of pText; null with an error set.
PyObject* NewSentenceIterator(PyObject* pType, PyObject* pText, const Request& request);

}  // namespace varnel_python

#endif
