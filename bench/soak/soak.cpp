// varnel-soak: a large mixed text through the interface, in UTF-8 and in GBK,
// once as one text and once cut into many small texts. For every sentence it
// checks that the sentences, with the whitespace skipped before each, rebuild
// the text; it checks the count against the plain scalar scan, and that
// resident memory grows by no more than the largest text handed over plus
// 1 MiB. Prints the figures; exits 1 when a check fails.
//
// Usage: varnel-soak [MiB per encoding, default 1024]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Scanner.h"
#include "Varnel.h"

namespace {

const size_t kMiB = size_t(1) << 20;
const size_t kLargestSmallText = 16 * 1024;

size_t ResidentBytes() {
    long nPages = 0;
    long nResident = 0;
    FILE* fp = fopen("/proc/self/statm", "r");
    if (fp) {
        if (fscanf(fp, "%ld %ld", &nPages, &nResident) != 2) nResident = 0;
        fclose(fp);
    }
    return static_cast<size_t>(nResident) * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

// xorshift64*: the same text on every run.
class Random {
  public:
    uint64_t Next() {
        m_n ^= m_n >> 12;
        m_n ^= m_n << 25;
        m_n ^= m_n >> 27;
        return m_n * 0x2545F4914F6CDD1Dull;
    }
    size_t Below(size_t n) { return static_cast<size_t>(Next() % n); }

  private:
    uint64_t m_n = 0x9E3779B97F4A7C15ull;
};

[[noreturn]] void Fail(const char* sWhat, size_t nAt) {
    fprintf(stderr, "varnel-soak: %s (at %zu)\n", sWhat, nAt);
    exit(1);
}

std::vector<std::string> SampleLines(const char* sName) {
    std::ifstream in(std::string(VARNEL_SOURCE_DIR) + "/samples/" + sName, std::ios::binary);
    std::vector<std::string> vsLines;
    for (std::string sLine; std::getline(in, sLine);) {
        if (!sLine.empty() && sLine.back() == '\r') sLine.pop_back();
        if (!sLine.empty()) vsLines.push_back(sLine);
    }
    if (vsLines.empty()) Fail("no sample lines", 0);
    return vsLines;
}

// nSize bytes of sample lines joined by blanks, tabs and line breaks, with now
// and then a short run of arbitrary bytes other than NUL.
std::string MixedText(const std::vector<std::string>& vsLines, size_t nSize, Random& random) {
    static const char* const kGaps[] = {" ", "\n", "\r\n", "\t", "  ", "", "\n\n"};
    std::string sText;
    sText.reserve(nSize + 4096);
    while (sText.size() < nSize) {
        if (random.Below(64) == 0) {
            for (size_t n = 1 + random.Below(16); n > 0; --n) {
                sText += static_cast<char>(1 + random.Below(255));
            }
        } else {
            sText += vsLines[random.Below(vsLines.size())];
        }
        sText += kGaps[random.Below(sizeof kGaps / sizeof kGaps[0])];
    }
    sText.resize(nSize);
    return sText;
}

inline bool IsBlank(char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; }

struct Run {
    size_t nSentences = 0;
    size_t nReference = 0;
    size_t nTexts = 0;
    size_t nLargestText = 0;
    size_t nBaseline = 0;
    size_t nPeak = 0;
    double dSeconds = 0;
};

// The sentences of one text through the interface, each checked against the
// text; the resident size is sampled as they come.
size_t SplitText(const char* sText, size_t nLen, int nEncode, Run& run) {
    size_t nPos = 0;
    size_t nCount = 0;
    for (const char* s = VN_GetSentence(sText, nEncode); *s; s = VN_GetSentence(nullptr, nEncode)) {
        while (nPos < nLen && IsBlank(sText[nPos])) ++nPos;
        size_t n = strlen(s);
        if (n > nLen - nPos || memcmp(s, sText + nPos, n) != 0) Fail("sentence differs", nPos);
        nPos += n;
        if ((++nCount & 0xFFFF) == 0) run.nPeak = std::max(run.nPeak, ResidentBytes());
    }
    for (; nPos < nLen; ++nPos) {
        if (!IsBlank(sText[nPos])) Fail("text left after the last sentence", nPos);
    }
    run.nPeak = std::max(run.nPeak, ResidentBytes());
    return nCount;
}

// The plain scalar scan's count; sText[nLen] must be NUL.
size_t ReferenceCount(const char* sText, size_t nLen, int nEncode) {
    size_t nPos = 0;
    size_t nCount = 0;
    for (;;) {
        while (nPos < nLen && IsBlank(sText[nPos])) ++nPos;
        if (nPos == nLen) return nCount;
        size_t n = varnel::ScanSentenceEnd(sText + nPos, nLen - nPos, nEncode);
        ++nCount;
        if (n == varnel::kNoSentenceEnd) return nCount;
        nPos += n;
    }
}

template <typename Body>
void Measure(Run& run, Body body) {
    VN_Init("/nonexistent", nullptr);
    run.nBaseline = ResidentBytes();
    run.nPeak = run.nBaseline;
    auto tStart = std::chrono::steady_clock::now();
    body();
    run.dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - tStart).count();
    VN_Exit();
}

Run OneText(std::string& sText, int nEncode) {
    Run run;
    Measure(run, [&] { run.nSentences = SplitText(sText.c_str(), sText.size(), nEncode, run); });
    run.nTexts = 1;
    run.nLargestText = sText.size();
    run.nReference = ReferenceCount(sText.c_str(), sText.size(), nEncode);
    return run;
}

// The text (which holds no NUL) cut at arbitrary points into pieces of 1 to
// 16 KiB, each ended by a NUL written over the byte after it, which is put
// back afterwards. The plain scan counts the same pieces outside the timing.
Run SmallTexts(std::string& sText, int nEncode, Random& random) {
    std::vector<size_t> vLengths;
    for (size_t nPos = 0; nPos < sText.size(); nPos += vLengths.back()) {
        vLengths.push_back(std::min(1 + random.Below(kLargestSmallText), sText.size() - nPos));
    }
    auto forEachPiece = [&](auto body) {
        size_t nPos = 0;
        for (size_t nLen : vLengths) {
            char* pPiece = &sText[nPos];
            char cSaved = pPiece[nLen];
            pPiece[nLen] = 0;
            body(pPiece, nLen);
            pPiece[nLen] = cSaved;
            nPos += nLen;
        }
    };
    Run run;
    Measure(run, [&] {
        forEachPiece([&](const char* pPiece, size_t nLen) {
            run.nSentences += SplitText(pPiece, nLen, nEncode, run);
        });
    });
    forEachPiece([&](const char* pPiece, size_t nLen) {
        run.nReference += ReferenceCount(pPiece, nLen, nEncode);
    });
    run.nTexts = vLengths.size();
    run.nLargestText = *std::max_element(vLengths.begin(), vLengths.end());
    return run;
}

bool Report(const char* sName, const Run& run, size_t nBytes) {
    double dGrowth = static_cast<double>(run.nPeak - run.nBaseline) / kMiB;
    double dLimit = static_cast<double>(run.nLargestText + kMiB) / kMiB;
    bool bCountOk = run.nSentences == run.nReference;
    bool bMemoryOk = run.nPeak - run.nBaseline <= run.nLargestText + kMiB;
    printf(
        "%-18s %11zu bytes %8zu texts %10zu sentences (plain scan %zu%s)  %6.2f s  %7.1f MiB/s"
        "  resident +%.1f MiB (limit %.1f MiB%s)\n",
        sName, nBytes, run.nTexts, run.nSentences, run.nReference, bCountOk ? "" : " MISMATCH",
        run.dSeconds, static_cast<double>(nBytes) / kMiB / run.dSeconds, dGrowth, dLimit,
        bMemoryOk ? "" : " EXCEEDED");
    fflush(stdout);
    return bCountOk && bMemoryOk;
}

}  // namespace

int main(int argc, char** argv) {
    size_t nMiB = argc > 1 ? strtoul(argv[1], nullptr, 10) : 1024;
    if (nMiB == 0) Fail("size must be at least 1 MiB", 0);
    std::vector<std::string> vsEnglish = SampleLines("en.txt");
    struct Encoding {
        const char* sName;
        const char* sSample;
        int nEncode;
    };
    const Encoding kEncodings[] = {{"utf8", "zh-utf8.txt", 1}, {"gbk", "zh-gbk.txt", 0}};
    bool bOk = true;
    Random random;
    for (const Encoding& encoding : kEncodings) {
        std::vector<std::string> vsLines = SampleLines(encoding.sSample);
        vsLines.insert(vsLines.end(), vsEnglish.begin(), vsEnglish.end());
        std::string sText = MixedText(vsLines, nMiB * kMiB, random);
        std::string sName = std::string(encoding.sName) + " one text";
        bOk &= Report(sName.c_str(), OneText(sText, encoding.nEncode), sText.size());
        sName = std::string(encoding.sName) + " small texts";
        bOk &= Report(sName.c_str(), SmallTexts(sText, encoding.nEncode, random), sText.size());
    }
    return bOk ? 0 : 1;
}
