// The Windows forms of the platform points, linked from the objects that make
// up Varnel.dll: the backslash before "Data" and the error writer's file name,
// line and standard-output fallback.
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "Check.h"
#include "Global.h"
#include "Log_windows.h"
#include "Varnel.h"

namespace {

std::string WorkingDirectory() {
    char sBuffer[1000] = {0};
    return _getcwd(sBuffer, sizeof sBuffer) ? sBuffer : "";
}

std::string FormatNow(time_t nTime, const char* sFormat) {
    struct tm when = {};
    localtime_s(&when, &nTime);
    char sBuffer[100];
    return std::string(sBuffer, strftime(sBuffer, sizeof sBuffer, sFormat, &when));
}

std::string ReadAll(const std::string& sName) {
    std::ifstream in(sName, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// s with every "[%Y-%m-%d %H:%M:%S]" stamp replaced by "[]".
std::string Unstamped(const std::string& s) {
    static const std::regex kStamp(R"(\[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\])");
    return std::regex_replace(s, kStamp, "[]");
}

// The names of the files and directories in sDir, "." and ".." left out.
std::vector<std::string> Entries(const std::string& sDir) {
    std::vector<std::string> vs;
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA((sDir + "\\*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE) return vs;
    do {
        std::string sName = data.cFileName;
        if (sName != "." && sName != "..") vs.push_back(sName);
    } while (FindNextFileA(hFind, &data));
    FindClose(hFind);
    return vs;
}

std::string MakeTempDirectory() {
    char sTemp[MAX_PATH + 1] = {0};
    GetTempPathA(sizeof sTemp, sTemp);
    std::string sDir = std::string(sTemp) + "varnel-" + std::to_string(GetCurrentProcessId()) +
                       "-" + std::to_string(GetTickCount());
    return _mkdir(sDir.c_str()) == 0 ? sDir : "";
}

// What the calls of fn print on standard output, taken byte for byte.
template <typename Fn>
std::string CaptureStdout(const std::string& sFile, Fn fn) {
    fflush(stdout);
    int nSaved = _dup(1);
    int nFile =
        _open(sFile.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
    _dup2(nFile, 1);
    _close(nFile);
    fn();
    fflush(stdout);
    _dup2(nSaved, 1);
    _close(nSaved);
    std::string sOut = ReadAll(sFile);
    remove(sFile.c_str());
    return sOut;
}

void CheckDataDirectory(CChecker& checker) {
    struct {
        const char* sInit;
        std::string sExpected;
    } const kCases[] = {
        {"C:\\data", "C:\\data\\Data"},
        {"C:\\data\\", "C:\\data\\\\Data"},  // not normalised: two separators
        {nullptr, WorkingDirectory() + "\\Data"},
        {"", WorkingDirectory() + "\\Data"},
    };
    for (const auto& c : kCases) {
        VN_Init(c.sInit, nullptr);
        checker.Equal(g_sDefaultDir, c.sExpected,
                      std::string("g_sDefaultDir after VN_Init(") +
                          (c.sInit ? "\"" + std::string(c.sInit) + "\"" : "NULL") + ")");
        VN_Exit();
    }
}

// The file and line of one WriteError in the working directory sDir: one file
// named by the date of its own stamp, the stamp within the call's time.
void CheckFirstLine(CChecker& checker, const std::string& sDir, std::string* psFileName) {
    time_t nBefore = time(nullptr);
    WriteError("first line");
    time_t nAfter = time(nullptr);

    std::vector<std::string> vs = Entries(sDir);
    if (!checker.Check(vs.size() == 1, "one file after the first WriteError")) return;
    *psFileName = vs[0];
    std::string sLine = ReadAll(sDir + "\\" + vs[0]);
    if (!checker.Equal(Unstamped(sLine), "[]\tfirst line\n", "the line")) return;
    std::string sStamp = sLine.substr(1, 19);
    checker.Check(sStamp >= FormatNow(nBefore, "%Y-%m-%d %H:%M:%S") &&
                      sStamp <= FormatNow(nAfter, "%Y-%m-%d %H:%M:%S"),
                  "stamp " + sStamp + " is the local time of the call");
    std::string sDate = sStamp.substr(0, 4) + sStamp.substr(5, 2) + sStamp.substr(8, 2);
    checker.Equal(vs[0], sDate + ".err", "file named by the date of the line's stamp");
}

// True when the day has not turned since nBefore, so that the writer's file
// is still sFileName.
bool StillOn(const std::string& sFileName, time_t nBefore) {
    return FormatNow(nBefore, "%Y%m%d") + ".err" == sFileName &&
           FormatNow(time(nullptr), "%Y%m%d") + ".err" == sFileName;
}

void CheckLaterLines(CChecker& checker, const std::string& sDir, const std::string& sFileName) {
    std::string sFile = sDir + "\\" + sFileName;
    std::string sSubDir = sDir + "\\moved";

    // The directory is fixed at the first call; the content ends at a NUL.
    _mkdir(sSubDir.c_str());
    _chdir(sSubDir.c_str());
    std::string sBefore = ReadAll(sFile);
    time_t nBefore = time(nullptr);
    WriteError(std::string("cut\0off", 7));
    WriteError("two\nlines");
    if (StillOn(sFileName, nBefore)) {
        checker.Check(Entries(sSubDir).empty(), "nothing written in the new working directory");
        checker.Equal(Unstamped(ReadAll(sFile).substr(sBefore.size())), "[]\tcut\n[]\ttwo\nlines\n",
                      "lines appended in the first directory");
    }

    // A directory in the file's place makes the open fail: both lines go to
    // standard output, the second with the full file name.
    DeleteFileA(sFile.c_str());
    _mkdir(sFile.c_str());
    nBefore = time(nullptr);
    std::string sOut = CaptureStdout(sDir + "\\stdout.txt", [] { WriteError("not written"); });
    if (StillOn(sFileName, nBefore)) {
        checker.Equal(Unstamped(sOut), "[] not written\nCannot write log file " + sFile + "!\r\n",
                      "standard-output fallback");
    }
}

void RemoveTree(const std::string& sDir) {
    for (const std::string& sName : Entries(sDir)) {
        std::string sPath = sDir + "\\" + sName;
        if (GetFileAttributesA(sPath.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(sPath);
        } else {
            DeleteFileA(sPath.c_str());
        }
    }
    RemoveDirectoryA(sDir.c_str());
}

void CheckErrorWriter(CChecker& checker) {
    std::string sDir = MakeTempDirectory();
    if (!checker.Check(!sDir.empty(), "temporary directory")) return;
    _chdir(sDir.c_str());
    std::string sFileName;
    CheckFirstLine(checker, sDir, &sFileName);
    if (!sFileName.empty()) CheckLaterLines(checker, sDir, sFileName);
    _chdir("\\");
    RemoveTree(sDir);
    checker.Check(GetFileAttributesA(sDir.c_str()) == INVALID_FILE_ATTRIBUTES,
                  "temporary directory removed");
}

}  // namespace

int main() {
    CChecker checker;
    CheckDataDirectory(checker);
    CheckErrorWriter(checker);
    return checker.Finish();
}
