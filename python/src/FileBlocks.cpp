#include "FileBlocks.h"

#include <new>

#include "BlockCuts.h"
#include "Encoding.h"

namespace varnel_python {

namespace {

// The cut finder, with a splitter of its own as its source of sentences.
struct CutterState {
    CutterState(const Request& request, size_t nBlock)
        : request(request),
          cutter(request.nEncode, request.options, nBlock,
                 [this](const char* p, size_t, int nEncode,
                        const varnel_host::SentenceVisitor& visit) {
                     return ForEachLibrarySentence(splitter, p, nEncode, visit);
                 }) {}

    Request request;
    CSentences splitter;
    varnel_host::BlockCutter cutter;
};

struct BlockSplitter {
    PyObject_HEAD CutterState* pState;
};

// Null, with an error set, when __init__ has not run.
CutterState* StateOf(PyObject* pSelf) {
    CutterState* pState = reinterpret_cast<BlockSplitter*>(pSelf)->pState;
    if (!pState) PyErr_SetString(PyExc_ValueError, "BlockSplitter.__init__ has not been called");
    return pState;
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

// The sentences of the bytes pPart: slices of the part decoded at once when
// it is well formed, else decoded one by one.
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

// The cut in the bytes pBlock (which end in a NUL, as all bytes do); the GIL
// is released, since the finder may split a long stretch.
size_t FindCut(CutterState& state, PyObject* pBlock, bool bFinal) {
    const char* p = PyBytes_AS_STRING(pBlock);
    size_t n = static_cast<size_t>(PyBytes_GET_SIZE(pBlock));
    size_t nCut;
    Py_BEGIN_ALLOW_THREADS try {
        nCut = state.cutter.Cut(p, n, bFinal);
    } catch (const std::bad_alloc&) {
        state.cutter.Reset();
        nCut = varnel_host::BlockCutter::kFailed;
    }
    Py_END_ALLOW_THREADS return nCut;
}

PyObject* Split(PyObject* pSelf, PyObject* pArgs, PyObject* pKeywords) {
    static const char* const kNames[] = {"", "", "binary", "errors", nullptr};
    PyObject* pBlock;
    int bFinal, bBinary = 0;
    const char* sErrors = "strict";
    if (!PyArg_ParseTupleAndKeywords(pArgs, pKeywords, "O!p|$ps:split", const_cast<char**>(kNames),
                                     &PyBytes_Type, &pBlock, &bFinal, &bBinary, &sErrors))
        return nullptr;
    CutterState* pState = StateOf(pSelf);
    if (!pState) return nullptr;
    size_t nUsed = FindCut(*pState, pBlock, bFinal != 0);
    if (nUsed == varnel_host::BlockCutter::kFailed) return PyErr_NoMemory();

    // The part must end in a NUL, as every bytes object does.
    PyObject* pPart = pBlock;
    if (nUsed < static_cast<size_t>(PyBytes_GET_SIZE(pBlock)))
        pPart =
            PyBytes_FromStringAndSize(PyBytes_AS_STRING(pBlock), static_cast<Py_ssize_t>(nUsed));
    else
        Py_INCREF(pPart);
    if (!pPart) return nullptr;
    PyObject* pError = nullptr;
    PyObject* pSentences = PartSentences(pPart, pState->request, bBinary != 0, sErrors, pError);
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

PyObject* Wanted(PyObject* pSelf, PyObject*) {
    CutterState* pState = StateOf(pSelf);
    return pState ? PyLong_FromSize_t(pState->cutter.Wanted()) : nullptr;
}

int Init(PyObject* pSelf, PyObject* pArgs, PyObject* pKeywords) {
    static const char* const kNames[] = {"", "", "attach_closers", "reader", nullptr};
    Request request;
    Py_ssize_t nBlock;
    int bAttachClosers = 0, bReader = 0;
    if (!PyArg_ParseTupleAndKeywords(pArgs, pKeywords, "in|$pp:BlockSplitter",
                                     const_cast<char**>(kNames), &request.nEncode, &nBlock,
                                     &bAttachClosers, &bReader))
        return -1;
    if (nBlock < 1) {
        PyErr_SetString(PyExc_ValueError, "block_size must be at least 1");
        return -1;
    }
    request.options.bAttachClosers = bAttachClosers != 0;
    request.options.bReader = bReader != 0;
    BlockSplitter* pSplitter = reinterpret_cast<BlockSplitter*>(pSelf);
    delete pSplitter->pState;
    pSplitter->pState = new (std::nothrow) CutterState(request, static_cast<size_t>(nBlock));
    if (!pSplitter->pState) PyErr_NoMemory();
    return pSplitter->pState ? 0 : -1;
}

void Dealloc(PyObject* pSelf) {
    PyTypeObject* pType = Py_TYPE(pSelf);
    delete reinterpret_cast<BlockSplitter*>(pSelf)->pState;
    pType->tp_free(pSelf);
    Py_DECREF(pType);
}

PyMethodDef kMethods[] = {
    {"split", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)(void)>(Split)),
     METH_VARARGS | METH_KEYWORDS,
     "split(block, final, *, binary=False, errors='strict') -> (sentences, used, error)"},
    {"wanted", Wanted, METH_NOARGS, "wanted() -> the size the next block should reach"},
    {nullptr, nullptr, 0, nullptr},
};

PyType_Slot kSlots[] = {
    {Py_tp_init, reinterpret_cast<void*>(Init)},
    {Py_tp_new, reinterpret_cast<void*>(PyType_GenericNew)},
    {Py_tp_dealloc, reinterpret_cast<void*>(Dealloc)},
    {Py_tp_methods, kMethods},
    {Py_tp_doc, const_cast<char*>("split_file's cut finder and splitter for one input.")},
    {0, nullptr},
};

PyType_Spec kSpec = {"varnel._varnel.BlockSplitter", sizeof(BlockSplitter), 0, Py_TPFLAGS_DEFAULT,
                     kSlots};

}  // namespace

PyObject* CreateBlockSplitterType() { return PyType_FromSpec(&kSpec); }

PyObject* FirstLineCut(PyObject*, PyObject* pArgs) {
    const char* p;
    Py_ssize_t n, nStart;
    int nEncode;
    if (!PyArg_ParseTuple(pArgs, "y#ni:first_line_cut", &p, &n, &nStart, &nEncode)) return nullptr;
    for (Py_ssize_t i = nStart < 0 ? 0 : nStart; i < n; ++i) {
        if (p[i] != '\n' && p[i] != '\0') continue;
        size_t nCut = static_cast<size_t>(i) + 1;
        if (varnel_host::LastLineCut(p, nCut - 1, nCut, nEncode) == nCut)
            return PyLong_FromSize_t(nCut);
    }
    return PyLong_FromLong(-1);
}

}  // namespace varnel_python
