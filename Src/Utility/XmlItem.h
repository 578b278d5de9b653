// The value of one simple item in XML-like text: the bytes between the first
// "<name>" and the next "</name>" after it, or the rest of the text when no
// closing tag follows. The tags are matched byte for byte, case-sensitively;
// a tag with attributes or blanks does not match. Nothing is parsed: no
// nesting, entities or comments, and the value is not trimmed. Item names may
// be of any length. All arguments must be non-null.
#ifndef VARNEL_UTILITY_XMLITEM_H
#define VARNEL_UTILITY_XMLITEM_H

#include <string>

// Writes the value into sValue, which must hold it, and returns true; writes
// the empty string and returns false when "<sItemName>" does not occur.
bool GetXMLItemValue(const char* sLine, const char* sItemName, char* sValue);

// Assigns the value to sVal and returns the position of its closing tag in
// sLine, from where the next item of the name can be read. Returns null when
// the opening tag does not occur (sVal untouched), when no closing tag
// follows (sVal holds the rest of the text) or when memory runs out.
const char* GetXMLItemValue(const char* sLine, const char* sItemName, std::string& sVal);

#endif
