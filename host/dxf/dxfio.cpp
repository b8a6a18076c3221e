#include "dxfio.h"

#include "dbhost.h"
#include "dxfread.h"
#include "dxfwrite.h"
#include "textconv.h"

#include <cerrno>
#include <cwctype>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace khost {

namespace {

// "X.dwg" is served by "X.dxf": the host has no DWG codec.
std::wstring drawingFilePath(const std::wstring& path) {
    if (path.size() >= 4) {
        std::wstring ext = path.substr(path.size() - 4);
        for (auto& c : ext)
            c = static_cast<wchar_t>(std::towlower(c));
        if (ext == L".dwg")
            return path.substr(0, path.size() - 4) + L".dxf";
    }
    return path;
}

std::wstring quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

std::wstring systemError(int err) {
    return fromUtf8(std::strerror(err));
}

bool readFile(const std::string& path, std::string& out, int& err) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        err = errno;
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        err = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        return false;
    }
    out.clear();
    out.reserve(static_cast<size_t>(st.st_size));
    char buf[1 << 16];
    while (true) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        out.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}

// Writes the bytes into a new file beside the target and renames it over the target. On any
// failure the temporary file is removed and the target is as it was.
bool replaceFile(const std::string& path, const std::string& bytes, int& err) {
    std::string tmp = path + ".kresbon-XXXXXX";
    int fd = ::mkstemp(tmp.data());
    if (fd < 0) {
        err = errno;
        return false;
    }
    auto fail = [&](int e) {
        err = e;
        ::close(fd);
        ::unlink(tmp.c_str());
        return false;
    };
    // The new file gets the permissions of the file it replaces, or those of a new file.
    struct stat st {};
    mode_t mode;
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return fail(EISDIR);
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)
        return fail(errno);
    if (::close(fd) != 0) {
        err = errno;
        ::unlink(tmp.c_str());
        return false;
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        err = errno;
        ::unlink(tmp.c_str());
        return false;
    }
    return true;
}

Acad::ErrorStatus codecRead(AcDbDatabase* db, const ACHAR* fileName) {
    if (!db || !fileName)
        return Acad::eInvalidInput;
    std::wstring path = drawingFilePath(fileName);
    std::string text;
    int err = 0;
    if (!readFile(toUtf8(path), text, err))
        return err == ENOENT ? Acad::eFileNotFound : Acad::eFileAccessErr;
    std::string error;
    if (!dxf::readDxf(db, text, error))
        return Acad::eBadDxfSequence;
    setDatabaseFilename(db, fileName);
    return Acad::eOk;
}

Acad::ErrorStatus codecWrite(AcDbDatabase* db, const ACHAR* fileName, int) {
    if (!db || !fileName)
        return Acad::eInvalidInput;
    std::wstring error;
    return writeDrawing(db, fileName, error) ? Acad::eOk : Acad::eFileAccessErr;
}

// The database reaches the reader and writer through its codec hook.
const bool codecRegistered = [] {
    DrawingCodec codec;
    codec.read = &codecRead;
    codec.write = &codecWrite;
    setDrawingCodec(codec);
    return true;
}();

} // namespace

AcDbDatabase* readDrawing(const std::wstring& path, std::wstring& error) {
    (void)codecRegistered;
    std::wstring file = drawingFilePath(path);
    std::string text;
    int err = 0;
    if (!readFile(toUtf8(file), text, err)) {
        error = L"cannot open " + quoted(file) + L": " + systemError(err);
        return nullptr;
    }
    std::string message;
    AcDbDatabase* db = dxf::readDxf(nullptr, text, message);
    if (!db) {
        error = file + L", " + fromUtf8(message);
        return nullptr;
    }
    setDatabaseFilename(db, path);
    return db;
}

bool writeDrawing(AcDbDatabase* db, const std::wstring& path, std::wstring& error) {
    if (!db) {
        error = L"no drawing to write";
        return false;
    }
    std::string text;
    std::string message;
    if (!dxf::writeDxf(db, text, message)) {
        error = fromUtf8(message);
        return false;
    }
    std::wstring file = drawingFilePath(path);
    int err = 0;
    if (!replaceFile(toUtf8(file), text, err)) {
        error = L"cannot write " + quoted(file) + L": " + systemError(err);
        return false;
    }
    setDatabaseFilename(db, path);
    return true;
}

} // namespace khost
