// The Windows C runtime functions that plug-ins call and the Linux C library lacks: the bounded
// ("secure") string and formatting functions, locale objects, and the wide file functions.
//
// Bounded functions report an invalid parameter as the Windows runtime does after its handler
// returns: they set errno, return the error (or -1), and leave an empty string in the buffer
// where the runtime does so; they never end the process.
//
// Formatting follows the Windows runtime's conventions, not glibc's: in a wide format "%s" and
// "%c" take wide arguments and "%S"/"%C"/"%hs"/"%hc" narrow ones; in a narrow format it is the
// other way round ("%S" and "%ls" are wide). The I64/I32/I length prefixes are understood.
// Narrow strings meeting wide ones are converted as UTF-8.
#pragma once

#include <cerrno>
#include <clocale>
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cwchar>
#include <ctime>

#include <sys/stat.h>

typedef int errno_t;

#ifndef _TRUNCATE
#define _TRUNCATE ((size_t)-1)
#endif
#ifndef STRUNCATE
#define STRUNCATE 80
#endif

// --- Formatting ---------------------------------------------------------------------------------
// On overflow or an invalid format the buffer receives an empty string and -1 is returned.
int vsprintf_s(char* buffer, size_t sizeOfBuffer, const char* format, va_list args);
int sprintf_s(char* buffer, size_t sizeOfBuffer, const char* format, ...);
int vswprintf_s(wchar_t* buffer, size_t sizeOfBuffer, const wchar_t* format, va_list args);
int swprintf_s(wchar_t* buffer, size_t sizeOfBuffer, const wchar_t* format, ...);
// count is the most characters to write, or _TRUNCATE: then output that does not fit is cut to
// the buffer and -1 is returned.
int _vsnprintf_s(char* buffer, size_t sizeOfBuffer, size_t count, const char* format, va_list args);
int _snprintf_s(char* buffer, size_t sizeOfBuffer, size_t count, const char* format, ...);
int _vsnwprintf_s(wchar_t* buffer, size_t sizeOfBuffer, size_t count, const wchar_t* format,
                  va_list args);
int _snwprintf_s(wchar_t* buffer, size_t sizeOfBuffer, size_t count, const wchar_t* format, ...);
// The length that the formatted text would have, without its terminator.
int _vscprintf(const char* format, va_list args);
int _vscwprintf(const wchar_t* format, va_list args);

template <size_t N> int sprintf_s(char (&buffer)[N], const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    int n = vsprintf_s(buffer, N, format, ap);
    va_end(ap);
    return n;
}
template <size_t N> int swprintf_s(wchar_t (&buffer)[N], const wchar_t* format, ...) {
    va_list ap;
    va_start(ap, format);
    int n = vswprintf_s(buffer, N, format, ap);
    va_end(ap);
    return n;
}
template <size_t N> int _snprintf_s(char (&buffer)[N], size_t count, const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    int n = _vsnprintf_s(buffer, N, count, format, ap);
    va_end(ap);
    return n;
}
template <size_t N>
int _snwprintf_s(wchar_t (&buffer)[N], size_t count, const wchar_t* format, ...) {
    va_list ap;
    va_start(ap, format);
    int n = _vsnwprintf_s(buffer, N, count, format, ap);
    va_end(ap);
    return n;
}

// --- Bounded copies -----------------------------------------------------------------------------
// 0 on success; EINVAL for a null destination or source (the destination, when there is one,
// becomes empty); ERANGE when the text does not fit (the destination becomes empty); STRUNCATE
// when count is _TRUNCATE and the text was cut.
errno_t strcpy_s(char* dest, size_t destSize, const char* src);
errno_t strncpy_s(char* dest, size_t destSize, const char* src, size_t count);
errno_t strcat_s(char* dest, size_t destSize, const char* src);
errno_t wcscpy_s(wchar_t* dest, size_t destSize, const wchar_t* src);
errno_t wcsncpy_s(wchar_t* dest, size_t destSize, const wchar_t* src, size_t count);
errno_t wcscat_s(wchar_t* dest, size_t destSize, const wchar_t* src);
errno_t wcsncat_s(wchar_t* dest, size_t destSize, const wchar_t* src, size_t count);

template <size_t N> errno_t strcpy_s(char (&dest)[N], const char* src) {
    return strcpy_s(dest, N, src);
}
template <size_t N> errno_t strncpy_s(char (&dest)[N], const char* src, size_t count) {
    return strncpy_s(dest, N, src, count);
}
template <size_t N> errno_t strcat_s(char (&dest)[N], const char* src) {
    return strcat_s(dest, N, src);
}
template <size_t N> errno_t wcscpy_s(wchar_t (&dest)[N], const wchar_t* src) {
    return wcscpy_s(dest, N, src);
}
template <size_t N> errno_t wcsncpy_s(wchar_t (&dest)[N], const wchar_t* src, size_t count) {
    return wcsncpy_s(dest, N, src, count);
}
template <size_t N> errno_t wcscat_s(wchar_t (&dest)[N], const wchar_t* src) {
    return wcscat_s(dest, N, src);
}

// --- Locales and casing -------------------------------------------------------------------------
// A runtime locale object. It keeps its name ("cs-CZ", "cs_CZ", "C" ...); casing and collation
// go through ICU with that name. The category constants are those of <clocale>.
struct KhostCrtLocale;
typedef KhostCrtLocale* _locale_t;

// Null for an unknown locale name or category.
_locale_t _create_locale(int category, const char* locale);
_locale_t _wcreate_locale(int category, const wchar_t* locale);
void _free_locale(_locale_t locale);
// The name the locale was created with (an extension of this runtime).
const char* _khost_locale_name(_locale_t locale);

// In place, character for character. 0, or EINVAL when the string is null or not terminated
// within numberOfElements (the string then becomes empty).
errno_t _wcsupr_s_l(wchar_t* str, size_t numberOfElements, _locale_t locale);
errno_t _wcslwr_s_l(wchar_t* str, size_t numberOfElements, _locale_t locale);
errno_t _wcsupr_s(wchar_t* str, size_t numberOfElements);
// Unbounded, in place; the string itself is returned (null for a null string) (wincrt_case.cpp).
wchar_t* _wcsupr_l(wchar_t* str, _locale_t locale);
wchar_t* _wcslwr_l(wchar_t* str, _locale_t locale);
errno_t _wcslwr_s(wchar_t* str, size_t numberOfElements);
errno_t _strupr_s(char* str, size_t numberOfElements);
errno_t _strlwr_s(char* str, size_t numberOfElements);
wint_t _towupper_l(wint_t c, _locale_t locale);
wint_t _towlower_l(wint_t c, _locale_t locale);

// Case-insensitive comparisons by simple Unicode case folding; collation by ICU.
int _wcsicmp(const wchar_t* a, const wchar_t* b);
int _wcsnicmp(const wchar_t* a, const wchar_t* b, size_t count);
int _stricmp(const char* a, const char* b);
int _strnicmp(const char* a, const char* b, size_t count);
int _wcsicmp_l(const wchar_t* a, const wchar_t* b, _locale_t locale);
int _wcscoll_l(const wchar_t* a, const wchar_t* b, _locale_t locale);
int _wcsicoll_l(const wchar_t* a, const wchar_t* b, _locale_t locale);
int _wcsicoll(const wchar_t* a, const wchar_t* b);

// --- Numbers ------------------------------------------------------------------------------------
int _wtoi(const wchar_t* str);
long _wtol(const wchar_t* str);
long long _wtoi64(const wchar_t* str);
double _wtof(const wchar_t* str);
errno_t _itow_s(int value, wchar_t* buffer, size_t sizeInCharacters, int radix);
errno_t _itoa_s(int value, char* buffer, size_t sizeInCharacters, int radix);
wchar_t* _wcsdup(const wchar_t* str);
char* _strdup(const char* str);

// --- Files --------------------------------------------------------------------------------------
// Paths are wide; they reach the file system in UTF-8. As on Windows, '\' and '/' both separate
// folders ('\' becomes '/').
int _wmkdir(const wchar_t* dirname);
int _wrmdir(const wchar_t* dirname);
int _mkdir(const char* dirname);
// mode: 0 existence, 2 write, 4 read, 6 both. 0 or -1 with errno.
int _waccess(const wchar_t* path, int mode);
int _wremove(const wchar_t* path);

// File status. The times are kept as timespecs, so that st_mtime and its kin read as usual.
struct _stat {
    unsigned int st_dev;
    unsigned short st_ino;
    unsigned short st_mode;
    short st_nlink;
    short st_uid;
    short st_gid;
    unsigned int st_rdev;
    long long st_size;
    struct timespec st_atim;
    struct timespec st_mtim;
    struct timespec st_ctim;
};
#define _stat64 _stat
#define _stat64i32 _stat
#define _S_IFMT 0xF000
#define _S_IFDIR 0x4000
#define _S_IFREG 0x8000
// 0, or -1 with errno (ENOENT for a missing path).
int _wstat(const wchar_t* path, struct _stat* buffer);
#define _wstat64 _wstat
#define _wstat64i32 _wstat
int _wrename(const wchar_t* oldname, const wchar_t* newname);
FILE* _wfopen(const wchar_t* filename, const wchar_t* mode);
errno_t _wfopen_s(FILE** pFile, const wchar_t* filename, const wchar_t* mode);
