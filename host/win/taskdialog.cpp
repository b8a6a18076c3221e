// Task dialogs on the transcript, answered from the input stream.
#include "taskdialog.h"

#include "hostio.h"

#include <unicode/uchar.h>

#include <string>
#include <vector>

namespace {

struct Button {
    std::wstring text;
    int id;
};

std::wstring fold(std::wstring_view s) {
    std::wstring out(s);
    for (wchar_t& c : out)
        c = static_cast<wchar_t>(u_foldCase(static_cast<UChar32>(c), 0));
    return out;
}

std::wstring trimmed(const std::wstring& s) {
    size_t b = s.find_first_not_of(L" \t");
    if (b == std::wstring::npos)
        return {};
    size_t e = s.find_last_not_of(L" \t");
    return s.substr(b, e - b + 1);
}

// A resource identifier given for a text has no text here.
std::wstring textOf(PCWSTR s) {
    if (!s || IS_INTRESOURCE(s))
        return {};
    return s;
}

int match(const std::wstring& answer, const std::vector<Button>& buttons) {
    std::wstring a = fold(answer);
    for (const Button& b : buttons)
        if (fold(b.text) == a)
            return b.id;
    if (a.size() == 1) {
        int found = 0;
        int count = 0;
        for (const Button& b : buttons)
            if (!b.text.empty() && fold(b.text.substr(0, 1)) == a) {
                found = b.id;
                ++count;
            }
        if (count == 1)
            return found;
    }
    return 0;
}

int cancelChoice(const std::vector<Button>& buttons) {
    for (int id : {IDCANCEL, IDNO, IDOK})
        for (const Button& b : buttons)
            if (b.id == id)
                return id;
    return buttons.front().id;
}

} // namespace

HRESULT TaskDialogIndirect(const TASKDIALOGCONFIG* c, int* pnButton, int* pnRadioButton,
                           BOOL* pfVerificationFlagChecked) {
    if (!c || c->cbSize != sizeof(TASKDIALOGCONFIG) || (c->cButtons && !c->pButtons))
        return E_INVALIDARG;
    std::vector<Button> buttons;
    for (UINT i = 0; i < c->cButtons; ++i) {
        std::wstring t = textOf(c->pButtons[i].pszButtonText);
        // Command-link texts may carry a second line of explanation.
        if (size_t nl = t.find(L'\n'); nl != std::wstring::npos)
            t.resize(nl);
        buttons.push_back({t, c->pButtons[i].nButtonID});
    }
    const struct {
        int flag;
        const wchar_t* text;
        int id;
    } common[] = {{TDCBF_OK_BUTTON, L"OK", IDOK},
                  {TDCBF_YES_BUTTON, L"Yes", IDYES},
                  {TDCBF_NO_BUTTON, L"No", IDNO},
                  {TDCBF_RETRY_BUTTON, L"Retry", IDRETRY},
                  {TDCBF_CANCEL_BUTTON, L"Cancel", IDCANCEL},
                  {TDCBF_CLOSE_BUTTON, L"Close", IDCLOSE}};
    for (const auto& b : common)
        if (c->dwCommonButtons & b.flag)
            buttons.push_back({b.text, b.id});
    // A dialog without any button shows OK.
    if (buttons.empty())
        buttons.push_back({L"OK", IDOK});

    int def = buttons.front().id;
    for (const Button& b : buttons)
        if (c->nDefaultButton && b.id == c->nDefaultButton)
            def = b.id;

    std::wstring box = L"\n** ";
    box += c->pszWindowTitle && !IS_INTRESOURCE(c->pszWindowTitle) ? c->pszWindowTitle : L"";
    box += L" **\n";
    if (std::wstring t = textOf(c->pszMainInstruction); !t.empty())
        box += t + L"\n";
    if (std::wstring t = textOf(c->pszContent); !t.empty())
        box += t + L"\n";
    if (std::wstring t = textOf(c->pszFooter); !t.empty())
        box += t + L"\n";
    khost::hostPrint(box);
    std::wstring prompt = L"[";
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (i)
            prompt += L"/";
        prompt += buttons[i].text;
    }
    prompt += L"]: ";

    int chosen = 0;
    for (;;) {
        khost::Answer a = khost::promptAnswer(prompt, true);
        if (a.kind != khost::Answer::Text) {
            chosen = cancelChoice(buttons);
            break;
        }
        std::wstring answer = trimmed(a.text);
        if (answer.empty()) {
            chosen = def;
            break;
        }
        if ((chosen = match(answer, buttons)) != 0)
            break;
        khost::hostPrint(L"\nInvalid answer.\n");
    }
    if (pnButton)
        *pnButton = chosen;
    if (pnRadioButton)
        *pnRadioButton =
            c->cRadioButtons && c->pRadioButtons
                ? (c->nDefaultRadioButton ? c->nDefaultRadioButton : c->pRadioButtons[0].nButtonID)
                : 0;
    if (pfVerificationFlagChecked)
        *pfVerificationFlagChecked = (c->dwFlags & TDF_VERIFICATION_FLAG_CHECKED) ? TRUE : FALSE;
    return S_OK;
}

HRESULT TaskDialog(HWND hwndOwner, HINSTANCE hInstance, PCWSTR pszWindowTitle,
                   PCWSTR pszMainInstruction, PCWSTR pszContent,
                   TASKDIALOG_COMMON_BUTTON_FLAGS dwCommonButtons, PCWSTR pszIcon, int* pnButton) {
    TASKDIALOGCONFIG c{};
    c.cbSize = sizeof c;
    c.hwndParent = hwndOwner;
    c.hInstance = hInstance;
    c.dwCommonButtons = dwCommonButtons;
    c.pszWindowTitle = pszWindowTitle;
    c.pszMainIcon = pszIcon;
    c.pszMainInstruction = pszMainInstruction;
    c.pszContent = pszContent;
    return TaskDialogIndirect(&c, pnButton, nullptr, nullptr);
}
