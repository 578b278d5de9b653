// The manual page of varnel-split against the tool's own --help.
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

#include "Commands.h"

namespace {

const std::string kManPage = std::string(VARNEL_SOURCE_DIR) + "/tools/varnel-split/varnel-split.1";

// The manual page as a reader sees its words: font switches ("\fB", "\f(CW",
// "\f[B]") dropped and the escaped minus "\-" read as '-'.
std::string ManPageText() {
    std::string sPage = ReadWholeFile(kManPage), sText;
    for (size_t i = 0; i < sPage.size(); ++i) {
        if (sPage[i] != '\\' || i + 1 == sPage.size()) {
            sText += sPage[i];
        } else if (sPage[i + 1] == '-') {
            sText += '-';
            ++i;
        } else if (sPage[i + 1] == 'f' && i + 2 < sPage.size()) {
            char cKind = sPage[i + 2];
            size_t nEnd = cKind == '[' ? sPage.find(']', i) : cKind == '(' ? i + 4 : i + 2;
            i = nEnd == std::string::npos ? sPage.size() : nEnd;
        } else {
            sText += sPage[i];
        }
    }
    return sText;
}

bool IsNameChar(char c) { return isalnum(static_cast<unsigned char>(c)) || c == '-'; }

// Every "-x" and "--name" that stands as a word of sText ("--" alone is not one).
std::set<std::string> OptionsIn(const std::string& sText) {
    std::set<std::string> options;
    for (size_t i = 0; i < sText.size(); ++i) {
        if (sText[i] != '-' || (i > 0 && (IsNameChar(sText[i - 1]) || sText[i - 1] == '_')))
            continue;
        size_t nName = sText.compare(i, 2, "--") == 0 ? i + 2 : i + 1;
        if (nName >= sText.size() || !isalpha(static_cast<unsigned char>(sText[nName]))) continue;
        size_t nEnd = nName;
        while (nEnd < sText.size() && IsNameChar(sText[nEnd])) ++nEnd;
        options.insert(sText.substr(i, nEnd - i));
        i = nEnd;
    }
    return options;
}

std::string Section(const std::string& sPage, const std::string& sName) {
    size_t nStart = sPage.find("\n.SH " + sName + "\n");
    if (nStart == std::string::npos) return "";
    nStart += sName.size() + 6;
    size_t nEnd = sPage.find("\n.SH ", nStart);
    return sPage.substr(nStart, nEnd == std::string::npos ? std::string::npos : nEnd - nStart);
}

TEST(ManPageTest, DescribesEveryOptionOfHelpAndNoOther) {
    int nStatus;
    std::string sHelp = CommandOutput(std::string("'") + VARNEL_SPLIT_PATH + "' --help", &nStatus);
    ASSERT_EQ(nStatus, 0);
    std::set<std::string> helpOptions = OptionsIn(sHelp);
    ASSERT_TRUE(helpOptions.count("--help")) << sHelp;

    std::string sPage = ManPageText();
    std::set<std::string> pageOptions = OptionsIn(Section(sPage, "OPTIONS"));
    std::set<std::string> synopsisOptions = OptionsIn(Section(sPage, "SYNOPSIS"));
    for (const std::string& sOption : helpOptions)
        EXPECT_TRUE(pageOptions.count(sOption)) << sOption << " is missing from OPTIONS";
    for (const std::string& sOption : pageOptions)
        EXPECT_TRUE(helpOptions.count(sOption)) << sOption << " is not in --help";
    // The synopsis names only real options, as the help's usage line does.
    for (const std::string& sOption : synopsisOptions)
        EXPECT_TRUE(helpOptions.count(sOption)) << sOption << " in SYNOPSIS is not in --help";
}

TEST(ManPageTest, FormatsWithoutWarnings) {
    int nStatus;
    std::string sWarnings =
        CommandOutput("groff -man -Tutf8 -ww -z '" + kManPage + "' 2>&1", &nStatus);
    EXPECT_EQ(nStatus, 0);
    EXPECT_EQ(sWarnings, "");
}

}  // namespace

// The page's header names the one version, which lives in the file VERSION.
TEST(ManPageTest, NamesTheProjectVersion) {
    std::string sVersion = ReadWholeFile(std::string(VARNEL_SOURCE_DIR) + "/VERSION");
    sVersion = sVersion.substr(0, sVersion.find_first_of("\r\n"));
    ASSERT_FALSE(sVersion.empty());
    std::string sPage = ReadWholeFile(kManPage);
    std::string sHeader = sPage.substr(0, sPage.find('\n'));
    EXPECT_NE(sHeader.find("\"Varnel " + sVersion + "\""), std::string::npos) << sHeader;
}
