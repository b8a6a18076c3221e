// Multileaders (MULTILEADER): leaders, each with a dogleg and leader lines, pointing at a
// content of multiline text (or a block).
//
// Indexes: leaders and leader lines are numbered by the multileader, each kind on its own, in
// the order they are added; removing one does not renumber the others. The vertices of a leader
// line run from its arrowhead (the first vertex) to the last vertex, where the line meets its
// leader's dogleg; the last vertex is shared by all lines of a leader (in the file it is the
// leader's "last leader point", the other vertices are the line's own).
//
// Values not overridden come from the multileader style (the database's current one at
// construction); setting a value marks it overridden, setMLeaderStyle takes the new style's
// values for everything not overridden.
#pragma once

#include "dbmain.h"
#include "dbmleaderstyle.h"
#include "gemat3d.h"
#include "gepnt3d.h"
#include "gevec3d.h"

#include <string>
#include <vector>

class AcDbMText;

class AcDbMLeader : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbMLeader);

    enum MoveType {
        kMoveAllPoints = 0,
        kMoveAllExceptArrowHeaderPoints = 1,
        kMoveContentAndDoglegPoints = 2,
    };
    enum PropertyOverrideType {
        kLeaderLineType = 0,
        kLeaderLineColor = 1,
        kLeaderLineTypeId = 2,
        kLeaderLineWeight = 3,
        kEnableLanding = 4,
        kLandingGap = 5,
        kEnableDogleg = 6,
        kDoglegLength = 7,
        kArrowSymbolId = 8,
        kArrowSize = 9,
        kContentType = 10,
        kTextStyleId = 11,
        kTextLeftAttachmentType = 12,
        kTextAngleType = 13,
        kTextAlignmentType = 14,
        kTextColor = 15,
        kTextHeight = 16,
        kEnableFrameText = 17,
        kDefaultMText = 18,
        kBlockId = 19,
        kBlockColor = 20,
        kBlockScale = 21,
        kBlockRotation = 22,
        kBlockConnectionType = 23,
        kScale = 24,
        kTextRightAttachmentType = 25,
        kTextSwitchAlignmentType = 26,
        kTextAttachmentDirection = 27,
        kTextTopAttachmentType = 28,
        kTextBottomAttachmentType = 29,
        kExtendLeaderToText = 30,
        kSize = 31,
    };

    AcDbMLeader();
    ~AcDbMLeader() override;

    // ---- Leaders and leader lines ----
    Acad::ErrorStatus addLeader(int& leaderIndex);
    Acad::ErrorStatus removeLeader(int leaderIndex);
    int numLeaders() const { return static_cast<int>(m_leaders.size()); }
    // The indexes into any array type with removeAll() and append(int) (AcArray<int>).
    template <class IntArray> Acad::ErrorStatus getLeaderIndexes(IntArray& leaderIndexes) const {
        leaderIndexes.removeAll();
        for (int i : leaderIndexList())
            leaderIndexes.append(i);
        return Acad::eOk;
    }
    // A new leader line of a leader (eInvalidIndex for no such leader), without vertices but
    // the leader's last point.
    Acad::ErrorStatus addLeaderLine(int leaderIndex, int& leaderLineIndex);
    // A new leader line starting at the point, in the leader on the point's side of the content
    // (a new leader when there is none): its vertices are the point and the leader's last
    // point.
    Acad::ErrorStatus addLeaderLine(const AcGePoint3d& point, int& leaderLineIndex);
    Acad::ErrorStatus removeLeaderLine(int leaderLineIndex);
    int numLeaderLines() const;
    template <class IntArray>
    Acad::ErrorStatus getLeaderLineIndexes(IntArray& leaderLineIndexes) const {
        return getLeaderLineIndexes(-1, leaderLineIndexes);
    }
    template <class IntArray>
    Acad::ErrorStatus getLeaderLineIndexes(int leaderIndex, IntArray& leaderLineIndexes) const {
        std::vector<int> v;
        Acad::ErrorStatus es = lineIndexList(leaderIndex, v);
        leaderLineIndexes.removeAll();
        for (int i : v)
            leaderLineIndexes.append(i);
        return es;
    }
    Acad::ErrorStatus getLeaderIndex(int leaderLineIndex, int& leaderIndex) const;

    // ---- Vertices ----
    Acad::ErrorStatus numVertices(int leaderLineIndex, int& num) const;
    Acad::ErrorStatus getVertex(int leaderLineIndex, int index, AcGePoint3d& point) const;
    Acad::ErrorStatus setVertex(int leaderLineIndex, int index, const AcGePoint3d& point);
    Acad::ErrorStatus getFirstVertex(int leaderLineIndex, AcGePoint3d& point) const;
    Acad::ErrorStatus setFirstVertex(int leaderLineIndex, const AcGePoint3d& point);
    Acad::ErrorStatus getLastVertex(int leaderLineIndex, AcGePoint3d& point) const;
    Acad::ErrorStatus setLastVertex(int leaderLineIndex, const AcGePoint3d& point);
    Acad::ErrorStatus addFirstVertex(int leaderLineIndex, const AcGePoint3d& point);
    // The point becomes the last vertex; the former last vertex stays as the one before it.
    Acad::ErrorStatus addLastVertex(int leaderLineIndex, const AcGePoint3d& point);
    Acad::ErrorStatus removeFirstVertex(int leaderLineIndex);
    Acad::ErrorStatus removeLastVertex(int leaderLineIndex);

    // ---- Doglegs and landing ----
    Acad::ErrorStatus setDoglegDirection(int leaderIndex, const AcGeVector3d& vector);
    Acad::ErrorStatus getDoglegDirection(int leaderIndex, AcGeVector3d& vector) const;
    // The length of all leaders' doglegs, or of one leader's.
    Acad::ErrorStatus setDoglegLength(double doglegLength);
    double doglegLength() const { return m_doglegLength; }
    Acad::ErrorStatus setDoglegLength(int leaderIndex, double doglegLength);
    Acad::ErrorStatus doglegLength(int leaderIndex, double& doglegLength) const;
    Acad::ErrorStatus setEnableDogleg(bool enableDogleg);
    bool enableDogleg() const { return m_enableDogleg; }
    Acad::ErrorStatus setEnableLanding(bool enableLanding);
    bool enableLanding() const { return m_enableLanding; }
    Acad::ErrorStatus setLandingGap(double landingGap);
    double landingGap() const { return m_landingGap; }

    // ---- Style and leader properties ----
    Acad::ErrorStatus setMLeaderStyle(AcDbObjectId newStyleId);
    AcDbObjectId MLeaderStyle() const;
    Acad::ErrorStatus setOverride(PropertyOverrideType propertyType, bool isOverride = true);
    bool isOverride(PropertyOverrideType propertyType) const;
    Acad::ErrorStatus setLeaderLineType(AcDbMLeaderStyle::LeaderType leaderLineType);
    AcDbMLeaderStyle::LeaderType leaderLineType() const {
        return static_cast<AcDbMLeaderStyle::LeaderType>(m_leaderType);
    }
    Acad::ErrorStatus setLeaderLineColor(const AcCmColor& color);
    AcCmColor leaderLineColor() const { return m_leaderColor; }
    Acad::ErrorStatus setLeaderLineTypeId(AcDbObjectId linetypeId);
    AcDbObjectId leaderLineTypeId() const;
    Acad::ErrorStatus setLeaderLineWeight(AcDb::LineWeight weight);
    AcDb::LineWeight leaderLineWeight() const {
        return static_cast<AcDb::LineWeight>(m_leaderWeight);
    }
    Acad::ErrorStatus setArrowSymbolId(AcDbObjectId arrowSymbolId);
    AcDbObjectId arrowSymbolId() const;
    Acad::ErrorStatus setArrowSize(double arrowSize);
    double arrowSize() const { return m_arrowSize; }
    Acad::ErrorStatus setScale(double scale);
    double scale() const { return m_scale; }
    Acad::ErrorStatus setEnableAnnotationScale(bool enable);
    bool enableAnnotationScale() const { return m_annotative; }

    // ---- Content ----
    Acad::ErrorStatus setContentType(AcDbMLeaderStyle::ContentType contentType);
    AcDbMLeaderStyle::ContentType contentType() const {
        return static_cast<AcDbMLeaderStyle::ContentType>(m_contentType);
    }
    Acad::ErrorStatus setTextStyleId(AcDbObjectId textStyleId);
    AcDbObjectId textStyleId() const;
    Acad::ErrorStatus setTextHeight(double textHeight);
    double textHeight() const { return m_textHeight; }
    Acad::ErrorStatus setTextColor(const AcCmColor& color);
    AcCmColor textColor() const { return m_textColor; }
    Acad::ErrorStatus setTextAttachmentType(AcDbMLeaderStyle::TextAttachmentType type,
                                            AcDbMLeaderStyle::LeaderDirectionType direction);
    Acad::ErrorStatus setTextAttachmentType(AcDbMLeaderStyle::TextAttachmentType type);
    AcDbMLeaderStyle::TextAttachmentType
    textAttachmentType(AcDbMLeaderStyle::LeaderDirectionType direction) const;
    AcDbMLeaderStyle::TextAttachmentType textAttachmentType() const {
        return textAttachmentType(AcDbMLeaderStyle::kLeftLeader);
    }
    Acad::ErrorStatus setTextAttachmentDirection(AcDbMLeaderStyle::TextAttachmentDirection dir);
    AcDbMLeaderStyle::TextAttachmentDirection textAttachmentDirection() const {
        return static_cast<AcDbMLeaderStyle::TextAttachmentDirection>(m_attachDirection);
    }
    Acad::ErrorStatus setTextAlignmentType(AcDbMLeaderStyle::TextAlignmentType type);
    AcDbMLeaderStyle::TextAlignmentType textAlignmentType() const {
        return static_cast<AcDbMLeaderStyle::TextAlignmentType>(m_textAlignment);
    }
    Acad::ErrorStatus setTextAngleType(AcDbMLeaderStyle::TextAngleType type);
    AcDbMLeaderStyle::TextAngleType textAngleType() const {
        return static_cast<AcDbMLeaderStyle::TextAngleType>(m_textAngle);
    }
    Acad::ErrorStatus setEnableFrameText(bool enable);
    bool enableFrameText() const { return m_frameText; }
    // Where the text is (its insertion point, the point of its attachment).
    Acad::ErrorStatus setTextLocation(const AcGePoint3d& location);
    Acad::ErrorStatus getTextLocation(AcGePoint3d& location) const;
    // The multiline text of the content: a new copy (not in a database, open for write) that
    // the caller deletes, with the content's text, location, direction, frame width,
    // attachment, line spacing, text style, colour and scaled text height.
    AcDbMText* mtext() const;
    // Takes the text's contents, location, direction, width, attachment, line spacing and
    // style (and its text height when set); the content becomes multiline text.
    Acad::ErrorStatus setMText(const AcDbMText* pMText);
    // The same data reached directly by the host: the contents (with the format codes of
    // multiline text), the frame width (0 for no wrapping), the attachment point of the text
    // (1 top left ... 9 bottom right) and the direction of its X axis.
    const ACHAR* textContents() const { return m_text.contents.c_str(); }
    Acad::ErrorStatus setTextContents(const ACHAR* contents);
    double textWidth() const { return m_text.width; }
    Acad::ErrorStatus setTextWidth(double width);
    int textAttachmentPoint() const { return m_text.attachment; }
    Acad::ErrorStatus setTextAttachmentPoint(int attachment);
    AcGeVector3d textDirection() const { return m_text.direction; }
    Acad::ErrorStatus setTextDirection(const AcGeVector3d& direction);
    // Block content.
    Acad::ErrorStatus setBlockContentId(AcDbObjectId blockId);
    AcDbObjectId blockContentId() const;
    Acad::ErrorStatus setBlockPosition(const AcGePoint3d& position);
    Acad::ErrorStatus getBlockPosition(AcGePoint3d& position) const;
    bool hasContent() const;

    // The plane of the multileader and its normal.
    AcGeVector3d normal() const;
    // Moves the content, the doglegs and (by the move type) the leader lines.
    Acad::ErrorStatus moveMLeader(const AcGeVector3d& vector, MoveType moveType,
                                  bool autoSwitchDogleg = true);
    // Points and directions follow the transformation; lengths and sizes scale with it.
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    // Groups of a file that the multileader does not model (breaks, overrides of single leader
    // lines, arrowheads of lines, block attributes, the text's background), kept in order and
    // written back in their place.
    class Groups {
    public:
        Groups() = default;
        Groups(const Groups& other);
        Groups& operator=(const Groups& other);
        ~Groups();
        void add(const resbuf& rb);
        bool empty() const { return m_head == nullptr; }
        void write(AcDbDxfFiler* f) const;

    private:
        resbuf* m_head = nullptr;
        resbuf* m_tail = nullptr;
    };
    struct Line {
        int index = 0;
        std::vector<AcGePoint3d> points; // without the leader's last point
        Adesk::Int32 color = static_cast<Adesk::Int32>(0xC1000000u);
        Groups beforeIndex, afterColor;
    };
    struct Leader {
        int index = 0;
        AcGePoint3d lastPoint;
        AcGeVector3d doglegDir{1.0, 0.0, 0.0};
        double doglegLength = 8.0;
        int attachmentDirection = 0;
        std::vector<Line> lines;
        Groups beforeIndex, afterLength;
    };
    struct Text {
        std::wstring contents;
        AcGePoint3d location;
        AcGeVector3d direction{1.0, 0.0, 0.0};
        double rotation = 0.0, width = 0.0, definedHeight = 0.0, lineSpacingFactor = 1.0;
        int attachment = 1, lineSpacingStyle = 1, flowDirection = 1;
        bool locationSet = false;
        Groups background; // the groups after the flow direction
    };
    struct Block {
        khost::DbStub* block = nullptr;
        AcGePoint3d position;
        AcGeScale3d scale{1.0, 1.0, 1.0};
        double rotation = 0.0;
        AcCmColor color;
    };

    std::vector<int> leaderIndexList() const;
    Acad::ErrorStatus lineIndexList(int leaderIndex, std::vector<int>& out) const;
    Leader* findLeader(int index);
    const Leader* findLeader(int index) const;
    Line* findLine(int index, Leader** owner = nullptr);
    const Line* findLine(int index, const Leader** owner = nullptr) const;
    Acad::ErrorStatus overridden(PropertyOverrideType type);
    void takeStyle(const AcDbMLeaderStyle* style);
    AcGePoint3d connectionPoint(const AcGeVector3d& dir) const;
    void writeContext(AcDbDxfFiler* f, AcDbObjectId textStyle) const;

    khost::DbStub* m_style = nullptr;
    khost::DbStub* m_linetype = nullptr;
    khost::DbStub* m_arrow = nullptr;
    khost::DbStub* m_textStyle = nullptr;
    std::vector<Leader> m_leaders;
    Text m_text;
    Block m_block;
    AcGePoint3d m_contentBase;
    AcGePoint3d m_planeOrigin;
    AcGeVector3d m_planeX{1.0, 0.0, 0.0}, m_planeY{0.0, 1.0, 0.0};
    Groups m_arrowsAndAttributes; // groups 94/345 and 330/177/44/302
    AcCmColor m_leaderColor, m_textColor;
    double m_doglegLength = 8.0, m_landingGap = 2.0, m_arrowSize = 2.5, m_textHeight = 2.5;
    double m_scale = 1.0;
    Adesk::UInt32 m_overrides = 0;
    int m_nextLeader = 0, m_nextLine = 0;
    Adesk::Int16 m_leaderType = AcDbMLeaderStyle::kStraightLeader;
    Adesk::Int16 m_leaderWeight = AcDb::kLnWtByBlock;
    Adesk::Int16 m_contentType = AcDbMLeaderStyle::kMTextContent;
    Adesk::Int16 m_leftAttach = AcDbMLeaderStyle::kAttachmentMiddleOfTop;
    Adesk::Int16 m_rightAttach = AcDbMLeaderStyle::kAttachmentMiddleOfTop;
    Adesk::Int16 m_topAttach = AcDbMLeaderStyle::kAttachmentCenter;
    Adesk::Int16 m_bottomAttach = AcDbMLeaderStyle::kAttachmentCenter;
    Adesk::Int16 m_attachDirection = 0, m_textAngle = AcDbMLeaderStyle::kHorizontalAngle;
    Adesk::Int16 m_textAlignment = AcDbMLeaderStyle::kLeftAlignment;
    bool m_enableLanding = true, m_enableDogleg = true, m_frameText = false, m_annotative = false;
};
