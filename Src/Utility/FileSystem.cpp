#include "FileSystem.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

#include "Log.h"

namespace {

// The largest copy buffer allocated; a bigger block size gains nothing.
const size_t kMaxBlock = 1 << 20;

// Holds the caller's optional mutex from construction to Release or the end of
// the scope.
class OptionalLock {
  public:
    explicit OptionalLock(pthread_mutex_t* pMutex) : m_pMutex(pMutex) {
        if (m_pMutex) pthread_mutex_lock(m_pMutex);
    }
    ~OptionalLock() { Release(); }
    OptionalLock(const OptionalLock&) = delete;
    OptionalLock& operator=(const OptionalLock&) = delete;
    void Release() {
        if (m_pMutex) pthread_mutex_unlock(m_pMutex);
        m_pMutex = nullptr;
    }

  private:
    pthread_mutex_t* m_pMutex;
};

std::unique_ptr<unsigned char[]> NewBlock(size_t nMemUsed) {
    return std::unique_ptr<unsigned char[]>(
        new (std::nothrow) unsigned char[std::min(nMemUsed, kMaxBlock)]);
}

// Copies from fpSrc's position to fpDsn's position through pBuf of nBlock
// bytes, at most nLimit bytes when that is not 0, until the source ends or
// fails. Returns the bytes written; bWriteFailed is set on a short write,
// which ends the copy.
size_t CopyBlocks(FILE* fpSrc, FILE* fpDsn, unsigned char* pBuf, size_t nBlock, size_t nLimit,
                  bool& bWriteFailed) {
    size_t nCopied = 0;
    while (!feof(fpSrc) && !ferror(fpSrc) && (nLimit == 0 || nCopied < nLimit)) {
        size_t nChunk = nLimit == 0 ? nBlock : std::min(nBlock, nLimit - nCopied);
        size_t nRead = fread(pBuf, 1, nChunk, fpSrc);
        if (nRead == 0) break;
        size_t nWritten = fwrite(pBuf, 1, nRead, fpDsn);
        nCopied += nWritten;
        if (nWritten != nRead) {
            bWriteFailed = true;
            break;
        }
    }
    return nCopied;
}

// Positions fpSrc at nStart for a range copy. A stream that cannot seek (a
// pipe) is taken to stand at its start, as a stream handed over fresh does, so
// it serves a copy from 0 where it stands; a later offset on it, like one
// beyond what fseek takes, fails rather than copying the wrong bytes.
bool SeekToStart(FILE* fpSrc, size_t nStart) {
    if (nStart > static_cast<size_t>(LONG_MAX)) return false;
    return fseek(fpSrc, static_cast<long>(nStart), SEEK_SET) == 0 || nStart == 0;
}

void ReportCopyError(const char* sWhat, const char* sFile) {
    WriteError(sWhat, nullptr);
    WriteError(sFile, nullptr);
}

bool EndsWith(const std::string& sText, const std::string& sEnd) {
    return sText.size() >= sEnd.size() &&
           sText.compare(sText.size() - sEnd.size(), sEnd.size(), sEnd) == 0;
}

bool IsDotEntry(const char* sName) { return !strcmp(sName, ".") || !strcmp(sName, ".."); }

// The device and inode of each directory from the scan's root down to the one
// being read.
using AncestorList = std::vector<std::pair<dev_t, ino_t>>;

bool IsAncestor(const AncestorList& ancestors, const struct stat& st) {
    return std::find(ancestors.begin(), ancestors.end(), std::make_pair(st.st_dev, st.st_ino)) !=
           ancestors.end();
}

// Scans sFolder, entering every directory that is not one of its own
// ancestors: a link back up the tree ends there, while a directory reached
// along several paths without a cycle is listed under each of them.
bool ScanDirectory(const std::string& sFolder, std::vector<std::string>& vsFileName,
                   const std::string& sFilter, AncestorList& ancestors) {
    DIR* pDir = opendir(sFolder.c_str());
    if (!pDir) return false;
    std::string sPrefix = sFolder + "/";
    while (const dirent* pEntry = readdir(pDir)) {
        if (IsDotEntry(pEntry->d_name)) continue;
        std::string sPath = sPrefix + pEntry->d_name;
        struct stat st;
        if (stat(sPath.c_str(), &st) != 0) continue;
        if (!S_ISDIR(st.st_mode)) {
            if (EndsWith(sPath, sFilter)) vsFileName.push_back(sPath);
        } else if (!IsAncestor(ancestors, st)) {
            ancestors.emplace_back(st.st_dev, st.st_ino);
            ScanDirectory(sPath, vsFileName, sFilter, ancestors);
            ancestors.pop_back();
        }
    }
    closedir(pDir);
    return true;
}

bool WriteText(const char* lpszFilename, const std::string& sFileText, const char* sMode) {
    if (!lpszFilename || !*lpszFilename) return false;
    FILE* fp = fopen(lpszFilename, sMode);
    if (!fp) return false;
    size_t nLen = strlen(sFileText.c_str());
    bool bWritten = fwrite(sFileText.c_str(), 1, nLen, fp) == nLen;
    // A full disk often shows only when the buffer is flushed at close.
    return fclose(fp) == 0 && bWritten;
}

}  // namespace

long FileCopy(FILE* fpSrc, FILE* fpDsn, size_t nStart, size_t nEnd, unsigned char* pBuf,
              size_t nBufSize, pthread_mutex_t* nMutex) {
    if (!fpSrc || !fpDsn || !pBuf || nBufSize == 0) return 0;
    OptionalLock lock(nMutex);
    if (!SeekToStart(fpSrc, nStart)) return 0;
    size_t nLength = nEnd - nStart;  // unsigned: an nEnd below nStart reads to the end
    if (nLength == 0) return 0;
    bool bWriteFailed = false;
    return static_cast<long>(CopyBlocks(fpSrc, fpDsn, pBuf, nBufSize, nLength, bWriteFailed));
}

long FileCopy(FILE* fpSrc, FILE* fpDsn, size_t nMemUsed, pthread_mutex_t* nMutex,
              size_t nLengthLimit) {
    if (!fpSrc || !fpDsn || nMemUsed == 0) return -2;
    std::unique_ptr<unsigned char[]> pBlock = NewBlock(nMemUsed);
    if (!pBlock) return -2;

    OptionalLock lock(nMutex);
    fseek(fpDsn, 0, SEEK_END);
    long nStartOffset = ftell(fpDsn);
    fseek(fpSrc, 0, SEEK_SET);
    bool bWriteFailed = false;
    CopyBlocks(fpSrc, fpDsn, pBlock.get(), std::min(nMemUsed, kMaxBlock), nLengthLimit,
               bWriteFailed);
    bool bFlushed = fflush(fpDsn) == 0;
    fseek(fpDsn, 0, SEEK_END);
    long nEndOffset = ftell(fpDsn);
    lock.Release();

    struct stat st;
    if (fstat(fileno(fpSrc), &st) != 0) return -1;
    size_t nExpected = nLengthLimit ? nLengthLimit : static_cast<size_t>(st.st_size);
    bool bComplete = !bWriteFailed && bFlushed && nStartOffset >= 0 && nEndOffset >= nStartOffset &&
                     static_cast<size_t>(nEndOffset - nStartOffset) == nExpected;
    return bComplete ? nEndOffset : -2;
}

bool FileCopy(const char* sSrcFile, const char* sDsnFile, size_t nMemUsed) {
    if (!sSrcFile || !sDsnFile || nMemUsed == 0) return false;
    std::unique_ptr<unsigned char[]> pBlock = NewBlock(nMemUsed);
    if (!pBlock) return false;
    FILE* fpSrc = fopen(sSrcFile, "rb");
    if (!fpSrc) {
        ReportCopyError("Error read file", sSrcFile);
        return false;
    }
    FILE* fpDsn = fopen(sDsnFile, "wb");
    if (!fpDsn) {
        ReportCopyError("Error write file", sDsnFile);
        fclose(fpSrc);
        return false;
    }
    bool bWriteFailed = false;
    CopyBlocks(fpSrc, fpDsn, pBlock.get(), std::min(nMemUsed, kMaxBlock), 0, bWriteFailed);
    bool bReadFailed = ferror(fpSrc) != 0;
    fclose(fpSrc);
    bWriteFailed = (fclose(fpDsn) != 0) || bWriteFailed;
    if (bReadFailed) ReportCopyError("Error read file", sSrcFile);
    if (bWriteFailed) ReportCopyError("Error write file", sDsnFile);
    return !bReadFailed && !bWriteFailed;
}

bool gfn_vScanFiles(const char* sFolderName, std::vector<std::string>& vsFileName,
                    const char* sFilter) {
    if (!sFolderName) return false;
    AncestorList ancestors;
    struct stat st;
    if (stat(sFolderName, &st) == 0) ancestors.emplace_back(st.st_dev, st.st_ino);
    return ScanDirectory(sFolderName, vsFileName, sFilter ? sFilter : "", ancestors);
}

bool gfn_bCleanDirectory(const char* lpszDir) {
    struct stat st;
    if (!lpszDir || !*lpszDir || stat(lpszDir, &st) != 0) return false;
    std::string sPrefix = lpszDir;
    if (sPrefix.back() != '/') sPrefix += '/';
    DIR* pDir = opendir(lpszDir);
    if (!pDir) return false;
    while (const dirent* pEntry = readdir(pDir)) {
        if (IsDotEntry(pEntry->d_name)) continue;
        std::string sPath = sPrefix + pEntry->d_name;
        if (stat(sPath.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) remove(sPath.c_str());
    }
    closedir(pDir);
    return true;
}

bool gfn_bWriteFile(const char* lpszFilename, const std::string& sFileText) {
    return WriteText(lpszFilename, sFileText, "wb");
}

bool gfn_bAddFile(const char* lpszFilename, const std::string& sFileText) {
    return WriteText(lpszFilename, sFileText, "a+");
}
