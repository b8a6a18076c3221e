// Block references (INSERT) with their attributes, and multiple block references (MINSERT).
//
// The position is a world point here and a point of the object coordinate system of the normal
// in DXF (group 10). The block transformation maps the block definition into the drawing:
//   translation(position) * planeToWorld(normal) * rotation about Z * scaling
//   * translation(-origin of the block definition).
// Attributes are sub-entities owned by the reference (see dbent_complex.h): appendAttribute adds
// them, attributeIterator walks them; DXF writes them as ATTRIB records after the INSERT (with
// group 66 set), closed by a SEQEND. Changing the position, rotation or scale of the reference
// leaves the attributes where they are; transformBy moves them with the reference.
#pragma once

#include "dbents.h"
#include "dbent_complex.h"
#include "gescl3d.h"

#include <string>

class AcDbAttribute;

class AcDbBlockReference : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbBlockReference);
    AcDbBlockReference();
    AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRec);
    ~AcDbBlockReference() override;

    AcDbObjectId blockTableRecord() const;
    // eInvalidInput for an id that is not a block definition, eWrongDatabase for one of another
    // database.
    Acad::ErrorStatus setBlockTableRecord(AcDbObjectId id);
    AcGePoint3d position() const { return m_position; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& p);
    AcGeScale3d scaleFactors() const { return m_scale; }
    // eInvalidInput for a zero factor.
    Acad::ErrorStatus setScaleFactors(const AcGeScale3d& scale);
    double rotation() const { return m_rotation; }
    Acad::ErrorStatus setRotation(double angle);
    AcGeVector3d normal() const { return m_normal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    AcGeMatrix3d blockTransform() const;
    // Takes position, normal, rotation and scale factors from a transformation of the form
    // above (a mirror gives a negative X scale); eInvalidInput for a singular one or one that
    // shears.
    Acad::ErrorStatus setBlockTransform(const AcGeMatrix3d& xform);
    bool treatAsAcDbBlockRefForExplode() const { return true; }

    Acad::ErrorStatus appendAttribute(AcDbAttribute* pAttr);
    Acad::ErrorStatus appendAttribute(AcDbObjectId& attId, AcDbAttribute* pAttr);
    // eInvalidInput for an id that is not one of this reference's attributes.
    Acad::ErrorStatus openAttribute(AcDbAttribute*& pAttr, AcDbObjectId attId, AcDb::OpenMode mode,
                                    bool openErasedOne = false);
    Acad::ErrorStatus openSequenceEnd(AcDbSequenceEnd*& pSeqEnd, AcDb::OpenMode mode);
    AcDbObjectIterator* attributeIterator() const;

    // The reference and its attributes.
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

protected:
    Acad::ErrorStatus subErase(bool erasing) override;
    void subAddedToDatabase() override;
    bool readReferenceGroup(AcDbDxfFiler* f, const resbuf& rb);

    // The array of a multiple reference. A plain reference made from a MINSERT record (a reader
    // that does not ask for the class by the record's flags) keeps it as well and writes it back.
    Adesk::UInt16 m_columns = 1;
    Adesk::UInt16 m_rows = 1;
    double m_colSpacing = 0.0;
    double m_rowSpacing = 0.0;
    bool m_hasArray = false;

private:
    friend struct khost::ComplexAccess;
    mutable khost::DbStub* m_block = nullptr;
    mutable std::wstring m_blockName; // a name read before its definition
    AcGePoint3d m_position;
    AcGeScale3d m_scale{1.0, 1.0, 1.0};
    double m_rotation = 0.0;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
    khost::SubEntities m_attributes;
};

// A rectangular array of references to one block.
class AcDbMInsertBlock : public AcDbBlockReference {
public:
    ACRX_DECLARE_MEMBERS(AcDbMInsertBlock);
    AcDbMInsertBlock();
    AcDbMInsertBlock(const AcGePoint3d& position, AcDbObjectId blockTableRec, Adesk::UInt16 columns,
                     Adesk::UInt16 rows, double colSpacing, double rowSpacing);

    Adesk::UInt16 columns() const { return m_columns; }
    // eInvalidInput for zero.
    Acad::ErrorStatus setColumns(Adesk::UInt16 n);
    Adesk::UInt16 rows() const { return m_rows; }
    Acad::ErrorStatus setRows(Adesk::UInt16 n);
    double columnSpacing() const { return m_colSpacing; }
    Acad::ErrorStatus setColumnSpacing(double d);
    double rowSpacing() const { return m_rowSpacing; }
    Acad::ErrorStatus setRowSpacing(double d);

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
};
