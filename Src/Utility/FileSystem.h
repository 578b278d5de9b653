// Copying between files, walking and emptying directories, writing strings to
// files. Paths are joined with "/" and may be of any length the system takes.
#ifndef VARNEL_UTILITY_FILESYSTEM_H
#define VARNEL_UTILITY_FILESYSTEM_H

#include <pthread.h>

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// Copies the bytes of fpSrc from offset nStart up to nEnd (exclusive; an nEnd
// below nStart means up to the end) to fpDsn at its current position, through
// the caller's buffer pBuf of nBufSize bytes, holding nMutex (when not null)
// for the whole copy. Stops early at the end of the source, a read error or a
// short write. A source that cannot seek (a pipe) is copied from where it
// stands when nStart is 0, and not at all for a later nStart. Returns the
// number of bytes written; 0 at once for a null buffer or a buffer size of 0.
long FileCopy(FILE* fpSrc, FILE* fpDsn, size_t nStart, size_t nEnd, unsigned char* pBuf,
              size_t nBufSize, pthread_mutex_t* nMutex);

// Appends fpSrc from its start to the end of fpDsn in blocks of nMemUsed
// bytes, at most nLengthLimit bytes when that is not 0, holding nMutex (when
// not null) until the destination's new end has been measured. Returns the
// destination's size after the copy; -1 when the source's status cannot be
// queried; -2 when the destination did not grow by exactly the source's size
// (or by exactly nLengthLimit when one is given, so a shorter source gives -2),
// when the data could not be flushed, and at once for a block size of 0.
long FileCopy(FILE* fpSrc, FILE* fpDsn, size_t nMemUsed, pthread_mutex_t* nMutex,
              size_t nLengthLimit);

// Copies the file sSrcFile to sDsnFile, replacing it, in blocks of nMemUsed
// bytes. Returns true when every byte of the source reached the destination.
// Failing to open or read the source writes the ".err" lines "Error read file"
// and sSrcFile; failing to open or write the destination writes "Error write
// file" and sDsnFile. A block size of 0 gives false at once, touching no file.
bool FileCopy(const char* sSrcFile, const char* sDsnFile, size_t nMemUsed);

// Appends to vsFileName (not cleared) the path of every non-directory entry of
// the tree under sFolderName whose path ends with sFilter (byte for byte; an
// empty or null filter takes every file). Paths are sFolderName, "/" and the
// names below it. Symbolic links are followed, so a directory reached along
// several paths is listed under each; a link to a directory's own ancestor is
// not entered, which ends every cycle. Depth-first, in directory order.
// False when sFolderName cannot be opened as a directory.
bool gfn_vScanFiles(const char* sFolderName, std::vector<std::string>& vsFileName,
                    const char* sFilter);

// Deletes every entry of lpszDir that is not a directory (links to files are
// removed themselves; links to directories and dangling links stay). Not
// recursive. False for a null or empty name, or one that cannot be queried or
// opened as a directory; a file that cannot be deleted still gives true.
bool gfn_bCleanDirectory(const char* lpszDir);

// Create or truncate (gfn_bWriteFile) or append to (gfn_bAddFile) the file and
// write sFileText up to its first NUL byte. False for a null or empty name, or
// when the file cannot be opened or the text did not all reach it.
bool gfn_bWriteFile(const char* lpszFilename, const std::string& sFileText);
bool gfn_bAddFile(const char* lpszFilename, const std::string& sFileText);

#endif
