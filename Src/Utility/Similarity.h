// How much of one string is found in another, for GBK and ASCII text alike.
#ifndef VARNEL_UTILITY_SIMILARITY_H
#define VARNEL_UTILITY_SIMILARITY_H

// Scores sStr1 against sStr2; the score is directional. Both may be null.
//  - both null, or both empty: 1; else sStr1 null or empty: 0.5; else sStr2
//    null or empty: 0;
//  - equal apart from ASCII letter case: 1;
//  - sStr1 inside sStr2 (case-sensitive): length of sStr1 / length of sStr2;
//  - otherwise the characters of sStr1 are sought one by one in sStr2, each
//    from where the previous one was found: a character right after the
//    previous find earns its byte length times 1.0, one further on 0.9, one
//    found only earlier 0.6, one not found 0; the score is the sum squared
//    over (length of sStr2 * length of sStr1).
// Lengths are in bytes. The score is not clipped: a long sStr1 that repeats
// its characters can score above 1.
double ComputeSim(const char* sStr1, const char* sStr2);

#endif
