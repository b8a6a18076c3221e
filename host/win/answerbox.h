// The boxes that ask the user to choose one of their buttons (message boxes, task dialogs): the
// question is put on the command line and answered from the input stream.
#pragma once

#include <string>
#include <vector>

namespace khost {

struct AnswerButton {
    std::wstring text;
    int id;
};

// Prints the box, then asks "[A/B/C]: " until the answer names a button: its whole text or, when
// only one button begins with it, its first letter, in any case. Enter gives defaultId; Esc and
// the end of input give Cancel where there is one, else No, else OK, else the first button.
int askButtons(const std::wstring& box, const std::vector<AnswerButton>& buttons, int defaultId);

} // namespace khost
