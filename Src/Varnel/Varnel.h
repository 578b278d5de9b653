/* Varnel: cuts running Chinese and English text into sentences.
 *
 * Conventions
 * - A text is a NUL-terminated byte string, GBK or UTF-8, chosen per text by
 *   `encode`: VN_ENCODE_UTF8 (1) means UTF-8, any other value GBK
 *   (VN_ENCODE_GBK, 0, names one).
 * - Protocol: VN_Init once; for each text VN_GetSentence(text, encode), then
 *   VN_GetSentence(NULL, encode) until it returns the empty string; VN_Exit at
 *   the end. A new text may be given at any time; the rest of the old one is
 *   dropped.
 * - Ownership: the library copies the text, so the caller may free it once the
 *   call returns. Every returned pointer is owned by the library, never NULL,
 *   and valid until the next VN_GetSentence or VN_Exit.
 * - Threads: one process-wide splitter serves every caller, so the functions
 *   must be called from one thread at a time.
 * - Errors: none are reported through results. Before VN_Init, after VN_Exit,
 *   for a NULL text before any text, and when memory runs out, VN_GetSentence
 *   returns the empty string.
 */
#ifndef VARNEL_VARNEL_H
#define VARNEL_VARNEL_H

#if defined(_WIN32)
#if defined(VARNEL_BUILDING)
#define VN_API __declspec(dllexport)
#else
#define VN_API __declspec(dllimport)
#endif
/* The splitter instance is exported as data by the Linux build only. */
#define VN_DATA_API
#else
#define VN_API __attribute__((visibility("default")))
#define VN_DATA_API VN_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Values of encode. Any value other than VN_ENCODE_UTF8 is read as GBK. */
enum { VN_ENCODE_GBK = 0, VN_ENCODE_UTF8 = 1 };

/* Records the data directory (sInitDirPath, or the working directory when it
 * is NULL or empty, then the separator and "Data") and creates the splitter.
 * sReserved is not read. Returns 1. */
VN_API int VN_Init(const char* sInitDirPath, const char* sReserved);

/* Destroys the splitter and its copy of the text. Does nothing when there is
 * none. */
VN_API void VN_Exit(void);

/* With a text: copies it and returns its first sentence. With NULL: returns the
 * next sentence of the current text (encode is then ignored). Returns the
 * empty string when the text is exhausted. */
VN_API const char* VN_GetSentence(const char* sText, int encode);

/* The library's last error message; never NULL. */
VN_API const char* VN_GetLastErrorMsg(void);

#ifdef __cplusplus
}
#endif

#endif
