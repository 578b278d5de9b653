#include "Path.h"

#include <cstdio>
#include <cstring>

#include "Platform.h"

namespace {

// The last '/' or '\' of sName, or null.
const char* LastSeparator(const char* sName) {
    const char* pSlash = strrchr(sName, '/');
    const char* pBackslash = strrchr(sName, '\\');
    if (!pSlash) return pBackslash;
    if (!pBackslash) return pSlash;
    return pSlash > pBackslash ? pSlash : pBackslash;
}

}  // namespace

void GetFullFileName(char* sFullname, const char* sPath, const char* sFilename) {
    if (!sPath || !*sPath) {
        strcpy(sFullname, sFilename);
        return;
    }
    sprintf(sFullname, "%s/%s", sPath, sFilename);
}

char* GetAbsolutePath(const char* sPath, const char* sFile, char* sFilename) {
    sprintf(sFilename, "%s/%s", sPath, sFile);
    return sFilename;
}

void GetPathFile(const char* sFullname, std::string& sPath, std::string& sFilename,
                 std::string& sExtName) {
    sPath.clear();
    sFilename.clear();
    sExtName.clear();
    std::string sRest = sFullname;
    size_t nDot = sRest.rfind('.');
    if (nDot != std::string::npos) {
        sExtName = sRest.substr(nDot + 1);
        sRest.erase(nDot);
    }
    size_t nSeparator = sRest.find_last_of("/\\");
    if (nSeparator == std::string::npos) {
        sPath = ".";
        sFilename = sRest;
        return;
    }
    sPath = sRest.substr(0, nSeparator);
    sFilename = sRest.substr(nSeparator + 1);
}

char* GetRelevatePath(const char* sFilename, char* sPath, char* sFile) {
    const char* pSeparator = LastSeparator(sFilename);
    if (!pSeparator) {
        tstring sDirectory = CurrentDirectory();
        if (!sDirectory.empty()) strcpy(sPath, sDirectory.c_str());
        strcpy(sFile, sFilename);
        return sFile;
    }
    size_t nDirLen = static_cast<size_t>(pSeparator - sFilename);
    memcpy(sPath, sFilename, nDirLen);
    sPath[nDirLen] = '/';
    sPath[nDirLen + 1] = '\0';
    strcpy(sFile, pSeparator + 1);
    return sFile;
}

char* GetFilename(const char* sFilename, char* sFile) {
    const char* pSeparator = LastSeparator(sFilename);
    strcpy(sFile, pSeparator ? pSeparator + 1 : sFilename);
    char* pDot = strchr(sFile, '.');
    if (pDot) *pDot = '\0';
    return sFile;
}

std::string getFilePath(const char* sFilename) {
    const char* pSeparator = LastSeparator(sFilename);
    if (!pSeparator) return std::string();
    return std::string(sFilename, pSeparator + 1);
}
