// The text that a call splits, taken from what Python passed: bytes as they
// are, a snapshot of any other buffer, a str in its encoding.
#ifndef VARNEL_PYTHON_TEXT_H
#define VARNEL_PYTHON_TEXT_H

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <cstddef>
#include <vector>

#include "SentenceSpans.h"

namespace varnel_python {

// What a call asks for: the encoding and the sentence options.
struct Request {
    int nEncode = 1;
    SentenceOptions options;
};

// The bytes of one text, NUL-terminated, kept alive by an object of its own:
// the bytes given; a bytes snapshot of another buffer, so that no other thread
// can change or free what is read with the GIL released; for a str, its
// encoding, or the str itself when it is ASCII (one byte a character in both
// encodings). Create, use and destroy with the GIL held.
class Text {
  public:
    Text() = default;
    ~Text();
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;

    // Takes pObject (str, bytes or another buffer) in the encoding. False with
    // TypeError or UnicodeEncodeError set; sFunction names the caller in the
    // message. bAllowStr false refuses a str.
    bool Take(PyObject* pObject, int nEncode, const char* sFunction, bool bAllowStr);

    // Takes bytes already decoded into pStr (a new reference, or null when
    // the bytes are not well formed): sentences come back as slices of pStr.
    void TakeDecoded(PyObject* pBytes, PyObject* pStr);

    const char* Data() const { return m_p; }
    size_t Size() const { return m_n; }

    // The sentences of the text, as byte spans or, when sentences come back
    // as str, as character spans of that str. The GIL is released while a long
    // text is copied and scanned. False with MemoryError set.
    bool FindSentences(const Request& request, std::vector<Span>& vSpans) const;

    // One sentence as the caller gets it: a slice of the str, or bytes.
    PyObject* Sentence(const Span& span) const;

  private:
    bool TakeStr(PyObject* pStr, int nEncode);
    void Keep(PyObject* pOwner, const char* p, size_t n);

    PyObject* m_pOwner = nullptr;  // owns m_p
    const char* m_p = nullptr;
    size_t m_n = 0;
    PyObject* m_pStr = nullptr;  // sentences come back as slices of this str
    bool m_bCharSpans = false;   // spans of m_pStr differ from byte spans (not ASCII)
};

// The list of the sentences at vSpans; null with an error set.
PyObject* SentenceList(const Text& text, const std::vector<Span>& vSpans);

}  // namespace varnel_python

#endif
