// libVarnel.so built for another processor, as a host uses it: loaded with
// dlopen, held to the split cases that every build answers to, then to the
// sample corpora, sentence by sentence against the plain scan compiled in
// here. The fast scan at every level this processor runs is held to the
// plain scan on the same texts.
#include <dlfcn.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Check.h"
#include "ScanRules.h"
#include "Scanner.h"
#include "SplitCases.h"

namespace {

typedef int (*InitFn)(const char*, const char*);
typedef void (*ExitFn)();
typedef const char* (*GetSentenceFn)(const char*, int);

struct Library {
    InitFn Init;
    ExitFn Exit;
    GetSentenceFn GetSentence;
};

std::string Joined(const std::vector<std::string>& vs) {
    std::string s;
    for (const std::string& sPart : vs) s += "[" + sPart + "]";
    return s;
}

std::vector<std::string> LibrarySentences(const Library& library, const std::string& sText,
                                          int nEncode) {
    std::vector<std::string> vs;
    for (const char* s = library.GetSentence(sText.c_str(), nEncode); *s;
         s = library.GetSentence(nullptr, nEncode))
        vs.push_back(s);
    return vs;
}

// The splitter's walk over the text with the plain scan, or with the fast
// scan at level when it is above kScalar.
std::vector<std::string> ScannedSentences(const std::string& sText, int nEncode,
                                          varnel::SimdLevel level) {
    std::vector<std::string> vs;
    varnel::ScanBlock block;
    block.level = level;
    const char* p = sText.c_str();
    size_t nSize = sText.size(), nPos = 0;
    for (;;) {
        while (nPos < nSize && varnel::IsBlank(static_cast<unsigned char>(p[nPos]))) ++nPos;
        size_t nLen = level == varnel::SimdLevel::kScalar
                          ? varnel::ScanSentenceEnd(p + nPos, nSize - nPos, nEncode)
                          : varnel::ScanSentenceEndFast(p + nPos, nSize - nPos, nEncode, block);
        if (nLen == varnel::kNoSentenceEnd) {
            if (nPos < nSize) vs.push_back(sText.substr(nPos));
            return vs;
        }
        vs.push_back(sText.substr(nPos, nLen));
        nPos += nLen;
    }
}

std::string ReadSample(const char* sName) {
    std::ifstream in(std::string(VARNEL_SOURCE_DIR) + "/samples/" + sName, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void CheckSplitCases(CChecker& checker, const Library& library) {
    for (const SplitCase& c : kSplitCases) {
        std::vector<std::string> vsExpected;
        for (const char* const* p = c.vsSentences; *p; ++p) vsExpected.push_back(*p);
        checker.Equal(Joined(LibrarySentences(library, c.sText, c.nEncode)), Joined(vsExpected),
                      c.sName);
        checker.Equal(library.GetSentence(nullptr, c.nEncode), "",
                      std::string(c.sName) + ": exhausted stays empty");
    }
}

// Each sample repeated, every repetition shifted by one more byte so that
// sentences meet the fast scan's window boundaries everywhere, and read in
// both encodings (GBK read as UTF-8 is ill-formed and takes the plain scan's
// fallback).
void CheckSamples(CChecker& checker, const Library& library) {
    for (const char* sName : {"en.txt", "zh-utf8.txt", "zh-gbk.txt"}) {
        std::string sSample = ReadSample(sName);
        if (!checker.Check(!sSample.empty(), std::string("read samples/") + sName)) continue;
        std::string sText;
        for (int k = 0; sText.size() < 60000; ++k) sText += std::string(k % 5, 'x') + sSample;
        for (int nEncode : {kGbk, kUtf8}) {
            std::string sWhat = std::string(sName) + (nEncode == kUtf8 ? " as utf8" : " as gbk");
            std::vector<std::string> vsPlain =
                ScannedSentences(sText, nEncode, varnel::SimdLevel::kScalar);
            checker.Check(vsPlain.size() > 100, sWhat + ": many sentences");
            checker.Check(LibrarySentences(library, sText, nEncode) == vsPlain,
                          sWhat + ": the library splits as the plain scan");
            for (varnel::SimdLevel level :
                 {varnel::SimdLevel::kWord, varnel::SimdLevel::kSse2, varnel::SimdLevel::kAvx2}) {
                if (!varnel::SimdLevelRuns(level)) continue;
                checker.Check(ScannedSentences(sText, nEncode, level) == vsPlain,
                              sWhat + ": the fast scan at level " +
                                  std::to_string(static_cast<int>(level)) +
                                  " splits as the plain scan");
            }
        }
    }
}

}  // namespace

int main() {
    CChecker checker;
    void* pLibrary = dlopen(VARNEL_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    if (!pLibrary) {
        checker.Check(false, std::string("dlopen: ") + dlerror());
        return checker.Finish();
    }
    Library library = {
        reinterpret_cast<InitFn>(dlsym(pLibrary, "VN_Init")),
        reinterpret_cast<ExitFn>(dlsym(pLibrary, "VN_Exit")),
        reinterpret_cast<GetSentenceFn>(dlsym(pLibrary, "VN_GetSentence")),
    };
    if (!checker.Check(library.Init && library.Exit && library.GetSentence,
                       "dlsym finds the interface"))
        return checker.Finish();
    checker.Check(dlsym(pLibrary, "g_pSentence") != nullptr, "g_pSentence is exported");

    checker.Check(library.Init(nullptr, nullptr) == 1, "VN_Init returns 1");
    CheckSplitCases(checker, library);
    CheckSamples(checker, library);
    library.Exit();
    dlclose(pLibrary);
    return checker.Finish();
}
