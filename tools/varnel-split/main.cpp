// varnel-split: prints the sentences of text files, one per line.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Varnel.h"

namespace {

const char kUsage[] =
    "Usage: varnel-split [-e utf8|gbk] [FILE]...\n"
    "Split the text of each FILE (standard input when there is none, or for \"-\")\n"
    "into sentences and print one sentence per line.\n"
    "\n"
    "  -e, --encoding ENC  encoding of the input: utf8 (default) or gbk\n"
    "  -h, --help          print this help and exit\n"
    "\n"
    "Exit status: 0 when every file was split, 1 when a file could not be read\n"
    "or the output could not be written, 2 for a bad option.\n";

struct Options {
    int nEncode = 1;
    std::vector<std::string> vsFiles;
};

bool ReadAll(FILE* fp, std::string& sText) {
    char sBlock[1 << 16];
    size_t nRead;
    while ((nRead = fread(sBlock, 1, sizeof sBlock, fp)) > 0) sText.append(sBlock, nRead);
    return !ferror(fp);
}

// Prints one sentence per line; a sentence that ends in its own CR or LF keeps
// a single line break.
void PrintSentence(const char* sSentence) {
    size_t nLen = strlen(sSentence);
    if (nLen > 0 && (sSentence[nLen - 1] == '\n' || sSentence[nLen - 1] == '\r')) --nLen;
    fwrite(sSentence, 1, nLen, stdout);
    putchar('\n');
}

// A NUL cannot travel through the interface, so each NUL-separated piece of
// the input is split as a text of its own and nothing after a NUL is lost.
void SplitText(const std::string& sText, int nEncode) {
    size_t nPos = 0;
    while (nPos < sText.size()) {
        const char* sPiece = sText.c_str() + nPos;
        nPos += strlen(sPiece) + 1;
        for (const char* s = VN_GetSentence(sPiece, nEncode); *s; s = VN_GetSentence(nullptr, 0))
            PrintSentence(s);
    }
}

bool SplitFile(const std::string& sName, int nEncode) {
    bool bStdin = sName == "-";
    FILE* fp = bStdin ? stdin : fopen(sName.c_str(), "rb");
    if (!fp) {
        fprintf(stderr, "varnel-split: cannot open '%s': %s\n", sName.c_str(), strerror(errno));
        return false;
    }
    std::string sText;
    bool bRead = ReadAll(fp, sText);
    int nError = errno;
    if (!bStdin) fclose(fp);
    if (!bRead) {
        fprintf(stderr, "varnel-split: cannot read '%s': %s\n", sName.c_str(), strerror(nError));
        return false;
    }
    SplitText(sText, nEncode);
    return true;
}

// Returns 0 to go on, or the exit status to leave with.
int ParseOptions(int argc, char** argv, Options& options) {
    bool bOptionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        std::string sArg = argv[i];
        if (bOptionsEnd || sArg == "-" || sArg[0] != '-') {
            options.vsFiles.push_back(sArg);
        } else if (sArg == "--") {
            bOptionsEnd = true;
        } else if (sArg == "-h" || sArg == "--help") {
            fputs(kUsage, stdout);
            return -1;
        } else if (sArg == "-e" || sArg == "--encoding") {
            std::string sEnc = i + 1 < argc ? argv[++i] : "";
            if (sEnc == "utf8" || sEnc == "utf-8") {
                options.nEncode = 1;
            } else if (sEnc == "gbk") {
                options.nEncode = 0;
            } else {
                fprintf(stderr, "varnel-split: unknown encoding '%s' (use utf8 or gbk)\n",
                        sEnc.c_str());
                return 2;
            }
        } else {
            fprintf(stderr, "varnel-split: unknown option '%s'\n%s", sArg.c_str(), kUsage);
            return 2;
        }
    }
    if (options.vsFiles.empty()) options.vsFiles.push_back("-");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    int nStatus = ParseOptions(argc, argv, options);
    if (nStatus == -1) return 0;
    if (nStatus != 0) return nStatus;

    static char sOutBuffer[1 << 16];
    setvbuf(stdout, sOutBuffer, _IOFBF, sizeof sOutBuffer);
    VN_Init(nullptr, nullptr);
    for (const std::string& sName : options.vsFiles)
        if (!SplitFile(sName, options.nEncode)) nStatus = 1;
    VN_Exit();
    if (fflush(stdout) != 0 || ferror(stdout)) {
        fprintf(stderr, "varnel-split: cannot write the output: %s\n", strerror(errno));
        return 1;
    }
    return nStatus;
}
