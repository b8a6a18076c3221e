// The BLOCK and ENDBLK records of a block definition. The database keeps a block's name, flags,
// origin, path and description in its block table record; these two objects give the records
// their own handles (which stay the same from one save to the next) and keep what a file says
// about them as entities (layer, other common groups, extended data).
#pragma once

#include "dbmain.h"

class AcDbBlockBegin : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbBlockBegin);
    AcDbBlockBegin();
    ~AcDbBlockBegin() override;

    // The groups of the AcDbEntity part (layer "0" unless the file said otherwise).
    const resbuf* entityData() const { return m_entity; }
    void setEntityData(resbuf* chain); // takes the chain over

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    // Writes the common fields and the AcDbEntity part, up to and with the subclass marker of
    // the record; the writer adds the block's own groups.
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

protected:
    virtual const ACHAR* subclassName() const { return L"AcDbBlockBegin"; }

private:
    resbuf* m_entity = nullptr;
};

class AcDbBlockEnd : public AcDbBlockBegin {
public:
    ACRX_DECLARE_MEMBERS(AcDbBlockEnd);

protected:
    const ACHAR* subclassName() const override { return L"AcDbBlockEnd"; }
};
