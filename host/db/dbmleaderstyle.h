// Multileader styles (MLEADERSTYLE), kept in the dictionary "ACAD_MLEADERSTYLE" under their
// names.
#pragma once

#include "dbmain.h"
#include "gescl3d.h"

#include <string>

class AcDbMLeaderStyle : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbMLeaderStyle);

    enum ContentType {
        kNoneContent = 0,
        kBlockContent = 1,
        kMTextContent = 2,
        kToleranceContent = 3
    };
    enum DrawMLeaderOrderType { kDrawContentFirst = 0, kDrawLeaderFirst = 1 };
    enum DrawLeaderOrderType { kDrawLeaderHeadFirst = 0, kDrawLeaderTailFirst = 1 };
    enum LeaderType { kInVisibleLeader = 0, kStraightLeader = 1, kSplineLeader = 2 };
    enum TextAttachmentDirection { kAttachmentHorizontal = 0, kAttachmentVertical = 1 };
    enum TextAttachmentType {
        kAttachmentTopOfTop = 0,
        kAttachmentMiddleOfTop = 1,
        kAttachmentMiddle = 2,
        kAttachmentMiddleOfBottom = 3,
        kAttachmentBottomOfBottom = 4,
        kAttachmentBottomLine = 5,
        kAttachmentBottomOfTopLine = 6,
        kAttachmentBottomOfTop = 7,
        kAttachmentAllLine = 8,
        kAttachmentCenter = 9,
        kAttachmentLinedCenter = 10,
    };
    enum TextAngleType { kInsertAngle = 0, kHorizontalAngle = 1, kAlwaysRightReadingAngle = 2 };
    enum TextAlignmentType { kLeftAlignment = 0, kCenterAlignment = 1, kRightAlignment = 2 };
    enum BlockConnectionType { kConnectExtents = 0, kConnectBase = 1 };
    enum LeaderDirectionType {
        kUnknownLeader = 0,
        kLeftLeader = 1,
        kRightLeader = 2,
        kTopLeader = 3,
        kBottomLeader = 4,
    };
    enum SegmentAngleType { kAny = 0, k15 = 1, k30 = 2, k45 = 3, k60 = 4, k90 = 6, kHorz = 12 };

    AcDbMLeaderStyle();
    ~AcDbMLeaderStyle() override;

    // The name is the style's key in its dictionary (renaming renames the entry, which needs
    // the dictionary to be free for opening for write); before the style is stored it is kept
    // for postMLeaderStyleToDb.
    Acad::ErrorStatus getName(AcString& name) const;
    Acad::ErrorStatus getName(ACHAR*& name) const;
    Acad::ErrorStatus setName(const ACHAR* name);
    bool isRenamable() const;
    const ACHAR* description() const { return m_description.c_str(); }
    Acad::ErrorStatus setDescription(const ACHAR* description);
    // Stores a new style in the database's multileader style dictionary under the name;
    // eDuplicateRecordName when the name is taken.
    Acad::ErrorStatus postMLeaderStyleToDb(AcDbDatabase* pDb, const ACHAR* styleName,
                                           AcDbObjectId& mleaderStyleId);

    ContentType contentType() const { return static_cast<ContentType>(m_contentType); }
    Acad::ErrorStatus setContentType(ContentType contentType);
    DrawMLeaderOrderType drawMLeaderOrderType() const {
        return static_cast<DrawMLeaderOrderType>(m_mleaderOrder);
    }
    Acad::ErrorStatus setDrawMLeaderOrderType(DrawMLeaderOrderType type);
    DrawLeaderOrderType drawLeaderOrderType() const {
        return static_cast<DrawLeaderOrderType>(m_leaderOrder);
    }
    Acad::ErrorStatus setDrawLeaderOrderType(DrawLeaderOrderType type);
    // 0 for no limit, else at least 2.
    int maxLeaderSegmentsPoints() const { return m_maxPoints; }
    Acad::ErrorStatus setMaxLeaderSegmentsPoints(int maxLeaderSegmentsPoints);
    SegmentAngleType firstSegmentAngleConstraint() const {
        return static_cast<SegmentAngleType>(m_firstAngle);
    }
    Acad::ErrorStatus setFirstSegmentAngleConstraint(SegmentAngleType angle);
    SegmentAngleType secondSegmentAngleConstraint() const {
        return static_cast<SegmentAngleType>(m_secondAngle);
    }
    Acad::ErrorStatus setSecondSegmentAngleConstraint(SegmentAngleType angle);

    LeaderType leaderLineType() const { return static_cast<LeaderType>(m_leaderType); }
    Acad::ErrorStatus setLeaderLineType(LeaderType leaderLineType);
    AcCmColor leaderLineColor() const { return m_leaderColor; }
    Acad::ErrorStatus setLeaderLineColor(const AcCmColor& color);
    // The null id stands for the linetype ByBlock.
    AcDbObjectId leaderLineTypeId() const;
    Acad::ErrorStatus setLeaderLineTypeId(AcDbObjectId leaderLineTypeId);
    AcDb::LineWeight leaderLineWeight() const {
        return static_cast<AcDb::LineWeight>(m_leaderWeight);
    }
    Acad::ErrorStatus setLeaderLineWeight(AcDb::LineWeight weight);
    bool enableLanding() const { return m_enableLanding; }
    Acad::ErrorStatus setEnableLanding(bool enableLanding);
    double landingGap() const { return m_landingGap; }
    Acad::ErrorStatus setLandingGap(double landingGap);
    bool enableDogleg() const { return m_enableDogleg; }
    Acad::ErrorStatus setEnableDogleg(bool enableDogleg);
    double doglegLength() const { return m_doglegLength; }
    Acad::ErrorStatus setDoglegLength(double doglegLength);
    // The arrowhead block; the null id is the closed filled arrow. By name: as
    // khost::arrowheadBlockId (a predefined arrowhead's block is created when missing).
    AcDbObjectId arrowSymbolId() const;
    Acad::ErrorStatus setArrowSymbolId(AcDbObjectId arrowSymbolId);
    Acad::ErrorStatus setArrowSymbolId(const ACHAR* name);
    double arrowSize() const { return m_arrowSize; }
    Acad::ErrorStatus setArrowSize(double arrowSize);
    double breakSize() const { return m_breakSize; }
    Acad::ErrorStatus setBreakSize(double size);
    bool extendLeaderToText() const { return m_extendToText; }
    Acad::ErrorStatus setExtendLeaderToText(bool value);

    // Text content. The default text of new multileaders is kept as its contents.
    const ACHAR* defaultMTextContents() const { return m_defaultText.c_str(); }
    Acad::ErrorStatus setDefaultMTextContents(const ACHAR* contents);
    // The null id stands for the database's current text style.
    AcDbObjectId textStyleId() const;
    Acad::ErrorStatus setTextStyleId(AcDbObjectId textStyleId);
    // kLeftLeader and kRightLeader: the attachment of horizontal leaders on that side (0-8);
    // kTopLeader and kBottomLeader: of vertical leaders (9 or 10). Without a direction: both
    // sides of horizontal leaders (the getter gives the left one).
    TextAttachmentType textAttachmentType(LeaderDirectionType leaderDirection) const;
    TextAttachmentType textAttachmentType() const { return textAttachmentType(kLeftLeader); }
    Acad::ErrorStatus setTextAttachmentType(TextAttachmentType type,
                                            LeaderDirectionType leaderDirection);
    Acad::ErrorStatus setTextAttachmentType(TextAttachmentType type);
    TextAttachmentDirection textAttachmentDirection() const {
        return static_cast<TextAttachmentDirection>(m_attachDirection);
    }
    Acad::ErrorStatus setTextAttachmentDirection(TextAttachmentDirection direction);
    TextAngleType textAngleType() const { return static_cast<TextAngleType>(m_textAngle); }
    Acad::ErrorStatus setTextAngleType(TextAngleType textAngleType);
    TextAlignmentType textAlignmentType() const {
        return static_cast<TextAlignmentType>(m_textAlignment);
    }
    Acad::ErrorStatus setTextAlignmentType(TextAlignmentType textAlignmentType);
    bool textAlignAlwaysLeft() const { return m_alwaysLeft; }
    Acad::ErrorStatus setTextAlignAlwaysLeft(bool alwaysLeft);
    AcCmColor textColor() const { return m_textColor; }
    Acad::ErrorStatus setTextColor(const AcCmColor& textColor);
    double textHeight() const { return m_textHeight; }
    Acad::ErrorStatus setTextHeight(double textHeight);
    bool enableFrameText() const { return m_frameText; }
    Acad::ErrorStatus setEnableFrameText(bool enableFrameText);
    double alignSpace() const { return m_alignSpace; }
    Acad::ErrorStatus setAlignSpace(double alignSpace);

    // Block content.
    AcDbObjectId blockId() const;
    Acad::ErrorStatus setBlockId(AcDbObjectId blockId);
    Acad::ErrorStatus setBlockId(const ACHAR* name);
    AcCmColor blockColor() const { return m_blockColor; }
    Acad::ErrorStatus setBlockColor(const AcCmColor& color);
    AcGeScale3d blockScale() const { return m_blockScale; }
    Acad::ErrorStatus setBlockScale(const AcGeScale3d& scale);
    bool enableBlockScale() const { return m_enableBlockScale; }
    Acad::ErrorStatus setEnableBlockScale(bool enable);
    double blockRotation() const { return m_blockRotation; }
    Acad::ErrorStatus setBlockRotation(double rotation);
    bool enableBlockRotation() const { return m_enableBlockRotation; }
    Acad::ErrorStatus setEnableBlockRotation(bool enable);
    BlockConnectionType blockConnectionType() const {
        return static_cast<BlockConnectionType>(m_blockConnection);
    }
    Acad::ErrorStatus setBlockConnectionType(BlockConnectionType type);

    double scale() const { return m_scale; }
    Acad::ErrorStatus setScale(double scale);
    bool annotative() const { return m_annotative; }
    Acad::ErrorStatus setAnnotative(bool isAnnotative);
    bool overwritePropChanged() const { return m_overwrite; }

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    std::wstring m_name, m_description, m_defaultText;
    khost::DbStub* m_leaderLinetype = nullptr;
    khost::DbStub* m_arrow = nullptr;
    khost::DbStub* m_textStyle = nullptr;
    khost::DbStub* m_block = nullptr;
    AcCmColor m_leaderColor, m_textColor, m_blockColor;
    AcGeScale3d m_blockScale{1.0, 1.0, 1.0};
    double m_landingGap = 2.0, m_doglegLength = 8.0, m_arrowSize = 2.5, m_breakSize = 3.75;
    double m_textHeight = 2.5, m_alignSpace = 4.0, m_blockRotation = 0.0, m_scale = 1.0;
    int m_maxPoints = 2;
    Adesk::Int16 m_contentType = kMTextContent, m_mleaderOrder = kDrawLeaderFirst;
    Adesk::Int16 m_leaderOrder = kDrawLeaderHeadFirst, m_firstAngle = kAny, m_secondAngle = kAny;
    Adesk::Int16 m_leaderType = kStraightLeader, m_leaderWeight = AcDb::kLnWtByBlock;
    Adesk::Int16 m_leftAttach = kAttachmentMiddleOfTop, m_rightAttach = kAttachmentMiddleOfTop;
    Adesk::Int16 m_topAttach = kAttachmentCenter, m_bottomAttach = kAttachmentCenter;
    Adesk::Int16 m_attachDirection = kAttachmentHorizontal, m_textAngle = kHorizontalAngle;
    Adesk::Int16 m_textAlignment = kLeftAlignment, m_blockConnection = kConnectExtents;
    bool m_enableLanding = true, m_enableDogleg = true, m_alwaysLeft = false, m_frameText = false;
    bool m_enableBlockScale = true, m_enableBlockRotation = true, m_annotative = false;
    bool m_overwrite = false, m_extendToText = false;
};
