#include "Text.h"

#include <new>

#include "Varnel.h"

namespace varnel_python {

namespace {

// Below this size a text is split with the GIL held: giving it up and taking
// it back costs more than scanning a few kilobytes.
constexpr size_t kReleaseGilBytes = 16 * 1024;

bool FindWithGil(const Text& text, const Request& request, bool bCharSpans,
                 std::vector<Span>& vSpans) {
    try {
        CSentences splitter;
        if (!CollectSentenceSpans(splitter, text.Data(), text.Size(), request.nEncode,
                                  request.options, vSpans))
            return false;
        if (bCharSpans) ToCharacterSpans(text.Data(), request.nEncode, vSpans);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace

Text::~Text() {
    Py_XDECREF(m_pOwner);
    Py_XDECREF(m_pStr);
}

void Text::Keep(PyObject* pOwner, const char* p, size_t n) {
    m_pOwner = pOwner;
    m_p = p;
    m_n = n;
}

bool Text::Take(PyObject* pObject, int nEncode, const char* sFunction, bool bAllowStr) {
    if (PyUnicode_Check(pObject) && bAllowStr) return TakeStr(pObject, nEncode);
    if (PyBytes_Check(pObject)) {
        Py_INCREF(pObject);
        Keep(pObject, PyBytes_AS_STRING(pObject), static_cast<size_t>(PyBytes_GET_SIZE(pObject)));
        return true;
    }
    if (!PyUnicode_Check(pObject) && PyObject_CheckBuffer(pObject)) {
        PyObject* pSnapshot = PyBytes_FromObject(pObject);
        if (!pSnapshot) return false;
        Keep(pSnapshot, PyBytes_AS_STRING(pSnapshot),
             static_cast<size_t>(PyBytes_GET_SIZE(pSnapshot)));
        return true;
    }
    PyErr_Format(PyExc_TypeError, "varnel.%s() takes %s, not %.100s", sFunction,
                 bAllowStr ? "str or a bytes-like object" : "a bytes-like object",
                 Py_TYPE(pObject)->tp_name);
    return false;
}

bool Text::TakeStr(PyObject* pStr, int nEncode) {
    Py_INCREF(pStr);
    m_pStr = pStr;
    if (PyUnicode_IS_ASCII(pStr)) {
        // The str's own bytes, NUL-terminated; the same in both encodings.
        Py_INCREF(pStr);
        Keep(pStr, static_cast<const char*>(PyUnicode_DATA(pStr)),
             static_cast<size_t>(PyUnicode_GET_LENGTH(pStr)));
        return true;
    }
    PyObject* pBytes = nEncode == VN_ENCODE_UTF8 ? PyUnicode_AsUTF8String(pStr)
                                    : PyUnicode_AsEncodedString(pStr, "gbk", "strict");
    if (!pBytes) return false;
    Keep(pBytes, PyBytes_AS_STRING(pBytes), static_cast<size_t>(PyBytes_GET_SIZE(pBytes)));
    m_bCharSpans = true;
    return true;
}

void Text::TakeDecoded(PyObject* pBytes, PyObject* pStr) {
    Py_INCREF(pBytes);
    Keep(pBytes, PyBytes_AS_STRING(pBytes), static_cast<size_t>(PyBytes_GET_SIZE(pBytes)));
    m_pStr = pStr;
    m_bCharSpans = pStr && !PyUnicode_IS_ASCII(pStr);
}

bool Text::FindSentences(const Request& request, std::vector<Span>& vSpans) const {
    bool bFound;
    if (m_n < kReleaseGilBytes) {
        bFound = FindWithGil(*this, request, m_bCharSpans, vSpans);
    } else {
        Py_BEGIN_ALLOW_THREADS bFound = FindWithGil(*this, request, m_bCharSpans, vSpans);
        Py_END_ALLOW_THREADS
    }
    if (!bFound) PyErr_NoMemory();
    return bFound;
}

PyObject* Text::Sentence(const Span& span) const {
    if (m_pStr)
        return PyUnicode_Substring(m_pStr, static_cast<Py_ssize_t>(span.nStart),
                                   static_cast<Py_ssize_t>(span.nEnd));
    return PyBytes_FromStringAndSize(m_p + span.nStart,
                                     static_cast<Py_ssize_t>(span.nEnd - span.nStart));
}

PyObject* SentenceList(const Text& text, const std::vector<Span>& vSpans) {
    PyObject* pList = PyList_New(static_cast<Py_ssize_t>(vSpans.size()));
    if (!pList) return nullptr;
    for (size_t i = 0; i < vSpans.size(); ++i) {
        PyObject* pSentence = text.Sentence(vSpans[i]);
        if (!pSentence) {
            Py_DECREF(pList);
            return nullptr;
        }
        PyList_SET_ITEM(pList, static_cast<Py_ssize_t>(i), pSentence);
    }
    return pList;
}

}  // namespace varnel_python
