#include "ReadFile.h"

#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <thread>

#include "Log.h"
#include "Token.h"

namespace {

// Piece size for reads whose size is not known in advance.
const size_t kChunk = 64 * 1024;

void WaitWhileSet(const std::atomic<bool>& bFlag) {
    while (bFlag) std::this_thread::yield();
}

// The bytes the file's status promises from offset; 0 for what is not a
// regular file or cannot be queried.
size_t PromisedBytes(FILE* fp, long offset) {
    struct stat st;
    if (fstat(fileno(fp), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= offset) return 0;
    return static_cast<size_t>(st.st_size - offset);
}

// Reads up to nWanted bytes piece by piece, so that memory follows the data
// that is really there; stops early when memory runs out.
std::string ReadPieces(FILE* fp, size_t nWanted) {
    std::string sData;
    try {
        std::vector<char> vChunk(std::min(nWanted, kChunk));
        while (sData.size() < nWanted) {
            size_t nGot = fread(vChunk.data(), 1, std::min(kChunk, nWanted - sData.size()), fp);
            if (nGot == 0) break;
            sData.append(vChunk.data(), nGot);
        }
    } catch (const std::bad_alloc&) {
    }
    return sData;
}

// Positions fp at offset. A stream that cannot seek (a FIFO, a pipe) stands
// after the nConsumed bytes read from it since it was opened, so it serves
// that one offset where it stands and refuses every other.
bool SeekForRead(FILE* fp, long offset, size_t nConsumed) {
    if (offset < 0) return false;
    return fseek(fp, offset, SEEK_SET) == 0 || static_cast<size_t>(offset) == nConsumed;
}

// Reads up to nWanted bytes of fp from offset into a new NUL-terminated
// buffer, setting nRead; null when memory runs out. nConsumed is the number of
// bytes read from fp since it was opened. The buffer is sized by what the
// file's status promises; only when the file holds more than that (it grew,
// or it is a pipe, a device or one of the system's files that report size 0)
// is the rest gathered piece by piece. A huge nWanted never allocates memory
// for nothing.
char* ReadRange(FILE* fp, long offset, size_t nConsumed, size_t nWanted, size_t& nRead) {
    nRead = 0;
    if (!fp || (nWanted > 0 && !SeekForRead(fp, offset, nConsumed))) nWanted = 0;
    size_t nPromised = nWanted ? std::min(nWanted, PromisedBytes(fp, offset)) : 0;
    std::unique_ptr<char[]> pBuffer(new (std::nothrow) char[nPromised + 1]);
    if (!pBuffer) return nullptr;
    if (nPromised > 0) nRead = fread(pBuffer.get(), 1, nPromised, fp);
    if (nRead == nPromised && nWanted > nPromised) {
        std::string sMore = ReadPieces(fp, nWanted - nPromised);
        if (!sMore.empty()) {
            std::unique_ptr<char[]> pWhole(new (std::nothrow) char[nRead + sMore.size() + 1]);
            if (!pWhole) return nullptr;
            memcpy(pWhole.get(), pBuffer.get(), nRead);
            memcpy(pWhole.get() + nRead, sMore.data(), sMore.size());
            nRead += sMore.size();
            pBuffer = std::move(pWhole);
        }
    }
    pBuffer[nRead] = 0;
    return pBuffer.release();
}

// Whether sId names a document below the root: not empty and free of
// separators. Directory groups are always three bytes, so ".." can only end
// up in the base name, where the extension makes it a plain name ("...txt").
bool IsSafeDocumentId(const char* sId) { return *sId && !strpbrk(sId, "/\\"); }

// The document's name without extension: root, then the groups of three
// bytes of sId, each after a "/"; the last group is the base name.
std::string DocumentBaseName(const char* sId, const char* sPath) {
    size_t nLen = strlen(sId);
    size_t nLevels = nLen ? (nLen - 1) / 3 : 0;
    std::string sName = sPath;
    for (size_t i = 0; i < nLevels; ++i) sName.append("/").append(sId + 3 * i, 3);
    return sName.append("/").append(sId + 3 * nLevels);
}

}  // namespace

CReadFile::CReadFile()
    : m_fpFileRead(nullptr),
      m_nReadThreadCount(0),
      m_bWriting(false),
      m_nFileSize(0),
      m_nBytesRead(0) {}

CReadFile::~CReadFile() {
    if (m_fpFileRead) fclose(m_fpFileRead);
}

// Installs sFilename as the open file; the caller holds m_mutex. On failure
// the file open before stays open under its name.
bool CReadFile::OpenFile(const char* sFilename) {
    std::string sName = sFilename;
    FILE* fp = fopen(sFilename, "rb");
    if (!fp) {
        WriteLog("Failed open file  " + sName, nullptr, false);
        return false;
    }
    struct stat st;
    bool bMeasured = fstat(fileno(fp), &st) == 0 && st.st_size >= 0;
    m_bWriting = true;
    if (m_fpFileRead) fclose(m_fpFileRead);
    m_fpFileRead = fp;
    m_nFileSize = bMeasured ? static_cast<size_t>(st.st_size) : 0;
    m_nBytesRead = 0;
    m_sFileRead.swap(sName);
    m_bWriting = false;
    if (!bMeasured) {
        WriteError("_fstat( _fileno(m_fpFileRead) failed", nullptr);
        WriteError(sFilename, nullptr);
    }
    return true;
}

size_t CReadFile::ReadFile(const char* sFilename, char** pBuffer, long offset, size_t length,
                           bool bZeroIsAll) {
    if (!sFilename || !pBuffer) return 0;
    WaitWhileSet(m_bWriting);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (strcasecmp(sFilename, m_sFileRead.c_str()) != 0 && !OpenFile(sFilename)) return 0;

    size_t nWanted = (length == 0 && bZeroIsAll) ? m_nFileSize : length;
    size_t nRead = 0;
    ++m_nReadThreadCount;
    char* pData = ReadRange(m_fpFileRead, offset, m_nBytesRead, nWanted, nRead);
    m_nBytesRead += nRead;
    --m_nReadThreadCount;
    if (!pData) return 0;
    *pBuffer = pData;
    return nRead;
}

size_t CReadFile::ReadFile(const char* sFilename, std::string& pBuffer, long offset, size_t length,
                           bool bZeroIsAll) {
    char* pData = nullptr;
    size_t nRead = ReadFile(sFilename, &pData, offset, length, bZeroIsAll);
    if (nRead)
        pBuffer.assign(pData);
    else
        pBuffer.clear();
    delete[] pData;
    return nRead;
}

size_t ReadFile(const char* sFilename, char** pBuffer, long offset, size_t length,
                bool bZeroIsAll) {
    CReadFile reader;
    return reader.ReadFile(sFilename, pBuffer, offset, length, bZeroIsAll);
}

size_t ReadFile(const char* sFilename, std::string& pBuffer, long offset, size_t length,
                bool bZeroIsAll) {
    CReadFile reader;
    return reader.ReadFile(sFilename, pBuffer, offset, length, bZeroIsAll);
}

const char* GetFileContentById(const char* sId, const char* sPath, std::string& sContent) {
    sContent.clear();
    if (!sId || !sPath) return nullptr;
    std::string sName = DocumentBaseName(sId, sPath);
    if (IsSafeDocumentId(sId)) {
        if (ReadFile((sName + ".txt").c_str(), sContent, 0, 0, true) != 0 ||
            ReadFile((sName + ".html").c_str(), sContent, 0, 0, true) != 0)
            return sContent.c_str();
    }
    WriteError("Read file by ID fail!", nullptr);
    WriteError(sName + ".html", nullptr);
    return nullptr;
}

size_t GetFileLinesCount(FILE* fp) {
    if (!fp) return 0;
    fseek(fp, 0, SEEK_SET);
    char sLine[1000];
    size_t nCount = 0;
    while (fgets(sLine, sizeof sLine, fp)) ++nCount;
    fseek(fp, 0, SEEK_SET);
    return nCount;
}

long get_file_size(const char* filename) {
    struct stat st;
    if (!filename || stat(filename, &st) != 0) return -1;
    return static_cast<long>(st.st_size);
}

void tstring_save(const std::string& str, FILE* fp) {
    if (!fp || str.size() > UINT32_MAX) return;
    tuint nLen = static_cast<tuint>(str.size());
    fwrite(&nLen, sizeof nLen, 1, fp);
    fwrite(str.data(), 1, str.size(), fp);
}

void tstring_load(std::string& str, FILE* fp) {
    str.clear();
    tuint nLen = 0;
    if (!fp || fread(&nLen, sizeof nLen, 1, fp) != 1) return;
    // Read piece by piece: the length field alone never sizes an allocation.
    // The whole record is consumed; the string keeps the bytes before the
    // first NUL.
    char sChunk[4096];
    bool bEnded = false;
    for (size_t nLeft = nLen; nLeft > 0;) {
        size_t nRead = fread(sChunk, 1, std::min(nLeft, sizeof sChunk), fp);
        if (nRead == 0) break;
        nLeft -= nRead;
        if (bEnded) continue;
        const char* pNul = static_cast<const char*>(memchr(sChunk, 0, nRead));
        str.append(sChunk, pNul ? static_cast<size_t>(pNul - sChunk) : nRead);
        bEnded = pNul != nullptr;
    }
}

size_t ReadNWord(FILE* pFile, int count, std::vector<std::string>& word_vec) {
    if (!pFile) return word_vec.size();
    char sLine[10241];
    std::vector<tstring> vecWords;
    int nAdded = 0;
    while (fgets(sLine, 10240, pFile) && nAdded < count) {
        GetStrVector(sLine, "\t ", vecWords);
        for (size_t i = 0; i < vecWords.size() && nAdded < count; ++i, ++nAdded)
            word_vec.push_back(vecWords[i]);
    }
    return word_vec.size();
}
