#include "ChineseNumber.h"

#include <cstring>

#include "CharReader.h"
#include "ForeignName.h"
#include "WordClass.h"

namespace {

const char kChineseNum[] =
    "\xC1\xE3\xA1\xF0\xD2\xBB\xB6\xFE\xC1\xBD\xC8\xFD\xCB\xC4\xCE\xE5"  // 零○一二两三四五
    "\xC1\xF9\xC6\xDF\xB0\xCB\xBE\xC5\xCA\xAE\xD8\xA5\xB0\xD9\xC7\xA7"  // 六七八九十廿百千
    "\xCD\xF2\xD2\xDA\xD2\xBC\xB7\xA1\xC8\xFE\xCB\xC1\xCE\xE9\xC2\xBD"  // 万亿壹贰叁肆伍陆
    "\xC6\xE2\xB0\xC6\xBE\xC1\xCA\xB0\xB0\xDB\xC7\xAA\xD5\xD7\xA1\xC3"  // 柒捌玖拾佰仟兆∶
    "\xA1\xA4\xA3\xAE\xA3\xAF\xB5\xE3\xBC\xB8\xC9\xCF\xB3\xC9";         // ·．／点几上成
const char kPrefix[] = "\xCA\xFD\xB5\xDA";                              // 数第
const char kFractionJoin[] = "\xB7\xD6\xD6\xAE";                        // 分之

// The character at index i of kChineseNumSet has the digit at byte i of
// kDigitNumSet; the last four characters have none.
const char kChineseNumSet[] =
    "\xC1\xE3\xA1\xF0\xD2\xBB\xD2\xBC\xB6\xFE\xC1\xBD\xB7\xA1\xC8\xFD"  // 零○一壹二两贰三
    "\xC8\xFE\xCB\xC4\xCB\xC1\xCE\xE5\xC1\xF9\xC6\xDF\xB0\xCB\xBE\xC5"  // 叁四肆五六七八九
    "\xBE\xC1\xCA\xAE\xB0\xD9\xC7\xA7\xCD\xF2";                         // 玖十百千万
const char kDigitNumSet[] = "00112223344567899";

const char kYearDigits[] =
    "\xC1\xE3\xA1\xF0\xA9\x96\xA3\xB0\xD2\xBB\xB6\xFE\xC8\xFD\xCB\xC4"  // 零○〇０一二三四
    "\xCE\xE5\xC1\xF9\xC6\xDF\xB0\xCB\xBE\xC5\xD2\xBC\xB7\xA1\xC8\xFE"  // 五六七八九壹贰叁
    "\xCB\xC1\xCE\xE9\xC2\xBD\xC6\xE2\xB0\xC6\xBE\xC1";                 // 肆伍陆柒捌玖
const char kHighFullWidthDigits[] = "\xA3\xB5\xA3\xB6\xA3\xB7\xA3\xB8\xA3\xB9";  // ５６７８９
const char kThousandAndZero[] = "\xC7\xA7\xC7\xAA\xC1\xE3\xA9\x96\xA1\xF0";      // 千仟零〇○
const char kThousand[] = "\xC7\xA7\xC7\xAA";                                     // 千仟

const char kDayDigits[] =
    "\xC1\xE3\xD2\xBB\xB6\xFE\xC8\xFD\xCB\xC4\xCE\xE5\xC1\xF9\xC6\xDF"  // 零一二三四五六七
    "\xB0\xCB\xBE\xC5\xCA\xAE\xD2\xBC\xB7\xA1\xC8\xFE\xCB\xC1\xCE\xE9"  // 八九十壹贰叁肆伍
    "\xC2\xBD\xC6\xE2\xB0\xC6\xBE\xC1\xA3\xB0\xA3\xB1\xA3\xB2\xA3\xB3"  // 陆柒捌玖０１２３
    "\xA3\xB4\xA3\xB5\xA3\xB6\xA3\xB7\xA3\xB8\xA3\xB9";                 // ４５６７８９
const char kAsciiDigits[] = "0123456789";

// Whether the two bytes at p form a character of the set.
bool IsPairIn(const char* sSet, const char* p) {
    const char sChar[3] = {p[0], p[1], 0};
    return sChar[1] != 0 && CC_Find(sSet, sChar) != nullptr;
}

// Whether the first nLen bytes are all characters of a set of two-byte
// characters: a word of odd length is not.
bool IsAllPairsIn(const char* sSet, const char* sWord, size_t nLen) {
    return 2 * GetCharCount(sSet, sWord, nLen) == nLen;
}

inline unsigned char* Bytes(const char* s) {
    return reinterpret_cast<unsigned char*>(const_cast<char*>(s));
}

}  // namespace

bool IsAllChineseNum(char* sWord, size_t nLen) {
    if (nLen == 0) nLen = strlen(sWord);
    size_t i = 0;
    while (i < nLen) {
        if (i + 4 <= nLen && strncmp(sWord + i, kFractionJoin, 4) == 0) {
            i += 4;
            continue;
        }
        if (i + 2 > nLen) return false;
        if (!IsPairIn(kChineseNum, sWord + i) && !(i == 0 && IsPairIn(kPrefix, sWord))) {
            return false;
        }
        i += 2;
    }
    return true;
}

bool ChineseNum2Digit(const char* sChineseNum, char* sNum) {
    sNum[0] = 0;
    if (strlen(sChineseNum) != 2) return false;
    const char* pHit = CC_Find(kChineseNumSet, sChineseNum);
    if (!pHit) return false;
    size_t nIndex = static_cast<size_t>(pHit - kChineseNumSet) / 2;
    if (nIndex < sizeof(kDigitNumSet) - 1) {
        sNum[0] = kDigitNumSet[nIndex];
        sNum[1] = 0;
    }
    return true;
}

bool ChineseNumStr2Digit(const char* sChineseNum, char* sNum) {
    char* pOut = sNum;
    *pOut = 0;
    char sChar[3];
    for (size_t nCharLen; (nCharLen = Getchar(sChineseNum, sChar)) != 0; sChineseNum += nCharLen) {
        if (!ChineseNum2Digit(sChar, pOut)) return false;
        pOut += strlen(pOut);
    }
    return true;
}

bool IsYearTime(const char* sNum, int length) {
    size_t nLen = length > 0 ? static_cast<size_t>(length) : strlen(sNum);
    if (nLen > 2 && IsAllPairsIn(kYearDigits, sNum, nLen)) return true;
    if (IsAllSingleByte(Bytes(sNum), nLen) && (nLen == 4 || (nLen == 2 && sNum[0] > '4'))) {
        return true;
    }
    if (IsAllNum(Bytes(sNum), nLen) &&
        (nLen > 5 || (nLen == 4 && IsPairIn(kHighFullWidthDigits, sNum)))) {
        return true;
    }
    if (nLen == 8 && GetCharCount(kThousandAndZero, sNum, nLen) == 2) return true;
    return nLen == 2 && IsPairIn(kThousand, sNum);
}

bool IsDayTime(const char* sNum, unsigned int nLen) {
    size_t n = nLen != 0 ? nLen : strlen(sNum);
    if (n <= 6 && IsAllPairsIn(kDayDigits, sNum, n)) return true;
    return n <= 2 && GetCharCount(kAsciiDigits, sNum, n) == n;
}
