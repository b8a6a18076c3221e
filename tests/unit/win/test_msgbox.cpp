#include "windows.h"
#include "winhost.h"

#include "hostio.h"
#include "textconv.h"

#include <gtest/gtest.h>

namespace {

class MessageBoxes : public ::testing::Test {
protected:
    void SetUp() override {
        khost::hostInput().clear();
        khost::hostTranscript().startCapture();
    }
    void TearDown() override {
        khost::hostTranscript().stopCapture();
        khost::hostInput().clear();
    }
    int ask(const wchar_t* input, UINT type) {
        khost::hostInput().push(input);
        return MessageBoxW(adsw_acadMainWnd(), L"Opravit ?", L"Kresbon", type);
    }
};

TEST_F(MessageBoxes, PrintsTheBoxAndEchoesTheAnswer) {
    EXPECT_EQ(ask(L"yes\n", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(khost::hostTranscript().takeCaptured(),
              L"\n** Kresbon **\nOpravit ?\n[Yes/No]: yes\n");
}

TEST_F(MessageBoxes, AnswersByNameLetterAndDefault) {
    EXPECT_EQ(ask(L"NO\n", MB_YESNO), IDNO);
    EXPECT_EQ(ask(L"n\n", MB_YESNOCANCEL), IDNO);
    EXPECT_EQ(ask(L"cancel\n", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(ask(L"r\n", MB_ABORTRETRYIGNORE), IDRETRY);
    EXPECT_EQ(ask(L"try again\n", MB_CANCELTRYCONTINUE), IDTRYAGAIN);
    EXPECT_EQ(ask(L"\n", MB_YESNO), IDYES);
    EXPECT_EQ(ask(L"\n", MB_YESNOCANCEL | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(ask(L"\n", MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
    EXPECT_EQ(ask(L"\n", MB_RETRYCANCEL | MB_DEFBUTTON3), IDRETRY); // no third button
    std::wstring t = khost::hostTranscript().takeCaptured();
    for (const wchar_t* prompt : {L"[Yes/No/Cancel]: ", L"[Abort/Retry/Ignore]: ",
                                  L"[Cancel/Try Again/Continue]: ", L"[Retry/Cancel]: "})
        EXPECT_NE(t.find(prompt), std::wstring::npos);
}

TEST_F(MessageBoxes, EscapeAndEndOfInputTakeTheCancellingButton) {
    EXPECT_EQ(ask(L"^C\n", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(ask(L"^C\n", MB_YESNO), IDNO);
    EXPECT_EQ(ask(L"^C\n", MB_OK | MB_ICONINFORMATION), IDOK);
    EXPECT_EQ(ask(L"^C\n", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(ask(L"", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(ask(L"", MB_YESNO), IDNO);
    std::wstring t = khost::hostTranscript().takeCaptured();
    EXPECT_EQ(t.rfind(L"\n** Kresbon **\nOpravit ?\n[Yes/No/Cancel]: *Cancel*\n", 0), 0u);
    EXPECT_EQ(t.substr(t.size() - 12), L"\n[Yes/No]: \n");
}

TEST_F(MessageBoxes, AWrongAnswerIsRefusedAndAskedAgain) {
    // "c" is ambiguous between Cancel and Continue.
    EXPECT_EQ(ask(L"maybe\nc\ncontinue\n", MB_CANCELTRYCONTINUE), IDCONTINUE);
    EXPECT_EQ(khost::hostTranscript().takeCaptured(),
              L"\n** Kresbon **\nOpravit ?\n"
              L"[Cancel/Try Again/Continue]: maybe\n\nInvalid answer.\n"
              L"[Cancel/Try Again/Continue]: c\n\nInvalid answer.\n"
              L"[Cancel/Try Again/Continue]: continue\n");
}

TEST_F(MessageBoxes, NarrowTextIsWindows1250) {
    khost::hostInput().push(L"\n");
    // "Nelze otevřít klíč,nastavení nebude uloženo" and "Program vyvolal výjimku" in Windows-1250.
    EXPECT_EQ(MessageBoxA(nullptr,
                          "Nelze otev\xF8\xEDt kl\xED\xE8,nastaven\xED nebude ulo\x9E"
                          "eno, Err: 5",
                          "Program vyvolal v\xFDjimku", MB_ICONINFORMATION),
              IDOK);
    EXPECT_EQ(khost::toUtf8(khost::hostTranscript().takeCaptured()),
              "\n** Program vyvolal výjimku **\n"
              "Nelze otevřít klíč,nastavení nebude uloženo, Err: 5\n[OK]: \n");
}

TEST(Windows, MainWindowAndWindowClasses) {
    HWND main = adsw_acadMainWnd();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(adsw_acadMainWnd(), main);
    EXPECT_EQ(GetActiveWindow(), main);
    EXPECT_NE(GetModuleHandleW(nullptr), nullptr);

    WNDCLASSW wc{};
    wc.lpszClassName = L"KresbonDblClick";
    wc.hInstance = GetModuleHandleW(nullptr);
    ATOM atom = RegisterClassW(&wc);
    EXPECT_NE(atom, 0);
    EXPECT_EQ(RegisterClassW(&wc), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
    EXPECT_TRUE(khost::isWindowClassRegistered(L"kresbondblclick"));
    EXPECT_FALSE(khost::windowClassWasUnregistered(L"KresbonDblClick"));
    EXPECT_EQ(UnregisterClassW(L"KresbonDblClick", wc.hInstance), TRUE);
    EXPECT_TRUE(khost::windowClassWasUnregistered(L"KresbonDblClick"));
    EXPECT_FALSE(khost::isWindowClassRegistered(L"KresbonDblClick"));
    EXPECT_EQ(UnregisterClassW(L"KresbonDblClick", wc.hInstance), FALSE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_DOES_NOT_EXIST));

    khost::registerWindowClass(L"ByAtom");
    ATOM byAtom = RegisterClassW(&wc);
    EXPECT_EQ(UnregisterClassW(MAKEINTATOM(byAtom), nullptr), TRUE);
    EXPECT_TRUE(khost::isWindowClassRegistered(L"ByAtom"));
}

} // namespace
