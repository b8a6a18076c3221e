// CObject, the file and archive exceptions, CFile, CMemFile and CArchive.
#include "afxarchive.h"

#include "textconv.h"
#include "wincrt.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <limits>

// --- Run-time classes ---------------------------------------------------------------------------

CRuntimeClass CObject::classCObject = {"CObject", (int)sizeof(CObject), 0xFFFF, nullptr, nullptr};

CObject* CRuntimeClass::CreateObject() const {
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
    for (const CRuntimeClass* p = this; p; p = p->m_pBaseClass)
        if (p == pBaseClass)
            return TRUE;
    return FALSE;
}

CRuntimeClass* CObject::GetRuntimeClass() const {
    return RUNTIME_CLASS(CObject);
}
void CObject::Serialize(CArchive&) {}
void CObject::AssertValid() const {}
void CObject::Dump(CDumpContext& dc) const {
    dc << "a " << GetRuntimeClass()->m_lpszClassName << " at " << static_cast<const void*>(this)
       << "\n";
}
BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}
BOOL CObject::IsSerializable() const {
    return GetRuntimeClass()->m_wSchema != 0xFFFF;
}

CDumpContext& CDumpContext::operator<<(LPCWSTR s) {
    m_text += s ? s : L"(NULL)";
    return *this;
}
CDumpContext& CDumpContext::operator<<(LPCSTR s) {
    m_text += s ? khost::fromUtf8(s) : L"(NULL)";
    return *this;
}
CDumpContext& CDumpContext::operator<<(int n) {
    m_text += std::to_wstring(n);
    return *this;
}
CDumpContext& CDumpContext::operator<<(UINT n) {
    m_text += std::to_wstring(n);
    return *this;
}
CDumpContext& CDumpContext::operator<<(double d) {
    m_text += std::to_wstring(d);
    return *this;
}
CDumpContext& CDumpContext::operator<<(const void* p) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "$%p", p);
    return *this << buf;
}

// --- Exceptions ---------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

namespace {

BOOL copyMessage(const std::wstring& text, LPWSTR lpszError, UINT nMaxError) {
    if (!lpszError || nMaxError == 0)
        return FALSE;
    size_t n = std::min<size_t>(text.size(), nMaxError - 1);
    std::wmemcpy(lpszError, text.data(), n);
    lpszError[n] = L'\0';
    return TRUE;
}

std::wstring withName(const wchar_t* text, const CString& name) {
    std::wstring s = text;
    if (!name.IsEmpty()) {
        s += L" (";
        s += name.GetString();
        s += L")";
    }
    return s;
}

} // namespace

void CException::Delete() {
    if (m_bAutoDelete)
        delete this;
}

BOOL CException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (lpszError && nMaxError)
        *lpszError = L'\0';
    return FALSE;
}

int CException::ReportError(UINT nType, UINT) {
    wchar_t text[512];
    if (!GetErrorMessage(text, 512))
        std::wcscpy(text, L"No error message is available.");
    return MessageBoxW(nullptr, text, L"Error", nType);
}

CFileException::CFileException(int cause, LONG lOsError, LPCWSTR lpszArchiveName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszArchiveName) {}

BOOL CFileException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
    static const wchar_t* const texts[] = {
        L"No error occurred.",
        L"An unspecified error occurred while accessing the file.",
        L"The file could not be located.",
        L"The path is invalid.",
        L"Too many files are open.",
        L"Access to the file was denied.",
        L"The file handle is invalid.",
        L"The current working directory cannot be removed.",
        L"There are no more directory entries.",
        L"An error occurred while seeking in the file.",
        L"A hardware I/O error occurred while accessing the file.",
        L"A sharing violation occurred while accessing the file.",
        L"A locking violation occurred while accessing the file.",
        L"The disk is full.",
        L"An attempt was made to access beyond the end of the file.",
    };
    if (pnHelpContext)
        *pnHelpContext = 0;
    int c = (m_cause >= 0 && m_cause <= endOfFile) ? m_cause : genericException;
    return copyMessage(withName(texts[c], m_strFileName), lpszError, nMaxError);
}

int CFileException::OsErrorToException(LONG lOsError) {
    switch (lOsError) {
    case 0:
        return none;
    case ENOENT:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case EEXIST:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case ESPIPE:
        return badSeek;
    case EIO:
        return hardIO;
    case ETXTBSY:
        return sharingViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return diskFull;
    default:
        return genericException;
    }
}

CArchiveException::CArchiveException(int cause, LPCWSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName) {}

BOOL CArchiveException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError,
                                        UINT* pnHelpContext) const {
    static const wchar_t* const texts[] = {
        L"No error occurred.",
        L"An unexpected error occurred while reading or writing the archive.",
        L"An attempt was made to write to an archive opened for loading.",
        L"An unexpected end of file was reached while reading the archive.",
        L"An attempt was made to read from an archive opened for storing.",
        L"The archive is in an invalid format.",
        L"The archive contains an unexpected object.",
        L"The archive contains an object of an unexpected version.",
        L"The archive buffer is full.",
    };
    if (pnHelpContext)
        *pnHelpContext = 0;
    int c = (m_cause >= 0 && m_cause <= bufferFull) ? m_cause : genericException;
    return copyMessage(withName(texts[c], m_strFileName), lpszError, nMaxError);
}

void AfxThrowFileException(int cause, LONG lOsError, LPCWSTR lpszFileName) {
    throw new CFileException(cause, lOsError, lpszFileName);
}

void AfxThrowArchiveException(int cause, LPCWSTR lpszArchiveName) {
    throw new CArchiveException(cause, lpszArchiveName);
}

// --- CFile --------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CMemFile, CFile)

const HANDLE CFile::hFileNull = nullptr;

namespace {

FILE* fileOf(HANDLE h) {
    return static_cast<FILE*>(h);
}

FILE* openStream(LPCWSTR name, UINT flags) {
    const bool create = (flags & CFile::modeCreate) != 0;
    const bool keep = (flags & CFile::modeNoTruncate) != 0;
    const UINT access = flags & 3;
    if (create && !keep)
        return _wfopen(name, access == CFile::modeReadWrite ? L"w+b" : L"wb");
    if (access == CFile::modeRead && !create)
        return _wfopen(name, L"rb");
    FILE* f = _wfopen(name, L"r+b");
    if (!f && create && errno == ENOENT)
        f = _wfopen(name, L"w+b");
    return f;
}

} // namespace

CFile::CFile() : m_hFile(hFileNull) {}

CFile::CFile(LPCWSTR lpszFileName, UINT nOpenFlags) : m_hFile(hFileNull) {
    CFileException e;
    if (!Open(lpszFileName, nOpenFlags, &e))
        AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CFile::~CFile() {
    if (m_hFile != hFileNull)
        Abort();
}

BOOL CFile::Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
    if (m_hFile != hFileNull || !lpszFileName || !*lpszFileName) {
        if (pError) {
            pError->m_cause =
                m_hFile != hFileNull ? CFileException::genericException : CFileException::badPath;
            pError->m_lOsError = EINVAL;
            pError->m_strFileName = lpszFileName;
        }
        return FALSE;
    }
    errno = 0;
    FILE* f = openStream(lpszFileName, nOpenFlags);
    if (!f) {
        if (pError) {
            pError->m_lOsError = errno;
            pError->m_cause = CFileException::OsErrorToException(errno);
            pError->m_strFileName = lpszFileName;
        }
        return FALSE;
    }
    m_hFile = f;
    m_strFileName = lpszFileName;
    return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
    if (m_hFile == hFileNull)
        AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
    if (nCount == 0)
        return 0;
    size_t n = std::fread(lpBuf, 1, nCount, fileOf(m_hFile));
    if (n < nCount && std::ferror(fileOf(m_hFile))) {
        int err = errno;
        std::clearerr(fileOf(m_hFile));
        AfxThrowFileException(CFileException::OsErrorToException(err ? err : EIO), err,
                              m_strFileName);
    }
    return static_cast<UINT>(n);
}

void CFile::Write(const void* lpBuf, UINT nCount) {
    if (m_hFile == hFileNull)
        AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
    if (nCount == 0)
        return;
    if (std::fwrite(lpBuf, 1, nCount, fileOf(m_hFile)) != nCount) {
        int err = errno ? errno : EIO;
        AfxThrowFileException(CFileException::OsErrorToException(err), err, m_strFileName);
    }
}

void CFile::Flush() {
    if (m_hFile == hFileNull)
        return;
    if (std::fflush(fileOf(m_hFile)) != 0) {
        int err = errno ? errno : EIO;
        AfxThrowFileException(CFileException::OsErrorToException(err), err, m_strFileName);
    }
}

void CFile::Close() {
    if (m_hFile == hFileNull)
        return;
    FILE* f = fileOf(m_hFile);
    m_hFile = hFileNull;
    errno = 0;
    if (std::fclose(f) != 0) {
        int err = errno ? errno : EIO;
        AfxThrowFileException(CFileException::OsErrorToException(err), err, m_strFileName);
    }
}

void CFile::Abort() {
    if (m_hFile == hFileNull)
        return;
    std::fclose(fileOf(m_hFile));
    m_hFile = hFileNull;
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom) {
    if (m_hFile == hFileNull)
        AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
    int whence = nFrom == current ? SEEK_CUR : nFrom == end ? SEEK_END : SEEK_SET;
    if (fseeko(fileOf(m_hFile), static_cast<off_t>(lOff), whence) != 0)
        AfxThrowFileException(CFileException::badSeek, errno, m_strFileName);
    return GetPosition();
}

ULONGLONG CFile::GetPosition() const {
    if (m_hFile == hFileNull)
        AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
    off_t pos = ftello(fileOf(m_hFile));
    if (pos < 0)
        AfxThrowFileException(CFileException::badSeek, errno, m_strFileName);
    return static_cast<ULONGLONG>(pos);
}

ULONGLONG CFile::GetLength() const {
    if (m_hFile == hFileNull)
        AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName);
    FILE* f = fileOf(m_hFile);
    off_t pos = ftello(f);
    fseeko(f, 0, SEEK_END);
    off_t len = ftello(f);
    fseeko(f, pos, SEEK_SET);
    return len < 0 ? 0 : static_cast<ULONGLONG>(len);
}

CString CFile::GetFileName() const {
    int slash = std::max(m_strFileName.ReverseFind(L'\\'), m_strFileName.ReverseFind(L'/'));
    return m_strFileName.Mid(slash + 1);
}

void CFile::Rename(LPCWSTR lpszOldName, LPCWSTR lpszNewName) {
    if (_waccess(lpszNewName, 0) == 0)
        AfxThrowFileException(CFileException::accessDenied, EEXIST, lpszOldName);
    if (_wrename(lpszOldName, lpszNewName) != 0)
        AfxThrowFileException(CFileException::OsErrorToException(errno), errno, lpszOldName);
}

void CFile::Remove(LPCWSTR lpszFileName) {
    if (_wremove(lpszFileName) != 0)
        AfxThrowFileException(CFileException::OsErrorToException(errno), errno, lpszFileName);
}

// --- CMemFile -----------------------------------------------------------------------------------

CMemFile::CMemFile(UINT nGrowBytes) : m_nGrowBytes(nGrowBytes ? nGrowBytes : 1024) {
    m_hFile = this; // "open"
}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) {
    m_hFile = this;
    Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile() {
    Close();
}

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) {
    if (m_bAutoDelete)
        std::free(m_lpBuffer);
    m_lpBuffer = lpBuffer;
    m_nBufferSize = nBufferSize;
    m_nGrowBytes = nGrowBytes;
    // A growing file over a buffer starts empty; a fixed one holds the buffer's bytes.
    m_nFileSize = nGrowBytes == 0 ? nBufferSize : 0;
    m_nPosition = 0;
    m_bAutoDelete = false;
    m_hFile = this;
}

BYTE* CMemFile::Detach() {
    BYTE* p = m_lpBuffer;
    m_lpBuffer = nullptr;
    m_nBufferSize = m_nFileSize = m_nPosition = 0;
    m_bAutoDelete = true;
    return p;
}

void CMemFile::Close() {
    if (m_bAutoDelete)
        std::free(m_lpBuffer);
    m_lpBuffer = nullptr;
    m_nBufferSize = m_nFileSize = m_nPosition = 0;
    m_bAutoDelete = true;
    m_hFile = hFileNull;
}

void CMemFile::Grow(SIZE_T nNewSize) {
    if (nNewSize <= m_nBufferSize)
        return;
    if (m_nGrowBytes == 0)
        AfxThrowFileException(CFileException::diskFull, ENOSPC);
    SIZE_T n = m_nBufferSize;
    while (n < nNewSize)
        n += m_nGrowBytes;
    BYTE* p;
    if (m_bAutoDelete) {
        p = static_cast<BYTE*>(std::realloc(m_lpBuffer, n));
    } else {
        // A buffer of the caller's is never reallocated: the file moves to its own memory.
        p = static_cast<BYTE*>(std::malloc(n));
        if (p && m_nFileSize)
            std::memcpy(p, m_lpBuffer, m_nFileSize);
    }
    if (!p)
        AfxThrowFileException(CFileException::diskFull, ENOMEM);
    m_lpBuffer = p;
    m_nBufferSize = n;
    m_bAutoDelete = true;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount) {
    if (m_nPosition >= m_nFileSize || nCount == 0)
        return 0;
    SIZE_T n = std::min<SIZE_T>(nCount, m_nFileSize - m_nPosition);
    std::memcpy(lpBuf, m_lpBuffer + m_nPosition, n);
    m_nPosition += n;
    return static_cast<UINT>(n);
}

void CMemFile::Write(const void* lpBuf, UINT nCount) {
    if (nCount == 0)
        return;
    Grow(m_nPosition + nCount);
    std::memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
    m_nPosition += nCount;
    m_nFileSize = std::max(m_nFileSize, m_nPosition);
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom) {
    LONGLONG base = nFrom == current ? static_cast<LONGLONG>(m_nPosition)
                    : nFrom == end   ? static_cast<LONGLONG>(m_nFileSize)
                                     : 0;
    LONGLONG pos = base + lOff;
    if (pos < 0)
        AfxThrowFileException(CFileException::badSeek, EINVAL);
    m_nPosition = static_cast<SIZE_T>(pos);
    return m_nPosition;
}

// --- CArchive -----------------------------------------------------------------------------------

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void*)
    : m_pFile(pFile), m_nMode(nMode), m_buf(static_cast<size_t>(nBufSize >= 128 ? nBufSize : 128)) {
}

CArchive::~CArchive() {
    // An archive left open is closed without throwing; what a storing archive still buffered is
    // written unless told otherwise.
    if (!m_bClosed && m_pFile) {
        if (IsStoring() && !(m_nMode & bNoFlushOnDelete)) {
            try {
                Flush();
            } catch (CException* e) {
                e->Delete();
            }
        }
        m_pFile = nullptr;
    }
}

void CArchive::CheckLoading() {
    if (!IsLoading() || m_bClosed || !m_pFile)
        AfxThrowArchiveException(CArchiveException::writeOnly);
}

void CArchive::CheckStoring() {
    if (!IsStoring() || m_bClosed || !m_pFile)
        AfxThrowArchiveException(CArchiveException::readOnly);
}

UINT CArchive::Read(void* lpBuf, UINT nMax) {
    CheckLoading();
    BYTE* out = static_cast<BYTE*>(lpBuf);
    UINT done = 0;
    while (done < nMax) {
        if (m_nCur == m_nMax) {
            m_nCur = 0;
            m_nMax = m_pFile->Read(m_buf.data(), static_cast<UINT>(m_buf.size()));
            if (m_nMax == 0)
                break;
        }
        size_t n = std::min<size_t>(nMax - done, m_nMax - m_nCur);
        std::memcpy(out + done, m_buf.data() + m_nCur, n);
        m_nCur += n;
        done += static_cast<UINT>(n);
    }
    return done;
}

void CArchive::ReadExact(void* lpBuf, UINT nCount) {
    if (Read(lpBuf, nCount) != nCount)
        AfxThrowArchiveException(CArchiveException::endOfFile, m_pFile->GetFilePath());
}

void CArchive::Write(const void* lpBuf, UINT nMax) {
    CheckStoring();
    const BYTE* in = static_cast<const BYTE*>(lpBuf);
    while (nMax > 0) {
        if (m_nCur == m_buf.size())
            Flush();
        size_t n = std::min<size_t>(nMax, m_buf.size() - m_nCur);
        std::memcpy(m_buf.data() + m_nCur, in, n);
        m_nCur += n;
        in += n;
        nMax -= static_cast<UINT>(n);
    }
}

void CArchive::Flush() {
    if (m_bClosed || !m_pFile)
        return;
    if (IsStoring()) {
        size_t n = m_nCur;
        m_nCur = 0;
        if (n)
            m_pFile->Write(m_buf.data(), static_cast<UINT>(n));
    } else if (m_nCur < m_nMax) {
        // Give back what was read ahead, so that the file stands after the last byte used.
        m_pFile->Seek(-static_cast<LONGLONG>(m_nMax - m_nCur), CFile::current);
        m_nCur = m_nMax = 0;
    }
}

void CArchive::Close() {
    if (m_bClosed)
        return;
    Flush();
    m_bClosed = true;
    m_pFile = nullptr;
}

void CArchive::Abort() {
    m_bClosed = true;
    m_pFile = nullptr;
}

// Little-endian fixed-size values.
namespace {

template <typename T> void putLe(CArchive& ar, T v) {
    BYTE b[sizeof(T)];
    std::memcpy(b, &v, sizeof(T)); // the host is little-endian, as the format is
    ar.Write(b, sizeof(T));
}

} // namespace

CArchive& CArchive::operator<<(BYTE by) {
    putLe(*this, by);
    return *this;
}
CArchive& CArchive::operator<<(WORD w) {
    putLe(*this, w);
    return *this;
}
CArchive& CArchive::operator<<(LONG l) {
    putLe(*this, l);
    return *this;
}
CArchive& CArchive::operator<<(DWORD dw) {
    putLe(*this, dw);
    return *this;
}
CArchive& CArchive::operator<<(float f) {
    putLe(*this, f);
    return *this;
}
CArchive& CArchive::operator<<(double d) {
    putLe(*this, d);
    return *this;
}
CArchive& CArchive::operator<<(LONGLONG ll) {
    putLe(*this, ll);
    return *this;
}
CArchive& CArchive::operator<<(ULONGLONG ull) {
    putLe(*this, ull);
    return *this;
}

#define KHOST_ARCHIVE_READ(T)                                                                      \
    CArchive& CArchive::operator>>(T& v) {                                                         \
        CheckLoading();                                                                            \
        ReadExact(&v, sizeof(T));                                                                  \
        return *this;                                                                              \
    }
KHOST_ARCHIVE_READ(BYTE)
KHOST_ARCHIVE_READ(WORD)
KHOST_ARCHIVE_READ(LONG)
KHOST_ARCHIVE_READ(DWORD)
KHOST_ARCHIVE_READ(float)
KHOST_ARCHIVE_READ(double)
KHOST_ARCHIVE_READ(LONGLONG)
KHOST_ARCHIVE_READ(ULONGLONG)
KHOST_ARCHIVE_READ(short)
KHOST_ARCHIVE_READ(char)
KHOST_ARCHIVE_READ(signed char)
#undef KHOST_ARCHIVE_READ

CArchive& CArchive::operator>>(bool& b) {
    BYTE by = 0;
    *this >> by;
    b = by != 0;
    return *this;
}

// --- Strings ------------------------------------------------------------------------------------

void CArchive::WriteStringLength(ULONGLONG nLength, bool bUnicode) {
    if (bUnicode) {
        *this << static_cast<BYTE>(0xFF);
        *this << static_cast<WORD>(0xFFFE);
    }
    if (nLength < 0xFF) {
        *this << static_cast<BYTE>(nLength);
        return;
    }
    *this << static_cast<BYTE>(0xFF);
    if (nLength < 0xFFFE) {
        *this << static_cast<WORD>(nLength);
        return;
    }
    *this << static_cast<WORD>(0xFFFF);
    if (nLength < 0xFFFFFFFF) {
        *this << static_cast<DWORD>(nLength);
        return;
    }
    *this << static_cast<DWORD>(0xFFFFFFFF);
    *this << nLength;
}

ULONGLONG CArchive::ReadStringLength(int& nCharSize) {
    nCharSize = 1;
    BYTE bLength = 0;
    *this >> bLength;
    if (bLength < 0xFF)
        return bLength;
    WORD wLength = 0;
    *this >> wLength;
    if (wLength == 0xFFFE) {
        // A UTF-16 string: its length follows, from the one-byte form on.
        nCharSize = 2;
        *this >> bLength;
        if (bLength < 0xFF)
            return bLength;
        *this >> wLength;
    }
    if (wLength < 0xFFFF)
        return wLength;
    DWORD dwLength = 0;
    *this >> dwLength;
    if (dwLength < 0xFFFFFFFF)
        return dwLength;
    ULONGLONG qwLength = 0;
    *this >> qwLength;
    return qwLength;
}

std::wstring CArchive::ReadStringBody(ULONGLONG nLength, int nCharSize) {
    // Read in pieces, so that a length beyond the data ends at the end of the data and not in an
    // allocation of the length.
    std::string bytes;
    ULONGLONG nBytes = nLength * static_cast<ULONGLONG>(nCharSize);
    if (nLength > std::numeric_limits<ULONGLONG>::max() / 2)
        AfxThrowArchiveException(CArchiveException::badIndex, m_pFile->GetFilePath());
    char chunk[4096];
    while (nBytes > 0) {
        UINT n = static_cast<UINT>(std::min<ULONGLONG>(nBytes, sizeof chunk));
        ReadExact(chunk, n);
        bytes.append(chunk, n);
        nBytes -= n;
    }
    std::wstring text;
    if (nCharSize == 2)
        text = khost::fromUtf16le(bytes);
    else
        khost::fromCodePage(bytes, 1250, text);
    return text;
}

CArchive& CArchive::operator<<(const CStringW& s) {
    std::string units = khost::toUtf16le(s.str());
    WriteStringLength(units.size() / 2, true);
    Write(units.data(), static_cast<UINT>(units.size()));
    return *this;
}

CArchive& CArchive::operator<<(const CStringA& s) {
    // A narrow string holds UTF-8 here; it is archived in the ANSI code page.
    std::string ansi;
    khost::toCodePage(khost::fromUtf8(s.str()), 1250, ansi);
    WriteStringLength(ansi.size(), false);
    Write(ansi.data(), static_cast<UINT>(ansi.size()));
    return *this;
}

CArchive& CArchive::operator>>(CStringW& s) {
    CheckLoading();
    int nCharSize = 1;
    ULONGLONG n = ReadStringLength(nCharSize);
    s = CStringW(ReadStringBody(n, nCharSize));
    return *this;
}

CArchive& CArchive::operator>>(CStringA& s) {
    CheckLoading();
    int nCharSize = 1;
    ULONGLONG n = ReadStringLength(nCharSize);
    s = CStringA(khost::toUtf8(ReadStringBody(n, nCharSize)));
    return *this;
}
