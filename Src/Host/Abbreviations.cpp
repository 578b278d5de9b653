#include "Abbreviations.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

namespace varnel_host {

namespace {

// Words that always lead on to what they name or introduce.
const char* const kTitles[] = {
    "Mr",  "Mrs", "Ms",   "Messrs", "Mmes", "Dr",  "Prof", "Rev", "Fr",   "Hon",
    "Gen", "Col", "Capt", "Lt",     "Sgt",  "Cpl", "Maj",  "Adm", "Cmdr", "Gov",
    "Sen", "Rep", "Pres", "Supt",   "e.g",  "i.e", "cf",   "viz", "vs",   "approx",
};

// Words that usually go on but may close a sentence.
const char* const kMayEndWords[] = {
    "etc",  "al",   "Inc",  "Ltd", "Co",   "Corp", "Bros", "Jr",  "Sr",   "Esq",  "No",  "Nos",
    "Fig",  "Figs", "Vol",  "vol", "Vols", "pp",   "Ed",   "eds", "Dept", "Univ", "St",  "Mt",
    "Ft",   "Ave",  "Blvd", "Rd",  "Jan",  "Feb",  "Mar",  "Apr", "Jun",  "Jul",  "Aug", "Sep",
    "Sept", "Oct",  "Nov",  "Dec", "est",  "ca",   "p",    "ch",  "Ch",   "Sec",  "sec", "Art",
};

constexpr size_t kMaxWord = 31;

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Letters with single periods between them.
bool IsWord(std::string_view s) {
    if (s.empty() || s.size() > kMaxWord || !IsLetter(s.front()) || !IsLetter(s.back()))
        return false;
    for (size_t i = 0; i < s.size(); ++i)
        if (!IsLetter(s[i]) && !(s[i] == '.' && IsLetter(s[i + 1]))) return false;
    return true;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    return s;
}

// The words of one line of a file: sError set when the line is at fault.
bool ParseLine(std::string_view sLine, std::vector<std::string>& vsWords, std::string& sError) {
    sLine = Trim(sLine);
    if (sLine.empty() || sLine.front() == '#') return true;
    std::string_view sWord = sLine;
    if (sWord.back() == '.') sWord.remove_suffix(1);
    if (!IsWord(sWord)) {
        sError = "\"" + std::string(sLine) +
                 "\" is no abbreviation: letters with single periods between them, "
                 "up to 31 bytes, one a line (like Dr. or e.g.)";
        return false;
    }
    vsWords.emplace_back(sWord);
    return true;
}

bool ReadLines(FILE* fp, std::vector<std::string>& vsWords, std::string& sError) {
    std::string sLine;
    size_t nLine = 1;
    for (int c; (c = fgetc(fp)) != EOF;) {
        if (c == 0) {
            sError = std::to_string(nLine) + ": a NUL byte";
            return false;
        }
        if (c != '\n') {
            sLine += static_cast<char>(c);
            continue;
        }
        if (!ParseLine(sLine, vsWords, sError)) {
            sError = std::to_string(nLine) + ": " + sError;
            return false;
        }
        sLine.clear();
        ++nLine;
    }
    if (ParseLine(sLine, vsWords, sError)) return true;
    sError = std::to_string(nLine) + ": " + sError;
    return false;
}

}  // namespace

Abbreviations::Abbreviations() {
    for (const char* s : kTitles) Add(s, kTitle);
    for (const char* s : kMayEndWords) Add(s, kMayEnd);
}

const Abbreviations::Entry& Abbreviations::Slot(const char* p, size_t nLen) const {
    uint32_t nHash = 2166136261u;  // FNV-1a
    for (size_t i = 0; i < nLen; ++i)
        nHash = (nHash ^ static_cast<unsigned char>(p[i])) * 16777619u;
    size_t nMask = m_entries.size() - 1;
    for (size_t i = nHash & nMask;; i = (i + 1) & nMask) {
        const Entry& entry = m_entries[i];
        if (entry.sWord.empty() ||
            (entry.sWord.size() == nLen && memcmp(entry.sWord.data(), p, nLen) == 0))
            return entry;
    }
}

void Abbreviations::Add(const std::string& sWord, Kind kind) {
    if (2 * (m_nWords + 1) > m_entries.size()) {
        std::vector<Entry> vOld(std::max<size_t>(64, 2 * m_entries.size()));
        vOld.swap(m_entries);
        for (Entry& entry : vOld)
            if (!entry.sWord.empty())
                const_cast<Entry&>(Slot(entry.sWord.data(), entry.sWord.size())) = std::move(entry);
    }
    Entry& slot = const_cast<Entry&>(Slot(sWord.data(), sWord.size()));
    if (!slot.sWord.empty()) return;  // a word listed already keeps its kind
    slot = {sWord, kind};
    ++m_nWords;
    m_anLengths[static_cast<unsigned char>(sWord[0])] |= uint32_t(1) << sWord.size();
}

bool Abbreviations::Load(const char* sPath, std::string& sError) {
    FILE* fp = fopen(sPath, "rb");
    if (!fp) {
        sError = std::string(sPath) + ": " + strerror(errno);
        return false;
    }
    std::vector<std::string> vsWords;
    bool bOk = ReadLines(fp, vsWords, sError);
    if (bOk && ferror(fp)) sError = std::string(sPath) + ": " + strerror(errno);
    if (!bOk) sError = std::string(sPath) + ":" + sError;  // the line number follows
    bOk = bOk && !ferror(fp);
    fclose(fp);
    if (!bOk) return false;
    for (const std::string& s : vsWords) Add(s, kMayEnd);
    return true;
}

Abbreviations::Kind Abbreviations::Find(const char* p, size_t nLen) const {
    if (nLen == 0 || nLen > kMaxWord || !IsLetter(p[0])) return kNone;
    if (m_anLengths[static_cast<unsigned char>(p[0])] >> nLen & 1) {
        const Entry& entry = Slot(p, nLen);
        if (!entry.sWord.empty()) return entry.kind;
    }
    // A word listed all in small letters is found capitalised too.
    char cSmall = static_cast<char>(p[0] | 0x20);
    if (cSmall == p[0] || !(m_anLengths[static_cast<unsigned char>(cSmall)] >> nLen & 1))
        return kNone;
    char sSmall[kMaxWord];
    memcpy(sSmall, p, nLen);
    sSmall[0] = cSmall;
    const Entry& entry = Slot(sSmall, nLen);
    for (char c : entry.sWord)
        if (c >= 'A' && c <= 'Z') return kNone;
    return entry.kind;
}

const Abbreviations& Abbreviations::BuiltIn() {
    static const Abbreviations builtIn;
    return builtIn;
}

}  // namespace varnel_host
