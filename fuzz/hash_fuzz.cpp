// The string hashes, integer compression and WriteBuf over any bytes. The
// input is read as a run of 32-bit values and as a text up to its first NUL.
// Checked: every value with an encoding survives int_compress and
// int_uncompress, in the shortest form, and a value without one writes
// nothing; any four bytes decode to a value that compresses again to no more
// bytes and decodes the same; the hashes give 0 for the empty text, stay in
// their widths and ignore ASCII case where they say so; WriteBuf's buffer holds
// every value appended, with room to spare.
#include <arpa/inet.h>

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "Hash.h"

namespace {

int ShortestLength(int iVal) {
    if (iVal <= 0x3F) return 1;
    if (iVal <= 0x3FFF) return 2;
    if (iVal <= 0x3FFFFF) return 3;
    return 4;
}

void CheckCompression(int iVal) {
    std::unique_ptr<unsigned char[]> sVal(new unsigned char[4]);
    memset(sVal.get(), 0xEE, 4);
    int nWritten = int_compress(iVal, sVal.get());
    if (iVal < 0 || iVal > 0x3FFFFFFF) {
        Check(nWritten == 0, "no encoding writes nothing");
        for (int k = 0; k < 4; ++k) Check(sVal[k] == 0xEE, "sVal untouched");
        return;
    }
    Check(nWritten == ShortestLength(iVal), "the shortest form");
    int iBack = -1;
    Check(int_uncompress(sVal.get(), &iBack) == nWritten && iBack == iVal, "round trip");
}

void CheckDecoding(uint32_t nBytes) {
    std::unique_ptr<unsigned char[]> sVal(new unsigned char[4]);
    memcpy(sVal.get(), &nBytes, 4);
    int iVal = -1;
    int nRead = int_uncompress(sVal.get(), &iVal);
    Check(nRead >= 1 && nRead <= 4 && iVal >= 0 && iVal <= 0x3FFFFFFF, "decoded value in range");
    unsigned char sAgain[4];
    int nWritten = int_compress(iVal, sAgain);
    Check(nWritten >= 1 && nWritten <= nRead, "re-encoding is no longer");
    int iBack = -1;
    Check(int_uncompress(sAgain, &iBack) == nWritten && iBack == iVal, "re-encoding decodes");
}

void CheckHashes(const std::string& sText) {
    ExactText text(sText);
    unsigned int nUrl = UrlHash(text.get());
    Check(ELFhash(text.get()) == nUrl && nUrl <= 0x0FFFFFFFu, "ELF hash in 28 bits");
    Check(HfIp(text.get()) <= 0xFFFFFFFFul, "HfIp in 32 bits");
    _hf(text.get());
    Strhash(text.get());
    unsigned long nDorvel = Dorvelhash(text.get());
    if (sText.empty()) {
        Check(nUrl == 0 && _hf("") == 0 && Strhash("") == 0 && HfIp("") == 0 && nDorvel == 0,
              "the empty text hashes to 0");
        return;
    }
    std::string sUpper = sText;
    for (char& c : sUpper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    ExactText upper(sUpper);
    Check(Dorvelhash(upper.get()) == nDorvel, "Dorvelhash ignores ASCII case");
}

void CheckWriteBuf(const std::vector<uint32_t>& vValues, bool bNet) {
    char* pBuf = nullptr;
    int nBufSize = 0;
    int nBufMaxSize = 0;
    for (uint32_t nVal : vValues) {
        int nResult = WriteBuf(&pBuf, nBufSize, nBufMaxSize, static_cast<int>(nVal), bNet);
        Check(nResult == nBufSize && nBufSize <= nBufMaxSize, "WriteBuf keeps its sizes");
    }
    Check(nBufSize == static_cast<int>(4 * vValues.size()), "four bytes per value");
    for (size_t i = 0; i < vValues.size(); ++i) {
        uint32_t nStored;
        memcpy(&nStored, pBuf + 4 * i, 4);
        Check(nStored == (bNet ? htonl(vValues[i]) : vValues[i]), "WriteBuf stores the value");
    }
    free(pBuf);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    std::string sText = UpToNul(std::string(reinterpret_cast<const char*>(pData), nSize));
    CheckHashes(sText);

    InputReader input(pData, nSize);
    bool bNet = (input.TakeByte() & 1) != 0;
    std::vector<uint32_t> vValues;
    while (input.Left() >= 4) vValues.push_back(input.TakeUint32());
    for (uint32_t nVal : vValues) {
        CheckCompression(static_cast<int>(nVal));
        CheckDecoding(nVal);
    }
    CheckWriteBuf(vValues, bNet);
    return 0;
}
