// varnel._varnel: the splitter compiled into Python. Each call splits with a
// splitter of its own, so calls from many threads need no lock.
#include "Arguments.h"
#include "Encoding.h"
#include "FileBlocks.h"
#include "SentenceIterator.h"
#include "Text.h"
#include "VarnelVersion.h"

namespace varnel_python {

namespace {

static_assert(sizeof(Span) == 2 * sizeof(unsigned long long), "spans go out as pairs of 'Q'");

PyObject* g_pArrayType = nullptr;     // array.array, for spans()
PyObject* g_pIteratorType = nullptr;  // iter_split's iterator

// The sentences of the text that the arguments of sFunction give; false with
// an error set.
bool SentencesOfArgument(PyObject* pArgs, PyObject* pKeywords, const char* sFunction,
                         bool bAllowStr, Text& text, std::vector<Span>& vSpans) {
    PyObject* pObject;
    Request request;
    return ParseSplitArguments(pArgs, pKeywords, sFunction, pObject, request) &&
           text.Take(pObject, request.nEncode, sFunction, bAllowStr) &&
           text.FindSentences(request, vSpans);
}

PyObject* Split(PyObject*, PyObject* pArgs, PyObject* pKeywords) {
    Text text;
    std::vector<Span> vSpans;
    if (!SentencesOfArgument(pArgs, pKeywords, "split", true, text, vSpans)) return nullptr;
    return SentenceList(text, vSpans);
}

PyObject* IterSplit(PyObject*, PyObject* pArgs, PyObject* pKeywords) {
    PyObject* pObject;
    Request request;
    if (!ParseSplitArguments(pArgs, pKeywords, "iter_split", pObject, request)) return nullptr;
    return NewSentenceIterator(g_pIteratorType, pObject, request);
}

// The spans as array('Q', [start, end, start, end, ...]).
PyObject* SpanArray(const std::vector<Span>& vSpans) {
    PyObject* pArray = PyObject_CallFunction(g_pArrayType, "s", "Q");
    if (!pArray || vSpans.empty()) return pArray;
    PyObject* pView =
        PyMemoryView_FromMemory(reinterpret_cast<char*>(const_cast<Span*>(vSpans.data())),
                                static_cast<Py_ssize_t>(vSpans.size() * sizeof(Span)), PyBUF_READ);
    PyObject* pDone = pView ? PyObject_CallMethod(pArray, "frombytes", "O", pView) : nullptr;
    Py_XDECREF(pView);
    if (!pDone) Py_CLEAR(pArray);
    Py_XDECREF(pDone);
    return pArray;
}

PyObject* Spans(PyObject*, PyObject* pArgs, PyObject* pKeywords) {
    Text text;
    std::vector<Span> vSpans;
    if (!SentencesOfArgument(pArgs, pKeywords, "spans", false, text, vSpans)) return nullptr;
    return SpanArray(vSpans);
}

PyObject* EncodingSwitch(PyObject*, PyObject* pName) {
    int nEncode;
    if (!ParseEncoding(pName, nEncode)) return nullptr;
    return PyLong_FromLong(nEncode);
}

PyMethodDef kMethods[] = {
    {"split", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)(void)>(Split)),
     METH_VARARGS | METH_KEYWORDS,
     "split(text, encoding='utf-8', *, attach_closers=False, reader=False)\n--\n\n"
     "The sentences of text, in order, as a list.\n\n"
     "A str is encoded with encoding ('utf-8' or 'gbk', and their aliases) and its\n"
     "sentences come back as str; bytes, bytearray, memoryview or any other buffer\n"
     "already in that encoding give bytes. Each sentence keeps its end mark and\n"
     "loses the whitespace in front of it. A NUL ends a text: what follows it is\n"
     "split as a text of its own. attach_closers keeps closing quotes and brackets\n"
     "with the sentence they close; reader cuts where a reader would.\n\n"
     "Raises TypeError for other types, ValueError for another encoding and\n"
     "UnicodeEncodeError for a str that the encoding cannot hold."},
    {"iter_split", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)(void)>(IterSplit)),
     METH_VARARGS | METH_KEYWORDS,
     "iter_split(text, encoding='utf-8', *, attach_closers=False, reader=False)\n--\n\n"
     "An iterator over the sentences that split() gives, made one at a time.\n\n"
     "The text is split when the iterator is made, so errors are raised then; a\n"
     "sentence object is made only when the iterator is asked for it."},
    {"spans", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)(void)>(Spans)),
     METH_VARARGS | METH_KEYWORDS,
     "spans(data, encoding='utf-8', *, attach_closers=False, reader=False)\n--\n\n"
     "The sentences of bytes-like data as byte offsets into it.\n\n"
     "Returns array('Q') holding start and end of each sentence in turn, the\n"
     "sentences of split(data): data[a[2*i]:a[2*i+1]] is sentence i. A str raises\n"
     "TypeError: encode it first."},
    {"first_line_cut", FirstLineCut, METH_VARARGS,
     "first_line_cut(window, start, encoding)\n--\n\n"
     "The position right after the first safe line cut (a NUL, or a line feed that\n"
     "is certainly a character boundary) at or after start in window, or -1."},
    {"encoding_switch", EncodingSwitch, METH_O,
     "encoding_switch(name)\n--\n\n"
     "The library's encode switch for an encoding name: 1 for UTF-8, 0 for GBK.\n"
     "Raises ValueError for any other name."},
    {nullptr, nullptr, 0, nullptr},
};

PyModuleDef kModule = {
    PyModuleDef_HEAD_INIT,
    "varnel._varnel",
    "The compiled splitter of the varnel package; use the functions of varnel.",
    -1,
    kMethods,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

PyObject* InitModule() {
    PyObject* pArrayModule = PyImport_ImportModule("array");
    if (!pArrayModule) return nullptr;
    g_pArrayType = PyObject_GetAttrString(pArrayModule, "array");
    Py_DECREF(pArrayModule);
    if (!g_pArrayType) return nullptr;
    g_pIteratorType = CreateSentenceIteratorType();
    if (!g_pIteratorType) return nullptr;
    PyObject* pBlockSplitterType = CreateBlockSplitterType();
    if (!pBlockSplitterType) return nullptr;

    PyObject* pModule = PyModule_Create(&kModule);
    if (!pModule) return nullptr;
    if (PyModule_AddStringConstant(pModule, "__version__", VARNEL_VERSION) < 0 ||
        PyModule_AddObjectRef(pModule, "SentenceIterator", g_pIteratorType) < 0 ||
        PyModule_AddObject(pModule, "BlockSplitter", pBlockSplitterType) < 0) {
        Py_DECREF(pBlockSplitterType);
        Py_DECREF(pModule);
        return nullptr;
    }
    return pModule;
}

}  // namespace

}  // namespace varnel_python

PyMODINIT_FUNC PyInit__varnel() { return varnel_python::InitModule(); }
