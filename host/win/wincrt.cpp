// The Windows C runtime functions: bounded copies, locale objects and casing, numbers, files.
#include "wincrt.h"
#include "winhost.h"

#include "textconv.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>

struct KhostCrtLocale {
    std::string name;   // as given
    icu::Locale locale; // what ICU makes of it
    int category = LC_ALL;
};

namespace khost {

std::string nativePath(std::wstring_view path) {
    std::wstring p(path);
    for (wchar_t& c : p)
        if (c == L'\\')
            c = L'/';
    return toUtf8(p);
}

} // namespace khost

namespace {

// --- Bounded copies ---

template <typename C> size_t boundedLen(const C* s, size_t max) {
    size_t n = 0;
    while (n < max && s[n])
        ++n;
    return n;
}

template <typename C> errno_t fail(C* dest, size_t size, errno_t code) {
    if (dest && size > 0)
        dest[0] = 0;
    errno = code;
    return code;
}

template <typename C> errno_t copyBounded(C* dest, size_t size, const C* src, size_t count) {
    if (!dest || size == 0)
        return fail(dest, size, EINVAL);
    if (!src) {
        if (count == 0) {
            dest[0] = 0;
            return 0;
        }
        return fail(dest, size, EINVAL);
    }
    if (count == _TRUNCATE) {
        size_t n = boundedLen(src, size);
        if (n >= size) {
            std::memcpy(dest, src, (size - 1) * sizeof(C));
            dest[size - 1] = 0;
            return STRUNCATE;
        }
        std::memcpy(dest, src, n * sizeof(C));
        dest[n] = 0;
        return 0;
    }
    size_t n = boundedLen(src, count);
    if (n >= size)
        return fail(dest, size, ERANGE);
    std::memcpy(dest, src, n * sizeof(C));
    dest[n] = 0;
    return 0;
}

template <typename C> errno_t catBounded(C* dest, size_t size, const C* src, size_t count) {
    if (!dest || size == 0)
        return fail(dest, size, EINVAL);
    size_t have = boundedLen(dest, size);
    if (have == size)
        return fail(dest, size, EINVAL); // the destination is not terminated
    if (!src)
        return fail(dest, size, EINVAL);
    size_t room = size - have;
    if (count == _TRUNCATE) {
        size_t n = boundedLen(src, room);
        if (n >= room) {
            std::memcpy(dest + have, src, (room - 1) * sizeof(C));
            dest[size - 1] = 0;
            return STRUNCATE;
        }
        std::memcpy(dest + have, src, n * sizeof(C));
        dest[have + n] = 0;
        return 0;
    }
    size_t n = boundedLen(src, count);
    if (n >= room)
        return fail(dest, size, ERANGE);
    std::memcpy(dest + have, src, n * sizeof(C));
    dest[have + n] = 0;
    return 0;
}

// --- ICU helpers ---

icu::UnicodeString toIcu(std::wstring_view s) {
    return icu::UnicodeString::fromUTF32(reinterpret_cast<const UChar32*>(s.data()),
                                         static_cast<int32_t>(s.size()));
}

std::wstring fromIcu(const icu::UnicodeString& u) {
    std::wstring out;
    for (int32_t i = 0; i < u.length(); i = u.moveIndex32(i, 1))
        out.push_back(static_cast<wchar_t>(u.char32At(i)));
    return out;
}

const icu::Locale& localeOf(_locale_t loc) {
    return loc ? loc->locale : icu::Locale::getRoot();
}

wchar_t caseOne(wchar_t c, const icu::Locale& loc, bool upper) {
    icu::UnicodeString u = toIcu(std::wstring_view(&c, 1));
    if (upper)
        u.toUpper(loc);
    else
        u.toLower(loc);
    std::wstring r = fromIcu(u);
    return r.size() == 1 ? r[0] : c;
}

// Character for character, as the runtime's in-place functions must: a mapping that would
// change the length (German sharp s) leaves that character as it is.
void caseInPlace(wchar_t* s, size_t n, const icu::Locale& loc, bool upper) {
    icu::UnicodeString u = toIcu(std::wstring_view(s, n));
    if (upper)
        u.toUpper(loc);
    else
        u.toLower(loc);
    std::wstring r = fromIcu(u);
    if (r.size() == n) {
        std::wmemcpy(s, r.data(), n);
        return;
    }
    for (size_t i = 0; i < n; ++i)
        s[i] = caseOne(s[i], loc, upper);
}

errno_t caseBounded(wchar_t* str, size_t size, _locale_t loc, bool upper) {
    if (!str) {
        errno = EINVAL;
        return EINVAL;
    }
    size_t n = boundedLen(str, size);
    if (n >= size)
        return fail(str, size, EINVAL);
    caseInPlace(str, n, localeOf(loc), upper);
    return 0;
}

// Windows locale names by language ("Czech", "Czech_Czech Republic") are found by the English
// name of the language.
bool byEnglishName(const std::string& language, icu::Locale& out) {
    int32_t count = 0;
    const icu::Locale* all = icu::Locale::getAvailableLocales(count);
    for (int32_t i = 0; i < count; ++i) {
        icu::UnicodeString name;
        all[i].getDisplayLanguage(icu::Locale::getEnglish(), name);
        std::string utf8;
        name.toUTF8String(utf8);
        if (utf8.size() == language.size() &&
            strncasecmp(utf8.c_str(), language.c_str(), language.size()) == 0) {
            out = icu::Locale(all[i].getLanguage());
            return true;
        }
    }
    return false;
}

bool parseLocaleName(const std::string& name, icu::Locale& out) {
    std::string base = name.substr(0, name.find('.'));
    if (base.empty() || base == "C" || base == "POSIX") {
        out = icu::Locale::getRoot();
        return true;
    }
    std::string lang = base.substr(0, base.find_first_of("-_"));
    if (lang.size() > 3) {
        icu::Locale byName;
        if (!byEnglishName(lang, byName))
            return false;
        out = byName;
        return true;
    }
    icu::Locale loc = icu::Locale::createCanonical(base.c_str());
    if (loc.isBogus() || std::strlen(loc.getISO3Language()) == 0)
        return false;
    out = loc;
    return true;
}

int foldOne(wchar_t c) {
    return static_cast<int>(u_foldCase(static_cast<UChar32>(c), 0));
}

struct CollatorCache {
    std::mutex mutex;
    std::map<std::string, std::unique_ptr<icu::Collator>> byName;
};

int collate(const wchar_t* a, const wchar_t* b, _locale_t loc, bool ignoreCase) {
    static CollatorCache cache;
    const icu::Locale& l = localeOf(loc);
    std::string key = std::string(l.getName()) + (ignoreCase ? "/i" : "");
    std::lock_guard<std::mutex> lock(cache.mutex);
    auto& coll = cache.byName[key];
    if (!coll) {
        UErrorCode status = U_ZERO_ERROR;
        coll.reset(icu::Collator::createInstance(l, status));
        if (U_FAILURE(status) || !coll)
            return std::wcscmp(a, b);
        if (ignoreCase)
            coll->setStrength(icu::Collator::SECONDARY);
    }
    UErrorCode status = U_ZERO_ERROR;
    UCollationResult r = coll->compare(toIcu(a), toIcu(b), status);
    return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0;
}

template <typename C> errno_t integerToText(int value, C* buffer, size_t size, int radix) {
    if (!buffer || size == 0)
        return fail(buffer, size, EINVAL);
    if (radix < 2 || radix > 36)
        return fail(buffer, size, EINVAL);
    bool negative = radix == 10 && value < 0;
    unsigned int v =
        negative ? 0u - static_cast<unsigned int>(value) : static_cast<unsigned int>(value);
    std::string digits;
    do {
        unsigned int d = v % static_cast<unsigned int>(radix);
        digits.insert(digits.begin(), static_cast<char>(d < 10 ? '0' + d : 'a' + d - 10));
        v /= static_cast<unsigned int>(radix);
    } while (v);
    if (negative)
        digits.insert(digits.begin(), '-');
    if (digits.size() >= size)
        return fail(buffer, size, ERANGE);
    for (size_t i = 0; i < digits.size(); ++i)
        buffer[i] = static_cast<C>(digits[i]);
    buffer[digits.size()] = 0;
    return 0;
}

} // namespace

errno_t strcpy_s(char* dest, size_t size, const char* src) {
    return copyBounded(dest, size, src, src ? std::strlen(src) : 1);
}
errno_t strncpy_s(char* dest, size_t size, const char* src, size_t count) {
    return copyBounded(dest, size, src, count);
}
errno_t strcat_s(char* dest, size_t size, const char* src) {
    return catBounded(dest, size, src, src ? std::strlen(src) : 0);
}
errno_t wcscpy_s(wchar_t* dest, size_t size, const wchar_t* src) {
    return copyBounded(dest, size, src, src ? std::wcslen(src) : 1);
}
errno_t wcsncpy_s(wchar_t* dest, size_t size, const wchar_t* src, size_t count) {
    return copyBounded(dest, size, src, count);
}
errno_t wcscat_s(wchar_t* dest, size_t size, const wchar_t* src) {
    return catBounded(dest, size, src, src ? std::wcslen(src) : 0);
}
errno_t wcsncat_s(wchar_t* dest, size_t size, const wchar_t* src, size_t count) {
    return catBounded(dest, size, src, count);
}

// --- Locales ---

_locale_t _create_locale(int category, const char* name) {
    if (!name)
        return nullptr;
    switch (category) {
    case LC_ALL:
    case LC_COLLATE:
    case LC_CTYPE:
    case LC_MONETARY:
    case LC_NUMERIC:
    case LC_TIME:
        break;
    default:
        return nullptr;
    }
    icu::Locale loc;
    if (!parseLocaleName(name, loc))
        return nullptr;
    auto* l = new KhostCrtLocale;
    l->name = name;
    l->locale = loc;
    l->category = category;
    return l;
}

_locale_t _wcreate_locale(int category, const wchar_t* name) {
    if (!name)
        return nullptr;
    return _create_locale(category, khost::toUtf8(name).c_str());
}

void _free_locale(_locale_t locale) {
    delete locale;
}

const char* _khost_locale_name(_locale_t locale) {
    return locale ? locale->name.c_str() : "C";
}

errno_t _wcsupr_s_l(wchar_t* str, size_t size, _locale_t locale) {
    return caseBounded(str, size, locale, true);
}
errno_t _wcslwr_s_l(wchar_t* str, size_t size, _locale_t locale) {
    return caseBounded(str, size, locale, false);
}
errno_t _wcsupr_s(wchar_t* str, size_t size) {
    return caseBounded(str, size, nullptr, true);
}
errno_t _wcslwr_s(wchar_t* str, size_t size) {
    return caseBounded(str, size, nullptr, false);
}

errno_t _strupr_s(char* str, size_t size) {
    if (!str) {
        errno = EINVAL;
        return EINVAL;
    }
    size_t n = boundedLen(str, size);
    if (n >= size)
        return fail(str, size, EINVAL);
    for (size_t i = 0; i < n; ++i)
        str[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(str[i])));
    return 0;
}

errno_t _strlwr_s(char* str, size_t size) {
    if (!str) {
        errno = EINVAL;
        return EINVAL;
    }
    size_t n = boundedLen(str, size);
    if (n >= size)
        return fail(str, size, EINVAL);
    for (size_t i = 0; i < n; ++i)
        str[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(str[i])));
    return 0;
}

wint_t _towupper_l(wint_t c, _locale_t locale) {
    return static_cast<wint_t>(caseOne(static_cast<wchar_t>(c), localeOf(locale), true));
}
wint_t _towlower_l(wint_t c, _locale_t locale) {
    return static_cast<wint_t>(caseOne(static_cast<wchar_t>(c), localeOf(locale), false));
}

int _wcsnicmp(const wchar_t* a, const wchar_t* b, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        int fa = foldOne(a[i]);
        int fb = foldOne(b[i]);
        if (fa != fb)
            return fa < fb ? -1 : 1;
        if (!a[i])
            return 0;
    }
    return 0;
}
int _wcsicmp(const wchar_t* a, const wchar_t* b) {
    return _wcsnicmp(a, b, SIZE_MAX);
}
int _wcsicmp_l(const wchar_t* a, const wchar_t* b, _locale_t) {
    return _wcsicmp(a, b);
}

int _strnicmp(const char* a, const char* b, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        int fa = std::tolower(static_cast<unsigned char>(a[i]));
        int fb = std::tolower(static_cast<unsigned char>(b[i]));
        if (fa != fb)
            return fa - fb;
        if (!a[i])
            return 0;
    }
    return 0;
}
int _stricmp(const char* a, const char* b) {
    return _strnicmp(a, b, SIZE_MAX);
}

int _wcscoll_l(const wchar_t* a, const wchar_t* b, _locale_t locale) {
    return collate(a, b, locale, false);
}
int _wcsicoll_l(const wchar_t* a, const wchar_t* b, _locale_t locale) {
    return collate(a, b, locale, true);
}
int _wcsicoll(const wchar_t* a, const wchar_t* b) {
    return collate(a, b, nullptr, true);
}

// --- Numbers ---

int _wtoi(const wchar_t* str) {
    if (!str) {
        errno = EINVAL;
        return 0;
    }
    long long v = std::wcstoll(str, nullptr, 10);
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return static_cast<int>(v);
}
long _wtol(const wchar_t* str) {
    return _wtoi(str);
} // long is 32 bits on Windows
long long _wtoi64(const wchar_t* str) {
    return str ? std::wcstoll(str, nullptr, 10) : 0;
}
double _wtof(const wchar_t* str) {
    return str ? std::wcstod(str, nullptr) : 0.0;
}

errno_t _itow_s(int value, wchar_t* buffer, size_t size, int radix) {
    return integerToText(value, buffer, size, radix);
}
errno_t _itoa_s(int value, char* buffer, size_t size, int radix) {
    return integerToText(value, buffer, size, radix);
}

wchar_t* _wcsdup(const wchar_t* str) {
    if (!str)
        return nullptr;
    size_t n = std::wcslen(str) + 1;
    auto* p = static_cast<wchar_t*>(std::malloc(n * sizeof(wchar_t)));
    if (p)
        std::wmemcpy(p, str, n);
    return p;
}
char* _strdup(const char* str) {
    return str ? strdup(str) : nullptr;
}

// --- Files ---

int _wmkdir(const wchar_t* dirname) {
    if (!dirname) {
        errno = EINVAL;
        return -1;
    }
    return ::mkdir(khost::nativePath(dirname).c_str(), 0777) == 0 ? 0 : -1;
}

int _mkdir(const char* dirname) {
    if (!dirname) {
        errno = EINVAL;
        return -1;
    }
    return _wmkdir(khost::fromUtf8(dirname).c_str());
}

int _wrmdir(const wchar_t* dirname) {
    if (!dirname) {
        errno = EINVAL;
        return -1;
    }
    return ::rmdir(khost::nativePath(dirname).c_str()) == 0 ? 0 : -1;
}

int _waccess(const wchar_t* path, int mode) {
    if (!path || (mode & ~6) != 0) {
        errno = EINVAL;
        return -1;
    }
    int how = F_OK;
    if (mode & 2)
        how |= W_OK;
    if (mode & 4)
        how |= R_OK;
    return ::access(khost::nativePath(path).c_str(), how) == 0 ? 0 : -1;
}

int _wstat(const wchar_t* path, struct _stat* buffer) {
    if (!path || !buffer) {
        errno = EINVAL;
        return -1;
    }
    struct stat st {};
    if (::stat(khost::nativePath(path).c_str(), &st) != 0)
        return -1;
    *buffer = {};
    buffer->st_dev = static_cast<unsigned int>(st.st_dev);
    buffer->st_ino = static_cast<unsigned short>(st.st_ino);
    buffer->st_mode = static_cast<unsigned short>((S_ISDIR(st.st_mode)   ? _S_IFDIR
                                                   : S_ISREG(st.st_mode) ? _S_IFREG
                                                                         : 0) |
                                                  (st.st_mode & 0777));
    buffer->st_nlink = static_cast<short>(st.st_nlink);
    buffer->st_size = static_cast<long long>(st.st_size);
    buffer->st_atim = st.st_atim;
    buffer->st_mtim = st.st_mtim;
    buffer->st_ctim = st.st_ctim;
    return 0;
}

int _wremove(const wchar_t* path) {
    if (!path) {
        errno = EINVAL;
        return -1;
    }
    return std::remove(khost::nativePath(path).c_str()) == 0 ? 0 : -1;
}

int _wrename(const wchar_t* oldname, const wchar_t* newname) {
    if (!oldname || !newname) {
        errno = EINVAL;
        return -1;
    }
    return std::rename(khost::nativePath(oldname).c_str(), khost::nativePath(newname).c_str()) == 0
               ? 0
               : -1;
}

FILE* _wfopen(const wchar_t* filename, const wchar_t* mode) {
    if (!filename || !mode) {
        errno = EINVAL;
        return nullptr;
    }
    // The text/binary letters and the ", ccs=" encoding of the Windows runtime are dropped.
    std::string m;
    for (const wchar_t* p = mode; *p && *p != L','; ++p)
        if (*p == L'r' || *p == L'w' || *p == L'a' || *p == L'+' || *p == L'b')
            m.push_back(static_cast<char>(*p));
    if (m.empty()) {
        errno = EINVAL;
        return nullptr;
    }
    return std::fopen(khost::nativePath(filename).c_str(), m.c_str());
}

errno_t _wfopen_s(FILE** pFile, const wchar_t* filename, const wchar_t* mode) {
    if (!pFile) {
        errno = EINVAL;
        return EINVAL;
    }
    *pFile = _wfopen(filename, mode);
    return *pFile ? 0 : errno;
}
