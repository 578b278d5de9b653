// The stream readers over arbitrary byte streams: tstring_load record after
// record, GetFileLinesCount and ReadNWord. The first byte is ReadNWord's word
// count, the rest is the stream. Checked against a plain reading of the
// bytes: each record gives its data up to the first NUL and leaves the stream
// after the record (memory follows what is read, so a huge length field in a
// short stream costs nothing); the line count is the number of 999-byte
// pieces; ReadNWord adds the words of the lines it reads and stops after the
// line that follows the last word it needed; tstring_save and tstring_load
// give the string back.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "ReadFile.h"
#include "Token.h"

namespace {

// A read-only stream over a copy of the bytes, closed at the end of its life.
class ByteStream {
  public:
    explicit ByteStream(const std::string& sBytes) : m_sBytes(sBytes) {
        m_fp = m_sBytes.empty() ? nullptr : fmemopen(&m_sBytes[0], m_sBytes.size(), "rb");
    }
    ~ByteStream() {
        if (m_fp) fclose(m_fp);
    }
    FILE* get() { return m_fp; }

  private:
    std::string m_sBytes;
    FILE* m_fp;
};

// The pieces that fgets with a buffer of nBuffer bytes reads: up to
// nBuffer - 1 bytes, or through a line feed.
std::vector<std::string> Pieces(const std::string& s, size_t nBuffer) {
    std::vector<std::string> vsPieces;
    for (size_t nPos = 0; nPos < s.size();) {
        size_t nLen = 0;
        while (nPos + nLen < s.size() && nLen < nBuffer - 1) {
            if (s[nPos + nLen++] == '\n') break;
        }
        vsPieces.push_back(s.substr(nPos, nLen));
        nPos += nLen;
    }
    return vsPieces;
}

void CheckRecords(const std::string& sBytes) {
    ByteStream stream(sBytes);
    if (!stream.get()) return;
    size_t nPos = 0;
    for (size_t nRecords = 0; nPos < sBytes.size(); ++nRecords) {
        Check(nRecords <= sBytes.size(), "records end");
        std::string sExpected;
        size_t nNext = sBytes.size();
        if (sBytes.size() - nPos >= 4) {
            uint32_t nLen;
            memcpy(&nLen, sBytes.data() + nPos, 4);
            size_t nData = std::min<size_t>(nLen, sBytes.size() - nPos - 4);
            sExpected = UpToNul(sBytes.substr(nPos + 4, nData));
            nNext = nPos + 4 + nData;
        }
        std::string sRecord = "stale";
        tstring_load(sRecord, stream.get());
        Check(sRecord == sExpected, "a record gives its data up to the first NUL");
        Check(static_cast<size_t>(ftell(stream.get())) == nNext, "the stream is after the record");
        nPos = nNext;
    }
    std::string sRecord = "stale";
    tstring_load(sRecord, stream.get());
    Check(sRecord.empty(), "the end of the stream gives the empty string");
}

void CheckLineCount(const std::string& sBytes) {
    ByteStream stream(sBytes);
    if (!stream.get()) return;
    Check(GetFileLinesCount(stream.get()) == Pieces(sBytes, 1000).size(), "GetFileLinesCount");
    Check(ftell(stream.get()) == 0, "GetFileLinesCount leaves the stream at its start");
}

void CheckWords(const std::string& sBytes, int nCount) {
    std::vector<std::string> vsExpected{"held before"};
    size_t nConsumed = 0;
    int nAdded = 0;
    for (const std::string& sPiece : Pieces(sBytes, 10240)) {
        nConsumed += sPiece.size();
        if (nAdded >= nCount) break;
        std::vector<tstring> vsWords;
        GetStrVector(UpToNul(sPiece).c_str(), "\t ", vsWords);
        for (size_t i = 0; i < vsWords.size() && nAdded < nCount; ++i, ++nAdded) {
            vsExpected.push_back(vsWords[i]);
        }
    }
    ByteStream stream(sBytes);
    if (!stream.get()) return;
    std::vector<std::string> vsWords{"held before"};
    Check(ReadNWord(stream.get(), nCount, vsWords) == vsExpected.size(), "ReadNWord's size");
    Check(vsWords == vsExpected, "ReadNWord's words");
    Check(static_cast<size_t>(ftell(stream.get())) == nConsumed, "ReadNWord's lines taken");
}

void CheckSaveLoad(const std::string& sText) {
    // One byte to spare: a memory stream being written keeps a NUL after its
    // data and, when full, puts it over the last byte.
    std::string sBuffer(sText.size() + 5, '\0');
    FILE* fp = fmemopen(&sBuffer[0], sBuffer.size(), "w+b");
    if (!fp) return;
    tstring_save(sText, fp);
    Check(ftell(fp) == static_cast<long>(sText.size() + 4), "a record is the length and the bytes");
    rewind(fp);
    std::string sBack;
    tstring_load(sBack, fp);
    fclose(fp);
    Check(sBack == UpToNul(sText), "tstring_save and tstring_load round trip");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    InputReader input(pData, nSize);
    int nCount = static_cast<int>(input.TakeByte() % 16) - 1;  // -1 to 14 words
    std::string sBytes = input.TakeRest();

    CheckRecords(sBytes);
    CheckLineCount(sBytes);
    CheckWords(sBytes, nCount);
    CheckSaveLoad(sBytes);
    return 0;
}
