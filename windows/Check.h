// A small checker for the Windows test programs, which run under Wine without
// a test framework: counts checks, prints each failure, and ends with the line
// "N passed, N failed".
#ifndef VARNEL_WINDOWS_CHECK_H
#define VARNEL_WINDOWS_CHECK_H

#include <cstdio>
#include <string>

class CChecker {
  public:
    bool Check(bool bOk, const std::string& sWhat) {
        if (bOk) {
            ++m_nPassed;
        } else {
            ++m_nFailed;
            printf("FAILED: %s\n", sWhat.c_str());
        }
        return bOk;
    }

    bool Equal(const std::string& sGot, const std::string& sExpected, const std::string& sWhat) {
        return Check(sGot == sExpected, sWhat + "\n  got:      \"" + Escape(sGot) +
                                            "\"\n  expected: \"" + Escape(sExpected) + "\"");
    }

    // Prints the closing line; the exit status of the program.
    int Finish() const {
        printf("%d passed, %d failed\n", m_nPassed, m_nFailed);
        fflush(stdout);
        return m_nFailed == 0 && m_nPassed > 0 ? 0 : 1;
    }

    // Bytes outside printable ASCII as \xNN, so that GBK and control bytes
    // show whatever the console's code page.
    static std::string Escape(const std::string& s) {
        std::string sOut;
        for (unsigned char c : s) {
            if (c == '\\') {
                sOut += "\\\\";
            } else if (c >= 0x20 && c < 0x7F) {
                sOut += static_cast<char>(c);
            } else {
                char sHex[8];
                snprintf(sHex, sizeof sHex, "\\x%02X", c);
                sOut += sHex;
            }
        }
        return sOut;
    }

  private:
    int m_nPassed = 0;
    int m_nFailed = 0;
};

#endif
