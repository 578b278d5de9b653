// The install tree as its users meet it: the README's examples, taken from
// README.md as written, run in order in one shell against a fresh install.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "Commands.h"

namespace {

using Examples = std::vector<std::pair<std::string, std::string>>;  // name, text

// Every fenced block that a line "<!-- example: NAME -->" announces, in order.
Examples ReadmeExamples() {
    const std::string kMarker = "<!-- example: ";
    std::istringstream in(ReadWholeFile(std::string(VARNEL_SOURCE_DIR) + "/README.md"));
    Examples examples;
    std::string sLine;
    while (std::getline(in, sLine)) {
        if (sLine.rfind(kMarker, 0) != 0) continue;
        std::string sName = sLine.substr(kMarker.size(), sLine.find(" -->") - kMarker.size());
        std::string sText;
        if (!std::getline(in, sLine) || sLine.rfind("```", 0) != 0) break;
        while (std::getline(in, sLine) && sLine != "```") sText += sLine + "\n";
        examples.emplace_back(sName, sText);
    }
    return examples;
}

bool IsScript(const std::string& sName) {
    return sName.size() > 3 && sName.compare(sName.size() - 3, 3, ".sh") == 0;
}

// The NEEDED entries of an ELF file, one "[name]" each.
std::vector<std::string> Needed(const std::string& sFile) {
    std::istringstream in(CommandOutput("readelf -d '" + sFile + "'"));
    std::vector<std::string> needed;
    std::string sLine;
    while (std::getline(in, sLine))
        if (sLine.find("(NEEDED)") != std::string::npos)
            needed.push_back(sLine.substr(sLine.find('[')));
    return needed;
}

bool EndsWith(const std::string& s, const std::string& sEnd) {
    return s.size() >= sEnd.size() && s.compare(s.size() - sEnd.size(), sEnd.size(), sEnd) == 0;
}

// [你好。] [Hi there.] [Bye], one per line.
const std::string kHostOutput = "[\xE4\xBD\xA0\xE5\xA5\xBD\xE3\x80\x82]\n[Hi there.]\n[Bye]\n";

class InstallTest : public testing::Test {
  protected:
    void SetUp() override {
        m_sDir = m_tempDir.path();
        ASSERT_FALSE(m_sDir.empty());
        m_sWork = m_sDir + "/work";
        // The examples run where a user who built the tree stands: beside build/ and samples/.
        std::string sSetup = "mkdir '" + m_sWork + "' && ln -s '" VARNEL_BINARY_DIR "' '" +
                             m_sWork + "/build' && ln -s '" VARNEL_SOURCE_DIR "/samples' '" +
                             m_sWork + "/samples'";
        ASSERT_EQ(system(sSetup.c_str()), 0);
    }
    // Writes the example files, runs the scripts in one shell with HOME in the
    // temporary directory, and returns each script's standard output by name.
    std::map<std::string, std::string> RunExamples(const Examples& examples) {
        std::string sScript =
            "set -eo pipefail\n"
            "unset PKG_CONFIG_PATH VARNEL_LIBRARY LD_LIBRARY_PATH CMAKE_PREFIX_PATH PYTHONPATH\n"
            "export HOME='" +
            m_sDir + "' LC_ALL=C.UTF-8\ncd '" + m_sWork + "'\n";
        for (const auto& [sName, sText] : examples) {
            if (!IsScript(sName)) {
                std::ofstream(m_sWork + "/" + sName, std::ios::binary) << sText;
                continue;
            }
            sScript += "echo '@@ " + sName + "'\n" + sText;
        }
        std::ofstream(m_sDir + "/examples.sh", std::ios::binary) << sScript;
        std::string sCommand = "bash '" + m_sDir + "/examples.sh' >'" + m_sDir + "/out' 2>'" +
                               m_sDir + "/err' </dev/null";
        int nRaw = system(sCommand.c_str());
        std::string sOut = ReadWholeFile(m_sDir + "/out");
        EXPECT_TRUE(WIFEXITED(nRaw) && WEXITSTATUS(nRaw) == 0) << sScript << "\n--- output:\n"
                                                               << sOut << "\n--- errors:\n"
                                                               << ReadWholeFile(m_sDir + "/err");

        std::map<std::string, std::string> outputs;
        std::string* pCurrent = nullptr;
        std::istringstream in(sOut);
        std::string sLine;
        while (std::getline(in, sLine)) {
            if (sLine.rfind("@@ ", 0) == 0)
                pCurrent = &outputs[sLine.substr(3)];
            else if (pCurrent)
                *pCurrent += sLine + "\n";
        }
        return outputs;
    }

    TempDir m_tempDir;
    std::string m_sDir, m_sWork;
};

TEST_F(InstallTest, ReadmeExamplesRunAgainstTheInstallTree) {
    if (*VARNEL_SANITIZE)
        GTEST_SKIP() << "a sanitized libVarnel.so cannot be loaded by the plain programs of the "
                        "examples (build without VARNEL_SANITIZE to run them)";
    Examples examples = ReadmeExamples();
    std::vector<std::string> names;
    for (const auto& example : examples) names.push_back(example.first);
    const std::vector<std::string> kNames = {"host.c",         "cli.sh",   "install.sh",
                                             "CMakeLists.txt", "cmake.sh", "pkg-config.sh",
                                             "split.py",       "python.sh"};
    ASSERT_EQ(names, kNames);

    std::map<std::string, std::string> outputs = RunExamples(examples);

    // The command-line host from the build tree: both samples, then standard input.
    const std::string sCli = outputs["cli.sh"];
    // 清晨六点半， opens both samples.
    const std::string kSampleStart =
        "\xE6\xB8\x85\xE6\x99\xA8\xE5\x85\xAD\xE7\x82\xB9\xE5\x8D\x8A\xEF\xBC\x8C";
    EXPECT_EQ(sCli.rfind(kSampleStart, 0), 0u) << sCli;
    EXPECT_NE(sCli.find("\n" + kSampleStart, 1), std::string::npos) << sCli;
    EXPECT_TRUE(EndsWith(sCli, "One.\nTwo?\nThree\n")) << sCli;

    // CMake's own messages come first.
    EXPECT_TRUE(EndsWith(outputs["install.sh"], "One.\nTwo?\nThree\n")) << outputs["install.sh"];
    EXPECT_TRUE(EndsWith(outputs["cmake.sh"], kHostOutput)) << outputs["cmake.sh"];
    EXPECT_EQ(outputs["pkg-config.sh"], kHostOutput);
    // ['你好。', 'Hi there.', 'Bye'], ['你好！', '再见'], then the GBK bytes of 你好。 and 再见.
    EXPECT_EQ(outputs["python.sh"],
              "['\xE4\xBD\xA0\xE5\xA5\xBD\xE3\x80\x82', 'Hi there.', 'Bye']\n"
              "['\xE4\xBD\xA0\xE5\xA5\xBD\xEF\xBC\x81', '\xE5\x86\x8D\xE8\xA7\x81']\n"
              "[b'\\xc4\\xe3\\xba\\xc3\\xa1\\xa3', b'\\xd4\\xd9\\xbc\\xfb']\n");

    // Consumers record the library by name: it has no soname, and a link by
    // path would record the path of the install tree.
    for (const std::string& sHost : {m_sWork + "/host-build/host", m_sWork + "/host"}) {
        SCOPED_TRACE(sHost);
        std::vector<std::string> needed = Needed(sHost);
        ASSERT_FALSE(needed.empty());
        int nVarnel = 0;
        for (const std::string& sEntry : needed) {
            EXPECT_EQ(sEntry.find('/'), std::string::npos) << sEntry;
            nVarnel += sEntry == "[libVarnel.so]";
        }
        EXPECT_EQ(nVarnel, 1);
    }
}

TEST_F(InstallTest, InstallTreeHoldsEveryPart) {
    std::string sPrefix = m_sDir + "/prefix";
    std::string sInstall = "cmake --install '" VARNEL_BINARY_DIR "' --prefix '" + sPrefix + "' >'" +
                           m_sDir + "/out' 2>&1";
    ASSERT_EQ(system(sInstall.c_str()), 0) << ReadWholeFile(m_sDir + "/out");
    const char* const kFiles[] = {
        "lib/libVarnel.so",
        "include/Varnel.h",
        "bin/varnel-split",
        "share/man/man1/varnel-split.1",
        "lib/cmake/Varnel/VarnelConfig.cmake",
        "lib/cmake/Varnel/VarnelConfigVersion.cmake",
        "lib/cmake/Varnel/VarnelTargets.cmake",
        "lib/pkgconfig/varnel.pc",
        "lib/varnel/__init__.py",
        "lib/varnel/_varnel.pyi",
        "lib/varnel/py.typed",
    };
    for (const char* sFile : kFiles)
        EXPECT_TRUE(std::ifstream(sPrefix + "/" + sFile).good()) << sFile << " is not installed";
    // The extension, named for the interpreter it was built for.
    std::string sExtension = CommandOutput("ls '" + sPrefix + "/lib/varnel'");
    EXPECT_NE(sExtension.find("_varnel.cpython-"), std::string::npos) << sExtension;

    // The tool finds the library relative to itself, never in the build tree.
    std::string sDynamic = CommandOutput("readelf -d '" + sPrefix + "/bin/varnel-split'");
    EXPECT_NE(sDynamic.find("Library runpath: [$ORIGIN/../lib]"), std::string::npos) << sDynamic;
    EXPECT_EQ(sDynamic.find(VARNEL_BINARY_DIR), std::string::npos) << sDynamic;

    // The pkg-config file finds its prefix from its own place, wherever the tree is put.
    std::string sMoved = m_sDir + "/moved";
    ASSERT_EQ(system(("mv '" + sPrefix + "' '" + sMoved + "'").c_str()), 0);
    std::string sFlags = CommandOutput("PKG_CONFIG_PATH='" + sMoved +
                                       "/lib/pkgconfig' pkg-config --cflags --libs varnel");
    EXPECT_EQ(sFlags, "-I" + sMoved + "/lib/pkgconfig/../../include -L" + sMoved +
                          "/lib/pkgconfig/../../lib -lVarnel \n");
}

}  // namespace
