// Task dialogs on the transcript, answered from the input stream.
#include "taskdialog.h"

#include "answerbox.h"

#include <string>
#include <vector>

namespace {

// A resource identifier given for a text has no text here.
std::wstring textOf(PCWSTR s) {
    if (!s || IS_INTRESOURCE(s))
        return {};
    return s;
}

} // namespace

HRESULT TaskDialogIndirect(const TASKDIALOGCONFIG* c, int* pnButton, int* pnRadioButton,
                           BOOL* pfVerificationFlagChecked) {
    if (!c || c->cbSize != sizeof(TASKDIALOGCONFIG) || (c->cButtons && !c->pButtons))
        return E_INVALIDARG;
    std::vector<khost::AnswerButton> buttons;
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
    for (const khost::AnswerButton& b : buttons)
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
    const int chosen = khost::askButtons(box, buttons, def);
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
