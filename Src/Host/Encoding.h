// Encoding names as the hosts accept them: one table for the command-line
// host and the Python package, so that both take the same names.
#ifndef VARNEL_HOST_ENCODING_H
#define VARNEL_HOST_ENCODING_H

namespace varnel_host {

// The library's encode switch for a name: 1 for UTF-8, 0 for GBK, -1 when the
// name is none of them. Case, '-', '_' and spaces do not count, so "UTF-8",
// "utf_8" and "utf8" are one name; the aliases are those of Python's codecs
// (u8, cp65001; cp936, 936, ms936).
int EncodeFromName(const char* sName);

// The canonical name of an encode switch: "utf-8" for 1, "gbk" for any other.
const char* EncodingName(int nEncode);

// The accepted names, for messages: "utf-8 or gbk (aliases: ...)".
const char* EncodingNamesHelp();

}  // namespace varnel_host

#endif
