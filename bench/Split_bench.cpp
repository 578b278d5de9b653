// End-to-end splitting throughput: VN_GetSentence(text) and every following
// call until the empty string, on a text already in memory. Measured in the
// same run as its references: ICU's sentence iterator on the same text, one
// strlen pass (the floor), an oracle of the protocol that knows every sentence
// end in advance (the ceiling: the copy and one cut per sentence), and the
// protocol driven by the plain scalar scan. Beside them, the hosts' sentence
// options on the library's sentences (the closers option and the reader mode),
// and the command-line host on the same text read from a file, its output
// thrown away.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <unicode/ubrk.h>
#include <unicode/ucnv.h>
#include <unicode/utext.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "Scanner.h"
#include "SentenceOptions.h"
#include "Sentences.h"
#include "Varnel.h"

namespace {

struct Corpus {
    const char* sName;
    const char* sFile;  // in the source tree, or a real corpus's in VARNEL_REAL_CORPUS
    int nEncode;
    const char* sLocale;
    bool bReal;  // real text that bench/real_corpus.py wrote, in UTF-8
};

// The samples, a few kilobytes each, repeated; and real text that does not
// repeat up to its own size (English about 128 MiB, Chinese about 3 MiB, the
// GBK one converted from the UTF-8 one), lengthened by its lines in shuffled
// order where a text is larger.
const Corpus kCorpora[] = {
    {"en", "/samples/en.txt", 1, "en", false},
    {"zh-utf8", "/samples/zh-utf8.txt", 1, "zh", false},
    {"zh-gbk", "/samples/zh-gbk.txt", 0, "zh", false},
    {"en-real", "/en-real.txt", 1, "en", true},
    {"zh-real-utf8", "/zh-real-utf8.txt", 1, "zh", true},
    {"zh-real-gbk", "/zh-real-utf8.txt", 0, "zh", true},
};

const size_t kMB = size_t(1) << 20;

const char* RealCorpusDir() { return getenv("VARNEL_REAL_CORPUS"); }

std::string Convert(const char* sTo, const char* sFrom, const std::string& sIn) {
    std::string sOut(sIn.size() * 2 + 16, '\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t nLen = ucnv_convert(sTo, sFrom, &sOut[0], static_cast<int32_t>(sOut.size()), sIn.data(),
                                static_cast<int32_t>(sIn.size()), &status);
    if (U_FAILURE(status)) {
        fprintf(stderr, "varnel-bench: %s to %s failed: %s\n", sFrom, sTo, u_errorName(status));
        exit(1);
    }
    sOut.resize(nLen);
    return sOut;
}

std::string GbkToUtf8(const std::string& sGbk) { return Convert("UTF-8", "GBK", sGbk); }

std::string ReadSample(const Corpus& corpus) {
    std::string sPath =
        (corpus.bReal ? RealCorpusDir() : VARNEL_SOURCE_DIR) + std::string(corpus.sFile);
    std::ifstream in(sPath, std::ios::binary);
    std::string sText((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (sText.empty() || sText.back() != '\n') {
        fprintf(stderr, "varnel-bench: cannot read %s\n", sPath.c_str());
        exit(1);
    }
    return corpus.bReal && corpus.nEncode == 0 ? Convert("GBK", "UTF-8", sText) : sText;
}

// The lines of sText, each with its line feed.
std::vector<std::string> Lines(const std::string& sText) {
    std::vector<std::string> vs;
    for (size_t nAt = 0, nEnd; nAt < sText.size(); nAt = nEnd + 1) {
        nEnd = sText.find('\n', nAt);
        vs.push_back(sText.substr(nAt, nEnd - nAt + 1));
    }
    return vs;
}

// The sample to about nSize bytes, cut after its last whole line: repeated,
// or for real text, its lines in a new shuffled order each time round.
std::string MakeText(const Corpus& corpus, size_t nSize) {
    std::string sSample = ReadSample(corpus), sText;
    std::vector<std::string> vsLines;
    std::mt19937 rng(20261211);
    sText.reserve(nSize + sSample.size());
    sText += sSample;
    while (sText.size() < nSize) {
        if (!corpus.bReal) {
            sText += sSample;
            continue;
        }
        if (vsLines.empty()) vsLines = Lines(sSample);
        std::shuffle(vsLines.begin(), vsLines.end(), rng);
        for (size_t k = 0; k < vsLines.size() && sText.size() < nSize; ++k) sText += vsLines[k];
    }
    sText.resize(sText.rfind('\n', nSize - 1) + 1);
    return sText;
}

// One text at a time is kept: the benchmarks of one corpus and size run in a row.
struct Texts {
    int nCorpus = -1;
    size_t nSize = 0;
    std::string sText;  // in the corpus's encoding
    std::string sUtf8;  // the same text in UTF-8, for ICU
};

const Texts& GetTexts(int nCorpus, size_t nSize) {
    static Texts texts;
    if (texts.nCorpus == nCorpus && texts.nSize == nSize) return texts;
    texts = Texts();
    texts.sText = MakeText(kCorpora[nCorpus], nSize);
    texts.sUtf8 = kCorpora[nCorpus].nEncode == 1 ? texts.sText : GbkToUtf8(texts.sText);
    texts.nCorpus = nCorpus;
    texts.nSize = nSize;
    return texts;
}

void Report(benchmark::State& state, size_t nBytes, size_t nSentences) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * nBytes));
    state.counters["bytes"] = static_cast<double>(nBytes);
    state.counters["bytes/sentence"] =
        nSentences ? double(nBytes) * double(state.iterations()) / double(nSentences) : 0;
}

void BM_Varnel(benchmark::State& state, int nCorpus, size_t nSize) {
    const std::string& sText = GetTexts(nCorpus, nSize).sText;
    int nEncode = kCorpora[nCorpus].nEncode;
    auto split = [&] {
        size_t n = 0;
        for (const char* s = VN_GetSentence(sText.c_str(), nEncode); *s;
             s = VN_GetSentence(nullptr, nEncode)) {
            benchmark::DoNotOptimize(s);
            ++n;
        }
        return n;
    };
    split();  // the copy buffer is allocated and paged in once, outside the timing
    size_t nSentences = 0;
    for (auto _ : state) nSentences += split();
    Report(state, sText.size(), nSentences);
}

// The library's sentences as spans of the text, as a host finds them: the
// first one behind the leading blanks, each one where the library's copy has
// it, its end where its NUL is.
void SplitSpans(const std::string& sText, int nEncode, std::vector<varnel_host::Span>& vSpans) {
    vSpans.clear();
    const char* s = VN_GetSentence(sText.c_str(), nEncode);
    size_t nLead = strspn(sText.c_str(), " \r\n\t");
    const char* pBase = s - nLead;
    for (; *s; s = VN_GetSentence(nullptr, nEncode)) {
        size_t nStart = static_cast<size_t>(s - pBase);
        vSpans.push_back({nStart, nStart + strlen(s)});
    }
}

// Split into spans, then the options: the host's work before it writes.
void BM_Options(benchmark::State& state, int nCorpus, size_t nSize,
                varnel_host::SentenceOptions options) {
    const std::string& sText = GetTexts(nCorpus, nSize).sText;
    int nEncode = kCorpora[nCorpus].nEncode;
    std::vector<varnel_host::Span> vSpans;
    auto split = [&] {
        SplitSpans(sText, nEncode, vSpans);
        varnel_host::ApplySentenceOptions(sText.data(), sText.size(), nEncode, options, vSpans);
        benchmark::DoNotOptimize(vSpans.data());
        return vSpans.size();
    };
    split();  // buffers allocated and paged in once, outside the timing
    size_t nSentences = 0;
    for (auto _ : state) nSentences += split();
    Report(state, sText.size(), nSentences);
}

void BM_Spans(benchmark::State& state, int nCorpus, size_t nSize) {
    BM_Options(state, nCorpus, nSize, varnel_host::SentenceOptions());
}

void BM_Closers(benchmark::State& state, int nCorpus, size_t nSize) {
    varnel_host::SentenceOptions options;
    options.bAttachClosers = true;
    BM_Options(state, nCorpus, nSize, options);
}

void BM_Reader(benchmark::State& state, int nCorpus, size_t nSize) {
    varnel_host::SentenceOptions options;
    options.bReader = true;
    BM_Options(state, nCorpus, nSize, options);
}

// Where each sentence starts and where its cut falls, found by the plain scan.
std::vector<std::pair<size_t, size_t>> FindCuts(const std::string& sText, int nEncode) {
    std::vector<std::pair<size_t, size_t>> vCuts;
    const char* p = sText.c_str();
    size_t nPos = 0, nSize = sText.size();
    while (nPos < nSize) {
        while (nPos < nSize && strchr(" \r\n\t", p[nPos])) ++nPos;
        if (nPos == nSize) break;
        size_t nLen = varnel::ScanSentenceEnd(p + nPos, nSize - nPos, nEncode);
        size_t nEnd = nLen == varnel::kNoSentenceEnd ? nSize : nPos + nLen;
        vCuts.emplace_back(nPos, nEnd);
        nPos = nEnd;
    }
    return vCuts;
}

// The protocol at its cheapest: it knows the length and every cut in advance,
// so a call only undoes the last cut and makes the next one.
class Oracle {
  public:
    Oracle(std::vector<std::pair<size_t, size_t>> vCuts, size_t nLen)
        : m_vCuts(std::move(vCuts)), m_nLen(nLen), m_sBuffer(new char[nLen + 1]) {}
    ~Oracle() { delete[] m_sBuffer; }
    Oracle(const Oracle&) = delete;
    Oracle& operator=(const Oracle&) = delete;

    __attribute__((noinline)) const char* GetSentence(const char* sText) {
        if (sText) {
            memcpy(m_sBuffer, sText, m_nLen + 1);
            m_nNext = 0;
        } else {
            *m_pCut = m_charEnd;
        }
        if (m_nNext == m_vCuts.size()) return "";
        const std::pair<size_t, size_t>& cut = m_vCuts[m_nNext++];
        m_pCut = m_sBuffer + cut.second;
        m_charEnd = *m_pCut;
        *m_pCut = 0;
        return m_sBuffer + cut.first;
    }

  private:
    std::vector<std::pair<size_t, size_t>> m_vCuts;
    size_t m_nLen;
    char* m_sBuffer;
    size_t m_nNext = 0;
    char* m_pCut = nullptr;
    char m_charEnd = 0;
};

void BM_Oracle(benchmark::State& state, int nCorpus, size_t nSize) {
    const std::string& sText = GetTexts(nCorpus, nSize).sText;
    Oracle oracle(FindCuts(sText, kCorpora[nCorpus].nEncode), sText.size());
    auto split = [&] {
        size_t n = 0;
        for (const char* s = oracle.GetSentence(sText.c_str()); *s;
             s = oracle.GetSentence(nullptr)) {
            benchmark::DoNotOptimize(s);
            ++n;
        }
        return n;
    };
    split();  // its buffer is paged in once, outside the timing
    size_t nSentences = 0;
    for (auto _ : state) nSentences += split();
    Report(state, sText.size(), nSentences);
}

// The protocol on the plain scalar scan: measure, copy into a kept buffer,
// then per call undo the cut, skip blanks, scan and cut.
class ScalarSplitter {
  public:
    ~ScalarSplitter() { delete[] m_sBuffer; }

    __attribute__((noinline)) const char* GetSentence(const char* sText, int nEncode) {
        if (sText) {
            size_t nLen = strlen(sText);
            if (nLen + 1 > m_nCapacity) {
                delete[] m_sBuffer;
                m_sBuffer = new char[nLen + 1];
                m_nCapacity = nLen + 1;
            }
            memcpy(m_sBuffer, sText, nLen + 1);
            m_pStart = m_sBuffer;
            m_pEnd = m_sBuffer + nLen;
            m_nEncode = nEncode;
        } else {
            *m_pStart = m_charEnd;
        }
        char* p = m_pStart;
        while (p < m_pEnd && (*p == ' ' || *p == '\r' || *p == '\n' || *p == '\t')) ++p;
        size_t nLen = varnel::ScanSentenceEnd(p, static_cast<size_t>(m_pEnd - p), m_nEncode);
        if (nLen == varnel::kNoSentenceEnd) {
            m_pStart = m_pEnd;
            m_charEnd = 0;
            return p;
        }
        m_pStart = p + nLen;
        m_charEnd = *m_pStart;
        *m_pStart = 0;
        return p;
    }

  private:
    char* m_sBuffer = nullptr;
    size_t m_nCapacity = 0;
    char* m_pStart = nullptr;
    char* m_pEnd = nullptr;
    char m_charEnd = 0;
    int m_nEncode = 1;
};

void BM_Scalar(benchmark::State& state, int nCorpus, size_t nSize) {
    const std::string& sText = GetTexts(nCorpus, nSize).sText;
    int nEncode = kCorpora[nCorpus].nEncode;
    ScalarSplitter splitter;
    auto split = [&] {
        size_t n = 0;
        for (const char* s = splitter.GetSentence(sText.c_str(), nEncode); *s;
             s = splitter.GetSentence(nullptr, nEncode)) {
            benchmark::DoNotOptimize(s);
            ++n;
        }
        return n;
    };
    split();
    size_t nSentences = 0;
    for (auto _ : state) nSentences += split();
    Report(state, sText.size(), nSentences);
}

// ICU on the UTF-8 form of the same text, read in place through a UText; the
// bytes reported are those of the corpus's own encoding, so that the rates
// compare times for the same text.
void BM_Icu(benchmark::State& state, int nCorpus, size_t nSize) {
    const Texts& texts = GetTexts(nCorpus, nSize);
    UErrorCode status = U_ZERO_ERROR;
    UBreakIterator* pBreak =
        ubrk_open(UBRK_SENTENCE, kCorpora[nCorpus].sLocale, nullptr, 0, &status);
    size_t nSentences = 0;
    for (auto _ : state) {
        UText* pText = utext_openUTF8(nullptr, texts.sUtf8.data(),
                                      static_cast<int64_t>(texts.sUtf8.size()), &status);
        ubrk_setUText(pBreak, pText, &status);
        for (int32_t nPos = ubrk_next(pBreak); nPos != UBRK_DONE; nPos = ubrk_next(pBreak))
            ++nSentences;
        utext_close(pText);
    }
    ubrk_close(pBreak);
    if (U_FAILURE(status)) state.SkipWithError(u_errorName(status));
    Report(state, texts.sText.size(), nSentences);
}

void BM_Strlen(benchmark::State& state, int nCorpus, size_t nSize) {
    const std::string& sText = GetTexts(nCorpus, nSize).sText;
    for (auto _ : state) {
        const char* p = sText.c_str();
        benchmark::DoNotOptimize(p);
        size_t nLen = strlen(p);
        benchmark::DoNotOptimize(nLen);
    }
    Report(state, sText.size(), 0);
}

// The text written once to a temporary file, removed at exit.
class TextFile {
  public:
    // Named after the process and a count; O_EXCL refuses a name that is taken.
    explicit TextFile(const std::string& sText) {
        static int s_nFiles = 0;
        m_sName = (std::filesystem::temp_directory_path() /
                   ("varnel-bench-" + std::to_string(getpid()) + "-" + std::to_string(++s_nFiles)))
                      .string();
        int fd = open(m_sName.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0 || write(fd, sText.data(), sText.size()) != ssize_t(sText.size())) {
            fprintf(stderr, "varnel-bench: cannot write %s\n", m_sName.c_str());
            exit(1);
        }
        close(fd);
    }
    ~TextFile() { unlink(m_sName.c_str()); }
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;
    const std::string& Name() const { return m_sName; }

  private:
    std::string m_sName;
};

// varnel-split FILE with its standard output on /dev/null; false when it fails.
bool RunHost(const std::string& sFile, int nEncode) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::string sEncoding = nEncode == VN_ENCODE_UTF8 ? "utf8" : "gbk";
    char* argv[] = {
        const_cast<char*>(VARNEL_SPLIT_PATH), const_cast<char*>("-e"),          sEncoding.data(),
        const_cast<char*>("--no-progress"),   const_cast<char*>(sFile.c_str()), nullptr};
    pid_t pid;
    int nStatus = 0;
    bool bOk = posix_spawn(&pid, VARNEL_SPLIT_PATH, &actions, nullptr, argv, environ) == 0 &&
               waitpid(pid, &nStatus, 0) == pid && WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0;
    posix_spawn_file_actions_destroy(&actions);
    return bOk;
}

// The host's time is another process's, so this row is timed by the clock.
void BM_Host(benchmark::State& state, int nCorpus, size_t nSize) {
    const std::string& sText = GetTexts(nCorpus, nSize).sText;
    TextFile file(sText);
    int nEncode = kCorpora[nCorpus].nEncode;
    if (!RunHost(file.Name(), nEncode)) state.SkipWithError("varnel-split failed");
    for (auto _ : state)
        if (!RunHost(file.Name(), nEncode)) state.SkipWithError("varnel-split failed");
    Report(state, sText.size(), 0);
}

// With repetitions, the least time of each: on a shared machine the others
// are slowed by whatever else runs. (Applied to the rate counters too, where
// it is the lowest rate, so rates are best computed from the times.)
double Fastest(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

void RegisterAll() {
    using Bench = void (*)(benchmark::State&, int, size_t);
    const std::pair<const char*, Bench> kBenches[] = {
        {"Varnel", BM_Varnel}, {"Spans", BM_Spans},   {"Closers", BM_Closers},
        {"Reader", BM_Reader}, {"Oracle", BM_Oracle}, {"Scalar", BM_Scalar},
        {"ICU", BM_Icu},       {"strlen", BM_Strlen}, {"Host", BM_Host},
    };
    for (int nCorpus = 0; nCorpus < int(std::size(kCorpora)); ++nCorpus) {
        if (kCorpora[nCorpus].bReal && !RealCorpusDir()) continue;
        for (size_t nMB : {size_t(1), size_t(16), size_t(64), size_t(256)}) {
            for (const auto& bench : kBenches) {
                std::string sName = std::string(bench.first) + "/" + kCorpora[nCorpus].sName + "/" +
                                    std::to_string(nMB) + "MB";
                auto* pBench =
                    benchmark::RegisterBenchmark(sName.c_str(), bench.second, nCorpus, nMB * kMB);
                pBench->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Fastest);
                if (bench.second == BM_Host) pBench->UseRealTime();
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    VN_Init(nullptr, nullptr);
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    VN_Exit();
    return 0;
}
