// Evaluation of AutoLISP text typed on the command line.
#pragma once

#include <string>

namespace khost {
bool lispEvalText(const std::wstring& text);
}
