// The path helpers over any name, with output buffers of exactly the size
// their contracts promise. The input is the directory up to a NUL, then the
// name up to the next NUL. Checked: the joins are the directory, "/" and the
// name; GetPathFile's parts put back together give the name; GetRelevatePath
// splits at the last separator; GetFilename holds neither separator nor dot;
// getFilePath is the name up to and including its last separator.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "Path.h"

namespace {

size_t LastSeparator(const std::string& s) { return s.find_last_of("/\\"); }

void CheckJoins(ExactText& dir, ExactText& name) {
    const std::string sDir = dir.get();
    const std::string sName = name.get();
    ExactText full(std::string(sDir.size() + 1 + sName.size(), 'x'));
    GetFullFileName(full.get(), dir.get(), name.get());
    Check(full.get() == (sDir.empty() ? sName : sDir + "/" + sName), "GetFullFileName");
    Check(GetAbsolutePath(dir.get(), name.get(), full.get()) == full.get() &&
              full.get() == sDir + "/" + sName,
          "GetAbsolutePath");
}

void CheckSplits(ExactText& name) {
    const std::string sName = name.get();
    std::string sPath = "stale";
    std::string sFile = "stale";
    std::string sExt = "stale";
    GetPathFile(name.get(), sPath, sFile, sExt);
    size_t nDot = sName.rfind('.');
    std::string sStem = nDot == std::string::npos ? sName : sName.substr(0, nDot);
    Check(sExt == (nDot == std::string::npos ? "" : sName.substr(nDot + 1)), "the extension");
    size_t nSep = LastSeparator(sStem);
    if (nSep == std::string::npos) {
        Check(sPath == "." && sFile == sStem, "no separator: '.' and the stem");
    } else {
        Check(sPath == sStem.substr(0, nSep) && sFile == sStem.substr(nSep + 1), "path and file");
    }

    nSep = LastSeparator(sName);
    // Room for the working directory when there is no separator.
    ExactText path(std::string(std::max<size_t>(sName.size() + 1, 1000), 'x'));
    ExactText file(sName);
    Check(GetRelevatePath(name.get(), path.get(), file.get()) == file.get(), "returns sFile");
    if (nSep != std::string::npos) {
        Check(path.get() == sName.substr(0, nSep) + "/" && file.get() == sName.substr(nSep + 1),
              "GetRelevatePath splits at the last separator");
    } else {
        Check(file.get() == sName, "GetRelevatePath keeps a bare name");
    }

    ExactText base(sName);
    GetFilename(name.get(), base.get());
    std::string sBase = base.get();
    Check(sBase.find_first_of("/\\.") == std::string::npos, "GetFilename's base");
    Check(getFilePath(name.get()) == (nSep == std::string::npos ? "" : sName.substr(0, nSep + 1)),
          "getFilePath");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    std::string sInput(reinterpret_cast<const char*>(pData), nSize);
    size_t nNul = sInput.find('\0');
    if (nNul == std::string::npos) return 0;
    ExactText dir(sInput.substr(0, nNul));
    ExactText name(UpToNul(sInput.substr(nNul + 1)));

    CheckJoins(dir, name);
    CheckSplits(name);
    return 0;
}
