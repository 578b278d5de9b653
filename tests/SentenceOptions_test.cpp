#include "SentenceOptions.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Commands.h"
#include "OptionCases.h"
#include "ReaderCases.h"

namespace {

// Closing marks move from the start of a sentence onto the end of the one
// before when that one ended with an end mark right in front of them.
const OptionCase kCloserCases[] = {
    // 你好。”\n  ->  你好。”
    {"closer then line feed utf8",
     kUtf8,
     "\xE4\xBD\xA0\xE5\xA5\xBD\xE3\x80\x82\xE2\x80\x9D\n",
     {"\xE4\xBD\xA0\xE5\xA5\xBD\xE3\x80\x82\xE2\x80\x9D", nullptr}},
    // 你好。”\n  ->  你好。”
    {"closer then line feed gbk",
     kGbk,
     "\xC4\xE3\xBA\xC3\xA1\xA3\xA1\xB1\n",
     {"\xC4\xE3\xBA\xC3\xA1\xA3\xA1\xB1", nullptr}},
    // A。” B。  ->  A。” | B。
    {"closer then blank utf8",
     kUtf8,
     "A\xE3\x80\x82\xE2\x80\x9D B\xE3\x80\x82",
     {"A\xE3\x80\x82\xE2\x80\x9D", "B\xE3\x80\x82", nullptr}},
    // A。” B。  ->  A。” | B。
    {"closer then blank gbk",
     kGbk,
     "A\xA1\xA3\xA1\xB1 B\xA1\xA3",
     {"A\xA1\xA3\xA1\xB1", "B\xA1\xA3", nullptr}},
    // 甲。”乙。”丙  ->  甲。” | 乙。” | 丙
    {"sentence after sentence utf8",
     kUtf8,
     "\xE7\x94\xB2\xE3\x80\x82\xE2\x80\x9D\xE4\xB9\x99\xE3\x80\x82\xE2\x80\x9D\xE4\xB8\x99",
     {"\xE7\x94\xB2\xE3\x80\x82\xE2\x80\x9D", "\xE4\xB9\x99\xE3\x80\x82\xE2\x80\x9D",
      "\xE4\xB8\x99", nullptr}},
    // 甲。”乙。”丙  ->  甲。” | 乙。” | 丙
    {"sentence after sentence gbk",
     kGbk,
     "\xBC\xD7\xA1\xA3\xA1\xB1\xD2\xD2\xA1\xA3\xA1\xB1\xB1\xFB",
     {"\xBC\xD7\xA1\xA3\xA1\xB1", "\xD2\xD2\xA1\xA3\xA1\xB1", "\xB1\xFB", nullptr}},
    // 好。”）』再见。  ->  好。”）』 | 再见。
    {"several closers utf8",
     kUtf8,
     "\xE5\xA5\xBD\xE3\x80\x82\xE2\x80\x9D\xEF\xBC\x89\xE3\x80\x8F\xE5\x86\x8D\xE8\xA7\x81\xE3\x80"
     "\x82",
     {"\xE5\xA5\xBD\xE3\x80\x82\xE2\x80\x9D\xEF\xBC\x89\xE3\x80\x8F",
      "\xE5\x86\x8D\xE8\xA7\x81\xE3\x80\x82", nullptr}},
    // 好。”）』再见。  ->  好。”）』 | 再见。
    {"several closers gbk",
     kGbk,
     "\xBA\xC3\xA1\xA3\xA1\xB1\xA3\xA9\xA1\xBB\xD4\xD9\xBC\xFB\xA1\xA3",
     {"\xBA\xC3\xA1\xA3\xA1\xB1\xA3\xA9\xA1\xBB", "\xD4\xD9\xBC\xFB\xA1\xA3", nullptr}},
    // 甲！”’」』）》〉】〕〗］｝〞乙  ->  甲！”’」』）》〉】〕〗］｝〞 | 乙
    {"every wide closer utf8",
     kUtf8,
     "\xE7\x94\xB2\xEF\xBC\x81\xE2\x80\x9D\xE2\x80\x99\xE3\x80\x8D\xE3\x80\x8F\xEF\xBC\x89\xE3\x80"
     "\x8B\xE3\x80\x89\xE3\x80\x91\xE3\x80\x95\xE3\x80\x97\xEF\xBC\xBD\xEF\xBD\x9D\xE3\x80\x9E\xE4"
     "\xB9\x99",
     {"\xE7\x94\xB2\xEF\xBC\x81\xE2\x80\x9D\xE2\x80\x99\xE3\x80\x8D\xE3\x80\x8F\xEF\xBC\x89\xE3\x80"
      "\x8B\xE3\x80\x89\xE3\x80\x91\xE3\x80\x95\xE3\x80\x97\xEF\xBC\xBD\xEF\xBD\x9D\xE3\x80\x9E",
      "\xE4\xB9\x99", nullptr}},
    // 甲！”’」』）》〉】〕〗］｝〞乙  ->  甲！”’」』）》〉】〕〗］｝〞 | 乙
    {"every wide closer gbk",
     kGbk,
     "\xBC\xD7\xA3\xA1\xA1\xB1\xA1\xAF\xA1\xB9\xA1\xBB\xA3\xA9\xA1\xB7\xA1\xB5\xA1\xBF\xA1\xB3\xA1"
     "\xBD\xA3\xDD\xA3\xFD\xA8\x95\xD2\xD2",
     {"\xBC\xD7\xA3\xA1\xA1\xB1\xA1\xAF\xA1\xB9\xA1\xBB\xA3\xA9\xA1\xB7\xA1\xB5\xA1\xBF\xA1\xB3\xA1"
      "\xBD\xA3\xDD\xA3\xFD\xA8\x95",
      "\xD2\xD2", nullptr}},
    // 好。 ”再见  ->  好。 | ”再见
    {"closer after a blank stays utf8",
     kUtf8,
     "\xE5\xA5\xBD\xE3\x80\x82 \xE2\x80\x9D\xE5\x86\x8D\xE8\xA7\x81",
     {"\xE5\xA5\xBD\xE3\x80\x82", "\xE2\x80\x9D\xE5\x86\x8D\xE8\xA7\x81", nullptr}},
    // 好。 ”再见  ->  好。 | ”再见
    {"closer after a blank stays gbk",
     kGbk,
     "\xBA\xC3\xA1\xA3 \xA1\xB1\xD4\xD9\xBC\xFB",
     {"\xBA\xC3\xA1\xA3", "\xA1\xB1\xD4\xD9\xBC\xFB", nullptr}},
    // 好\n”再见  ->  好\n | ”再见
    {"closer after a line feed stays utf8",
     kUtf8,
     "\xE5\xA5\xBD\n\xE2\x80\x9D\xE5\x86\x8D\xE8\xA7\x81",
     {"\xE5\xA5\xBD\n", "\xE2\x80\x9D\xE5\x86\x8D\xE8\xA7\x81", nullptr}},
    // 好\n”再见  ->  好\n | ”再见
    {"closer after a line feed stays gbk",
     kGbk,
     "\xBA\xC3\n\xA1\xB1\xD4\xD9\xBC\xFB",
     {"\xBA\xC3\n", "\xA1\xB1\xD4\xD9\xBC\xFB", nullptr}},
    // 好？」  ->  好？」
    {"closer at the very end utf8",
     kUtf8,
     "\xE5\xA5\xBD\xEF\xBC\x9F\xE3\x80\x8D",
     {"\xE5\xA5\xBD\xEF\xBC\x9F\xE3\x80\x8D", nullptr}},
    // 好？」  ->  好？」
    {"closer at the very end gbk",
     kGbk,
     "\xBA\xC3\xA3\xBF\xA1\xB9",
     {"\xBA\xC3\xA3\xBF\xA1\xB9", nullptr}},
    // 好。“再见”  ->  好。 | “再见”
    {"opener is no closer utf8",
     kUtf8,
     "\xE5\xA5\xBD\xE3\x80\x82\xE2\x80\x9C\xE5\x86\x8D\xE8\xA7\x81\xE2\x80\x9D",
     {"\xE5\xA5\xBD\xE3\x80\x82", "\xE2\x80\x9C\xE5\x86\x8D\xE8\xA7\x81\xE2\x80\x9D", nullptr}},
    // 好。“再见”  ->  好。 | “再见”
    {"opener is no closer gbk",
     kGbk,
     "\xBA\xC3\xA1\xA3\xA1\xB0\xD4\xD9\xBC\xFB\xA1\xB1",
     {"\xBA\xC3\xA1\xA3", "\xA1\xB0\xD4\xD9\xBC\xFB\xA1\xB1", nullptr}},
    // 好。”\r\n\t再见  ->  好。” | 再见
    {"rest loses its whitespace utf8",
     kUtf8,
     "\xE5\xA5\xBD\xE3\x80\x82\xE2\x80\x9D\r\n\t\xE5\x86\x8D\xE8\xA7\x81",
     {"\xE5\xA5\xBD\xE3\x80\x82\xE2\x80\x9D", "\xE5\x86\x8D\xE8\xA7\x81", nullptr}},
    // 好。”\r\n\t再见  ->  好。” | 再见
    {"rest loses its whitespace gbk",
     kGbk,
     "\xBA\xC3\xA1\xA3\xA1\xB1\r\n\t\xD4\xD9\xBC\xFB",
     {"\xBA\xC3\xA1\xA3\xA1\xB1", "\xD4\xD9\xBC\xFB", nullptr}},
    // 好。”\n”乙  ->  好。” | ”乙
    {"closers only then closer after line end utf8",
     kUtf8,
     "\xE5\xA5\xBD\xE3\x80\x82\xE2\x80\x9D\n\xE2\x80\x9D\xE4\xB9\x99",
     {"\xE5\xA5\xBD\xE3\x80\x82\xE2\x80\x9D", "\xE2\x80\x9D\xE4\xB9\x99", nullptr}},
    // 好。”\n”乙  ->  好。” | ”乙
    {"closers only then closer after line end gbk",
     kGbk,
     "\xBA\xC3\xA1\xA3\xA1\xB1\n\xA1\xB1\xD2\xD2",
     {"\xBA\xC3\xA1\xA3\xA1\xB1", "\xA1\xB1\xD2\xD2", nullptr}},
    // 什么？！”好  ->  什么？ | ！” | 好
    {"closer after a run of marks utf8",
     kUtf8,
     "\xE4\xBB\x80\xE4\xB9\x88\xEF\xBC\x9F\xEF\xBC\x81\xE2\x80\x9D\xE5\xA5\xBD",
     {"\xE4\xBB\x80\xE4\xB9\x88\xEF\xBC\x9F", "\xEF\xBC\x81\xE2\x80\x9D", "\xE5\xA5\xBD", nullptr}},
    // 什么？！”好  ->  什么？ | ！” | 好
    {"closer after a run of marks gbk",
     kGbk,
     "\xCA\xB2\xC3\xB4\xA3\xBF\xA3\xA1\xA1\xB1\xBA\xC3",
     {"\xCA\xB2\xC3\xB4\xA3\xBF", "\xA3\xA1\xA1\xB1", "\xBA\xC3", nullptr}},
    // 说"走!"他?) ok  ->  说"走!" | 他?) | ok
    {"ascii marks and closers utf8",
     kUtf8,
     "\xE8\xAF\xB4\"\xE8\xB5\xB0!\"\xE4\xBB\x96?) ok",
     {"\xE8\xAF\xB4\"\xE8\xB5\xB0!\"", "\xE4\xBB\x96?)", "ok", nullptr}},
    // 说"走!"他?) ok  ->  说"走!" | 他?) | ok
    {"ascii marks and closers gbk",
     kGbk,
     "\xCB\xB5\"\xD7\xDF!\"\xCB\xFB?) ok",
     {"\xCB\xB5\"\xD7\xDF!\"", "\xCB\xFB?)", "ok", nullptr}},
    // He said 'no?' Then "yes!"  ->  He said 'no?' | Then "yes!"
    {"ascii quote and apostrophe utf8",
     kUtf8,
     "He said 'no?' Then \"yes!\"",
     {"He said 'no?'", "Then \"yes!\"", nullptr}},
    // He said 'no?' Then "yes!"  ->  He said 'no?' | Then "yes!"
    {"ascii quote and apostrophe gbk",
     kGbk,
     "He said 'no?' Then \"yes!\"",
     {"He said 'no?'", "Then \"yes!\"", nullptr}},
    // End. ]x  ->  End. | ]x
    {"dot ends only before a blank utf8", kUtf8, "End. ]x", {"End.", "]x", nullptr}},
    // End. ]x  ->  End. | ]x
    {"dot ends only before a blank gbk", kGbk, "End. ]x", {"End.", "]x", nullptr}},
    // 中文。 then 0x81 0x5D (a character whose second byte is ']'), 好
    {"gbk second byte ]",
     kGbk,
     "\xD6\xD0\xCE\xC4\xA1\xA3\x81\x5D\xBA\xC3",
     {"\xD6\xD0\xCE\xC4\xA1\xA3", "\x81\x5D\xBA\xC3", nullptr}},
    // 中文！ then 0xA1 0x29 (second byte ')'), then ”
    {"gbk second byte )",
     kGbk,
     "\xD6\xD0\xCE\xC4\xA3\xA1\xA1\x29\xA1\xB1",
     {"\xD6\xD0\xCE\xC4\xA3\xA1", "\xA1\x29\xA1\xB1", nullptr}},
    // 好。 then E2 80 9D read as GBK: E2 80 is one character, no closer
    {"utf8 closer in gbk text",
     kGbk,
     "\xBA\xC3\xA1\xA3\xE2\x80\x9D",
     {"\xBA\xC3\xA1\xA3", "\xE2\x80\x9D", nullptr}},
};

// The samples with the closers option, checked by eye once: every closing
// quote ends the sentence it closes, and nothing else moves.
const char* const kZhClosers[] = {
    // 清晨六点半，城市还没有完全醒来。
    "\xE6\xB8\x85\xE6\x99\xA8\xE5\x85\xAD\xE7\x82\xB9\xE5\x8D\x8A\xEF\xBC\x8C\xE5\x9F\x8E\xE5\xB8"
    "\x82\xE8\xBF\x98\xE6\xB2\xA1\xE6\x9C\x89\xE5\xAE\x8C\xE5\x85\xA8\xE9\x86\x92\xE6\x9D\xA5\xE3"
    "\x80\x82",
    // 老王推着他的早点车来到街角，支起炉子，开始煎第一锅包子。
    "\xE8\x80\x81\xE7\x8E\x8B\xE6\x8E\xA8\xE7\x9D\x80\xE4\xBB\x96\xE7\x9A\x84\xE6\x97\xA9\xE7\x82"
    "\xB9\xE8\xBD\xA6\xE6\x9D\xA5\xE5\x88\xB0\xE8\xA1\x97\xE8\xA7\x92\xEF\xBC\x8C\xE6\x94\xAF\xE8"
    "\xB5\xB7\xE7\x82\x89\xE5\xAD\x90\xEF\xBC\x8C\xE5\xBC\x80\xE5\xA7\x8B\xE7\x85\x8E\xE7\xAC\xAC"
    "\xE4\xB8\x80\xE9\x94\x85\xE5\x8C\x85\xE5\xAD\x90\xE3\x80\x82",
    // 他在这个路口已经卖了整整12年早点！
    "\xE4\xBB\x96\xE5\x9C\xA8\xE8\xBF\x99\xE4\xB8\xAA\xE8\xB7\xAF\xE5\x8F\xA3\xE5\xB7\xB2\xE7\xBB"
    "\x8F\xE5\x8D\x96\xE4\xBA\x86\xE6\x95\xB4\xE6\x95\xB4"
    "12\xE5\xB9\xB4\xE6\x97\xA9\xE7\x82\xB9\xEF\xBC\x81",
    // 每天大约能卖出300个包子，还有150碗豆浆。
    "\xE6\xAF\x8F\xE5\xA4\xA9\xE5\xA4\xA7\xE7\xBA\xA6\xE8\x83\xBD\xE5\x8D\x96\xE5\x87\xBA"
    "300\xE4\xB8\xAA\xE5\x8C\x85\xE5\xAD\x90\xEF\xBC\x8C\xE8\xBF\x98\xE6\x9C\x89"
    "150\xE7\xA2\x97\xE8\xB1\x86\xE6\xB5\x86\xE3\x80\x82",
    // “今天还是老样子吗？”
    "\xE2\x80\x9C\xE4\xBB\x8A\xE5\xA4\xA9\xE8\xBF\x98\xE6\x98\xAF\xE8\x80\x81\xE6\xA0\xB7\xE5\xAD"
    "\x90\xE5\x90\x97\xEF\xBC\x9F\xE2\x80\x9D",
    // 一位穿西装的年轻人问道。
    "\xE4\xB8\x80\xE4\xBD\x8D\xE7\xA9\xBF\xE8\xA5\xBF\xE8\xA3\x85\xE7\x9A\x84\xE5\xB9\xB4\xE8\xBD"
    "\xBB\xE4\xBA\xBA\xE9\x97\xAE\xE9\x81\x93\xE3\x80\x82",
    // 老王笑着点点头，把两个包子装进纸袋。
    "\xE8\x80\x81\xE7\x8E\x8B\xE7\xAC\x91\xE7\x9D\x80\xE7\x82\xB9\xE7\x82\xB9\xE5\xA4\xB4\xEF\xBC"
    "\x8C\xE6\x8A\x8A\xE4\xB8\xA4\xE4\xB8\xAA\xE5\x8C\x85\xE5\xAD\x90\xE8\xA3\x85\xE8\xBF\x9B\xE7"
    "\xBA\xB8\xE8\xA2\x8B\xE3\x80\x82",
    // 年轻人说他在一家软件公司上班，最近忙着做一个叫 Open Data 的项目。
    "\xE5\xB9\xB4\xE8\xBD\xBB\xE4\xBA\xBA\xE8\xAF\xB4\xE4\xBB\x96\xE5\x9C\xA8\xE4\xB8\x80\xE5\xAE"
    "\xB6\xE8\xBD\xAF\xE4\xBB\xB6\xE5\x85\xAC\xE5\x8F\xB8\xE4\xB8\x8A\xE7\x8F\xAD\xEF\xBC\x8C\xE6"
    "\x9C\x80\xE8\xBF\x91\xE5\xBF\x99\xE7\x9D\x80\xE5\x81\x9A\xE4\xB8\x80\xE4\xB8\xAA\xE5\x8F\xAB "
    "Open Data \xE7\x9A\x84\xE9\xA1\xB9\xE7\x9B\xAE\xE3\x80\x82",
    // 他说：“下个月就要上线了，到时候可能连早饭都顾不上吃。”
    "\xE4\xBB\x96\xE8\xAF\xB4\xEF\xBC\x9A\xE2\x80\x9C\xE4\xB8\x8B\xE4\xB8\xAA\xE6\x9C\x88\xE5\xB0"
    "\xB1\xE8\xA6\x81\xE4\xB8\x8A\xE7\xBA\xBF\xE4\xBA\x86\xEF\xBC\x8C\xE5\x88\xB0\xE6\x97\xB6\xE5"
    "\x80\x99\xE5\x8F\xAF\xE8\x83\xBD\xE8\xBF\x9E\xE6\x97\xA9\xE9\xA5\xAD\xE9\x83\xBD\xE9\xA1\xBE"
    "\xE4\xB8\x8D\xE4\xB8\x8A\xE5\x90\x83\xE3\x80\x82\xE2\x80\x9D",
    // 七点以后，买早点的人越来越多。
    "\xE4\xB8\x83\xE7\x82\xB9\xE4\xBB\xA5\xE5\x90\x8E\xEF\xBC\x8C\xE4\xB9\xB0\xE6\x97\xA9\xE7\x82"
    "\xB9\xE7\x9A\x84\xE4\xBA\xBA\xE8\xB6\x8A\xE6\x9D\xA5\xE8\xB6\x8A\xE5\xA4\x9A\xE3\x80\x82",
    // 有学生，有送快递的师傅，也有刚下夜班的护士。
    "\xE6\x9C\x89\xE5\xAD\xA6\xE7\x94\x9F\xEF\xBC\x8C\xE6\x9C\x89\xE9\x80\x81\xE5\xBF\xAB\xE9\x80"
    "\x92\xE7\x9A\x84\xE5\xB8\x88\xE5\x82\x85\xEF\xBC\x8C\xE4\xB9\x9F\xE6\x9C\x89\xE5\x88\x9A\xE4"
    "\xB8\x8B\xE5\xA4\x9C\xE7\x8F\xAD\xE7\x9A\x84\xE6\x8A\xA4\xE5\xA3\xAB\xE3\x80\x82",
    // 老王的妻子负责收钱，她算账很快，从来不用计算器。
    "\xE8\x80\x81\xE7\x8E\x8B\xE7\x9A\x84\xE5\xA6\xBB\xE5\xAD\x90\xE8\xB4\x9F\xE8\xB4\xA3\xE6\x94"
    "\xB6\xE9\x92\xB1\xEF\xBC\x8C\xE5\xA5\xB9\xE7\xAE\x97\xE8\xB4\xA6\xE5\xBE\x88\xE5\xBF\xAB\xEF"
    "\xBC\x8C\xE4\xBB\x8E\xE6\x9D\xA5\xE4\xB8\x8D\xE7\x94\xA8\xE8\xAE\xA1\xE7\xAE\x97\xE5\x99\xA8"
    "\xE3\x80\x82",
    // 有人问她为什么不用手机支付，她回答：“用了！
    "\xE6\x9C\x89\xE4\xBA\xBA\xE9\x97\xAE\xE5\xA5\xB9\xE4\xB8\xBA\xE4\xBB\x80\xE4\xB9\x88\xE4\xB8"
    "\x8D\xE7\x94\xA8\xE6\x89\x8B\xE6\x9C\xBA\xE6\x94\xAF\xE4\xBB\x98\xEF\xBC\x8C\xE5\xA5\xB9\xE5"
    "\x9B\x9E\xE7\xAD\x94\xEF\xBC\x9A\xE2\x80\x9C\xE7\x94\xA8\xE4\xBA\x86\xEF\xBC\x81",
    // 二维码就贴在车上呢。”
    "\xE4\xBA\x8C\xE7\xBB\xB4\xE7\xA0\x81\xE5\xB0\xB1\xE8\xB4\xB4\xE5\x9C\xA8\xE8\xBD\xA6\xE4\xB8"
    "\x8A\xE5\x91\xA2\xE3\x80\x82\xE2\x80\x9D",
    // 到了九点，包子卖完了，炉火也熄了。
    "\xE5\x88\xB0\xE4\xBA\x86\xE4\xB9\x9D\xE7\x82\xB9\xEF\xBC\x8C\xE5\x8C\x85\xE5\xAD\x90\xE5\x8D"
    "\x96\xE5\xAE\x8C\xE4\xBA\x86\xEF\xBC\x8C\xE7\x82\x89\xE7\x81\xAB\xE4\xB9\x9F\xE7\x86\x84\xE4"
    "\xBA\x86\xE3\x80\x82",
    // 老王把车子收拾干净，慢慢推回家去。
    "\xE8\x80\x81\xE7\x8E\x8B\xE6\x8A\x8A\xE8\xBD\xA6\xE5\xAD\x90\xE6\x94\xB6\xE6\x8B\xBE\xE5\xB9"
    "\xB2\xE5\x87\x80\xEF\xBC\x8C\xE6\x85\xA2\xE6\x85\xA2\xE6\x8E\xA8\xE5\x9B\x9E\xE5\xAE\xB6\xE5"
    "\x8E\xBB\xE3\x80\x82",
    // 明天早上六点半，他还会准时出现在这个街角吗？
    "\xE6\x98\x8E\xE5\xA4\xA9\xE6\x97\xA9\xE4\xB8\x8A\xE5\x85\xAD\xE7\x82\xB9\xE5\x8D\x8A\xEF\xBC"
    "\x8C\xE4\xBB\x96\xE8\xBF\x98\xE4\xBC\x9A\xE5\x87\x86\xE6\x97\xB6\xE5\x87\xBA\xE7\x8E\xB0\xE5"
    "\x9C\xA8\xE8\xBF\x99\xE4\xB8\xAA\xE8\xA1\x97\xE8\xA7\x92\xE5\x90\x97\xEF\xBC\x9F",
    // 当然会。
    "\xE5\xBD\x93\xE7\x84\xB6\xE4\xBC\x9A\xE3\x80\x82",
};
const char* const kEnClosers[] = {
    // The morning train was late again.
    "The morning train was late again.",
    // Nobody on the platform seemed surprised; most of them had stopped checking the board weeks
    // ago.
    "Nobody on the platform seemed surprised; most of them had stopped checking the board weeks "
    "ago.",
    // A woman in a green coat read a paperback, a man sold coffee from a cart for 2.50 a cup, and
    // two students argued about whether the delay was the signal's fault or the driver's.\n
    "A woman in a green coat read a paperback, a man sold coffee from a cart for 2.50 a cup, and "
    "two students argued about whether the delay was the signal's fault or the driver's.\n",
    // When the train finally arrived at 8.17, everyone crowded towards the doors at once!
    "When the train finally arrived at 8.17, everyone crowded towards the doors at once!",
    // Was there ever a quieter way to board?
    "Was there ever a quieter way to board?",
    // Probably not.
    "Probably not.",
    // Dr.
    "Dr.",
    // Ellis, who had taken the same train for twenty years, waited until the crowd had thinned and
    // then stepped on without a word.\n
    "Ellis, who had taken the same train for twenty years, waited until the crowd had thinned and "
    "then stepped on without a word.\n",
    // The journey itself took forty minutes.
    "The journey itself took forty minutes.",
    // Outside, the fields turned from grey to gold as the sun came up over the hills.\n
    "Outside, the fields turned from grey to gold as the sun came up over the hills.\n",
};

TEST(AttachClosers, Cases) {
    for (const OptionCase& c : kCloserCases) {
        SCOPED_TRACE(c.sName);
        EXPECT_EQ(Apply(c.sText, c.nEncode, Closers()), Expected(c));
    }
}

// With no option set the library's sentences come back as they are.
TEST(SentenceOptions, OffLeavesTheLibrarysSentences) {
    for (const OptionCase& c : kCloserCases) {
        SCOPED_TRACE(c.sName);
        std::string sText = c.sText;
        std::vector<Span> vSpans = LibrarySpans(sText, c.nEncode);
        EXPECT_EQ(Apply(sText, c.nEncode, SentenceOptions()), Texts(sText, vSpans));
    }
    EXPECT_EQ(varnel_host::SentenceOptionsLookAhead(SentenceOptions()), 0u);
}

std::string Sample(const char* sName) {
    return ReadWholeFile(std::string(VARNEL_SOURCE_DIR) + "/samples/" + sName);
}

std::string Utf8ToGbk(const std::string& s) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    std::string sOut(s.size() * 2 + 1, '\0');
    char* pIn = const_cast<char*>(s.data());
    char* pOut = &sOut[0];
    size_t nIn = s.size(), nOut = sOut.size();
    EXPECT_NE(iconv(cd, &pIn, &nIn, &pOut, &nOut), static_cast<size_t>(-1));
    iconv_close(cd);
    sOut.resize(sOut.size() - nOut);
    return sOut;
}

template <size_t N>
Sentences Pinned(const char* const (&vs)[N], bool bGbk = false) {
    Sentences v;
    for (const char* s : vs) v.push_back(bGbk ? Utf8ToGbk(s) : s);
    return v;
}

TEST(AttachClosers, Samples) {
    std::string sGbk = Sample("zh-gbk.txt");
    ASSERT_FALSE(sGbk.empty());
    EXPECT_EQ(Apply(Sample("zh-utf8.txt"), kUtf8, Closers()), Pinned(kZhClosers));
    EXPECT_EQ(Apply(sGbk, kGbk, Closers()), Pinned(kZhClosers, true));
    EXPECT_EQ(Apply(Sample("en.txt"), kUtf8, Closers()), Pinned(kEnClosers));
}

// The sentences vs with sentence i and the one after it joined by sGap.
Sentences Joined(Sentences vs, size_t i, const char* sGap) {
    vs[i] += sGap + vs[i + 1];
    vs.erase(vs.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    return vs;
}

// The samples in the reader mode are those of the closers option with the
// quotation 用了！二维码就贴在车上呢。 and "Dr. Ellis" whole.
TEST(Reader, Samples) {
    std::string sGbk = Sample("zh-gbk.txt");
    ASSERT_FALSE(sGbk.empty());
    const size_t kQuotation = 12, kDoctor = 6;
    ASSERT_EQ(std::string(kEnClosers[kDoctor]), "Dr.");
    EXPECT_EQ(Apply(Sample("zh-utf8.txt"), kUtf8, Reader()),
              Joined(Pinned(kZhClosers), kQuotation, ""));
    EXPECT_EQ(Apply(sGbk, kGbk, Reader()), Joined(Pinned(kZhClosers, true), kQuotation, ""));
    EXPECT_EQ(Apply(Sample("en.txt"), kUtf8, Reader()), Joined(Pinned(kEnClosers), kDoctor, " "));
}

std::vector<Span> ApplySpans(const std::string& sText, int nEncode,
                             const SentenceOptions& options) {
    std::vector<Span> vSpans = LibrarySpans(sText, nEncode);
    varnel_host::ApplySentenceOptions(sText.data(), sText.size(), nEncode, options, vSpans);
    return vSpans;
}

// The number of sentences before the boundary between the library's
// sentences that end at nEnd and start at nNext, when vSpans keeps it; else 0.
size_t KeptAt(const std::vector<Span>& vSpans, size_t nEnd, size_t nNext) {
    for (size_t j = 0; j + 1 < vSpans.size(); ++j)
        if (vSpans[j].nEnd == nEnd && vSpans[j + 1].nStart == nNext) return j + 1;
    return 0;
}

// What lets a host split a stream block by block. A boundary kept with the
// look-ahead's bytes read after it is kept in the whole text, with the same
// sentences before it; and the text cut at a kept boundary splits in two
// parts that give the whole's sentences. Returns the cuts tried.
size_t CheckCuts(const std::string& sText, int nEncode, const SentenceOptions& options) {
    std::vector<Span> vLibrary = LibrarySpans(sText, nEncode);
    std::vector<Span> vWhole = ApplySpans(sText, nEncode, options);
    std::vector<Span> vWholeBefore;
    size_t nLookAhead = varnel_host::SentenceOptionsLookAhead(options), nCuts = 0;
    for (size_t i = 0; i + 1 < vLibrary.size(); ++i) {
        size_t nCut = vLibrary[i].nEnd, nNext = vLibrary[i + 1].nStart;
        if (sText.size() - nCut < nLookAhead) break;
        SCOPED_TRACE("boundary at " + std::to_string(nCut));
        std::vector<Span> vBlock = ApplySpans(sText.substr(0, nCut + nLookAhead), nEncode, options);
        size_t nBefore = KeptAt(vWhole, nCut, nNext);
        if (size_t nBlockBefore = KeptAt(vBlock, nCut, nNext)) {
            EXPECT_EQ(nBlockBefore, nBefore) << "kept on a block, not in the whole";
            vBlock.resize(std::min(nBlockBefore, nBefore));
            vWholeBefore.assign(vWhole.begin(), vWhole.begin() + vBlock.size());
            EXPECT_EQ(Texts(sText, vBlock), Texts(sText, vWholeBefore));
        }
        if (!nBefore) continue;
        Sentences parts = Apply(sText.substr(0, nCut), nEncode, options);
        Sentences rest = Apply(sText.substr(nCut), nEncode, options);
        parts.insert(parts.end(), rest.begin(), rest.end());
        EXPECT_EQ(parts, Texts(sText, vWhole));
        ++nCuts;
    }
    return nCuts;
}

// The cases of a table run together, apart by nothing, blanks or line ends.
template <size_t N>
std::string Concatenated(const OptionCase (&cases)[N], int nEncode) {
    const char* const kApart[] = {"", " ", "\n", "  ", "\r\n"};
    std::string sText;
    size_t i = 0;
    for (const OptionCase& c : cases)
        if (c.nEncode == nEncode) sText += std::string(c.sText) + kApart[i++ % 5];
    return sText;
}

// Quotations of a few sentences and of more than the reader's look-ahead
// takes, with titles and brackets inside.
std::string LongQuotations(int nEncode) {
    // 甲。乙！《丙？》（丁。）
    std::string sUtf8 =
        "\xE7\x94\xB2\xE3\x80\x82\xE4\xB9\x99\xEF\xBC\x81\xE3\x80\x8A\xE4\xB8\x99\xEF\xBC\x9F"
        "\xE3\x80\x8B\xEF\xBC\x88\xE4\xB8\x81\xE3\x80\x82\xEF\xBC\x89";
    std::string sUnit = nEncode == kUtf8 ? sUtf8 : Utf8ToGbk(sUtf8);
    std::string sOpen = nEncode == kUtf8 ? "\xE2\x80\x9C" : "\xA1\xB0";   // “
    std::string sClose = nEncode == kUtf8 ? "\xE2\x80\x9D" : "\xA1\xB1";  // ”
    std::string sText;
    for (int nUnits : {2, 9, 4, 16, 1, 12}) {
        sText += sOpen;
        for (int i = 0; i < nUnits; ++i) sText += sUnit;
        sText += sClose + sUnit + (nUnits % 4 ? "" : "\n");
    }
    return sText;
}

TEST(SentenceOptions, CutsAtKeptBoundariesAreFinal) {
    struct Text {
        const char* sName;
        std::string sText;
        int nEncode;
    };
    // The closers' cases are too short for the reader's look-ahead alone.
    std::string sCloserUtf8 = Concatenated(kCloserCases, kUtf8);
    std::string sCloserGbk = Concatenated(kCloserCases, kGbk);
    const Text kTexts[] = {
        {"zh-utf8", Sample("zh-utf8.txt"), kUtf8},
        {"zh-gbk", Sample("zh-gbk.txt"), kGbk},
        {"en", Sample("en.txt"), kUtf8},
        {"closers utf8", sCloserUtf8 + sCloserUtf8, kUtf8},
        {"closers gbk", sCloserGbk + sCloserGbk + sCloserGbk, kGbk},
        {"reader utf8", Concatenated(kReaderCases, kUtf8), kUtf8},
        {"reader gbk", Concatenated(kReaderCases, kGbk), kGbk},
        {"english utf8", Concatenated(kEnglishCases, kUtf8), kUtf8},
        {"english gbk", Concatenated(kEnglishCases, kUtf8), kGbk},
        {"long quotations utf8", LongQuotations(kUtf8), kUtf8},
        {"long quotations gbk", LongQuotations(kGbk), kGbk},
    };
    for (const SentenceOptions& options : {Closers(), Reader()}) {
        for (const Text& text : kTexts) {
            SCOPED_TRACE(std::string(text.sName) + (options.bReader ? " reader" : " closers"));
            EXPECT_GT(CheckCuts(text.sText, text.nEncode, options), 0u);
        }
    }
}

}  // namespace
