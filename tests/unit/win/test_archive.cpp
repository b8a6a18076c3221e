#include "afx.h"
#include "taskdialog.h"
#include "windows.h"

#include "hostio.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using Bytes = std::string;

// Stores through an archive into memory and gives the bytes.
template <typename F> Bytes store(F write) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        write(ar);
        ar.Close();
    }
    Bytes out(static_cast<size_t>(file.GetLength()), '\0');
    BYTE* p = file.Detach();
    std::memcpy(out.data(), p, out.size());
    std::free(p);
    return out;
}

// Loads from the given bytes; the exception thrown, if any, becomes its cause.
struct Loaded {
    CMemFile file;
    CArchive ar;
    explicit Loaded(Bytes& bytes)
        : file(reinterpret_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size())),
          ar(&file, CArchive::load) {}
};

int archiveCause(Bytes bytes, void (*read)(CArchive&)) {
    Loaded l(bytes);
    try {
        read(l.ar);
    } catch (CArchiveException* e) {
        int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return CArchiveException::none;
}

TEST(Archive, NumbersAreLittleEndian) {
    Bytes b = store([](CArchive& ar) {
        ar << BYTE(0x81) << WORD(0x1234) << LONG(-2) << DWORD(0xA1B2C3D4) << 1.5f << short(-1)
           << true << ULONGLONG(0x0102030405060708ULL);
    });
    EXPECT_EQ(b, Bytes("\x81\x34\x12\xFE\xFF\xFF\xFF\xD4\xC3\xB2\xA1\x00\x00\xC0\x3F\xFF\xFF\x01"
                       "\x08\x07\x06\x05\x04\x03\x02\x01",
                       26));
    Loaded l(b);
    BYTE by;
    WORD w;
    LONG n;
    DWORD dw;
    float f;
    short s;
    bool flag;
    ULONGLONG q;
    l.ar >> by >> w >> n >> dw >> f >> s >> flag >> q;
    EXPECT_EQ(by, 0x81);
    EXPECT_EQ(w, 0x1234);
    EXPECT_EQ(n, -2);
    EXPECT_EQ(dw, 0xA1B2C3D4u);
    EXPECT_EQ(f, 1.5f);
    EXPECT_EQ(s, -1);
    EXPECT_TRUE(flag);
    EXPECT_EQ(q, 0x0102030405060708ULL);
}

TEST(Archive, WideStringsUseTheThreeLengthForms) {
    struct Case {
        size_t length;
        Bytes prefix;
    } cases[] = {
        {3, Bytes("\xFF\xFE\xFF\x03", 4)},
        {254, Bytes("\xFF\xFE\xFF\xFE", 4)},
        {255, Bytes("\xFF\xFE\xFF\xFF\xFF\x00", 6)},
        {0xFFFD, Bytes("\xFF\xFE\xFF\xFF\xFD\xFF", 6)},
        {0xFFFE, Bytes("\xFF\xFE\xFF\xFF\xFF\xFF\xFE\xFF\x00\x00", 10)},
        {70000, Bytes("\xFF\xFE\xFF\xFF\xFF\xFF\x70\x11\x01\x00", 10)},
    };
    for (const Case& c : cases) {
        CStringW s(L'č', static_cast<int>(c.length));
        Bytes b = store([&](CArchive& ar) { ar << s; });
        ASSERT_EQ(b.size(), c.prefix.size() + 2 * c.length) << c.length;
        EXPECT_EQ(b.substr(0, c.prefix.size()), c.prefix) << c.length;
        EXPECT_EQ(b.substr(c.prefix.size(), 2), Bytes("\x0D\x01", 2)); // U+010D
        Loaded l(b);
        CStringW back;
        l.ar >> back;
        EXPECT_EQ(back, s) << c.length;
    }
    Bytes empty = store([](CArchive& ar) { ar << CStringW(); });
    EXPECT_EQ(empty, Bytes("\xFF\xFE\xFF\x00", 4));
}

TEST(Archive, StringsOutsideTheBasicPlaneTakeTwoUnits) {
    CStringW s(L"a\U0001F600");
    Bytes b = store([&](CArchive& ar) { ar << s; });
    EXPECT_EQ(b, Bytes("\xFF\xFE\xFF\x03\x61\x00\x3D\xD8\x00\xDE", 10));
    Loaded l(b);
    CStringW back;
    l.ar >> back;
    EXPECT_EQ(back, s);
}

TEST(Archive, NarrowStringsAreInTheAnsiCodePageAndReadIntoEitherKind) {
    Bytes b = store([](CArchive& ar) { ar << CStringA("čaj"); });
    EXPECT_EQ(b, Bytes("\x03\xE8\x61\x6A", 4));
    {
        Loaded l(b);
        CStringW w;
        l.ar >> w;
        EXPECT_EQ(w, L"čaj");
    }
    {
        Loaded l(b);
        CStringA a;
        l.ar >> a;
        EXPECT_EQ(a, "čaj");
    }
    // A long narrow string: 0xFF and a 16-bit length.
    Bytes longer = store([](CArchive& ar) { ar << CStringA(std::string(300, 'x').c_str()); });
    EXPECT_EQ(longer.substr(0, 3), Bytes("\xFF\x2C\x01", 3));
    Loaded l(longer);
    CStringW w;
    l.ar >> w;
    EXPECT_EQ(w.GetLength(), 300);
    // A wide string into a narrow one.
    Bytes wide = store([](CArchive& ar) { ar << CStringW(L"řeka"); });
    Loaded lw(wide);
    CStringA a;
    lw.ar >> a;
    EXPECT_EQ(a, "řeka");
}

TEST(Archive, RunningOutOfDataThrowsEndOfFile) {
    EXPECT_EQ(archiveCause(Bytes("\x01", 1),
                           [](CArchive& ar) {
                               WORD w;
                               ar >> w;
                           }),
              CArchiveException::endOfFile);
    // A length beyond the data, up to the 32-bit form: the end of the data, not a huge buffer.
    EXPECT_EQ(archiveCause(Bytes("\xFF\xFE\xFF\xFF\xFF\xFF\xFE\xFF\xFF\x7F\x41\x00", 12),
                           [](CArchive& ar) {
                               CStringW s;
                               ar >> s;
                           }),
              CArchiveException::endOfFile);
    EXPECT_EQ(archiveCause(Bytes("\x05\x41", 2),
                           [](CArchive& ar) {
                               CStringW s;
                               ar >> s;
                           }),
              CArchiveException::endOfFile);
    // The right direction only.
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    try {
        BYTE b;
        ar >> b;
        FAIL() << "a storing archive read";
    } catch (CArchiveException* e) {
        EXPECT_EQ(e->m_cause, CArchiveException::writeOnly);
        e->Delete();
    }
}

TEST(Archive, ExceptionsCarryTheirMessage) {
    try {
        throw CFileException(CFileException::diskFull, 28, L"a.kvp");
    } catch (const CException& e) {
        wchar_t text[100];
        EXPECT_TRUE(e.GetErrorMessage(text, 100));
        EXPECT_STREQ(text, L"The disk is full. (a.kvp)");
        EXPECT_TRUE(e.IsKindOf(RUNTIME_CLASS(CFileException)));
        EXPECT_FALSE(e.IsKindOf(RUNTIME_CLASS(CArchiveException)));
    }
    CArchiveException e(CArchiveException::endOfFile);
    wchar_t shortText[8];
    EXPECT_TRUE(e.GetErrorMessage(shortText, 8));
    EXPECT_STREQ(shortText, L"An unex");
}

class ArchiveFiles : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/kresbon-archive-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        m_dir = tmpl;
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    std::wstring path(const char* name) {
        return std::filesystem::path(m_dir + "/" + name).wstring();
    }
    std::string m_dir;
};

TEST_F(ArchiveFiles, ArchiveThroughAFileWithASmallBuffer) {
    const std::wstring p = path("a.bin");
    {
        CFile f;
        ASSERT_TRUE(f.Open(p.c_str(), CFile::modeCreate | CFile::modeWrite));
        CArchive ar(&f, CArchive::store, 128);
        for (int i = 0; i < 1000; ++i)
            ar << static_cast<DWORD>(i);
        ar << CStringW(L"konec");
        ar.Close();
        f.Close();
    }
    CFile f;
    ASSERT_TRUE(f.Open(p.c_str(), CFile::modeRead | CFile::shareDenyWrite));
    EXPECT_EQ(f.GetLength(), 4000u + 4u + 10u);
    CArchive ar(&f, CArchive::load, 128);
    DWORD n = 0;
    for (DWORD i = 0; i < 1000; ++i) {
        ar >> n;
        ASSERT_EQ(n, i);
    }
    CStringW s;
    ar >> s;
    EXPECT_EQ(s, L"konec");
}

TEST_F(ArchiveFiles, OpenFailuresGiveTheirCause) {
    CFile f;
    CFileException e;
    EXPECT_FALSE(f.Open(path("chybi.bin").c_str(), CFile::modeRead, &e));
    EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
    EXPECT_FALSE(f.Open(path("chybi/x.bin").c_str(), CFile::modeCreate | CFile::modeWrite, &e));
    EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
    try {
        CFile g(path("chybi.bin").c_str(), CFile::modeRead);
        FAIL() << "opened a missing file";
    } catch (CFileException* pe) {
        EXPECT_EQ(pe->m_cause, CFileException::fileNotFound);
        pe->Delete();
    }
}

TEST_F(ArchiveFiles, MoveFileReplacesOnlyWhenAsked) {
    const std::wstring a = path("a.txt");
    const std::wstring b = path("b.txt");
    std::ofstream(m_dir + "/a.txt") << "new";
    std::ofstream(m_dir + "/b.txt") << "old";
    EXPECT_FALSE(MoveFileExW(a.c_str(), b.c_str(), 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(MoveFileExW(a.c_str(), b.c_str(), MOVEFILE_REPLACE_EXISTING));
    std::string text;
    std::ifstream(m_dir + "/b.txt") >> text;
    EXPECT_EQ(text, "new");
    EXPECT_FALSE(std::filesystem::exists(m_dir + "/a.txt"));
    EXPECT_FALSE(MoveFileExW(a.c_str(), b.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(DeleteFileW(b.c_str()));
    EXPECT_FALSE(DeleteFileW(b.c_str()));
}

class TaskDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        khost::hostInput().clear();
        khost::hostTranscript().startCapture();
    }
    void TearDown() override {
        khost::hostTranscript().stopCapture();
        khost::hostInput().clear();
    }
    int ask(const wchar_t* input) {
        khost::hostInput().push(input);
        const TASKDIALOG_BUTTON custom[] = {{33, L"Ano všem"}, {34, L"Ne všem"}};
        TASKDIALOGCONFIG c{};
        c.cbSize = sizeof c;
        c.dwCommonButtons = TDCBF_YES_BUTTON | TDCBF_NO_BUTTON;
        c.pszWindowTitle = L"Kresbon";
        c.pszMainIcon = TD_WARNING_ICON;
        c.pszMainInstruction = L"Přepsat?";
        c.pszContent = L"PE 100";
        c.cButtons = 2;
        c.pButtons = custom;
        int button = -1;
        EXPECT_EQ(TaskDialogIndirect(&c, &button, nullptr, nullptr), S_OK);
        return button;
    }
};

TEST_F(TaskDialogs, PrintedAndAnsweredByButtonText) {
    EXPECT_EQ(ask(L"ne všem\n"), 34);
    EXPECT_EQ(khost::hostTranscript().takeCaptured(),
              L"\n** Kresbon **\nPřepsat?\nPE 100\n[Ano všem/Ne všem/Yes/No]: ne všem\n");
    EXPECT_EQ(ask(L"Ano všem\n"), 33);
    EXPECT_EQ(ask(L"yes\n"), IDYES);
    EXPECT_EQ(ask(L"\n"), 33);        // the first button is the default
    EXPECT_EQ(ask(L"n\nno\n"), IDNO); // "n" begins two buttons: asked again
    EXPECT_NE(khost::hostTranscript().takeCaptured().find(L"Invalid answer."), std::wstring::npos);
    EXPECT_EQ(ask(L"^C\n"), IDNO);
    EXPECT_EQ(ask(L""), IDNO);
}

TEST_F(TaskDialogs, SimpleFormAndBadArguments) {
    khost::hostInput().push(L"\n");
    int button = 0;
    EXPECT_EQ(TaskDialog(nullptr, nullptr, L"T", L"Hlavní", L"Obsah", TDCBF_OK_BUTTON,
                         TD_ERROR_ICON, &button),
              S_OK);
    EXPECT_EQ(button, IDOK);
    EXPECT_EQ(khost::hostTranscript().takeCaptured(), L"\n** T **\nHlavní\nObsah\n[OK]: \n");
    TASKDIALOGCONFIG c{};
    EXPECT_EQ(TaskDialogIndirect(&c, &button, nullptr, nullptr), E_INVALIDARG);
}

} // namespace
