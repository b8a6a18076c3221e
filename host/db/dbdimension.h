// Dimensions (DIMENSION). A dimension draws itself through an anonymous block ("*D<n>") that
// the host builds from the dimension's points, text and style: when a dimension made by a
// program is added to a database, whenever it changes while it is in one, and on
// recomputeDimBlock. A dimension read from a file keeps the block the file gave it.
#pragma once

#include "dbmain.h"
#include "gemat3d.h"
#include "gepnt3d.h"
#include "gevec3d.h"

#include <string>

class AcDbDimStyleTableRecord;

class AcDbDimension : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbDimension);
    AcDbDimension();
    ~AcDbDimension() override;

    AcGePoint3d textPosition() const { return m_textPosition; }
    Acad::ErrorStatus setTextPosition(const AcGePoint3d& position);
    // Whether the text is at the position set (else where the style puts it).
    bool isUsingDefaultTextPosition() const { return !m_userTextPosition; }
    Acad::ErrorStatus useSetTextPosition();
    Acad::ErrorStatus useDefaultTextPosition();
    AcGeVector3d normal() const { return m_normal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    // The text: "" for the measurement, "<>" in it stands for the measurement. A copy the
    // caller frees with acutDelString.
    ACHAR* dimensionText() const;
    Acad::ErrorStatus dimensionText(AcString& text) const;
    Acad::ErrorStatus setDimensionText(const ACHAR* text);
    double textRotation() const { return m_textRotation; }
    Acad::ErrorStatus setTextRotation(double rotation);
    // The angle of the dimension's horizontal (its X axis in its plane).
    double horizontalRotation() const { return m_horizontalRotation; }
    Acad::ErrorStatus setHorizontalRotation(double rotation);
    // The dimension style (the null id stands for the database's current one).
    AcDbObjectId dimensionStyle() const;
    Acad::ErrorStatus setDimensionStyle(AcDbObjectId dimStyleId);
    // The text style of the dimension's text: its override of DIMTXSTY, else the style's.
    AcDbObjectId dimtxsty() const;
    // Overrides DIMTXSTY for this dimension (kept as the host keeps overrides: extended data of
    // "ACAD", "DSTYLE" { 1070 340, 1005 handle }).
    Acad::ErrorStatus setDimtxsty(AcDbObjectId textStyleId);
    // Takes the dimension style's data: the dimension uses that style.
    Acad::ErrorStatus setDimstyleData(AcDbObjectId dimStyleId);
    Acad::ErrorStatus setDimstyleData(const AcDbDimStyleTableRecord* pNewData);
    // The anonymous block that draws the dimension.
    AcDbObjectId dimBlockId() const;
    Acad::ErrorStatus setDimBlockId(const AcDbObjectId& blockId);
    // Rebuilds the block (a dimension in a database); the old block's contents are erased.
    Acad::ErrorStatus recomputeDimBlock(bool forceUpdate = true);
    // The measured value (dimension units, before DIMLFAC).
    virtual Acad::ErrorStatus measurement(double& value) const = 0;
    // The text the block shows.
    std::wstring formattedMeasurement() const;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

protected:
    // The DIMENSION type of group 70 (1 aligned ...).
    virtual int dimensionType() const = 0;
    // The definition point written to group 10.
    virtual AcGePoint3d definitionPoint() const = 0;
    virtual void setDefinitionPoint(const AcGePoint3d& p) = 0;
    // Adds the entities of the block (the caller owns them).
    virtual void buildGeometry(std::vector<AcDbEntity*>& out) const = 0;
    // Called by the setters: records the change and rebuilds the block of a dimension that is
    // in a database.
    Acad::ErrorStatus changed();
    Acad::ErrorStatus transformCommon(const AcGeMatrix3d& xform);
    void subAddedToDatabase() override;
    // The dimension style's variable (of the style, else the database's current style).
    double styleReal(int code) const;
    int styleInt(int code) const;
    AcDbObjectId styleId(int code) const;

    AcGePoint3d m_textPosition;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
    std::wstring m_text;
    double m_textRotation = 0.0, m_horizontalRotation = 0.0, m_measurement = -1.0;
    khost::DbStub* m_style = nullptr;
    khost::DbStub* m_block = nullptr;
    bool m_userTextPosition = false;
    bool m_madeByProgram = false; // set by the setters: the host builds its block
};

class AcDbAlignedDimension : public AcDbDimension {
public:
    ACRX_DECLARE_MEMBERS(AcDbAlignedDimension);
    AcDbAlignedDimension();
    AcDbAlignedDimension(const AcGePoint3d& xLine1Point, const AcGePoint3d& xLine2Point,
                         const AcGePoint3d& dimLinePoint, const ACHAR* dimText = nullptr,
                         AcDbObjectId dimStyle = AcDbObjectId::kNull);

    AcGePoint3d xLine1Point() const { return m_xLine1; }
    Acad::ErrorStatus setXLine1Point(const AcGePoint3d& p);
    AcGePoint3d xLine2Point() const { return m_xLine2; }
    Acad::ErrorStatus setXLine2Point(const AcGePoint3d& p);
    AcGePoint3d dimLinePoint() const { return m_dimLine; }
    Acad::ErrorStatus setDimLinePoint(const AcGePoint3d& p);
    double oblique() const { return m_oblique; }
    Acad::ErrorStatus setOblique(double angle);

    Acad::ErrorStatus measurement(double& value) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

protected:
    int dimensionType() const override { return 1; }
    AcGePoint3d definitionPoint() const override;
    void setDefinitionPoint(const AcGePoint3d& p) override;
    void buildGeometry(std::vector<AcDbEntity*>& out) const override;

private:
    AcGePoint3d m_xLine1, m_xLine2, m_dimLine;
    double m_oblique = 0.0;
};
