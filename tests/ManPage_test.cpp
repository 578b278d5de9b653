// The manual page of varnel-split against the tool's own --help.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

const std::string kManPage = std::string(VARNEL_SOURCE_DIR) + "/tools/varnel-split/varnel-split.1";

// Runs sCommand through the shell; returns its standard output and sets nStatus.
std::string CommandOutput(const std::string& sCommand, int& nStatus) {
    std::string sOut;
    FILE* fp = popen(sCommand.c_str(), "r");
    if (!fp) {
        nStatus = -1;
        return sOut;
    }
    char sBuffer[4096];
    size_t n;
    while ((n = fread(sBuffer, 1, sizeof sBuffer, fp)) > 0) sOut.append(sBuffer, n);
    int nRaw = pclose(fp);
    nStatus = WIFEXITED(nRaw) ? WEXITSTATUS(nRaw) : -1;
    return sOut;
}

// The manual page as a reader sees its words: font switches dropped and the
// escaped minus "\-" read as '-'.
std::string ManPageText() {
    std::ifstream in(kManPage);
    std::stringstream ss;
    ss << in.rdbuf();
    std::string sText = std::regex_replace(ss.str(), std::regex(R"(\\f(\[[^\]]*\]|\(..|.))"), "");
    return std::regex_replace(sText, std::regex(R"(\\-)"), "-");
}

// Every "-x" and "--name" that stands as a word of sText ("--" alone is not one).
std::set<std::string> OptionsIn(const std::string& sText) {
    static const std::regex kOption(R"((^|[^A-Za-z0-9_-])(--?[A-Za-z][A-Za-z0-9-]*))");
    std::set<std::string> options;
    for (std::sregex_iterator it(sText.begin(), sText.end(), kOption), end; it != end; ++it)
        options.insert((*it)[2]);
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
    std::string sHelp = CommandOutput(std::string("'") + VARNEL_SPLIT_PATH + "' --help", nStatus);
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
        CommandOutput("groff -man -Tutf8 -ww -z '" + kManPage + "' 2>&1", nStatus);
    EXPECT_EQ(nStatus, 0);
    EXPECT_EQ(sWarnings, "");
}

}  // namespace
