// The in-place text editor. On this host it asks for the new text on the command line: the
// prompt shows the current text, Enter keeps it, Esc leaves the entity unchanged.
#pragma once

#include "acadstrc.h"

class AcDbMText;
class AcDbText;
class AcDbObjectIdArray;

// Options of the multi-line editor; this host keeps them and asks on the command line anyway.
class AcEdInplaceTextEditorSettings {
public:
    enum EntityType { kDefault = 0, kTableCell = 1, kMultiAttribute = 2 };
    enum EditFlags { kForceOpaqueBackground = 1, kSelectAll = 2, kCursorAtEnd = 4 };
    virtual ~AcEdInplaceTextEditorSettings() = default;

    int editFlags() const { return m_flags; }
    bool setEditFlags(int flags) {
        m_flags = flags;
        return true;
    }
    EntityType sourceEntityType() const { return m_type; }
    bool setSourceEntityType(EntityType type) {
        m_type = type;
        return true;
    }

private:
    int m_flags = 0;
    EntityType m_type = kDefault;
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
