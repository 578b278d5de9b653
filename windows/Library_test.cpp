// Varnel.dll as a Windows host uses it: loaded with LoadLibrary, its four
// functions found with GetProcAddress, held to the splitting cases that the
// Linux tests walk through libVarnel.so.
#include <windows.h>

#include <string>
#include <vector>

#include "Check.h"
#include "SplitCases.h"

namespace {

typedef int (*InitFn)(const char*, const char*);
typedef void (*ExitFn)();
typedef const char* (*GetSentenceFn)(const char*, int);
typedef const char* (*GetLastErrorMsgFn)();

// Goes through void(*)() so that the compiler accepts the change of type.
template <typename Fn>
Fn Find(HMODULE hLibrary, const char* sName) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(hLibrary, sName)));
}

std::string Joined(const std::vector<std::string>& vs) {
    std::string s;
    for (const std::string& sPart : vs) s += "[" + sPart + "]";
    return s;
}

}  // namespace

int main() {
    CChecker checker;
    HMODULE hLibrary = LoadLibraryA("Varnel.dll");
    if (!checker.Check(hLibrary != nullptr, "LoadLibrary(\"Varnel.dll\")")) return checker.Finish();

    InitFn Init = Find<InitFn>(hLibrary, "VN_Init");
    ExitFn Exit = Find<ExitFn>(hLibrary, "VN_Exit");
    GetSentenceFn GetSentence = Find<GetSentenceFn>(hLibrary, "VN_GetSentence");
    GetLastErrorMsgFn GetLastErrorMsg = Find<GetLastErrorMsgFn>(hLibrary, "VN_GetLastErrorMsg");
    bool bFound = checker.Check(Init && Exit && GetSentence && GetLastErrorMsg,
                                "GetProcAddress finds the four functions");
    checker.Check(GetProcAddress(hLibrary, "g_pSentence") == nullptr,
                  "g_pSentence is not exported");
    if (!bFound) return checker.Finish();

    Exit();  // before any VN_Init: does nothing
    checker.Equal(GetSentence("One. Two.", kGbk), "", "VN_GetSentence before VN_Init");
    const char* sError = GetLastErrorMsg();
    checker.Check(sError && *sError == '\0', "VN_GetLastErrorMsg is the empty string");

    checker.Check(Init(nullptr, nullptr) == 1, "VN_Init returns 1");
    checker.Equal(GetSentence(nullptr, kGbk), "", "no text given yet");
    for (const SplitCase& c : kSplitCases) {
        std::vector<std::string> vsGot, vsExpected;
        for (const char* s = GetSentence(c.sText, c.nEncode); *s;
             s = GetSentence(nullptr, c.nEncode))
            vsGot.push_back(s);
        for (const char* const* p = c.vsSentences; *p; ++p) vsExpected.push_back(*p);
        checker.Equal(Joined(vsGot), Joined(vsExpected), c.sName);
        checker.Equal(GetSentence(nullptr, c.nEncode), "",
                      std::string(c.sName) + ": exhausted stays empty");
    }

    checker.Equal(GetSentence("One. Two.", kUtf8), "One.", "a text in progress");
    Exit();
    checker.Equal(GetSentence(nullptr, kUtf8), "", "VN_GetSentence after VN_Exit");
    checker.Check(Init("C:\\data", "reserved") == 1, "VN_Init again returns 1");
    checker.Equal(GetSentence(nullptr, kUtf8), "", "a fresh instance holds no text");
    Exit();

    FreeLibrary(hLibrary);
    return checker.Finish();
}
