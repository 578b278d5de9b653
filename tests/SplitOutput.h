// What varnel-split must print for an input, found with the splitter itself.
#ifndef VARNEL_TESTS_SPLITOUTPUT_H
#define VARNEL_TESTS_SPLITOUTPUT_H

#include <cstring>
#include <string>

#include "Sentences.h"

// Each NUL-separated piece of sInput split whole, one sentence a line, a
// sentence's own final CR or LF dropped.
inline std::string ExpectedOutput(const std::string& sInput, int nEncode) {
    CSentences splitter;
    std::string sOut;
    size_t nPos = 0;
    while (nPos < sInput.size()) {
        const char* sPiece = sInput.c_str() + nPos;
        nPos += strlen(sPiece) + 1;
        for (const char* s = splitter.GetSentence(sPiece, nEncode); *s;
             s = splitter.GetSentence(nullptr, nEncode)) {
            std::string sLine = s;
            if (!sLine.empty() && (sLine.back() == '\n' || sLine.back() == '\r')) sLine.pop_back();
            sOut += sLine + "\n";
        }
    }
    return sOut;
}

#endif
