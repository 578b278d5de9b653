#include "SentenceIterator.h"

#include <new>

namespace varnel_python {

namespace {

struct IteratorState {
    Text text;
    std::vector<Span> vSpans;
    size_t nNext = 0;
};

struct SentenceIterator {
    PyObject_HEAD IteratorState* pState;  // null once every sentence is out
};

void FreeState(SentenceIterator* pIterator) {
    delete pIterator->pState;
    pIterator->pState = nullptr;
}

void Dealloc(PyObject* pSelf) {
    PyTypeObject* pType = Py_TYPE(pSelf);
    FreeState(reinterpret_cast<SentenceIterator*>(pSelf));
    pType->tp_free(pSelf);
    Py_DECREF(pType);
}

PyObject* Next(PyObject* pSelf) {
    SentenceIterator* pIterator = reinterpret_cast<SentenceIterator*>(pSelf);
    IteratorState* pState = pIterator->pState;
    if (!pState) return nullptr;
    if (pState->nNext == pState->vSpans.size()) {
        FreeState(pIterator);  // the text and its spans are let go as soon as they are used up
        return nullptr;
    }
    return pState->text.Sentence(pState->vSpans[pState->nNext++]);
}

PyType_Slot kSlots[] = {
    {Py_tp_dealloc, reinterpret_cast<void*>(Dealloc)},
    {Py_tp_iter, reinterpret_cast<void*>(PyObject_SelfIter)},
    {Py_tp_iternext, reinterpret_cast<void*>(Next)},
    {Py_tp_doc, const_cast<char*>("The sentences of one text, in order.")},
    {0, nullptr},
};

// Made only by iter_split: an instance without its state must not exist.
PyType_Spec kSpec = {"varnel._varnel.SentenceIterator", sizeof(SentenceIterator), 0,
                     Py_TPFLAGS_DEFAULT | Py_TPFLAGS_DISALLOW_INSTANTIATION, kSlots};

}  // namespace

PyObject* CreateSentenceIteratorType() { return PyType_FromSpec(&kSpec); }

PyObject* NewSentenceIterator(PyObject* pType, PyObject* pText, const Request& request) {
    IteratorState* pState = new (std::nothrow) IteratorState;
    if (!pState) return PyErr_NoMemory();
    if (!pState->text.Take(pText, request.nEncode, "iter_split", true) ||
        !pState->text.FindSentences(request, pState->vSpans)) {
        delete pState;
        return nullptr;
    }
    PyTypeObject* pIteratorType = reinterpret_cast<PyTypeObject*>(pType);
    SentenceIterator* pIterator = PyObject_New(SentenceIterator, pIteratorType);
    if (!pIterator) {
        delete pState;
        return nullptr;
    }
    pIterator->pState = pState;
    return reinterpret_cast<PyObject*>(pIterator);
}

}  // namespace varnel_python
