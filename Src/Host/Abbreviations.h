// The English words that a '.' shortens rather than ends a sentence after,
// for the reader mode: a small built-in list, and the user's own from a file.
#ifndef VARNEL_HOST_ABBREVIATIONS_H
#define VARNEL_HOST_ABBREVIATIONS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace varnel_host {

class Abbreviations {
  public:
    enum Kind : uint8_t {
        kNone,    // not an abbreviation
        kTitle,   // stands before what it belongs to (Mr., Dr., e.g.): ends no sentence
        kMayEnd,  // may close a sentence (etc., Inc., Jan.): ends one where a new one clearly
                  // starts
    };

    // The built-in list: titles (Mr. Mrs. Ms. Dr. Prof. Rev. and military and
    // political ranks), Latin and reference words (e.g. i.e. cf. viz. vs.
    // approx. etc. et al. No. Fig. Vol. pp.), business words (Inc. Ltd. Co.
    // Corp. Bros.), name suffixes (Jr. Sr. Esq.), places (St. Mt. Ave.) and
    // the months (Jan. to Dec. but May). Written for this project from
    // everyday English usage.
    Abbreviations();

    // Adds the abbreviations of the file sPath, one a line, with or without
    // the final '.': letters with single periods between them ("Dr",
    // "approx.", "Ph.D."), up to 31 bytes. Blank lines and lines starting
    // with '#' are skipped, blanks around a word and a final CR ignored. An
    // added word is of the kind kMayEnd. On failure returns false, adds
    // nothing and sets sError to a message that names the file, and the line
    // when one is at fault.
    bool Load(const char* sPath, std::string& sError);

    // The kind of the word p[0..nLen), given without its final '.'. A word
    // listed in small letters is found capitalised too ("Etc" as "etc"),
    // never the other way round ("no" is not "No").
    Kind Find(const char* p, size_t nLen) const;

    // The list that the reader mode uses when no other is given.
    static const Abbreviations& BuiltIn();

  private:
    struct Entry {
        std::string sWord;  // empty: a free slot
        Kind kind = kNone;
    };

    void Add(const std::string& sWord, Kind kind);
    const Entry& Slot(const char* p,
                      size_t nLen) const;  // the word's, or the free one it would take

    std::vector<Entry> m_entries;  // open addressing, at most half full
    size_t m_nWords = 0;
    // By a word's first byte, a bit for each length a listed word has: most
    // words are no abbreviation, and this tells so without a look-up.
    uint32_t m_anLengths[128] = {};
};

}  // namespace varnel_host

#endif
