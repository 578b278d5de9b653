#include "Abbreviations.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "Commands.h"
#include "OptionCases.h"

using varnel_host::Abbreviations;

namespace {

Abbreviations::Kind Find(const Abbreviations& abbreviations, const std::string& sWord) {
    return abbreviations.Find(sWord.data(), sWord.size());
}

TEST(Abbreviations, BuiltIn) {
    struct Case {
        const char* sWord;  // without its final '.'
        Abbreviations::Kind kind;
    };
    const Case kCases[] = {
        {"Dr", Abbreviations::kTitle},
        {"Mrs", Abbreviations::kTitle},
        {"e.g", Abbreviations::kTitle},
        {"approx", Abbreviations::kTitle},
        {"Approx", Abbreviations::kTitle},  // listed small, found capitalised
        {"etc", Abbreviations::kMayEnd},
        {"Etc", Abbreviations::kMayEnd},
        {"Inc", Abbreviations::kMayEnd},
        {"inc", Abbreviations::kNone},  // listed capitalised only
        {"No", Abbreviations::kMayEnd},
        {"no", Abbreviations::kNone},
        {"Jan", Abbreviations::kMayEnd},
        {"May", Abbreviations::kNone},
        {"DR", Abbreviations::kNone},
        {"the", Abbreviations::kNone},
        {"", Abbreviations::kNone},
        {"Dr.", Abbreviations::kNone},
        {"Abcdefghijklmnopqrstuvwxyzabcdefgh", Abbreviations::kNone},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.sWord);
        EXPECT_EQ(Find(Abbreviations::BuiltIn(), c.sWord), c.kind);
    }
}

class AbbreviationFile : public testing::Test {
  protected:
    std::string Write(const std::string& sContent) {
        std::string sPath = dir_.path() + "/abbreviations.txt";
        std::ofstream(sPath, std::ios::binary) << sContent;
        return sPath;
    }
    TempDir dir_;
};

TEST_F(AbbreviationFile, AddsItsWords) {
    Abbreviations abbreviations;
    std::string sError;
    ASSERT_TRUE(
        abbreviations.Load(Write("# units\n\nEq.\n  Ph.D.  \r\nabbr\nDr\n").c_str(), sError))
        << sError;
    EXPECT_EQ(Find(abbreviations, "Eq"), Abbreviations::kMayEnd);
    EXPECT_EQ(Find(abbreviations, "Ph.D"), Abbreviations::kMayEnd);
    EXPECT_EQ(Find(abbreviations, "Abbr"), Abbreviations::kMayEnd);
    EXPECT_EQ(Find(abbreviations, "Dr"), Abbreviations::kTitle);  // the built-in kind stays
    EXPECT_EQ(Find(abbreviations, "units"), Abbreviations::kNone);
    EXPECT_EQ(Find(Abbreviations::BuiltIn(), "Eq"), Abbreviations::kNone);
}

// A bad file adds nothing and says where it is at fault.
TEST_F(AbbreviationFile, Errors) {
    struct Case {
        const char* sContent;
        const char* sError;  // after the file's name
    };
    const Case kCases[] = {
        {"Zz\nnot one\n", ":2: \"not one\" is no abbreviation"},
        {"Zz\n\na..b\n", ":3: \"a..b\" is no abbreviation"},
        {".x", ":1: \".x\" is no abbreviation"},
        {"Zz\nx1.", ":2: \"x1.\" is no abbreviation"},
        {"Zz\n.\n", ":2: \".\" is no abbreviation"},
        {"Zz\nAbcdefghijklmnopqrstuvwxyzabcdef\n",
         ":2: \"Abcdefghijklmnopqrstuvwxyzabcdef\" is no"},
        {"Zz\n<NUL>\n", ":2: a NUL byte"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.sError);
        std::string sContent = c.sContent;
        if (size_t nAt = sContent.find("<NUL>"); nAt != std::string::npos)
            sContent.replace(nAt, 5, 1, '\0');
        std::string sPath = Write(sContent), sError;
        Abbreviations abbreviations;
        EXPECT_FALSE(abbreviations.Load(sPath.c_str(), sError));
        EXPECT_EQ(sError.rfind(sPath + c.sError, 0), 0u) << sError;
        EXPECT_EQ(Find(abbreviations, "Zz"), Abbreviations::kNone);
    }
    Abbreviations abbreviations;
    std::string sError;
    EXPECT_FALSE(abbreviations.Load((dir_.path() + "/missing").c_str(), sError));
    EXPECT_EQ(sError, dir_.path() + "/missing: No such file or directory");
    EXPECT_FALSE(abbreviations.Load(dir_.path().c_str(), sError));
    EXPECT_EQ(sError, dir_.path() + ": Is a directory");
}

// The reader mode takes the words of a file beside its own.
TEST_F(AbbreviationFile, ReaderUsesThem) {
    Abbreviations abbreviations;
    std::string sError;
    ASSERT_TRUE(abbreviations.Load(Write("Eq\n").c_str(), sError)) << sError;
    SentenceOptions options = Reader();
    const std::string sText = "See Eq. Seven here. He said so.";
    for (int nEncode : {kUtf8, kGbk}) {
        EXPECT_EQ(Apply(sText, nEncode, Reader()),
                  (Sentences{"See Eq.", "Seven here.", "He said so."}));
        options.pAbbreviations = &abbreviations;
        EXPECT_EQ(Apply(sText, nEncode, options),
                  (Sentences{"See Eq. Seven here.", "He said so."}));
    }
}

}  // namespace
