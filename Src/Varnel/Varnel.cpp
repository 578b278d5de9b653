#include "Varnel.h"

#include <new>

#include "../Utility/Global.h"
#include "../Utility/Platform.h"
#include "Sentences.h"

// The one splitter of the process; hosts on Linux may read it as data.
extern "C" VN_DATA_API CSentences* g_pSentence;
CSentences* g_pSentence = nullptr;

namespace {
const char kEmpty[] = "";
}

int VN_Init(const char* sInitDirPath, const char* /*sReserved*/) {
    try {
        tstring sDir = (sInitDirPath && *sInitDirPath) ? tstring(sInitDirPath) : CurrentDirectory();
        g_sDefaultDir = sDir + kPathSeparator + "Data";
    } catch (...) {
        // Out of memory: the directory keeps its old value.
    }
    // A second VN_Init replaces the instance, so the old one is freed here.
    delete g_pSentence;
    g_pSentence = new (std::nothrow) CSentences;
    return 1;
}

void VN_Exit(void) {
    delete g_pSentence;
    g_pSentence = nullptr;
}

const char* VN_GetSentence(const char* sText, int encode) {
    if (!g_pSentence) return kEmpty;
    return g_pSentence->GetSentence(sText, encode);
}

const char* VN_GetLastErrorMsg(void) { return g_sLastErrorMessage.c_str(); }
