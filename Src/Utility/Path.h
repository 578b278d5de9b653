// Joining and splitting paths, on their bytes alone.
//
// A path splits at its last separator of either kind, '/' or '\', so that
// paths written on either platform come apart; joining always inserts '/'.
// Only GetRelevatePath looks outside its arguments (the working directory, for
// a bare name). Output buffers are the caller's and must hold the result;
// every input must be non-null except sPath of GetFullFileName.
#ifndef VARNEL_UTILITY_PATH_H
#define VARNEL_UTILITY_PATH_H

#include <string>

// Writes sPath "/" sFilename into sFullname, or sFilename alone when sPath is
// null or empty. A separator already ending sPath is kept and doubled.
void GetFullFileName(char* sFullname, const char* sPath, const char* sFilename);

// Writes sPath "/" sFile into sFilename, always inserting the "/" (an empty
// sPath gives "/" sFile). Returns sFilename.
char* GetAbsolutePath(const char* sPath, const char* sFile, char* sFilename);

// Splits sFullname: sExtName is what follows the last '.' of the whole name
// (empty without one); of the rest, sPath is what precedes the last separator
// and sFilename what follows it, or "." and the whole rest without a
// separator. The '.' is looked for first, so in a.b/c the extension is b/c.
void GetPathFile(const char* sFullname, std::string& sPath, std::string& sFilename,
                 std::string& sExtName);

// Splits sFilename at its last separator: sPath gets what precedes it followed
// by "/" (whichever separator it was), sFile what follows. Without a
// separator, sPath gets the working directory without a trailing separator
// (sPath then needs 1000 bytes; it is left unwritten when the working
// directory cannot be read) and sFile the whole name. Returns sFile.
char* GetRelevatePath(const char* sFilename, char* sPath, char* sFile);

// Writes the name after the last separator, cut at its first '.', into sFile;
// returns sFile.
char* GetFilename(const char* sFilename, char* sFile);

// The directory part of sFilename up to and including its last separator; the
// empty string without one.
std::string getFilePath(const char* sFilename);

#endif
