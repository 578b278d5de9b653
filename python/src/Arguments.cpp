#include "Arguments.h"

#include <cstring>
#include <string>

#include "Encoding.h"

namespace varnel_python {

bool ParseEncoding(PyObject* pName, int& nEncode) {
    nEncode = -1;
    if (PyUnicode_Check(pName)) {
        Py_ssize_t nSize;
        const char* sName = PyUnicode_AsUTF8AndSize(pName, &nSize);
        if (!sName) PyErr_Clear();  // a lone surrogate: no encoding's name
        if (sName && strlen(sName) == static_cast<size_t>(nSize))
            nEncode = varnel_host::EncodeFromName(sName);
    }
    if (nEncode >= 0) return true;
    PyErr_Format(PyExc_ValueError, "varnel: unsupported encoding %R: use %s", pName,
                 varnel_host::EncodingNamesHelp());
    return false;
}

bool ParseSplitArguments(PyObject* pArgs, PyObject* pKeywords, const char* sFunction,
                         PyObject*& pText, Request& request) {
    // spans() calls its text data, as the bytes it gives offsets into.
    const char* const kNames[] = {strcmp(sFunction, "spans") == 0 ? "data" : "text", "encoding",
                                  "attach_closers", "reader", nullptr};
    std::string sFormat = std::string("O|O$pp:") + sFunction;
    PyObject* pEncoding = nullptr;
    int bAttachClosers = 0, bReader = 0;
    if (!PyArg_ParseTupleAndKeywords(pArgs, pKeywords, sFormat.c_str(), const_cast<char**>(kNames),
                                     &pText, &pEncoding, &bAttachClosers, &bReader))
        return false;
    request.options.bAttachClosers = bAttachClosers != 0;
    request.options.bReader = bReader != 0;
    if (!pEncoding) {
        request.nEncode = 1;
        return true;
    }
    return ParseEncoding(pEncoding, request.nEncode);
}

}  // namespace varnel_python
