// Reading whole files, file ranges, documents by identifier and small records.
//
// Buffers handed out are allocated with new[], one byte longer than the data,
// and NUL-terminated; the caller releases them with delete[]. Failures are
// reported by the result (0, -1 or null) and, where said, by a line in the
// day's log (".log") or error (".err") file; nothing is thrown.
#ifndef VARNEL_UTILITY_READFILE_H
#define VARNEL_UTILITY_READFILE_H

#include <atomic>
#include <cstddef>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "Global.h"

// Keeps one file open and reads byte ranges of it. Names that differ only in
// ASCII letter case count as the same file, which is then read without being
// reopened; its size is measured once, when it is opened. A request for another
// name opens that file first and closes the old one only when the new one
// opened. One object may be shared by threads, also for different files: each
// request holds the lock from the name test to the end of its read.
class CReadFile {
  public:
    CReadFile();
    ~CReadFile();
    CReadFile(const CReadFile&) = delete;
    CReadFile& operator=(const CReadFile&) = delete;

    // Reads length bytes of sFilename from byte offset into a new buffer stored
    // in *pBuffer; length 0 with bZeroIsAll reads the size measured at opening
    // (the whole file from offset 0). A range past the end gives the bytes up
    // to the end. A file that cannot seek (a FIFO, a pipe) is read from where
    // it stands when offset is the number of bytes this object has read from
    // it so far (0 when freshly opened); other offsets on it give 0.
    // Returns the number of bytes in the buffer; 0 on failure.
    // When sFilename cannot be opened, a ".log" line "Failed open file  " plus
    // the name is written and *pBuffer is left untouched (as it is when memory
    // runs out); in every other case *pBuffer receives a buffer, an empty one
    // when the result is 0 (also for a negative offset or one at or past the
    // end). The buffer never exceeds the data read, whatever length asks for.
    size_t ReadFile(const char* sFilename, char** pBuffer, long offset, size_t length,
                    bool bZeroIsAll);

    // The same read into pBuffer: the data up to its first NUL byte, or the
    // empty string when the result is 0.
    size_t ReadFile(const char* sFilename, std::string& pBuffer, long offset, size_t length,
                    bool bZeroIsAll);

  private:
    std::string m_sFileRead;  // the open file's name as it was asked for
    FILE* m_fpFileRead;
    std::mutex m_mutex;                   // held for a whole request
    std::atomic<int> m_nReadThreadCount;  // threads inside a seek-and-read
    std::atomic<bool> m_bWriting;         // a thread is installing another file
    size_t m_nFileSize;                   // measured when the file was opened
    size_t m_nBytesRead;                  // read from the open file since it was opened

    bool OpenFile(const char* sFilename);
};

// Read sFilename once through a CReadFile of their own, as the methods above.
size_t ReadFile(const char* sFilename, char** pBuffer, long offset, size_t length, bool bZeroIsAll);
size_t ReadFile(const char* sFilename, std::string& pBuffer, long offset, size_t length,
                bool bZeroIsAll);

// Reads the document sId under the root sPath into sContent and returns its
// text. The identifier is cut into groups of three bytes from the front; all
// groups but the last are directory levels and the last one (one to three
// bytes) is the base name: "1234567" under "data" is data/123/456/7.txt, or
// data/123/456/7.html when the ".txt" file gives nothing. Returns null, with
// sContent empty, when neither gives any content and also, without reading,
// for a null root or an identifier that is empty or holds '/' or '\' (which
// could lead outside the root); then two ".err" lines are written, "Read file
// by ID fail!" and the ".html" name. Dots are plain bytes: ".." is the
// document root/...txt.
const char* GetFileContentById(const char* sId, const char* sPath, std::string& sContent);

// Counts the lines of fp from its start (a line longer than 999 bytes counts
// once per 999-byte piece) and leaves fp at its start. 0 for a null stream.
size_t GetFileLinesCount(FILE* fp);

// The size of the named file (symbolic links followed), or -1.
long get_file_size(const char* filename);

// Writes str at fp's position as one record: a 4-byte length in the machine's
// byte order, then the bytes. A string of 4 GiB or more does not fit the
// length field and is not written at all.
void tstring_save(const std::string& str, FILE* fp);

// Reads one record written by tstring_save into str, up to the first NUL byte
// of its data; fp is left after the whole record. A stream that ends before the
// length gives the empty string, one that ends inside the data the bytes that
// were there. Memory grows with the bytes actually read, never with the length
// field alone.
void tstring_load(std::string& str, FILE* fp);

// Reads lines of pFile and appends their words (separated by tabs and blanks)
// to word_vec, at most count of them; the rest of the line where the count is
// reached is dropped, and one more line is taken from the stream and dropped
// after that. word_vec is not cleared. Returns word_vec.size().
size_t ReadNWord(FILE* pFile, int count, std::vector<std::string>& word_vec);

#endif
