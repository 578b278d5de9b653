// What the sentence option tests share: the library's own sentences of a
// text, located in the text as a host locates them, and the options applied
// to them.
#ifndef VARNEL_TESTS_OPTIONCASES_H
#define VARNEL_TESTS_OPTIONCASES_H

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "SentenceOptions.h"
#include "Sentences.h"
#include "SplitCases.h"

using varnel_host::SentenceOptions;
using varnel_host::Span;

using Sentences = std::vector<std::string>;

// A text and the sentences an option gives, ended by a null.
struct OptionCase {
    const char* sName;
    int nEncode;
    const char* sText;
    const char* vsSentences[10];
};

inline Sentences Expected(const OptionCase& c) {
    Sentences vs;
    for (const char* const* p = c.vsSentences; *p; ++p) vs.push_back(*p);
    return vs;
}

// The library's sentences of sText as spans: each one found behind the
// blanks that follow the one before.
inline std::vector<Span> LibrarySpans(const std::string& sText, int nEncode) {
    CSentences splitter;
    std::vector<Span> vSpans;
    size_t nPos = 0;
    for (const char* s = splitter.GetSentence(sText.c_str(), nEncode); *s;
         s = splitter.GetSentence(nullptr, nEncode)) {
        while (nPos < sText.size() && strchr(" \r\n\t", sText[nPos])) ++nPos;
        size_t nLen = strlen(s);
        EXPECT_EQ(sText.compare(nPos, nLen, s), 0) << "sentence not found at " << nPos;
        vSpans.push_back({nPos, nPos + nLen});
        nPos += nLen;
    }
    return vSpans;
}

inline Sentences Texts(const std::string& sText, const std::vector<Span>& vSpans) {
    Sentences vs;
    for (const Span& span : vSpans)
        vs.push_back(sText.substr(span.nStart, span.nEnd - span.nStart));
    return vs;
}

// The options see the text in a buffer of its exact size, so that a read
// past its end shows under the sanitizers.
inline Sentences Apply(const std::string& sText, int nEncode, const SentenceOptions& options) {
    std::vector<Span> vSpans = LibrarySpans(sText, nEncode);
    std::vector<char> text(sText.begin(), sText.end());
    varnel_host::ApplySentenceOptions(text.data(), text.size(), nEncode, options, vSpans);
    return Texts(sText, vSpans);
}

inline SentenceOptions Closers() {
    SentenceOptions options;
    options.bAttachClosers = true;
    return options;
}

inline SentenceOptions Reader() {
    SentenceOptions options;
    options.bReader = true;
    return options;
}

#endif
