// GetXMLItemValue, both forms, over any text and item name. The input is the
// name, a NUL, then the text. Checked: both forms agree with a plain search
// for "<name>" and the "</name>" after it, and reading the items of a name one
// after another from the returned position always moves forward.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "XmlItem.h"

namespace {

struct Item {
    bool bFound;
    bool bClosed;
    std::string sValue;
    size_t nClose;  // offset of the closing tag in the text, when closed
};

Item ReferenceItem(const std::string& sText, const std::string& sName) {
    Item item{false, false, "", 0};
    size_t nOpen = sText.find("<" + sName + ">");
    if (nOpen == std::string::npos) return item;
    item.bFound = true;
    size_t nStart = nOpen + sName.size() + 2;
    size_t nClose = sText.find("</" + sName + ">", nStart);
    item.bClosed = nClose != std::string::npos;
    item.nClose = nClose;
    item.sValue = sText.substr(nStart, item.bClosed ? nClose - nStart : std::string::npos);
    return item;
}

void CheckCharForm(ExactText& text, ExactText& name, const Item& expected) {
    std::vector<char> sValue(text.size() + 1, 'x');
    bool bFound = GetXMLItemValue(text.get(), name.get(), sValue.data());
    Check(bFound == expected.bFound, "char form finds the opening tag");
    Check(expected.sValue == sValue.data(), "char form value");
}

// Reads the items of the name one after another, as a caller would.
void CheckStringForm(ExactText& text, ExactText& name) {
    const std::string sText = text.get();
    const std::string sName = name.get();
    const char* pFrom = text.get();
    for (size_t nRounds = 0;; ++nRounds) {
        Check(nRounds <= sText.size(), "repeated reads end");
        size_t nOffset = static_cast<size_t>(pFrom - text.get());
        Item expected = ReferenceItem(sText.substr(nOffset), sName);
        std::string sVal = "\x01untouched";
        const char* pClose = GetXMLItemValue(pFrom, name.get(), sVal);
        if (!expected.bFound) {
            Check(!pClose && sVal == "\x01untouched", "no opening tag leaves the value");
            return;
        }
        Check(sVal == expected.sValue, "string form value");
        if (!expected.bClosed) {
            Check(!pClose, "no closing tag gives null");
            return;
        }
        Check(pClose == pFrom + expected.nClose, "string form returns the closing tag");
        pFrom = pClose;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    std::string sInput(reinterpret_cast<const char*>(pData), nSize);
    size_t nNul = sInput.find('\0');
    if (nNul == std::string::npos) return 0;
    ExactText name(sInput.substr(0, nNul));
    ExactText text(UpToNul(sInput.substr(nNul + 1)));

    CheckCharForm(text, name, ReferenceItem(text.get(), name.get()));
    CheckStringForm(text, name);
    return 0;
}
