// What varnel-split must print for an input, found with the splitter itself.
#ifndef VARNEL_TESTS_SPLITOUTPUT_H
#define VARNEL_TESTS_SPLITOUTPUT_H

#include <cstring>
#include <string>
#include <vector>

#include "BlockCuts.h"
#include "SentenceOptions.h"
#include "Sentences.h"

// Each NUL-separated piece of sInput split whole, the options applied to its
// sentences, one sentence a line, a sentence's own final CR or LF dropped.
inline std::string ExpectedOutput(const std::string& sInput, int nEncode,
                                  const varnel_host::SentenceOptions& options = {}) {
    CSentences splitter;
    std::string sOut;
    std::vector<varnel_host::Span> vSpans;
    size_t nPos = 0;
    while (nPos < sInput.size()) {
        const char* sPiece = sInput.c_str() + nPos;
        size_t nPiece = strlen(sPiece);
        nPos += nPiece + 1;
        vSpans.clear();
        for (const char* s = splitter.GetSentence(sPiece, nEncode); *s;
             s = splitter.GetSentence(nullptr, nEncode)) {
            size_t nPrevEnd = vSpans.empty() ? 0 : vSpans.back().nEnd;
            vSpans.push_back(varnel_host::LibrarySentenceSpan(sPiece, nPrevEnd, strlen(s)));
        }
        varnel_host::ApplySentenceOptions(sPiece, nPiece, nEncode, options, vSpans);
        for (const varnel_host::Span& span : vSpans) {
            std::string sLine(sPiece + span.nStart, span.nEnd - span.nStart);
            if (!sLine.empty() && (sLine.back() == '\n' || sLine.back() == '\r')) sLine.pop_back();
            sOut += sLine + "\n";
        }
    }
    return sOut;
}

#endif
