// Splitting cases shared by every host test: the Linux tests walk them through
// CSentences and through libVarnel.so, the Windows host test through
// Varnel.dll, so that both builds answer to one table.
#ifndef VARNEL_TESTS_SPLITCASES_H
#define VARNEL_TESTS_SPLITCASES_H

enum { kGbk = 0, kUtf8 = 1 };

struct SplitCase {
    const char* sName;
    int nEncode;
    const char* sText;
    const char* vsSentences[6];  // the sentences in order, ended by a null
};

inline const SplitCase kSplitCases[] = {
    {"empty text gbk", kGbk, "", {nullptr}},
    {"empty text utf8", kUtf8, "", {nullptr}},
    {"only whitespace", kGbk, " \t\r\n \n", {nullptr}},
    {"only whitespace utf8", kUtf8, "\r\n\t  ", {nullptr}},

    // 你好。再见！
    {"chinese marks gbk",
     kGbk,
     "\xC4\xE3\xBA\xC3\xA1\xA3\xD4\xD9\xBC\xFB\xA3\xA1",
     {"\xC4\xE3\xBA\xC3\xA1\xA3", "\xD4\xD9\xBC\xFB\xA3\xA1", nullptr}},
    {"chinese marks utf8",
     kUtf8,
     "\xE4\xBD\xA0\xE5\xA5\xBD\xE3\x80\x82\xE5\x86\x8D\xE8\xA7\x81\xEF\xBC\x81",
     {"\xE4\xBD\xA0\xE5\xA5\xBD\xE3\x80\x82", "\xE5\x86\x8D\xE8\xA7\x81\xEF\xBC\x81", nullptr}},
    // 中文？ 再见
    {"question mark gbk",
     kGbk,
     "\xD6\xD0\xCE\xC4\xA3\xBF \xD4\xD9\xBC\xFB",
     {"\xD6\xD0\xCE\xC4\xA3\xBF", "\xD4\xD9\xBC\xFB", nullptr}},
    {"question mark utf8",
     kUtf8,
     "\xE4\xB8\xAD\xE6\x96\x87\xEF\xBC\x9F \xE5\x86\x8D\xE8\xA7\x81",
     {"\xE4\xB8\xAD\xE6\x96\x87\xEF\xBC\x9F", "\xE5\x86\x8D\xE8\xA7\x81", nullptr}},

    {"english sentences gbk", kGbk, "Hello world. Bye now.", {"Hello world.", "Bye now.", nullptr}},
    {"english sentences utf8",
     kUtf8,
     "Hello world. Bye now.",
     {"Hello world.", "Bye now.", nullptr}},
    {"ascii marks", kGbk, "Really? Yes! Fine", {"Really?", "Yes!", "Fine", nullptr}},
    {"decimal, tab and letter after a dot",
     kUtf8,
     "Pi is 3.14 or so.\tNot a.b end",
     {"Pi is 3.14 or so.\tNot a.b end", nullptr}},
    {"abbreviation ends a sentence", kGbk, "Dr. Ellis came.", {"Dr.", "Ellis came.", nullptr}},
    {"dot at the very end", kUtf8, "Done.", {"Done.", nullptr}},
    {"dot before a second blank", kGbk, "A.  B", {"A.", "B", nullptr}},

    // 中文 x. y? z : a '.' after a Chinese character ends nothing, a '?' still does.
    {"dot after chinese gbk",
     kGbk,
     "\xD6\xD0\xCE\xC4 x. y? z",
     {"\xD6\xD0\xCE\xC4 x. y?", "z", nullptr}},
    {"dot after chinese utf8",
     kUtf8,
     "\xE4\xB8\xAD\xE6\x96\x87 x. y! z",
     {"\xE4\xB8\xAD\xE6\x96\x87 x. y!", "z", nullptr}},
    // 中文。Then. Next : the English rule starts again with each sentence.
    {"english rule resets",
     kGbk,
     "\xD6\xD0\xCE\xC4\xA1\xA3Then. Next",
     {"\xD6\xD0\xCE\xC4\xA1\xA3", "Then.", "Next", nullptr}},

    {"cr then lf", kGbk, "One\r\nTwo\nThree", {"One\r", "Two\n", "Three", nullptr}},
    {"cr then lf utf8", kUtf8, "One\r\n\r\nTwo", {"One\r", "Two", nullptr}},
    {"trailing blanks kept", kUtf8, "Hi.  there  ", {"Hi.", "there  ", nullptr}},

    // A3 A3 (full-width '#') stands in the mark table only across two marks.
    {"full-width number sign",
     kGbk,
     "a\xA3\xA3"
     "b. c",
     {"a\xA3\xA3"
      "b. c",
      nullptr}},
    // C4 A1 A3 BA: the bytes A1 A3 of "。" straddle two characters.
    {"mark bytes across characters",
     kGbk,
     "\xC4\xA1\xA3\xBA"
     "end",
     {"\xC4\xA1\xA3\xBA"
      "end",
      nullptr}},
    {"question mark as second byte", kGbk, "\x81?x! y", {"\x81?x!", "y", nullptr}},
    {"lone high byte at the end", kGbk, "ab\xB0", {"ab\xB0", nullptr}},
    {"lone A1 at the end", kGbk, "ab\xA1", {"ab\xA1", nullptr}},
    // The same bytes read as GBK and as UTF-8: E3 80 82 is "。" in UTF-8 only.
    {"utf8 mark in gbk text",
     kGbk,
     "a\xE3\x80\x82"
     "b",
     {"a\xE3\x80\x82"
      "b",
      nullptr}},

    {"stray continuation bytes",
     kUtf8,
     "caf\x80\xBF ok. Next",
     {"caf\x80\xBF ok.", "Next", nullptr}},
    {"mark inside a malformed sequence", kUtf8, "\xE3?!x. y", {"\xE3?!x. y", nullptr}},
    {"sequence cut short by the end", kUtf8, "ok\xF0?", {"ok\xF0?", nullptr}},
    {"six-byte lead", kUtf8, "\xFC!!!!!? z", {"\xFC!!!!!?", "z", nullptr}},
    {"byte-order mark",
     kUtf8,
     "\xEF\xBB\xBFHello. World! Next. x",
     {"\xEF\xBB\xBFHello. World!", "Next.", "x", nullptr}},
    // ；：…． end nothing, in either encoding.
    {"no-end marks gbk",
     kGbk,
     "a;b:c\xA3\xBB\xA3\xBA\xA1\xAD\xA3\xAE",
     {"a;b:c\xA3\xBB\xA3\xBA\xA1\xAD\xA3\xAE", nullptr}},
    {"no-end marks utf8",
     kUtf8,
     "a;b:c\xEF\xBC\x9B\xEF\xBC\x9A\xE2\x80\xA6\xEF\xBC\x8E",
     {"a;b:c\xEF\xBC\x9B\xEF\xBC\x9A\xE2\x80\xA6\xEF\xBC\x8E", nullptr}},
};

#endif
