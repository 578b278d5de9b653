// The splitter through the public interface. The first byte picks the
// encoding; the rest, up to a NUL, is the text. Checked on every input: the
// sentences, with the whitespace skipped before each, rebuild the text; none
// is empty; each ends in an end mark or at the text's end; and once the text is
// exhausted every further call gives the empty string; the fast scan, at every
// classifier level this build has and this processor runs, finds each
// sentence end where the plain scalar scan finds it. A sentence handed back
// as a new text, while it still lies inside the library's copy of the old one,
// is that new text's one and only sentence.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "Scanner.h"
#include "Varnel.h"

namespace {

using varnel::SimdLevel;

bool IsBlank(char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; }

bool EndsInMark(const std::string& s, int nEncode) {
    char c = s.back();
    if (c == '?' || c == '!' || c == '\r' || c == '\n' || c == '.') return true;
    static const char* const kUtf8Marks[] = {"\xE3\x80\x82", "\xEF\xBC\x81", "\xEF\xBC\x9F"};
    static const char* const kGbkMarks[] = {"\xA1\xA3", "\xA3\xA1", "\xA3\xBF"};
    for (int k = 0; k < 3; ++k) {
        const char* sMark = nEncode == 1 ? kUtf8Marks[k] : kGbkMarks[k];
        size_t nLen = strlen(sMark);
        if (s.size() >= nLen && s.compare(s.size() - nLen, nLen, sMark) == 0) return true;
    }
    return false;
}

// Walks the text as the splitter does, sentence after sentence with one block
// kept across them, comparing the fast scan at the level with the scalar scan.
void CheckFastScan(ExactText& text, int nEncode, SimdLevel level) {
    varnel::ScanBlock block;
    block.level = level;
    const size_t nSize = text.size();
    for (size_t nPos = 0;;) {
        while (nPos < nSize && IsBlank(text.get()[nPos])) ++nPos;
        if (nPos == nSize) return;
        size_t nFast = varnel::ScanSentenceEndFast(text.get() + nPos, nSize - nPos, nEncode, block);
        size_t nScalar = varnel::ScanSentenceEnd(text.get() + nPos, nSize - nPos, nEncode);
        Check(nFast == nScalar, "the fast scan equals the scalar scan");
        if (nScalar == varnel::kNoSentenceEnd) return;
        nPos += nScalar;
    }
}

void CheckHandedBack(ExactText& text, int nEncode) {
    const char* sFirst = VN_GetSentence(text.get(), nEncode);
    const std::string sSentence = sFirst;
    Check(VN_GetSentence(sFirst, nEncode) == sSentence, "a sentence is its own first sentence");
    Check(*VN_GetSentence(nullptr, nEncode) == 0, "and its only one");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    VN_Init("/nonexistent", nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    if (nSize == 0) return 0;
    int nEncode = pData[0] & 1;
    const std::string sText =
        UpToNul(std::string(reinterpret_cast<const char*>(pData + 1), nSize - 1));
    ExactText text(sText);

    size_t nPos = 0;
    for (const char* s = VN_GetSentence(text.get(), nEncode); *s;
         s = VN_GetSentence(nullptr, nEncode)) {
        std::string sSentence = s;
        while (nPos < sText.size() && IsBlank(sText[nPos])) ++nPos;
        Check(sText.compare(nPos, sSentence.size(), sSentence) == 0, "sentences rebuild the text");
        nPos += sSentence.size();
        Check(EndsInMark(sSentence, nEncode) || nPos == sText.size(), "a sentence ends in a mark");
    }
    while (nPos < sText.size()) Check(IsBlank(sText[nPos++]), "only whitespace is left");
    for (int i = 0; i < 3; ++i) Check(*VN_GetSentence(nullptr, nEncode) == 0, "exhausted stays");
    CheckHandedBack(text, nEncode);
    for (SimdLevel level : {SimdLevel::kWord, SimdLevel::kSse2, SimdLevel::kAvx2}) {
        if (varnel::SimdLevelRuns(level)) CheckFastScan(text, nEncode, level);
    }
    return 0;
}
