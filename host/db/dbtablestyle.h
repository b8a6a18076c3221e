// Table styles (TABLESTYLE), kept in the dictionary "ACAD_TABLESTYLE" under their names, and
// multiline styles (MLINESTYLE), kept in "ACAD_MLINESTYLE".
#pragma once

#include "dbmain.h"

#include <string>
#include <vector>

namespace AcDb {
enum RowType { kUnknownRow = 0, kDataRow = 1, kTitleRow = 2, kHeaderRow = 4 };
enum RowTypes { kAllRows = kDataRow | kTitleRow | kHeaderRow };
enum CellAlignment {
    kTopLeft = 1,
    kTopCenter = 2,
    kTopRight = 3,
    kMiddleLeft = 4,
    kMiddleCenter = 5,
    kMiddleRight = 6,
    kBottomLeft = 7,
    kBottomCenter = 8,
    kBottomRight = 9,
};
enum FlowDirection { kTtoB = 0, kBtoT = 1 };
} // namespace AcDb

class AcDbTableStyle : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbTableStyle);
    AcDbTableStyle();
    ~AcDbTableStyle() override;

    // The name is the style's key in its dictionary; before the style is stored it is kept
    // for postTableStyleToDb.
    Acad::ErrorStatus getName(AcString& name) const;
    Acad::ErrorStatus getName(ACHAR*& name) const;
    Acad::ErrorStatus setName(const ACHAR* name);
    const ACHAR* description() const { return m_description.c_str(); }
    Acad::ErrorStatus setDescription(const ACHAR* description);
    Acad::ErrorStatus postTableStyleToDb(AcDbDatabase* pDb, const ACHAR* styleName,
                                         AcDbObjectId& tableStyleId);

    AcDb::FlowDirection flowDirection() const { return static_cast<AcDb::FlowDirection>(m_flow); }
    Acad::ErrorStatus setFlowDirection(AcDb::FlowDirection flow);
    double horzCellMargin() const { return m_horzMargin; }
    Acad::ErrorStatus setHorzCellMargin(double margin);
    double vertCellMargin() const { return m_vertMargin; }
    Acad::ErrorStatus setVertCellMargin(double margin);
    bool isTitleSuppressed() const { return m_titleSuppressed; }
    Acad::ErrorStatus suppressTitleRow(bool value);
    bool isHeaderSuppressed() const { return m_headerSuppressed; }
    Acad::ErrorStatus suppressHeaderRow(bool value);

    // Per row type (a getter takes one type; a setter any combination of kDataRow, kTitleRow
    // and kHeaderRow, all of them by default; eInvalidInput for none). The null text style id
    // stands for the text style "Standard".
    AcDbObjectId textStyle(AcDb::RowType rowType = AcDb::kDataRow) const;
    Acad::ErrorStatus setTextStyle(const AcDbObjectId& id, int rowTypes = AcDb::kAllRows);
    double textHeight(AcDb::RowType rowType = AcDb::kDataRow) const;
    Acad::ErrorStatus setTextHeight(double height, int rowTypes = AcDb::kAllRows);
    AcDb::CellAlignment alignment(AcDb::RowType rowType = AcDb::kDataRow) const;
    Acad::ErrorStatus setAlignment(AcDb::CellAlignment alignment, int rowTypes = AcDb::kAllRows);
    AcCmColor color(AcDb::RowType rowType = AcDb::kDataRow) const;
    Acad::ErrorStatus setColor(const AcCmColor& color, int rowTypes = AcDb::kAllRows);
    AcCmColor backgroundColor(AcDb::RowType rowType = AcDb::kDataRow) const;
    Acad::ErrorStatus setBackgroundColor(const AcCmColor& color, int rowTypes = AcDb::kAllRows);
    bool isBackgroundColorNone(AcDb::RowType rowType = AcDb::kDataRow) const;
    Acad::ErrorStatus setBackgroundColorNone(bool value, int rowTypes = AcDb::kAllRows);

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    struct Cell {
        khost::DbStub* textStyle = nullptr;
        double height = 4.5;
        Adesk::Int16 alignment = AcDb::kMiddleCenter;
        AcCmColor color, fill;
        bool fillOn = false;
        Adesk::Int16 borderWeight[6] = {-2, -2, -2, -2, -2, -2};
        bool borderVisible[6] = {true, true, true, true, true, true};
        AcCmColor borderColor[6];
    };
    // Cells in file order: data, title, header.
    const Cell* cell(AcDb::RowType rowType) const;
    template <class F> Acad::ErrorStatus forRows(int rowTypes, F f);
    std::wstring m_name, m_description;
    Cell m_cells[3];
    double m_horzMargin = 1.5, m_vertMargin = 1.5;
    Adesk::Int16 m_flow = AcDb::kTtoB, m_flags = 0;
    bool m_titleSuppressed = false, m_headerSuppressed = false;
};

class AcDbMlineStyle : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbMlineStyle);
    AcDbMlineStyle();
    ~AcDbMlineStyle() override;

    // The two elements of the standard style (offsets 0.5 and -0.5, ByLayer).
    void initMlineStyle();
    const ACHAR* name() const { return m_name.c_str(); }
    Acad::ErrorStatus setName(const ACHAR* name);
    const ACHAR* description() const { return m_description.c_str(); }
    Acad::ErrorStatus setDescription(const ACHAR* description);
    bool filled() const { return m_flags & 1; }
    void setFilled(bool filled);
    AcCmColor fillColor() const { return m_fillColor; }
    void setFillColor(const AcCmColor& color);
    // Angles in radians.
    double startAngle() const { return m_startAngle; }
    void setStartAngle(double angle);
    double endAngle() const { return m_endAngle; }
    void setEndAngle(double angle);
    // Elements in order of decreasing offset; the null linetype id stands for ByLayer.
    int numElements() const { return static_cast<int>(m_elements.size()); }
    Acad::ErrorStatus addElement(double offset, const AcCmColor& color, AcDbObjectId linetypeId,
                                 int& index, bool checkIfReferenced = true);
    Acad::ErrorStatus getElementAt(int index, double& offset, AcCmColor& color,
                                   AcDbObjectId& linetypeId) const;
    Acad::ErrorStatus removeElementAt(int index);

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    struct Element {
        double offset = 0.0;
        AcCmColor color;
        khost::DbStub* linetype = nullptr;
    };
    std::wstring m_name, m_description;
    std::vector<Element> m_elements;
    AcCmColor m_fillColor;
    double m_startAngle, m_endAngle;
    Adesk::Int16 m_flags = 0;
};
