// The in-place text editor. On this host it asks for the new text on the command line: the
// prompt shows the current text, Enter keeps it, Esc leaves the entity unchanged.
#pragma once

#include "acadstrc.h"

class AcDbMText;
class AcDbText;
class AcDbObjectIdArray;

// Options of the multi-line editor; this host has none to offer.
class AcEdInplaceTextEditorSettings {
public:
    virtual ~AcEdInplaceTextEditorSettings() = default;
};

class AcEdInplaceTextEditor {
public:
    // The entity must be open for write, or not yet in a database (a copy). eUserBreak after
    // Esc, eNotOpenForWrite for an entity of a database open for read only.
    static Acad::ErrorStatus invoke(AcDbMText* pMText,
                                    const AcEdInplaceTextEditorSettings* pSettings = nullptr);
    // appendedEntities receives nothing: this editor never makes new entities.
    static Acad::ErrorStatus invoke(AcDbText* pText, AcDbObjectIdArray* appendedEntities = nullptr);
};
