#include "Dictionary.h"

#include <cstring>

#include "Ascii.h"
#include "CharReader.h"

const char sSinglePostfix[199] =
    "\xB0\xD3\xB0\xEE\xB1\xA4\xB1\xAD\xB3\xC7\xB3\xD8\xB4\xE5\xB5\xA5"  // 坝邦堡杯城池村单
    "\xB5\xBA\xB5\xC0\xB5\xCC\xB5\xEA\xB6\xB4\xB6\xC9\xB6\xD3\xB7\xA8"  // 岛道堤店洞渡队法
    "\xB7\xE5\xB8\xAE\xB8\xD4\xB8\xDB\xB8\xF3\xB9\xAC\xB9\xB5\xB9\xFA"  // 峰府冈港阁宫沟国
    "\xBA\xA3\xBA\xC5\xBA\xD3\xBA\xFE\xBB\xB7\xBC\xAF\xBD\xAD\xBD\xB1"  // 海号河湖环集江奖
    "\xBD\xB8\xBD\xC7\xBD\xD6\xBE\xAE\xBF\xA4\xBF\xD3\xBF\xDA\xBF\xF3"  // 礁角街井郡坑口矿
    "\xC0\xEF\xC1\xEB\xC2\xA5\xC2\xB7\xC3\xC5\xC3\xCB\xC3\xED\xC5\xAA"  // 里岭楼路门盟庙弄
    "\xC5\xC6\xC5\xC9\xC6\xC2\xC6\xCC\xC6\xEC\xC7\xC5\xC7\xF8\xC7\xFE"  // 牌派坡铺旗桥区渠
    "\xC8\xAA\xC8\xCB\xC9\xBD\xCA\xA1\xCA\xD0\xCB\xAE\xCB\xC2\xCB\xFE"  // 泉人山省市水寺塔
    "\xCC\xA8\xCC\xB2\xCC\xB3\xCC\xC3\xCC\xFC\xCD\xA4\xCD\xCD\xCD\xE5"  // 台滩坛堂厅亭屯湾
    "\xCE\xC4\xCE\xDD\xCF\xAA\xCF\xBF\xCF\xD8\xCF\xDF\xCF\xE7\xCF\xEF"  // 文屋溪峡县线乡巷
    "\xD0\xCD\xD1\xF3\xD2\xA4\xD3\xAA\xD3\xEC\xD3\xEF\xD4\xB0\xD4\xB7"  // 型洋窑营屿语园苑
    "\xD4\xBA\xD5\xA2\xD5\xAF\xD5\xBE\xD5\xF2\xD6\xDD\xD7\xAF\xD7\xE5"  // 院闸寨站镇州庄族
    "\xDA\xE9\xE2\xD6\xEE\xAE";                                         // 陂庵町

const char sMultiPostfix[51][100] = {
    "\xB0\xEB\xB5\xBA",                  // 半岛
    "\xB2\xDD\xD4\xAD",                  // 草原
    "\xB3\xC7\xCA\xD0",                  // 城市
    "\xB4\xF3\xB5\xCC",                  // 大堤
    "\xB4\xF3\xB9\xAB\xB9\xFA",          // 大公国
    "\xB4\xF3\xC7\xC5",                  // 大桥
    "\xB5\xD8\xC7\xF8",                  // 地区
    "\xB5\xDB\xB9\xFA",                  // 帝国
    "\xB6\xC9\xB2\xDB",                  // 渡槽
    "\xB8\xDB\xBF\xDA",                  // 港口
    "\xB8\xDF\xCB\xD9\xB9\xAB\xC2\xB7",  // 高速公路
    "\xB8\xDF\xD4\xAD",                  // 高原
    "\xB9\xAB\xC2\xB7",                  // 公路
    "\xB9\xAB\xD4\xB0",                  // 公园
    "\xB9\xB2\xBA\xCD\xB9\xFA",          // 共和国
    "\xB9\xC8\xB5\xD8",                  // 谷地
    "\xB9\xE3\xB3\xA1",                  // 广场
    "\xB9\xFA\xB5\xC0",                  // 国道
    "\xBA\xA3\xCF\xBF",                  // 海峡
    "\xBA\xFA\xCD\xAC",                  // 胡同
    "\xBB\xFA\xB3\xA1",                  // 机场
    "\xBC\xAF\xD5\xF2",                  // 集镇
    "\xBD\xCC\xC7\xF8",                  // 教区
    "\xBD\xD6\xB5\xC0",                  // 街道
    "\xBF\xDA\xB0\xB6",                  // 口岸
    "\xC2\xEB\xCD\xB7",                  // 码头
    "\xC3\xBA\xBF\xF3",                  // 煤矿
    "\xC4\xC1\xB3\xA1",                  // 牧场
    "\xC5\xA9\xB3\xA1",                  // 农场
    "\xC5\xE8\xB5\xD8",                  // 盆地
    "\xC6\xBD\xD4\xAD",                  // 平原
    "\xC7\xF0\xC1\xEA",                  // 丘陵
    "\xC8\xBA\xB5\xBA",                  // 群岛
    "\xC9\xB3\xC4\xAE",                  // 沙漠
    "\xC9\xB3\xD6\xDE",                  // 沙洲
    "\xC9\xBD\xC2\xF6",                  // 山脉
    "\xC9\xBD\xC7\xF0",                  // 山丘
    "\xCB\xAE\xBF\xE2",                  // 水库
    "\xCB\xED\xB5\xC0",                  // 隧道
    "\xCC\xD8\xC7\xF8",                  // 特区
    "\xCC\xFA\xC2\xB7",                  // 铁路
    "\xD0\xC2\xB4\xE5",                  // 新村
    "\xD1\xA9\xB7\xE5",                  // 雪峰
    "\xD1\xCE\xB3\xA1",                  // 盐场
    "\xD1\xCE\xBA\xFE",                  // 盐湖
    "\xD3\xE6\xB3\xA1",                  // 渔场
    "\xD6\xB1\xCF\xBD\xCA\xD0",          // 直辖市
    "\xD7\xD4\xD6\xCE\xC7\xF8",          // 自治区
    "\xD7\xD4\xD6\xCE\xCF\xD8",          // 自治县
    "\xD7\xD4\xD6\xCE\xD6\xDD",          // 自治州
    "",
};

namespace {

inline int LowerByte(char c) { return varnel::LowerAscii(static_cast<unsigned char>(c)); }

// The order of BinarySearch's tables: ASCII letters as lower case, every
// other byte by its unsigned value, whatever the locale.
int CompareIgnoringAsciiCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        int ca = LowerByte(*a);
        int cb = LowerByte(*b);
        if (ca != cb || ca == 0) return ca - cb;
    }
}

bool BeginsWithKey(const char* sWord, size_t nWordLen, const char* sEntry) {
    return strncmp(sWord, sEntry, nWordLen) == 0;
}

// The shortest entry that begins with the key around the hit nMid: first
// downwards, then upwards, as long as entries begin with the key.
long ShortestWithPrefix(const char* sWord, size_t nWordLen, const char** pWordList,
                        size_t nStartPos, size_t nEndPos, size_t nMid) {
    size_t nBest = nMid;
    size_t nMin = strlen(pWordList[nMid]);
    auto consider = [&](size_t i) {
        if (!BeginsWithKey(sWord, nWordLen, pWordList[i])) return false;
        size_t nLen = strlen(pWordList[i]);
        if (nLen < nMin) {
            nMin = nLen;
            nBest = i;
        }
        return true;
    };
    for (size_t i = nMid; i > nStartPos && consider(i - 1); --i) {
    }
    for (size_t i = nMid + 1; i <= nEndPos && consider(i); ++i) {
    }
    return static_cast<long>(nBest);
}

// The length of the first multi-character postfix that ends the word, or 0.
size_t MultiPostfixLength(const char* sWord, size_t nWordLen) {
    for (const char* sPostfix : sMultiPostfix) {
        size_t nLen = strlen(sPostfix);
        if (nLen == 0) break;
        if (nLen <= nWordLen && memcmp(sWord + nWordLen - nLen, sPostfix, nLen) == 0) return nLen;
    }
    return 0;
}

// Whether the word's last two bytes are a whole character of sSinglePostfix.
bool EndsInSinglePostfix(const char* sWord, size_t nWordLen) {
    if (nWordLen < 2) return false;
    const char sLast[3] = {sWord[nWordLen - 2], sWord[nWordLen - 1], 0};
    return CC_Find(sSinglePostfix, sLast) != nullptr;
}

}  // namespace

int BinarySearch(const char* sVal, const char** sTable, int nTableLen) {
    int nStart = 0;
    int nEnd = nTableLen - 1;
    while (nStart <= nEnd) {
        int nMid = nStart + (nEnd - nStart) / 2;
        int nCmp = CompareIgnoringAsciiCase(sVal, sTable[nMid]);
        if (nCmp == 0) return nMid;
        if (nCmp > 0) {
            nStart = nMid + 1;
        } else {
            nEnd = nMid - 1;
        }
    }
    return -1;
}

bool IsExists(const char* sElement, const char** pList, int nSize) {
    for (int i = 0; i < nSize; ++i) {
        if (strcmp(sElement, pList[i]) == 0) return true;
    }
    return false;
}

long BinaryPrefixSearch(const char* sWord, size_t nWordLen, const char** pWordList,
                        size_t nStartPos, size_t nEndPos) {
    if (!pWordList || nStartPos > nEndPos) return -1;
    size_t nStart = nStartPos;
    size_t nEnd = nEndPos;
    while (nStart <= nEnd) {
        size_t nMid = nStart + (nEnd - nStart) / 2;
        int nCmp = strncmp(sWord, pWordList[nMid], nWordLen);
        if (nCmp == 0) {
            return ShortestWithPrefix(sWord, nWordLen, pWordList, nStartPos, nEndPos, nMid);
        }
        if (nCmp > 0) {
            nStart = nMid + 1;
        } else {
            if (nMid == nStart) return -1;  // the key sorts before the whole range left
            nEnd = nMid - 1;
        }
    }
    return -1;
}

size_t MaxMatching(const char* sLine, const char** pWordList, size_t nListSize, long* pRuleId) {
    if (pRuleId) *pRuleId = -1;
    if (nListSize == 0) return 0;
    size_t nLen = strlen(sLine);
    size_t nMatchedPos = 0;
    size_t nCurPos = 1;
    while (nCurPos <= nLen) {
        long nId = BinaryPrefixSearch(sLine, nCurPos, pWordList, 0, nListSize - 1);
        // No entry begins with these bytes, so none begins with more of them.
        if (nId < 0) break;
        size_t nRuleLen = strlen(pWordList[nId]);
        if (nRuleLen == nCurPos) {
            if (pRuleId) *pRuleId = nId;
            nMatchedPos = nCurPos;
        }
        // No entry of a length in between can match: it would be shorter than
        // the shortest entry with this prefix.
        nCurPos = nRuleLen > nCurPos ? nRuleLen : nCurPos + 1;
    }
    return nMatchedPos;
}

size_t MaxPrefix(const char* sWord1, const char* sWord2) {
    size_t i = 0;
    while (sWord1[i] != 0 && sWord1[i] == sWord2[i]) ++i;
    return i;
}

bool PostfixSplit(const char* sWord, char* sWordRet, char* sPostfix) {
    size_t nWordLen = strlen(sWord);
    size_t nPostfixLen = MultiPostfixLength(sWord, nWordLen);
    if (nPostfixLen == 0 && EndsInSinglePostfix(sWord, nWordLen)) nPostfixLen = 2;
    size_t nStemLen = nWordLen - nPostfixLen;
    // The postfix first, so that sWordRet may be sWord itself.
    memcpy(sPostfix, sWord + nStemLen, nPostfixLen);
    sPostfix[nPostfixLen] = 0;
    memmove(sWordRet, sWord, nStemLen);
    sWordRet[nStemLen] = 0;
    return true;
}
