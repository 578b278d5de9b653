// String and number helpers that the Windows runtime library provides under
// these names, for the Linux build only. They look at single bytes and know
// nothing of GBK.
#ifndef VARNEL_UTILITY_GLOBAL_LINUX_H
#define VARNEL_UTILITY_GLOBAL_LINUX_H

// 'a'-'z' to 'A'-'Z'; every other byte comes back unchanged.
char GetUpperLetter(char ch);

// 'A'-'Z' to 'a'-'z'; every other byte comes back unchanged.
char GetLowerLetter(char ch);

// Replace every byte up to the terminator by toupper (strupr) or tolower
// (strlwr) of it, in place; the process's locale decides, the "C" locale
// changes ASCII letters only. Return _src.
char* strupr(char* _src);
char* strlwr(char* _src);

// Writes value into str: octal for radix 8, lower-case hexadecimal for radix
// 16 (a negative value as its 32-bit two's-complement pattern, no prefix),
// decimal for every other radix. str must hold 12 bytes. Returns str.
char* itoa(int value, char* str, int radix);

// Reverses the bytes of the NUL-terminated string szt in place (a GBK pair
// comes out with its bytes swapped). Returns szt.
char* strrev(char* szt);

#endif
