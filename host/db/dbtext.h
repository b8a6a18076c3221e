// Texts: single-line text, multi-line text, attribute definitions and attributes.
//
// Single-line text and attributes keep their points in world coordinates; in DXF (groups 10 and
// 11) they are in the object coordinate system of the normal. Multi-line text keeps its location
// and direction in world coordinates in both.
//
// The alignment rule of single-line text: with the vertical mode baseline and the horizontal mode
// left, aligned or fit, the position (group 10) places the text and the alignment point serves
// aligned and fit only; in every other mode the alignment point (group 11) places the text and
// the position is derived from it. Setting modes or points never moves the other point;
// adjustAlignment derives it again (with an approximate text width of one text height times the
// width factor per character).
#pragma once

#include "dbents.h"
#include "dbent_array.h"

#include <memory>
#include <string>

namespace AcDb {
enum TextHorzMode {
    kTextLeft = 0,
    kTextCenter = 1,
    kTextRight = 2,
    kTextAlign = 3,
    kTextMid = 4,
    kTextFit = 5,
};
enum TextVertMode {
    kTextBase = 0,
    kTextBottom = 1,
    kTextVertMid = 2,
    kTextTop = 3,
};
enum LineSpacingStyle {
    kAtLeast = 1,
    kExactly = 2,
};
} // namespace AcDb

class AcDbMText;

namespace khost {
// The data of multi-line text, shared by the entity and by the multi-line part of attributes.
struct MTextData {
    AcGePoint3d location;
    AcGeVector3d normal{0.0, 0.0, 1.0};
    AcGeVector3d direction{1.0, 0.0, 0.0};
    double textHeight = 0.0;
    double width = 0.0;
    double height = 0.0; // the defined height of the frame (group 46)
    int attachment = 1;
    int flowDirection = 1;
    std::wstring contents;
    AcDbObjectId style;
    int lineSpacingStyle = 1;
    double lineSpacingFactor = 1.0;

    double rotation() const;
    void setRotation(double angle);
    void transformBy(const AcGeMatrix3d& xform);
    // The groups of the AcDbMText subclass (after its marker), optional ones with their default
    // value left out unless all are asked for (the multi-line part of attributes), and the
    // reading of one of them.
    void writeGroups(AcDbDxfFiler* f, bool all) const;
    // Returns false for a group that is not multi-line text's; call finishReading after the last.
    bool readGroup(AcDbDxfFiler* f, AcDbDatabase* db, const resbuf& rb);
    void finishReading();

    // State of reading.
    std::wstring pendingChunks;
    std::wstring pendingLast;
    bool directionRead = false;
    bool rotationRead = false;
    double rotationValue = 0.0;
};

// The content of multi-line text without its formatting codes: paragraphs as "\n", stacked
// fractions as "a/b", the special characters %%d, %%p, %%c as their symbols.
std::wstring mtextPlainText(const std::wstring& contents);
// The approximate width of single-line text (one text height times the width factor per
// character).
double approxTextWidth(const std::wstring& text, double height, double widthFactor);
struct AttrData;
} // namespace khost

class AcDbText : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbText);
    AcDbText();
    AcDbText(const AcGePoint3d& position, const ACHAR* text,
             AcDbObjectId style = AcDbObjectId::kNull, double height = 0.0, double rotation = 0.0);

    AcGePoint3d position() const { return m_position; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& p);
    AcGePoint3d alignmentPoint() const { return m_alignment; }
    Acad::ErrorStatus setAlignmentPoint(const AcGePoint3d& p);
    // Left and baseline: the position places the text.
    bool isDefaultAlignment() const;
    AcGeVector3d normal() const { return m_normal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    double thickness() const { return m_thickness; }
    Acad::ErrorStatus setThickness(double t);
    double oblique() const { return m_oblique; }
    Acad::ErrorStatus setOblique(double angle);
    double rotation() const { return m_rotation; }
    Acad::ErrorStatus setRotation(double angle);
    double height() const { return m_height; }
    // eInvalidInput for a height that is not positive.
    Acad::ErrorStatus setHeight(double h);
    double widthFactor() const { return m_widthFactor; }
    Acad::ErrorStatus setWidthFactor(double f);
    bool isMirroredInX() const { return (m_generation & 2) != 0; }
    Acad::ErrorStatus mirrorInX(bool mirror);
    bool isMirroredInY() const { return (m_generation & 4) != 0; }
    Acad::ErrorStatus mirrorInY(bool mirror);
    // A copy the caller frees with acutDelString.
    ACHAR* textString() const;
    Acad::ErrorStatus textString(AcString& s) const;
    const ACHAR* textStringConst() const { return m_text.c_str(); }
    Acad::ErrorStatus setTextString(const ACHAR* text);
    AcDbObjectId textStyle() const { return m_style; }
    Acad::ErrorStatus setTextStyle(AcDbObjectId style);
    AcDb::TextHorzMode horizontalMode() const { return static_cast<AcDb::TextHorzMode>(m_hmode); }
    Acad::ErrorStatus setHorizontalMode(AcDb::TextHorzMode mode);
    AcDb::TextVertMode verticalMode() const { return static_cast<AcDb::TextVertMode>(m_vmode); }
    Acad::ErrorStatus setVerticalMode(AcDb::TextVertMode mode);
    // Derives the dependent point from the one that places the text (see the rule above).
    Acad::ErrorStatus adjustAlignment(const AcDbDatabase* pDb = nullptr);
    // The corners of the text's box (approximate width): bottom left, bottom right, top left,
    // top right.
    Acad::ErrorStatus getBoundingPoints(AcGePoint3dArray& points) const;

    // Rotation, translation, scaling and mirroring (a mirror makes the text backward).
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

protected:
    void subAddedToDatabase() override;
    // The text properties of another text (not its entity properties).
    void copyTextData(const AcDbText& other);
    // The groups of the first AcDbText subclass (after its marker), without the vertical mode.
    void writeTextGroups(AcDbDxfFiler* f) const;
    // Reads a group of the AcDbText subclass; false for a group that is not one of them. The
    // points are object coordinates until finishTextReading.
    bool readTextGroup(AcDbDxfFiler* f, AcDbDatabase* db, const resbuf& rb);
    void startTextReading();
    void finishTextReading(AcDbDatabase* db);
    void setVerticalModeRaw(int mode) { m_vmode = static_cast<Adesk::Int16>(mode); }
    // The fields of an attribute or a definition (subclass marker given) after the entity's.
    Acad::ErrorStatus readAttributeFields(AcDbDxfFiler* f, khost::AttrData& a,
                                          const ACHAR* subclass);

private:
    AcGePoint3d m_position;
    AcGePoint3d m_alignment;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
    double m_thickness = 0.0;
    double m_height = 0.0;
    double m_widthFactor = 1.0;
    double m_rotation = 0.0;
    double m_oblique = 0.0;
    std::wstring m_text;
    AcDbObjectId m_style;
    Adesk::Int16 m_generation = 0; // 2 backward, 4 upside down
    Adesk::Int16 m_hmode = 0;
    Adesk::Int16 m_vmode = 0;
    bool m_styleRead = false;
    bool m_alignmentRead = false;
};

class AcDbMText : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbMText);
    AcDbMText();

    enum AttachmentPoint {
        kTopLeft = 1,
        kTopCenter = 2,
        kTopRight = 3,
        kMiddleLeft = 4,
        kMiddleCenter = 5,
        kMiddleRight = 6,
        kBottomLeft = 7,
        kBottomCenter = 8,
        kBottomRight = 9,
        kBaseLeft = 10,
        kBaseCenter = 11,
        kBaseRight = 12,
        kBaseAlign = 13,
        kBottomAlign = 14,
        kMiddleAlign = 15,
        kTopAlign = 16,
        kBaseFit = 17,
        kBottomFit = 18,
        kMiddleFit = 19,
        kTopFit = 20,
        kBaseMid = 21,
        kBottomMid = 22,
        kMiddleMid = 23,
        kTopMid = 24,
    };
    enum FlowDirection { kLtoR = 1, kRtoL = 2, kTtoB = 3, kBtoT = 4, kByStyle = 5 };

    AcGePoint3d location() const { return m_d.location; }
    Acad::ErrorStatus setLocation(const AcGePoint3d& p);
    AcGeVector3d normal() const { return m_d.normal; }
    // The direction keeps its angle in the object coordinate system of the new normal.
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    AcGeVector3d direction() const { return m_d.direction; }
    // eInvalidInput for a zero vector; it is projected into the plane of the text.
    Acad::ErrorStatus setDirection(const AcGeVector3d& d);
    double rotation() const { return m_d.rotation(); }
    Acad::ErrorStatus setRotation(double angle);
    double width() const { return m_d.width; }
    Acad::ErrorStatus setWidth(double w);
    double height() const { return m_d.height; }
    Acad::ErrorStatus setHeight(double h);
    double textHeight() const { return m_d.textHeight; }
    Acad::ErrorStatus setTextHeight(double h);
    AcDbObjectId textStyle() const { return m_d.style; }
    Acad::ErrorStatus setTextStyle(AcDbObjectId style);
    AttachmentPoint attachment() const { return static_cast<AttachmentPoint>(m_d.attachment); }
    Acad::ErrorStatus setAttachment(AttachmentPoint a);
    FlowDirection flowDirection() const { return static_cast<FlowDirection>(m_d.flowDirection); }
    Acad::ErrorStatus setFlowDirection(FlowDirection d);
    AcDb::LineSpacingStyle lineSpacingStyle() const {
        return static_cast<AcDb::LineSpacingStyle>(m_d.lineSpacingStyle);
    }
    Acad::ErrorStatus setLineSpacingStyle(AcDb::LineSpacingStyle style);
    double lineSpacingFactor() const { return m_d.lineSpacingFactor; }
    // eInvalidInput outside [0.25, 4].
    Acad::ErrorStatus setLineSpacingFactor(double f);
    // The contents with their formatting codes: a copy the caller frees with acutDelString.
    ACHAR* contents() const;
    Acad::ErrorStatus contents(AcString& s) const;
    Acad::ErrorStatus setContents(const ACHAR* text);
    // The contents without formatting codes: a copy the caller frees with acutDelString.
    ACHAR* text() const;
    Acad::ErrorStatus text(AcString& s) const;
    // Approximate extents of the text (lines times the line spacing; the longest line).
    double actualHeight(AcDbDatabase* pDb = nullptr) const;
    double actualWidth() const;

    // Rotation, translation, scaling; the text stays readable under a mirror.
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

    // The host's access to the data (attributes keep a copy of it).
    const khost::MTextData& khostData() const { return m_d; }
    void khostSetData(const khost::MTextData& d) { m_d = d; }

protected:
    void subAddedToDatabase() override;

private:
    khost::MTextData m_d;
};

// The attribute fields shared by definitions and attributes.
namespace khost {
struct AttrData {
    std::wstring tag;
    std::wstring prompt;    // definitions only
    Adesk::Int16 flags = 0; // 1 invisible, 2 constant, 4 verify, 8 preset
    Adesk::UInt16 fieldLength = 0;
    bool lockPosition = false;
    bool isMText = false;
    MTextData mtext;
};
} // namespace khost

class AcDbAttributeDefinition : public AcDbText {
public:
    ACRX_DECLARE_MEMBERS(AcDbAttributeDefinition);
    AcDbAttributeDefinition();
    AcDbAttributeDefinition(const AcGePoint3d& position, const ACHAR* text, const ACHAR* tag,
                            const ACHAR* prompt, AcDbObjectId style = AcDbObjectId::kNull);

    // Copies the caller frees with acutDelString.
    ACHAR* prompt() const;
    const ACHAR* promptConst() const { return m_a.prompt.c_str(); }
    Acad::ErrorStatus setPrompt(const ACHAR* prompt);
    ACHAR* tag() const;
    const ACHAR* tagConst() const { return m_a.tag.c_str(); }
    // eInvalidInput for an empty tag or one with spaces.
    Acad::ErrorStatus setTag(const ACHAR* tag);
    bool isInvisible() const { return (m_a.flags & 1) != 0; }
    Acad::ErrorStatus setInvisible(bool v);
    bool isConstant() const { return (m_a.flags & 2) != 0; }
    Acad::ErrorStatus setConstant(bool v);
    bool isVerifiable() const { return (m_a.flags & 4) != 0; }
    Acad::ErrorStatus setVerifiable(bool v);
    bool isPreset() const { return (m_a.flags & 8) != 0; }
    Acad::ErrorStatus setPreset(bool v);
    Adesk::UInt16 fieldLength() const { return m_a.fieldLength; }
    Acad::ErrorStatus setFieldLength(Adesk::UInt16 length);
    bool lockPositionInBlock() const { return m_a.lockPosition; }
    Acad::ErrorStatus setLockPositionInBlock(bool lock);

    bool isMTextAttributeDefinition() const { return m_a.isMText; }
    // A new multi-line text the caller deletes, null for a single-line definition.
    AcDbMText* getMTextAttributeDefinition() const;
    // Makes the definition multi-line with the given text's data (the caller keeps the text).
    Acad::ErrorStatus setMTextAttributeDefinition(AcDbMText* pMText);
    // true: multi-line from the definition's text properties; false: back to a single line.
    Acad::ErrorStatus convertIntoMTextAttributeDefinition(bool val = true);
    // Updates the multi-line part from the definition's text properties.
    Acad::ErrorStatus updateMTextAttributeDefinition();

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    friend class AcDbAttribute;
    khost::AttrData m_a;
};

class AcDbAttribute : public AcDbText {
public:
    ACRX_DECLARE_MEMBERS(AcDbAttribute);
    AcDbAttribute();
    AcDbAttribute(const AcGePoint3d& position, const ACHAR* text, const ACHAR* tag,
                  AcDbObjectId style = AcDbObjectId::kNull);

    ACHAR* tag() const;
    const ACHAR* tagConst() const { return m_a.tag.c_str(); }
    Acad::ErrorStatus setTag(const ACHAR* tag);
    bool isInvisible() const { return (m_a.flags & 1) != 0; }
    Acad::ErrorStatus setInvisible(bool v);
    bool isConstant() const { return (m_a.flags & 2) != 0; }
    bool isVerifiable() const { return (m_a.flags & 4) != 0; }
    bool isPreset() const { return (m_a.flags & 8) != 0; }
    Adesk::UInt16 fieldLength() const { return m_a.fieldLength; }
    Acad::ErrorStatus setFieldLength(Adesk::UInt16 length);
    bool lockPositionInBlock() const { return m_a.lockPosition; }
    Acad::ErrorStatus setLockPositionInBlock(bool lock);
    bool isReallyLocked() const { return m_a.lockPosition; }

    // Takes the definition's text, tag, flags, multi-line part and entity properties, placed by
    // the block reference's transformation.
    Acad::ErrorStatus setAttributeFromBlock(const AcDbAttributeDefinition* pAttdef,
                                            const AcGeMatrix3d& blkXform);
    Acad::ErrorStatus setAttributeFromBlock(const AcGeMatrix3d& blkXform);

    bool isMTextAttribute() const { return m_a.isMText; }
    // A new multi-line text the caller deletes (with the attribute's entity properties), null
    // for a single-line attribute.
    AcDbMText* getMTextAttribute() const;
    // Makes the attribute multi-line with the given text's data (the caller keeps the text); the
    // attribute's text becomes the contents.
    Acad::ErrorStatus setMTextAttribute(AcDbMText* pMText);
    // true: multi-line from the attribute's text properties; false: back to a single line.
    Acad::ErrorStatus convertIntoMTextAttribute(bool val = true);
    Acad::ErrorStatus updateMTextAttribute();

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    khost::AttrData m_a;
};
