// The in-place text editor on the command line.
#include "acedinpl.h"

#include "dbtext.h"
#include "hostio.h"

#include <string>

namespace {

// Asks for the new text: RTNORM-like true with the answer (the old text on a bare Enter), false
// after Esc or at the end of input.
bool ZeptejSeNaText(const std::wstring& sStary, std::wstring& sNovy) {
    std::wstring prompt = L"\nEdit text <" + sStary + L">: ";
    khost::Answer a = khost::promptAnswer(prompt, true);
    if (a.kind != khost::Answer::Text)
        return false;
    sNovy = a.text.empty() ? sStary : a.text;
    return true;
}

} // namespace

Acad::ErrorStatus AcEdInplaceTextEditor::invoke(AcDbMText* pMText,
                                                const AcEdInplaceTextEditorSettings*) {
    if (!pMText)
        return Acad::eNullObjectPointer;
    if (!pMText->isWriteEnabled())
        return Acad::eNotOpenForWrite;
    AcString sObsah;
    pMText->contents(sObsah);
    std::wstring sNovy;
    if (!ZeptejSeNaText(sObsah.constPtr(), sNovy))
        return Acad::eUserBreak;
    return pMText->setContents(sNovy.c_str());
}

Acad::ErrorStatus AcEdInplaceTextEditor::invoke(AcDbText* pText, AcDbObjectIdArray*) {
    if (!pText)
        return Acad::eNullObjectPointer;
    if (!pText->isWriteEnabled())
        return Acad::eNotOpenForWrite;
    std::wstring sNovy;
    if (!ZeptejSeNaText(pText->textStringConst(), sNovy))
        return Acad::eUserBreak;
    return pText->setTextString(sNovy.c_str());
}
