// Faults from the outside world across the library's topics: log directories
// that cannot be written, full disks, inputs that are missing, unreadable or
// directories, lines far longer than any reader's buffer, and a working
// directory that has been removed.
#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "Utility.h"
#include "TestFiles.h"
#include "Varnel.h"

namespace {

using testfiles::DayEntries;
using testfiles::Entries;
using testfiles::Exists;
using testfiles::InTempDir;
using testfiles::Letters;
using testfiles::Masked;
using testfiles::WriteAll;
using Lines = std::vector<std::string>;

// Takes away, for its lifetime, the file-system rights that let root read and
// write anything, so that permission faults show for root as for anyone.
class Unprivileged {
  public:
    Unprivileged() : m_bSwitched(geteuid() == 0) {
        if (m_bSwitched) setfsuid(65534);
    }
    ~Unprivileged() {
        if (m_bSwitched) setfsuid(0);
    }
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;

  private:
    bool m_bSwitched;
};

std::string Today() {
    char sDay[16];
    time_t now = time(nullptr);
    struct tm when;
    localtime_r(&now, &when);
    strftime(sDay, sizeof sDay, "%Y%m%d", &when);
    return sDay;
}

const char kUnreadableText[] = "Plain English text that nobody may read.\n";

bool IsOpenStream(FILE* fp) { return fcntl(fileno(fp), F_GETFD) != -1; }

// Inputs that no reader can take as a readable file.
enum class Bad { kMissing, kUnreadable, kDirectory };
const Bad kBadKinds[] = {Bad::kMissing, Bad::kUnreadable, Bad::kDirectory};

const char* Name(Bad kind) {
    return kind == Bad::kMissing ? "missing" : kind == Bad::kUnreadable ? "unreadable" : "dir";
}

class Faults : public InTempDir {
  protected:
    // Open to everyone, so that a fault below shows as itself under
    // Unprivileged, and the day's files can still be written.
    void SetUp() override {
        InTempDir::SetUp();
        chmod(Dir().c_str(), 0777);
    }

    std::string BadInput(Bad kind, const std::string& name) {
        std::string path = Path(name);
        if (kind == Bad::kUnreadable) {
            WriteAll(path, kUnreadableText);
            chmod(path.c_str(), 0);
        } else if (kind == Bad::kDirectory) {
            mkdir(path.c_str(), 0755);
        }
        return path;
    }
};

TEST_F(Faults, UnwritableLogDirectoriesFallBackToStandardOutput) {
    mkdir(Path("readonly").c_str(), 0555);
    WriteAll(Path("plain"), "a file where a directory should be");
    testing::internal::CaptureStdout();
    {
        Unprivileged unprivileged;
        WriteError("lost error", Path("readonly").c_str());
        WriteLog("lost note", Path("plain").c_str(), false);
    }
    std::string out = testing::internal::GetCapturedStdout();

    EXPECT_EQ(Masked(out), "[T] lost error\nCannot write log file " + Path("readonly") +
                               "/DATE.err!\r\n[T] lost note\nCannot write log file " +
                               Path("plain") + "/DATE.log!\r\n");
    EXPECT_TRUE(Entries(Path("readonly")).empty());
}

// A line that cannot be written is not lost either: it goes where a line goes
// when its file cannot be opened.
TEST_F(Faults, LogLineOnAFullDiskFallsBackToStandardOutput) {
    mkdir(Path("logs").c_str(), 0755);
    std::string out;
    for (std::string day; day != Today();) {
        day = Today();
        symlink("/dev/full", Path("logs/" + day + ".err").c_str());
        testing::internal::CaptureStdout();
        WriteError("lost on a full disk", Path("logs").c_str());
        out = testing::internal::GetCapturedStdout();
        unlink(Path("logs/" + day + ".err").c_str());
    }
    EXPECT_EQ(Masked(out),
              "[T] lost on a full disk\nCannot write log file " + Path("logs") + "/DATE.err!\r\n");
}

TEST_F(Faults, WritersReportAFullDisk) {
    EXPECT_FALSE(CC_Generate("/dev/full"));
    char sFull[] = "/dev/full";
    EXPECT_FALSE(GB2312_Generate(sFull));
    EXPECT_FALSE(gfn_bWriteFile("/dev/full", "text"));

    // The stream writers have no result: they leave the caller's stream open,
    // and its error flag tells the caller of the loss.
    FILE* fp = fopen("/dev/full", "wb");
    ASSERT_NE(fp, nullptr);
    setvbuf(fp, nullptr, _IONBF, 0);
    WriteLog(fp, "a stamped line");
    tstring_save(std::string("a record"), fp);
    EXPECT_TRUE(IsOpenStream(fp));
    EXPECT_NE(ferror(fp), 0);
    fclose(fp);

    fp = fopen("/dev/full", "wb");
    ASSERT_NE(fp, nullptr);
    setvbuf(fp, nullptr, _IONBF, 0);
    WriteAll(Path("src"), "0123456789");
    FILE* src = fopen(Path("src").c_str(), "rb");
    ASSERT_NE(src, nullptr);
    unsigned char sBuf[4];
    EXPECT_EQ(FileCopy(src, fp, 0, 10, sBuf, sizeof sBuf, nullptr), 0);
    EXPECT_EQ(FileCopy(src, fp, 4, nullptr, 0), -2);
    fclose(src);
    fclose(fp);
}

TEST_F(Faults, FileReadersTakeNothingFromBadInputs) {
    WriteAll(Path("good.txt"), "good text");
    for (Bad kind : kBadKinds) {
        SCOPED_TRACE(Name(kind));
        std::string path = BadInput(kind, std::string(Name(kind)) + ".txt");
        Unprivileged unprivileged;

        char* pBuffer = nullptr;
        EXPECT_EQ(ReadFile(path.c_str(), &pBuffer, 0, 0, true), 0u);
        if (pBuffer) {
            EXPECT_STREQ(pBuffer, "");
        }
        delete[] pBuffer;
        std::string sText = "stale";
        EXPECT_EQ(ReadFile(path.c_str(), sText, 0, 0, true), 0u);
        EXPECT_EQ(sText, "");

        // A shared reader keeps serving the good file around the bad request.
        CReadFile reader;
        EXPECT_EQ(reader.ReadFile(Path("good.txt").c_str(), sText, 0, 0, true), 9u);
        EXPECT_EQ(reader.ReadFile(path.c_str(), sText, 0, 0, true), 0u);
        EXPECT_EQ(reader.ReadFile(Path("good.txt").c_str(), sText, 0, 0, true), 9u);
        EXPECT_EQ(sText, "good text");

        EXPECT_FALSE(IsEnglishTextFile(path.c_str()));
        EXPECT_FALSE(FileCopy(path.c_str(), Path("copy").c_str(), 16));
    }
    EXPECT_EQ(get_file_size(Path("missing.txt").c_str()), -1);
    // The status of a file needs no right to read it.
    EXPECT_EQ(get_file_size(Path("unreadable.txt").c_str()), long(sizeof kUnreadableText - 1));
}

TEST_F(Faults, DocumentsThatCannotBeReadAreRecorded) {
    for (Bad kind : kBadKinds) {
        SCOPED_TRACE(Name(kind));
        std::string root = Path(Name(kind));
        mkdir(root.c_str(), 0755);
        BadInput(kind, std::string(Name(kind)) + "/7.txt");
        BadInput(kind, std::string(Name(kind)) + "/7.html");
        std::string sContent = "stale";
        {
            Unprivileged unprivileged;
            EXPECT_EQ(GetFileContentById("7", root.c_str(), sContent), nullptr);
        }
        EXPECT_EQ(sContent, "");
    }
    Lines expected;
    for (Bad kind : kBadKinds) {
        expected.push_back("Read file by ID fail!");
        expected.push_back(Path(Name(kind)) + "/7.html");
    }
    EXPECT_EQ(DayEntries(Dir(), ".err"), expected);
}

TEST_F(Faults, DirectoryWalkersRefuseWhatTheyCannotOpen) {
    WriteAll(Path("plain"), "not a directory");
    mkdir(Path("closed").c_str(), 0);
    for (const char* name : {"missing", "plain", "closed"}) {
        SCOPED_TRACE(name);
        std::vector<std::string> vsFiles{"kept"};
        Unprivileged unprivileged;
        EXPECT_FALSE(gfn_vScanFiles(Path(name).c_str(), vsFiles, ""));
        EXPECT_EQ(vsFiles, Lines{"kept"});
        EXPECT_FALSE(gfn_bCleanDirectory(Path(name).c_str()));
    }
    EXPECT_TRUE(Exists(Path("plain")));
}

// Opening a directory as a stream succeeds; every read from it fails, and the
// stream readers and copies take nothing from it.
TEST_F(Faults, StreamReadersOverADirectoryGiveNothing) {
    FILE* fp = fopen(Dir().c_str(), "rb");
    ASSERT_NE(fp, nullptr);
    std::string sRecord = "stale";
    tstring_load(sRecord, fp);
    EXPECT_EQ(sRecord, "");
    EXPECT_EQ(GetFileLinesCount(fp), 0u);
    std::vector<std::string> vsWords;
    EXPECT_EQ(ReadNWord(fp, 5, vsWords), 0u);
    FILE* dst = fopen(Path("copy").c_str(), "w+b");
    ASSERT_NE(dst, nullptr);
    unsigned char sBuf[4];
    EXPECT_EQ(FileCopy(fp, dst, 0, 10, sBuf, sizeof sBuf, nullptr), 0);
    EXPECT_EQ(FileCopy(fp, dst, 4, nullptr, 0), -2);  // the directory's size never arrives
    fclose(dst);
    fclose(fp);
    EXPECT_EQ(ReadWholeFile(Path("copy")), "");
    EXPECT_FALSE(gfn_bWriteFile(Dir().c_str(), "text"));
    EXPECT_FALSE(CC_Generate(Dir().c_str()));
}

TEST_F(Faults, LinesFarLongerThanAnyBufferComeThroughWhole) {
    const std::string sLine = Letters(1 << 20);
    WriteAll(Path("long.txt"), sLine + "\n" + sLine);

    std::string sText;
    EXPECT_EQ(ReadFile(Path("long.txt").c_str(), sText, 0, 0, true), 2 * sLine.size() + 1);
    EXPECT_EQ(sText, sLine + "\n" + sLine);
    FILE* fp = fopen(Path("long.txt").c_str(), "rb");
    ASSERT_NE(fp, nullptr);
    // Counted in pieces of 999 bytes, the first line with its line feed.
    EXPECT_EQ(GetFileLinesCount(fp), (sLine.size() + 1 + 998) / 999 + (sLine.size() + 998) / 999);
    fclose(fp);

    std::vector<tstring> vsPieces;
    EXPECT_EQ(GetStrVector(sLine.c_str(), " ", vsPieces), 1u);
    EXPECT_EQ(vsPieces[0], sLine);
    std::string sCut = sLine + "\r\n" + sLine;
    char* pNext = nullptr;
    char cSep = 0;
    EXPECT_EQ(std::string(StrLine(&sCut[0], &pNext, &cSep, nullptr, true)), sLine);

    // Records in the day's files and values of items take any length.
    WriteError(sLine, nullptr);
    EXPECT_EQ(str2time(sLine.c_str()), -1);
    std::vector<std::string> vsFiles = testfiles::DayFiles(Dir(), "", ".err");
    ASSERT_EQ(vsFiles.size(), 1u);
    EXPECT_EQ(Masked(ReadWholeFile(Path(vsFiles[0]))),
              "[T]\t" + sLine + "\n[T]\tstrDateStr[" + sLine + "] err \n\n");
    std::string sName = Letters(300);
    std::string sValue;
    GetXMLItemValue(("<" + sName + ">" + sLine + "</" + sName + ">").c_str(), sName.c_str(),
                    sValue);
    EXPECT_EQ(sValue, sLine);
}

TEST_F(Faults, RemovedWorkingDirectory) {
    ASSERT_EQ(mkdir(Path("gone").c_str(), 0755), 0);
    ASSERT_EQ(chdir(Path("gone").c_str()), 0);
    ASSERT_EQ(rmdir(Path("gone").c_str()), 0);

    EXPECT_EQ(VN_Init(nullptr, nullptr), 1);
    EXPECT_EQ(g_sDefaultDir, "/Data");
    EXPECT_STREQ(VN_GetSentence("Still splits. Yes", 0), "Still splits.");
    VN_Exit();

    char sPath[1000] = "untouched";
    char sFile[16];
    EXPECT_STREQ(GetRelevatePath("a.txt", sPath, sFile), "a.txt");
    EXPECT_STREQ(sPath, "untouched");

    // The default log directory stays unknown, so the line is meant for the
    // root directory; where that cannot be written it goes to standard output.
    testing::internal::CaptureStdout();
    {
        Unprivileged unprivileged;
        WriteError("nowhere to go", nullptr);
    }
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(Masked(out), "[T] nowhere to go\nCannot write log file /DATE.err!\r\n");
    EXPECT_EQ(g_sLogPath, "");
}

}  // namespace
