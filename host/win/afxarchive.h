// The serialization part of the class library: CObject with its run-time class information, the
// exceptions of files and archives, CFile and CMemFile, and CArchive.
//
// The class library reports file and archive failures by throwing pointers to exception objects
// created on the heap (AfxThrowFileException, AfxThrowArchiveException); the catcher calls
// Delete() on them. A loading archive that runs out of data throws a CArchiveException with the
// cause endOfFile.
//
// Strings are archived as the class library does: a wide string is the byte 0xFF, the word
// 0xFFFE, the length in UTF-16 units (a byte below 0xFF; else 0xFF and a word below 0xFFFE; else
// 0xFF, 0xFFFF and a double word below 0xFFFFFFFF; else also 0xFFFFFFFF and a 64-bit length) and
// the UTF-16LE units. A narrow string is the same without the 0xFF 0xFFFE marker, its bytes in
// the ANSI code page (Windows-1250). Either reads into either kind of string.
#pragma once

#include <string>
#include <vector>

#include "afxstr.h"
#include "windows.h"

class CObject;
class CArchive;

// --- Run-time class information -----------------------------------------------------------------
struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema; // 0xFFFF for classes that are not serializable
    CObject* (*m_pfnCreateObject)();
    CRuntimeClass* m_pBaseClass;

    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                                                \
public:                                                                                            \
    static CRuntimeClass class##class_name;                                                        \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                              \
    DECLARE_DYNAMIC(class_name)                                                                    \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

#define IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, wSchema, pfnNew)                      \
    CRuntimeClass class_name::class##class_name = {#class_name, (int)sizeof(class_name), wSchema,  \
                                                   pfnNew, RUNTIME_CLASS(base_class_name)};        \
    CRuntimeClass* class_name::GetRuntimeClass() const {                                           \
        return RUNTIME_CLASS(class_name);                                                          \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                             \
    IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                           \
    CObject* class_name::CreateObject() {                                                          \
        return new class_name;                                                                     \
    }                                                                                              \
    IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                     \
    CObject* class_name::CreateObject() {                                                          \
        return new class_name;                                                                     \
    }                                                                                              \
    IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, wSchema, class_name::CreateObject)

// Diagnostic output of Dump: collected as text.
class CDumpContext {
public:
    CDumpContext& operator<<(LPCWSTR s);
    CDumpContext& operator<<(LPCSTR s);
    CDumpContext& operator<<(int n);
    CDumpContext& operator<<(UINT n);
    CDumpContext& operator<<(double d);
    CDumpContext& operator<<(const void* p);
    const std::wstring& GetText() const { return m_text; }

private:
    std::wstring m_text;
};

// --- CObject ------------------------------------------------------------------------------------
class CObject {
public:
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;
    virtual void Serialize(CArchive& ar);
    virtual void AssertValid() const;
    virtual void Dump(CDumpContext& dc) const;

    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    BOOL IsSerializable() const;

    static CRuntimeClass classCObject;

protected:
    CObject() = default;

private:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

// --- Exceptions ---------------------------------------------------------------------------------
class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}
    // Exceptions may also be thrown and caught by value (an extension: the class library throws
    // them from the heap only).
    CException(const CException& e) : CObject(), m_bAutoDelete(e.m_bAutoDelete) {}
    // Frees an exception that was thrown from the heap.
    void Delete();
    // The message of the exception; FALSE when it has none.
    virtual BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError,
                                 UINT* pnHelpContext = nullptr) const;
    // Shows the message in a message box; returns the button pressed.
    virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0);

protected:
    BOOL m_bAutoDelete;
};

class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };
    explicit CFileException(int cause = none, LONG lOsError = -1,
                            LPCWSTR lpszArchiveName = nullptr);
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError,
                         UINT* pnHelpContext = nullptr) const override;
    // The cause for a C runtime error number.
    static int OsErrorToException(LONG lOsError);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

class CArchiveException : public CException {
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum {
        none,
        genericException,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema,
        bufferFull
    };
    explicit CArchiveException(int cause = none, LPCWSTR lpszArchiveName = nullptr);
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError,
                         UINT* pnHelpContext = nullptr) const override;

    int m_cause;
    CString m_strFileName;
};

[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1,
                                        LPCWSTR lpszFileName = nullptr);
[[noreturn]] void AfxThrowArchiveException(int cause, LPCWSTR lpszArchiveName = nullptr);

// --- Files --------------------------------------------------------------------------------------
class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };
    enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };

    CFile();
    // Opens the file; failure throws a CFileException.
    CFile(LPCWSTR lpszFileName, UINT nOpenFlags);
    ~CFile() override;

    // FALSE on failure, with the cause in *pError when given.
    virtual BOOL Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
    // Read gives fewer bytes than asked only at the end of the file. Failures throw.
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual void Flush();
    // Closes the file; a failure to write what was buffered throws.
    virtual void Close();
    // Closes without throwing.
    virtual void Abort();
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    ULONGLONG SeekToBegin() { return Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual CString GetFilePath() const { return m_strFileName; }
    virtual CString GetFileName() const;

    // Renames (a failure throws); the new name must not exist yet.
    static void Rename(LPCWSTR lpszOldName, LPCWSTR lpszNewName);
    static void Remove(LPCWSTR lpszFileName);

    static const HANDLE hFileNull;
    HANDLE m_hFile;

protected:
    CString m_strFileName;
};

// A file in memory: growing when made empty, or over a given buffer (then of fixed size unless
// nGrowBytes is non-zero).
class CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)
public:
    explicit CMemFile(UINT nGrowBytes = 1024);
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    ~CMemFile() override;

    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    // Hands the memory to the caller (free() it) and empties the file.
    BYTE* Detach();

    BOOL Open(LPCWSTR, UINT, CFileException* = nullptr) override { return FALSE; }
    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    void Flush() override {}
    void Close() override;
    void Abort() override { Close(); }
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetPosition() const override { return m_nPosition; }
    ULONGLONG GetLength() const override { return m_nFileSize; }

private:
    void Grow(SIZE_T nNewSize);

    BYTE* m_lpBuffer = nullptr;
    SIZE_T m_nBufferSize = 0;
    SIZE_T m_nFileSize = 0;
    SIZE_T m_nPosition = 0;
    UINT m_nGrowBytes = 1024;
    bool m_bAutoDelete = true; // the buffer is the file's own
};

// --- CArchive -----------------------------------------------------------------------------------
class CArchive {
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    CFile* GetFile() const { return m_pFile; }

    // Read gives fewer bytes than asked only at the end of the data; the typed extractors throw
    // CArchiveException::endOfFile instead.
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);
    // Writes what is buffered (storing), or drops what was read ahead (loading).
    void Flush();
    // Flushes and detaches from the file; the file stays open.
    void Close();
    // Detaches without writing what is buffered and without throwing.
    void Abort();

    CArchive& operator<<(BYTE by);
    CArchive& operator<<(WORD w);
    CArchive& operator<<(LONG l);
    CArchive& operator<<(DWORD dw);
    CArchive& operator<<(float f);
    CArchive& operator<<(double d);
    CArchive& operator<<(LONGLONG ll);
    CArchive& operator<<(ULONGLONG ull);
    CArchive& operator<<(short n) { return *this << static_cast<WORD>(n); }
    CArchive& operator<<(char ch) { return *this << static_cast<BYTE>(ch); }
    CArchive& operator<<(signed char ch) { return *this << static_cast<BYTE>(ch); }
    CArchive& operator<<(bool b) { return *this << static_cast<BYTE>(b ? 1 : 0); }
    CArchive& operator<<(const CStringW& s);
    CArchive& operator<<(const CStringA& s);
    CArchive& operator<<(LPCWSTR s) { return *this << CStringW(s); }
    CArchive& operator<<(LPCSTR s) { return *this << CStringA(s); }

    CArchive& operator>>(BYTE& by);
    CArchive& operator>>(WORD& w);
    CArchive& operator>>(LONG& l);
    CArchive& operator>>(DWORD& dw);
    CArchive& operator>>(float& f);
    CArchive& operator>>(double& d);
    CArchive& operator>>(LONGLONG& ll);
    CArchive& operator>>(ULONGLONG& ull);
    CArchive& operator>>(short& n);
    CArchive& operator>>(char& ch);
    CArchive& operator>>(signed char& ch);
    CArchive& operator>>(bool& b);
    CArchive& operator>>(CStringW& s);
    CArchive& operator>>(CStringA& s);

    // The length prefix of an archived string; nCharSize gives 1 (narrow) or 2 (UTF-16).
    void WriteStringLength(ULONGLONG nLength, bool bUnicode);
    ULONGLONG ReadStringLength(int& nCharSize);

    CObject* m_pDocument = nullptr;

private:
    void CheckLoading();
    void CheckStoring();
    // Reads exactly nCount bytes or throws endOfFile.
    void ReadExact(void* lpBuf, UINT nCount);
    // Reads the characters of a string whose prefix was read: UTF-16 units or ANSI bytes.
    std::wstring ReadStringBody(ULONGLONG nLength, int nCharSize);

    CFile* m_pFile;
    UINT m_nMode;
    std::vector<BYTE> m_buf;
    size_t m_nCur = 0; // next byte to read or free place to write
    size_t m_nMax = 0; // loading: bytes valid in the buffer
    bool m_bClosed = false;
};
