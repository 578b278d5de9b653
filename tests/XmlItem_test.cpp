#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "XmlItem.h"

namespace {

struct Case {
    const char* line;
    const char* name;
    bool found;             // the opening tag occurs
    const char* value;      // the value, when found
    const char* closeRest;  // the text from the returned closing tag on, or null
};

const Case kCases[] = {
    {"<doc><title>Hello</title></doc>", "title", true, "Hello", "</title></doc>"},
    {"<title></title>", "title", true, "", "</title>"},
    {"<a>1</a><a>2</a>", "a", true, "1", "</a><a>2</a>"},
    {"<title>no end", "title", true, "no end", nullptr},
    {"<title>", "title", true, "", nullptr},
    {"<Title>x</Title>", "title", false, "", nullptr},
    {"<title id=\"1\">x</title>", "title", false, "", nullptr},
    {"<title >x</title>", "title", false, "", nullptr},
    {"<item><b>bold</b> text</item>", "item", true, "<b>bold</b> text", "</item>"},
    {" <t> a\r\nb </t>", "t", true, " a\r\nb ", "</t>"},
    // The closing tag is sought only after the opening one.
    {"</v>x<v>y</v>", "v", true, "y", "</v>"},
    // A longer name that merely starts alike is another item.
    {"<titles>x</titles><title>y</title>", "title", true, "y", "</title>"},
    {"<title>x</titles>", "title", true, "x</titles>", nullptr},
    {"<t>a<xt>b</t>", "t", true, "a<xt>b", "</t>"},
    {"<<t>>x</t>", "t", true, ">x", "</t>"},
    {"", "title", false, "", nullptr},
    {"<>empty name</>", "", true, "empty name", "</>"},
    // \xC4\xE3\xBA\xC3 is 你好
    {"<w>\xC4\xE3\xBA\xC3</w>", "w", true, "\xC4\xE3\xBA\xC3", "</w>"},
};

TEST(XmlItem, CharacterForm) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.name) + " in " + c.line);
        char sValue[100] = "stale";
        EXPECT_EQ(GetXMLItemValue(c.line, c.name, sValue), c.found);
        EXPECT_STREQ(sValue, c.found ? c.value : "");
    }
}

TEST(XmlItem, StringForm) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.name) + " in " + c.line);
        std::string sVal = "stale";
        const char* pClose = GetXMLItemValue(c.line, c.name, sVal);
        EXPECT_EQ(sVal, c.found ? c.value : "stale");
        if (!c.closeRest) {
            EXPECT_EQ(pClose, nullptr);
            continue;
        }
        ASSERT_NE(pClose, nullptr);
        EXPECT_GE(pClose, c.line);
        EXPECT_STREQ(pClose, c.closeRest);
    }
}

TEST(XmlItem, StringFormReadsRepeatedItemsInTurn) {
    const char* sLine = "<r><id>7</id><x>skip</x><id></id><id>42</id></r>";
    std::vector<std::string> values;
    std::string sVal;
    for (const char* p = GetXMLItemValue(sLine, "id", sVal); p;
         p = GetXMLItemValue(p, "id", sVal)) {
        values.push_back(sVal);
    }
    EXPECT_EQ(values, (std::vector<std::string>{"7", "", "42"}));
}

TEST(XmlItem, NamesOfAnyLength) {
    for (size_t nLen : {252, 253, 300, 5000}) {
        SCOPED_TRACE(nLen);
        std::string sName(nLen, 'n');
        std::string sLine = "<" + sName + ">long</" + sName + "> tail";
        char sValue[16];
        EXPECT_TRUE(GetXMLItemValue(sLine.c_str(), sName.c_str(), sValue));
        EXPECT_STREQ(sValue, "long");
        std::string sVal;
        const char* pClose = GetXMLItemValue(sLine.c_str(), sName.c_str(), sVal);
        EXPECT_EQ(sVal, "long");
        EXPECT_EQ(pClose, sLine.c_str() + nLen + 6);

        // One byte short of the name in the text is not the same item.
        std::string sShorter(nLen - 1, 'n');
        EXPECT_FALSE(GetXMLItemValue(sLine.c_str(), (sName + "n").c_str(), sValue));
        EXPECT_TRUE(GetXMLItemValue(("<" + sShorter + ">v").c_str(), sShorter.c_str(), sValue));
        EXPECT_STREQ(sValue, "v");
    }
}

}  // namespace
