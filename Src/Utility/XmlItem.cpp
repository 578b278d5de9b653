#include "XmlItem.h"

#include <cstring>

namespace {

// The first "<name>" (or "</name>" when bClosing) in sText, or null. Matched
// in place, so that no tag buffer limits the name's length.
const char* FindTag(const char* sText, const char* sName, bool bClosing) {
    size_t nNameLen = strlen(sName);
    for (const char* p = strchr(sText, '<'); p; p = strchr(p + 1, '<')) {
        const char* pName = p + 1;
        if (bClosing && *pName++ != '/') continue;
        if (strncmp(pName, sName, nNameLen) == 0 && pName[nNameLen] == '>') return p;
    }
    return nullptr;
}

size_t TagLength(const char* sName, bool bClosing) { return strlen(sName) + (bClosing ? 3 : 2); }

// Where the value of the first item starts, or null without an opening tag.
const char* ValueStart(const char* sLine, const char* sItemName) {
    const char* pOpen = FindTag(sLine, sItemName, false);
    return pOpen ? pOpen + TagLength(sItemName, false) : nullptr;
}

}  // namespace

bool GetXMLItemValue(const char* sLine, const char* sItemName, char* sValue) {
    sValue[0] = '\0';
    const char* pValue = ValueStart(sLine, sItemName);
    if (!pValue) return false;
    const char* pClose = FindTag(pValue, sItemName, true);
    size_t nLen = pClose ? static_cast<size_t>(pClose - pValue) : strlen(pValue);
    memcpy(sValue, pValue, nLen);
    sValue[nLen] = '\0';
    return true;
}

const char* GetXMLItemValue(const char* sLine, const char* sItemName, std::string& sVal) {
    const char* pValue = ValueStart(sLine, sItemName);
    if (!pValue) return nullptr;
    const char* pClose = FindTag(pValue, sItemName, true);
    try {
        if (pClose) {
            sVal.assign(pValue, pClose);
        } else {
            sVal.assign(pValue);
        }
    } catch (...) {
        sVal.clear();
        return nullptr;
    }
    return pClose;
}
