#include "FileBlocks.h"

#include "Chunks.h"
#include "Encoding.h"

namespace varnel_python {

namespace {

// The length of the longest prefix of p[0..n) that each option leaves alone
// whatever follows it; 0 when there is none.
size_t BlockCut(const char* p, size_t n, const Request& request) {
    size_t nLookAhead = varnel_host::SentenceOptionsLookAhead(request.options);
    if (n <= nLookAhead) return 0;
    return SafeCutLength(p, n - nLookAhead, request.nEncode);
}

// The exception being raised, normalized, as a new reference; it is cleared.
PyObject* TakeException() {
    PyObject *pType, *pValue, *pTraceback;
    PyErr_Fetch(&pType, &pValue, &pTraceback);
    PyErr_NormalizeException(&pType, &pValue, &pTraceback);
    if (pTraceback) PyException_SetTraceback(pValue, pTraceback);
    Py_XDECREF(pType);
    Py_XDECREF(pTraceback);
    return pValue;
}

// The sentences decoded one by one; on a decoding error, those before it,
// with the error in pError.
PyObject* DecodeEach(const Text& text, const std::vector<Span>& vSpans, int nEncode,
                     const char* sErrors, PyObject*& pError) {
    PyObject* pList = PyList_New(0);
    const char* sEncoding = varnel_host::EncodingName(nEncode);
    for (size_t i = 0; pList && i < vSpans.size(); ++i) {
        const Span& span = vSpans[i];
        PyObject* pSentence =
            PyUnicode_Decode(text.Data() + span.nStart,
                             static_cast<Py_ssize_t>(span.nEnd - span.nStart), sEncoding, sErrors);
        if (!pSentence && PyErr_ExceptionMatches(PyExc_UnicodeDecodeError)) {
            pError = TakeException();
            return pList;
        }
        if (!pSentence || PyList_Append(pList, pSentence) < 0) Py_CLEAR(pList);
        Py_XDECREF(pSentence);
    }
    return pList;
}

// The sentences of the NUL-terminated bytes pPart: slices of the part decoded
// at once when it is well formed, else decoded one by one.
PyObject* PartSentences(PyObject* pPart, const Request& request, bool bBinary, const char* sErrors,
                        PyObject*& pError) {
    Text text;
    PyObject* pDecoded = nullptr;
    if (!bBinary) {
        pDecoded = PyUnicode_Decode(PyBytes_AS_STRING(pPart), PyBytes_GET_SIZE(pPart),
                                    varnel_host::EncodingName(request.nEncode), "strict");
        if (!pDecoded) {
            if (!PyErr_ExceptionMatches(PyExc_UnicodeDecodeError)) return nullptr;
            PyErr_Clear();
        }
    }
    text.TakeDecoded(pPart, pDecoded);
    std::vector<Span> vSpans;
    if (!text.FindSentences(request, vSpans)) return nullptr;
    if (bBinary || pDecoded) return SentenceList(text, vSpans);
    return DecodeEach(text, vSpans, request.nEncode, sErrors, pError);
}

}  // namespace

PyObject* SplitBlock(PyObject*, PyObject* pArgs, PyObject* pKeywords) {
    static const char* const kNames[] = {"",       "",     "", "binary", "errors", "attach_closers",
                                         "reader", nullptr};
    PyObject* pBlock;
    Request request;
    int bFinal, bBinary = 0, bAttachClosers = 0, bReader = 0;
    const char* sErrors = "strict";
    if (!PyArg_ParseTupleAndKeywords(
            pArgs, pKeywords, "O!ip|$pspp:split_block", const_cast<char**>(kNames), &PyBytes_Type,
            &pBlock, &request.nEncode, &bFinal, &bBinary, &sErrors, &bAttachClosers, &bReader))
        return nullptr;
    request.options.bAttachClosers = bAttachClosers != 0;
    request.options.bReader = bReader != 0;

    const char* p = PyBytes_AS_STRING(pBlock);
    size_t n = static_cast<size_t>(PyBytes_GET_SIZE(pBlock));
    size_t nUsed = bFinal ? n : BlockCut(p, n, request);
    // The part must end in a NUL, as every bytes object does.
    PyObject* pPart = pBlock;
    if (nUsed < n)
        pPart = PyBytes_FromStringAndSize(p, static_cast<Py_ssize_t>(nUsed));
    else
        Py_INCREF(pPart);
    if (!pPart) return nullptr;
    PyObject* pError = nullptr;
    PyObject* pSentences = PartSentences(pPart, request, bBinary != 0, sErrors, pError);
    Py_DECREF(pPart);
    if (!pSentences) {
        Py_XDECREF(pError);
        return nullptr;
    }
    if (!pError) {
        pError = Py_None;
        Py_INCREF(pError);
    }
    return Py_BuildValue("(NnN)", pSentences, static_cast<Py_ssize_t>(nUsed), pError);
}

}  // namespace varnel_python
