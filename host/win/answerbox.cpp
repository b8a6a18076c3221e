#include "answerbox.h"

#include "hostio.h"
#include "windows.h"

#include <unicode/uchar.h>

namespace khost {
namespace {

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

// 0 when the answer names no button.
int match(const std::wstring& answer, const std::vector<AnswerButton>& buttons) {
    std::wstring a = fold(answer);
    for (const AnswerButton& b : buttons)
        if (fold(b.text) == a)
            return b.id;
    if (a.size() == 1) {
        int found = 0;
        int count = 0;
        for (const AnswerButton& b : buttons)
            if (!b.text.empty() && fold(b.text.substr(0, 1)) == a) {
                found = b.id;
                ++count;
            }
        if (count == 1)
            return found;
    }
    return 0;
}

int cancelChoice(const std::vector<AnswerButton>& buttons) {
    for (int id : {IDCANCEL, IDNO, IDOK})
        for (const AnswerButton& b : buttons)
            if (b.id == id)
                return id;
    return buttons.front().id;
}

} // namespace

int askButtons(const std::wstring& box, const std::vector<AnswerButton>& buttons, int defaultId) {
    hostPrint(box);
    std::wstring prompt = L"[";
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (i)
            prompt += L"/";
        prompt += buttons[i].text;
    }
    prompt += L"]: ";
    for (;;) {
        Answer a = promptAnswer(prompt, true);
        if (a.kind != Answer::Text)
            return cancelChoice(buttons);
        std::wstring answer = trimmed(a.text);
        if (answer.empty())
            return defaultId;
        if (int id = match(answer, buttons))
            return id;
        hostPrint(L"\nInvalid answer.\n");
    }
}

} // namespace khost
