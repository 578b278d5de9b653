// varnel-split as a filter: bounded memory on a line of any length, output as
// its input arrives, a progress bar only where it helps, and every failure
// told with the status the help gives.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "Commands.h"
#include "SplitOutput.h"

namespace {

// varnel-split started with the given arguments; its standard input, output
// and error are the descriptors given, or pipes that the test holds.
class Child {
  public:
    static const int kPipe = -1;

    Child(const std::vector<std::string>& vsArgs, int fdIn = kPipe, int fdOut = kPipe,
          int fdErr = kPipe) {
        int aIn[2] = {fdIn, -1}, aOut[2] = {-1, fdOut}, aErr[2] = {-1, fdErr};
        if (fdIn == kPipe) {
            EXPECT_EQ(pipe(aIn), 0);
        }
        if (fdOut == kPipe) {
            EXPECT_EQ(pipe(aOut), 0);
        }
        if (fdErr == kPipe) {
            EXPECT_EQ(pipe(aErr), 0);
        }
        m_pid = fork();
        if (m_pid == 0) {
            dup2(aIn[0], STDIN_FILENO);
            dup2(aOut[1], STDOUT_FILENO);
            dup2(aErr[1], STDERR_FILENO);
            for (int fd = 3; fd < 256; ++fd) close(fd);
            std::vector<char*> vArgv{const_cast<char*>(VARNEL_SPLIT_PATH)};
            for (const std::string& s : vsArgs) vArgv.push_back(const_cast<char*>(s.c_str()));
            vArgv.push_back(nullptr);
            execv(VARNEL_SPLIT_PATH, vArgv.data());
            _exit(127);
        }
        m_fdIn = fdIn == kPipe ? aIn[1] : -1;
        m_fdOut = fdOut == kPipe ? aOut[0] : -1;
        m_fdErr = fdErr == kPipe ? aErr[0] : -1;
        if (fdIn == kPipe) close(aIn[0]);
        if (fdOut == kPipe) close(aOut[1]);
        if (fdErr == kPipe) close(aErr[1]);
    }
    ~Child() {
        CloseInput();
        if (m_pid > 0 && !m_bWaited) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        for (int fd : {m_fdOut, m_fdErr})
            if (fd >= 0) close(fd);
    }

    bool Write(const std::string& s) {
        return write(m_fdIn, s.data(), s.size()) == static_cast<ssize_t>(s.size());
    }
    void CloseInput() {
        if (m_fdIn >= 0) close(m_fdIn);
        m_fdIn = -1;
    }

    // Reads standard output until it holds sWanted or nothing comes for 10 s.
    std::string ReadUntil(const std::string& sWanted) {
        while (m_sOut.find(sWanted) == std::string::npos && ReadSome(m_fdOut, m_sOut, 10000)) {
        }
        return m_sOut;
    }

    // Waits for the end; the exit status, or 128 + the signal that ended it.
    int Wait() {
        while (m_fdOut >= 0 && ReadSome(m_fdOut, m_sOut, 60000)) {
        }
        while (m_fdErr >= 0 && ReadSome(m_fdErr, m_sErr, 60000)) {
        }
        int nStatus = 0;
        wait4(m_pid, &nStatus, 0, &m_usage);
        m_bWaited = true;
        return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : 128 + WTERMSIG(nStatus);
    }

    // Appends what fd has to s; false at its end or after nMillis of silence.
    static bool ReadSome(int fd, std::string& s, int nMillis) {
        struct pollfd ready = {fd, POLLIN, 0};
        if (poll(&ready, 1, nMillis) <= 0) return false;
        char sBuffer[65536];
        ssize_t n = read(fd, sBuffer, sizeof sBuffer);
        if (n <= 0) return false;
        s.append(sBuffer, static_cast<size_t>(n));
        return true;
    }

    pid_t Pid() const { return m_pid; }
    const std::string& Out() const { return m_sOut; }
    const std::string& Err() const { return m_sErr; }
    // Peak resident memory of the finished child, in bytes.
    size_t PeakMemory() const { return static_cast<size_t>(m_usage.ru_maxrss) * 1024; }

  private:
    pid_t m_pid = -1;
    int m_fdIn = -1, m_fdOut = -1, m_fdErr = -1;
    bool m_bWaited = false;
    std::string m_sOut, m_sErr;
    struct rusage m_usage = {};
};

class SplitToolFilterTest : public testing::Test {
  protected:
    std::string WriteInput(const std::string& sName, const std::string& sText) {
        std::string sPath = m_dir.path() + "/" + sName;
        std::ofstream(sPath, std::ios::binary) << sText;
        return sPath;
    }
    int Open(const std::string& sPath, int nFlags) {
        int fd = open(sPath.c_str(), nFlags, 0644);
        EXPECT_GE(fd, 0) << sPath;
        m_vFds.push_back(fd);
        return fd;
    }
    void TearDown() override {
        for (int fd : m_vFds) close(fd);
    }

    TempDir m_dir;
    std::vector<int> m_vFds;
};

TEST_F(SplitToolFilterTest, OneLongLineSplitsWithinTheDocumentedMemory) {
    // 24 MB without a line feed: short sentences in English and Chinese.
    const std::string kUnit =
        "Hi there. How are you? \xE4\xBD\xA0\xE5\xA5\xBD\xE3\x80\x82OK! ";  // 你好。
    const size_t kUnits = (24 << 20) / kUnit.size();
    std::string sIn = m_dir.path() + "/line.txt", sOut = m_dir.path() + "/out";
    {
        std::ofstream in(sIn, std::ios::binary);
        for (size_t i = 0; i < kUnits; ++i) in << kUnit;
    }
    std::string sTiny = WriteInput("tiny.txt", "Hi.");
    // A child's peak counts the pages of this process when it forked, so the
    // text is built only once the runs are done.
    Child tiny({"--no-progress", sTiny}, Child::kPipe, Open(sOut, O_WRONLY | O_CREAT));
    ASSERT_EQ(tiny.Wait(), 0);
    Child child({"--no-progress", sIn}, Child::kPipe, Open(sOut, O_WRONLY | O_TRUNC));
    ASSERT_EQ(child.Wait(), 0) << child.Err();
    std::string sText;
    for (size_t i = 0; i < kUnits; ++i) sText += kUnit;
    EXPECT_TRUE(ReadWholeFile(sOut) == ExpectedOutput(sText, 1));
    if (*VARNEL_SANITIZE) GTEST_SKIP() << "a sanitizer's own memory hides the program's";
    // The help gives about 4 times the block size (1M) beyond the program itself.
    EXPECT_LE(child.PeakMemory(), tiny.PeakMemory() + (4 << 20))
        << "peak " << child.PeakMemory() << " bytes, the program alone " << tiny.PeakMemory();
}

TEST_F(SplitToolFilterTest, PrintsEachLineAsItArrivesFromAPipe) {
    struct {
        const char* sLine;
        const char* sSentences;
    } const kLines[] = {
        {"One. Two? Three\n", "One.\nTwo?\nThree\n"},
        {"\xE5\x9B\x9B\xE3\x80\x82\xE4\xBA\x94\n",
         "\xE5\x9B\x9B\xE3\x80\x82\n\xE4\xBA\x94\n"},  // 四。五
        {"Last!\n", "Last!\n"},
    };
    for (const char* sJobs : {"-j1", "-j2"}) {
        SCOPED_TRACE(sJobs);
        Child child({"--no-progress", sJobs});
        std::string sWanted;
        for (const auto& line : kLines) {
            ASSERT_TRUE(child.Write(line.sLine));
            sWanted += line.sSentences;
            EXPECT_EQ(child.ReadUntil(sWanted), sWanted) << "not printed before the next line";
        }
        child.CloseInput();
        EXPECT_EQ(child.Wait(), 0);
        EXPECT_EQ(child.Out(), sWanted);
    }
}

// varnel-split with standard error on a pseudo-terminal; what the terminal
// showed.
struct OnTerminal {
    int nStatus;
    std::string sTerminal;
};

OnTerminal RunOnTerminal(const std::vector<std::string>& vsArgs, bool bOutputToo, int fdFile) {
    int fdMaster, fdSlave;
    EXPECT_EQ(openpty(&fdMaster, &fdSlave, nullptr, nullptr, nullptr), 0);
    OnTerminal result;
    {
        Child child(vsArgs, Child::kPipe, bOutputToo ? fdSlave : fdFile, fdSlave);
        close(fdSlave);
        child.Write("One. Two.\n");
        child.CloseInput();
        while (Child::ReadSome(fdMaster, result.sTerminal, 2000)) {
        }
        result.nStatus = child.Wait();
    }
    close(fdMaster);
    return result;
}

TEST_F(SplitToolFilterTest, DrawsTheBarOnlyWhereItHelps) {
    int fdFile = Open(m_dir.path() + "/out", O_WRONLY | O_CREAT);
    OnTerminal toFile = RunOnTerminal({}, false, fdFile);
    EXPECT_EQ(toFile.nStatus, 0);
    EXPECT_NE(toFile.sTerminal.find("MB/s"), std::string::npos) << toFile.sTerminal;
    EXPECT_EQ(toFile.sTerminal.back(), '\n') << "the bar ends its line";

    OnTerminal both = RunOnTerminal({}, true, fdFile);
    EXPECT_EQ(both.nStatus, 0);
    EXPECT_NE(both.sTerminal.find("One."), std::string::npos) << both.sTerminal;
    EXPECT_EQ(both.sTerminal.find("MB/s"), std::string::npos) << both.sTerminal;

    EXPECT_EQ(RunOnTerminal({"--no-progress"}, false, fdFile).sTerminal, "");
    OnTerminal forced = RunOnTerminal({"--progress"}, true, fdFile);
    EXPECT_NE(forced.sTerminal.find("MB/s"), std::string::npos) << forced.sTerminal;
}

TEST_F(SplitToolFilterTest, ClearsTheBarOnCtrlC) {
    int fdMaster, fdSlave;
    ASSERT_EQ(openpty(&fdMaster, &fdSlave, nullptr, nullptr, nullptr), 0);
    m_vFds.push_back(fdMaster);
    Child child({}, Child::kPipe, Open("/dev/null", O_WRONLY), fdSlave);
    close(fdSlave);
    std::string sTerminal;
    child.Write("Waiting for more.\n");
    while (sTerminal.find("MB/s") == std::string::npos &&
           Child::ReadSome(fdMaster, sTerminal, 10000)) {
    }
    kill(child.Pid(), SIGINT);
    EXPECT_EQ(child.Wait(), 128 + SIGINT);
    while (Child::ReadSome(fdMaster, sTerminal, 500)) {
    }
    const std::string kClear = "\r\033[K";
    ASSERT_GE(sTerminal.size(), kClear.size());
    EXPECT_EQ(sTerminal.substr(sTerminal.size() - kClear.size()), kClear) << sTerminal;
}

TEST_F(SplitToolFilterTest, RefusesSizesThatOverflow) {
    const char* const kArgs[][2] = {
        {"-b", "17179869185G"}, {"-b", "18446744073709551616"}, {"-b", "2G"},
        {"-b", "1048577K"},     {"-j", "99999999999999999999"},
    };
    for (const auto& args : kArgs) {
        SCOPED_TRACE(args[1]);
        Child child({args[0], args[1]}, Open("/dev/null", O_RDONLY));
        EXPECT_EQ(child.Wait(), 2);
        EXPECT_NE(child.Err().find(std::string("not '") + args[1] + "'"), std::string::npos)
            << child.Err();
    }
}

TEST_F(SplitToolFilterTest, TellsWhenMemoryRunsOut) {
    if (*VARNEL_SANITIZE) GTEST_SKIP() << "a sanitizer's runtime does not start under these limits";
    // One sentence of 64 MB with 32 MB of data allowed.
    std::string sIn = WriteInput("sentence.txt", std::string(64 << 20, 'w') + ". Next.");
    int nRaw = system(("ulimit -d 32768 && exec '" VARNEL_SPLIT_PATH "' --no-progress '" + sIn +
                       "' >/dev/null 2>'" + m_dir.path() + "/err'")
                          .c_str());
    EXPECT_TRUE(WIFEXITED(nRaw) && WEXITSTATUS(nRaw) == 1);
    EXPECT_EQ(ReadWholeFile(m_dir.path() + "/err"),
              "varnel-split: not enough memory to split '" + sIn + "'\n");

    // Buffers for 64 jobs of 1G blocks, with 4 GB of address space.
    nRaw = system(("ulimit -v 4194304 && exec '" VARNEL_SPLIT_PATH "' -j 64 -b 1G </dev/null 2>'" +
                   m_dir.path() + "/err'")
                      .c_str());
    EXPECT_TRUE(WIFEXITED(nRaw) && WEXITSTATUS(nRaw) == 1);
    std::string sErr = ReadWholeFile(m_dir.path() + "/err");
    EXPECT_EQ(sErr.rfind("varnel-split: cannot allocate", 0), 0u) << sErr;
    EXPECT_EQ(std::count(sErr.begin(), sErr.end(), '\n'), 1) << sErr;
}

// The worker processes of a running varnel-split.
std::vector<pid_t> Workers(pid_t pid) {
    std::string sChildren = ReadWholeFile("/proc/" + std::to_string(pid) + "/task/" +
                                          std::to_string(pid) + "/children");
    std::vector<pid_t> vWorkers;
    for (size_t nPos = 0; nPos < sChildren.size();) {
        size_t nEnd = sChildren.find(' ', nPos);
        if (nEnd == std::string::npos) nEnd = sChildren.size();
        if (nEnd > nPos) vWorkers.push_back(std::stoi(sChildren.substr(nPos, nEnd - nPos)));
        nPos = nEnd + 1;
    }
    return vWorkers;
}

TEST_F(SplitToolFilterTest, TellsOfAWorkerThatWasKilled) {
    // Whether or not a job would have gone to it, the dead worker is told.
    for (int nLines : {1, 20000}) {
        SCOPED_TRACE(nLines);
        Child child({"--no-progress", "-j", "2", "-b", "4K"});
        child.Write("One. Two.\n");
        child.ReadUntil("Two.\n");
        std::vector<pid_t> vWorkers = Workers(child.Pid());
        ASSERT_EQ(vWorkers.size(), 2u);
        kill(vWorkers[0], SIGKILL);
        signal(SIGPIPE, SIG_IGN);  // the child may be gone while this writes
        for (int i = 0; i < nLines; ++i) child.Write("More. Text.\n");
        signal(SIGPIPE, SIG_DFL);
        child.CloseInput();
        EXPECT_EQ(child.Wait(), 1);
        EXPECT_NE(child.Err().find("worker stopped"), std::string::npos) << child.Err();
    }
}

}  // namespace
