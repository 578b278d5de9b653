// What the fuzz programs share: a failed invariant aborts, so that libFuzzer
// keeps the input, and texts live in heap buffers of exactly their size, so
// that AddressSanitizer sees a read one byte past the terminator.
#ifndef VARNEL_FUZZ_FUZZSUPPORT_H
#define VARNEL_FUZZ_FUZZSUPPORT_H

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

// Aborts, naming the invariant, when it does not hold; the stack that
// libFuzzer prints shows where.
inline void Check(bool bHolds, const char* sInvariant) {
    if (bHolds) return;
    fprintf(stderr, "invariant failed: %s\n", sInvariant);
    abort();
}

// A NUL-terminated copy of a byte string in a buffer of exactly its length
// plus the terminator. Bytes after an embedded NUL stay in the buffer but are
// not part of the string.
class ExactText {
  public:
    explicit ExactText(const std::string& s) : m_nSize(s.size()), m_p(new char[s.size() + 1]) {
        memcpy(m_p.get(), s.data(), s.size());
        m_p[s.size()] = 0;
    }
    char* get() { return m_p.get(); }
    unsigned char* bytes() { return reinterpret_cast<unsigned char*>(m_p.get()); }
    size_t size() const { return m_nSize; }  // the buffer less its terminator

  private:
    size_t m_nSize;
    std::unique_ptr<char[]> m_p;
};

// The fuzz input read from the front: a few control bytes, then the rest,
// so that a seed file shows its control bytes first. Missing bytes read as 0.
class InputReader {
  public:
    InputReader(const uint8_t* pData, size_t nSize) : m_p(pData), m_nLeft(nSize) {}
    uint8_t TakeByte() {
        if (m_nLeft == 0) return 0;
        --m_nLeft;
        return *m_p++;
    }
    uint16_t TakeUint16() {
        uint16_t nHigh = TakeByte();
        return static_cast<uint16_t>(nHigh << 8 | TakeByte());
    }
    uint32_t TakeUint32() {
        uint32_t nHigh = TakeUint16();
        return nHigh << 16 | TakeUint16();
    }
    size_t Left() const { return m_nLeft; }
    std::string TakeRest() {
        std::string s(reinterpret_cast<const char*>(m_p), m_nLeft);
        m_p += m_nLeft;
        m_nLeft = 0;
        return s;
    }

  private:
    const uint8_t* m_p;
    size_t m_nLeft;
};

// The input up to its first NUL, as the functions under test would read it.
inline std::string UpToNul(const std::string& s) { return s.substr(0, strlen(s.c_str())); }

#endif
