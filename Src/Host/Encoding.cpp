#include "Encoding.h"

#include <cstring>
#include <string>

#include "Varnel.h"

namespace varnel_host {

namespace {

struct EncodingAlias {
    const char* sName;  // folded: lower case, no '-', '_' or space
    int nEncode;
};

const EncodingAlias kAliases[] = {
    {"utf8", 1}, {"u8", 1},    {"utf", 1}, {"cp65001", 1},
    {"gbk", 0},  {"cp936", 0}, {"936", 0}, {"ms936", 0},
};

// Lower case without the separators that encoding names vary in.
std::string Fold(const char* sName) {
    std::string sFolded;
    for (const char* p = sName; *p; ++p) {
        char c = *p;
        if (c == '-' || c == '_' || c == ' ') continue;
        sFolded += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return sFolded;
}

}  // namespace

int EncodeFromName(const char* sName) {
    if (!sName) return -1;
    std::string sFolded = Fold(sName);
    for (const EncodingAlias& alias : kAliases)
        if (sFolded == alias.sName) return alias.nEncode;
    return -1;
}

const char* EncodingName(int nEncode) { return nEncode == VN_ENCODE_UTF8 ? "utf-8" : "gbk"; }

const char* EncodingNamesHelp() {
    return "utf-8 or gbk (also utf8, u8, utf, cp65001; cp936, 936, ms936; any case)";
}

}  // namespace varnel_host
