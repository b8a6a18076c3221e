// Multileaders.
#include "dbmleader.h"

#include "acutads.h"
#include "dbapserv.h"
#include "dbimpl.h"
#include "dbtext.h"

#include <algorithm>
#include <cmath>

using namespace khost;

ACRX_DEFINE_MEMBERS_DXF(AcDbMLeader, AcDbEntity, L"MULTILEADER")

namespace {
const bool registered =
    (registerDbClass(AcDbMLeader::desc(), []() -> AcDbObject* { return new AcDbMLeader; }), true);

AcDb::DxfCode code(int c) {
    return static_cast<AcDb::DxfCode>(c);
}
AcCmColor byBlock() {
    AcCmColor c;
    c.setColorIndex(0);
    return c;
}
const Adesk::Int32 kWindowBackground = static_cast<Adesk::Int32>(0xC8000000u);
} // namespace

AcDbMLeader::AcDbMLeader() : m_leaderColor(byBlock()), m_textColor(byBlock()) {
    (void)registered;
    m_block.color = byBlock();
    // A new multileader takes the current multileader style of the working database.
    if (AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase()) {
        m_style = db->mleaderstyle().stub();
        takeStyle(AcDbMLeaderStyle::cast(peekObject(db->mleaderstyle())));
    }
}
AcDbMLeader::~AcDbMLeader() = default;

// ---- Kept groups ------------------------------------------------------------------------------

AcDbMLeader::Groups::Groups(const Groups& other) {
    for (const resbuf* rb = other.m_head; rb; rb = rb->rbnext)
        add(*rb);
}
AcDbMLeader::Groups& AcDbMLeader::Groups::operator=(const Groups& other) {
    if (this != &other) {
        acutRelRb(m_head);
        m_head = m_tail = nullptr;
        for (const resbuf* rb = other.m_head; rb; rb = rb->rbnext)
            add(*rb);
    }
    return *this;
}
AcDbMLeader::Groups::~Groups() {
    acutRelRb(m_head);
}
void AcDbMLeader::Groups::add(const resbuf& rb) {
    resbuf* c = rbCopy(&rb);
    c->rbnext = nullptr;
    (m_tail ? m_tail->rbnext : m_head) = c;
    m_tail = c;
}
void AcDbMLeader::Groups::write(AcDbDxfFiler* f) const {
    for (const resbuf* rb = m_head; rb; rb = rb->rbnext)
        f->writeResBuf(*rb);
}

// ---- Style and overrides ------------------------------------------------------------------------

void AcDbMLeader::takeStyle(const AcDbMLeaderStyle* s) {
    if (!s)
        return;
    auto take = [&](PropertyOverrideType t) { return !(m_overrides & (1u << t)); };
    if (take(kLeaderLineType))
        m_leaderType = static_cast<Adesk::Int16>(s->leaderLineType());
    if (take(kLeaderLineColor))
        m_leaderColor = s->leaderLineColor();
    if (take(kLeaderLineTypeId))
        m_linetype = s->leaderLineTypeId().stub();
    if (take(kLeaderLineWeight))
        m_leaderWeight = static_cast<Adesk::Int16>(s->leaderLineWeight());
    if (take(kEnableLanding))
        m_enableLanding = s->enableLanding();
    if (take(kLandingGap))
        m_landingGap = s->landingGap();
    if (take(kEnableDogleg))
        m_enableDogleg = s->enableDogleg();
    if (take(kDoglegLength)) {
        m_doglegLength = s->doglegLength();
        for (Leader& l : m_leaders)
            l.doglegLength = m_doglegLength;
    }
    if (take(kArrowSymbolId))
        m_arrow = s->arrowSymbolId().stub();
    if (take(kArrowSize))
        m_arrowSize = s->arrowSize();
    if (take(kContentType))
        m_contentType = static_cast<Adesk::Int16>(s->contentType());
    if (take(kTextStyleId))
        m_textStyle = s->textStyleId().stub();
    if (take(kTextLeftAttachmentType))
        m_leftAttach =
            static_cast<Adesk::Int16>(s->textAttachmentType(AcDbMLeaderStyle::kLeftLeader));
    if (take(kTextRightAttachmentType))
        m_rightAttach =
            static_cast<Adesk::Int16>(s->textAttachmentType(AcDbMLeaderStyle::kRightLeader));
    if (take(kTextTopAttachmentType))
        m_topAttach =
            static_cast<Adesk::Int16>(s->textAttachmentType(AcDbMLeaderStyle::kTopLeader));
    if (take(kTextBottomAttachmentType))
        m_bottomAttach =
            static_cast<Adesk::Int16>(s->textAttachmentType(AcDbMLeaderStyle::kBottomLeader));
    if (take(kTextAttachmentDirection))
        m_attachDirection = static_cast<Adesk::Int16>(s->textAttachmentDirection());
    if (take(kTextAngleType))
        m_textAngle = static_cast<Adesk::Int16>(s->textAngleType());
    if (take(kTextAlignmentType))
        m_textAlignment = static_cast<Adesk::Int16>(s->textAlignmentType());
    if (take(kTextColor))
        m_textColor = s->textColor();
    if (take(kTextHeight))
        m_textHeight = s->textHeight();
    if (take(kEnableFrameText))
        m_frameText = s->enableFrameText();
    if (take(kBlockId))
        m_block.block = s->blockId().stub();
    if (take(kBlockColor))
        m_block.color = s->blockColor();
    if (take(kBlockScale))
        m_block.scale = s->blockScale();
    if (take(kBlockRotation))
        m_block.rotation = s->blockRotation();
    if (take(kScale))
        m_scale = s->scale() > 0.0 ? s->scale() : 1.0;
    m_annotative = s->annotative();
}

Acad::ErrorStatus AcDbMLeader::setMLeaderStyle(AcDbObjectId id) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    auto* style = AcDbMLeaderStyle::cast(peekObject(id));
    if (!style)
        return Acad::eInvalidInput;
    m_style = id.stub();
    takeStyle(style);
    return Acad::eOk;
}
AcDbObjectId AcDbMLeader::MLeaderStyle() const {
    return AcDbObjectId(m_style);
}
Acad::ErrorStatus AcDbMLeader::setOverride(PropertyOverrideType t, bool on) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (t < 0 || t >= kSize)
        return Acad::eInvalidInput;
    m_overrides = on ? (m_overrides | (1u << t)) : (m_overrides & ~(1u << t));
    return Acad::eOk;
}
bool AcDbMLeader::isOverride(PropertyOverrideType t) const {
    return t >= 0 && t < kSize && (m_overrides & (1u << t));
}
Acad::ErrorStatus AcDbMLeader::overridden(PropertyOverrideType t) {
    m_overrides |= 1u << t;
    return Acad::eOk;
}

#define KHOST_ML_SET(NAME, TYPE, OVERRIDE, COND, STMT)                                             \
    Acad::ErrorStatus AcDbMLeader::NAME(TYPE v) {                                                  \
        if (!isWriteEnabled())                                                                     \
            return Acad::eNotOpenForWrite;                                                         \
        if (!(COND))                                                                               \
            return Acad::eInvalidInput;                                                            \
        STMT;                                                                                      \
        return overridden(OVERRIDE);                                                               \
    }
KHOST_ML_SET(setLeaderLineType, AcDbMLeaderStyle::LeaderType, kLeaderLineType, v >= 0 && v <= 2,
             m_leaderType = static_cast<Adesk::Int16>(v))
KHOST_ML_SET(setLeaderLineColor, const AcCmColor&, kLeaderLineColor, true, m_leaderColor = v)
KHOST_ML_SET(setLeaderLineTypeId, AcDbObjectId, kLeaderLineTypeId, true, m_linetype = v.stub())
KHOST_ML_SET(setLeaderLineWeight, AcDb::LineWeight, kLeaderLineWeight, v >= -3 && v <= 211,
             m_leaderWeight = static_cast<Adesk::Int16>(v))
KHOST_ML_SET(setArrowSymbolId, AcDbObjectId, kArrowSymbolId, true, m_arrow = v.stub())
KHOST_ML_SET(setArrowSize, double, kArrowSize, v >= 0.0, m_arrowSize = v)
KHOST_ML_SET(setScale, double, kScale, v > 0.0, m_scale = v)
KHOST_ML_SET(setEnableDogleg, bool, kEnableDogleg, true, m_enableDogleg = v)
KHOST_ML_SET(setEnableLanding, bool, kEnableLanding, true, m_enableLanding = v)
KHOST_ML_SET(setLandingGap, double, kLandingGap, v >= 0.0, m_landingGap = v)
KHOST_ML_SET(setContentType, AcDbMLeaderStyle::ContentType, kContentType, v >= 0 && v <= 3,
             m_contentType = static_cast<Adesk::Int16>(v))
KHOST_ML_SET(setTextStyleId, AcDbObjectId, kTextStyleId, true, m_textStyle = v.stub())
KHOST_ML_SET(setTextHeight, double, kTextHeight, v > 0.0, m_textHeight = v)
KHOST_ML_SET(setTextColor, const AcCmColor&, kTextColor, true, m_textColor = v)
KHOST_ML_SET(setTextAttachmentDirection, AcDbMLeaderStyle::TextAttachmentDirection,
             kTextAttachmentDirection, v == 0 || v == 1,
             m_attachDirection = static_cast<Adesk::Int16>(v))
KHOST_ML_SET(setTextAlignmentType, AcDbMLeaderStyle::TextAlignmentType, kTextAlignmentType,
             v >= 0 && v <= 2, m_textAlignment = static_cast<Adesk::Int16>(v))
KHOST_ML_SET(setTextAngleType, AcDbMLeaderStyle::TextAngleType, kTextAngleType, v >= 0 && v <= 2,
             m_textAngle = static_cast<Adesk::Int16>(v))
KHOST_ML_SET(setEnableFrameText, bool, kEnableFrameText, true, m_frameText = v)
KHOST_ML_SET(setBlockContentId, AcDbObjectId, kBlockId, true, m_block.block = v.stub())
#undef KHOST_ML_SET

Acad::ErrorStatus AcDbMLeader::setEnableAnnotationScale(bool enable) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_annotative = enable;
    return Acad::eOk;
}
AcDbObjectId AcDbMLeader::leaderLineTypeId() const {
    return AcDbObjectId(m_linetype);
}
AcDbObjectId AcDbMLeader::arrowSymbolId() const {
    return AcDbObjectId(m_arrow);
}
AcDbObjectId AcDbMLeader::textStyleId() const {
    return AcDbObjectId(m_textStyle);
}
AcDbObjectId AcDbMLeader::blockContentId() const {
    return AcDbObjectId(m_block.block);
}
Acad::ErrorStatus AcDbMLeader::setBlockPosition(const AcGePoint3d& p) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_block.position = p;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMLeader::getBlockPosition(AcGePoint3d& p) const {
    p = m_block.position;
    return Acad::eOk;
}
bool AcDbMLeader::hasContent() const {
    if (m_contentType == AcDbMLeaderStyle::kMTextContent)
        return !m_text.contents.empty();
    if (m_contentType == AcDbMLeaderStyle::kBlockContent)
        return m_block.block != nullptr;
    return false;
}

Acad::ErrorStatus AcDbMLeader::setTextAttachmentType(AcDbMLeaderStyle::TextAttachmentType type,
                                                     AcDbMLeaderStyle::LeaderDirectionType dir) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    const bool vertical =
        dir == AcDbMLeaderStyle::kTopLeader || dir == AcDbMLeaderStyle::kBottomLeader;
    const bool valid = vertical ? (type == 9 || type == 10) : (type >= 0 && type <= 8);
    if (dir == AcDbMLeaderStyle::kUnknownLeader || dir > AcDbMLeaderStyle::kBottomLeader || !valid)
        return Acad::eInvalidInput;
    const auto v = static_cast<Adesk::Int16>(type);
    switch (dir) {
    case AcDbMLeaderStyle::kLeftLeader:
        m_leftAttach = v;
        return overridden(kTextLeftAttachmentType);
    case AcDbMLeaderStyle::kRightLeader:
        m_rightAttach = v;
        return overridden(kTextRightAttachmentType);
    case AcDbMLeaderStyle::kTopLeader:
        m_topAttach = v;
        return overridden(kTextTopAttachmentType);
    default:
        m_bottomAttach = v;
        return overridden(kTextBottomAttachmentType);
    }
}
Acad::ErrorStatus AcDbMLeader::setTextAttachmentType(AcDbMLeaderStyle::TextAttachmentType type) {
    Acad::ErrorStatus es = setTextAttachmentType(type, AcDbMLeaderStyle::kLeftLeader);
    return es == Acad::eOk ? setTextAttachmentType(type, AcDbMLeaderStyle::kRightLeader) : es;
}
AcDbMLeaderStyle::TextAttachmentType
AcDbMLeader::textAttachmentType(AcDbMLeaderStyle::LeaderDirectionType dir) const {
    switch (dir) {
    case AcDbMLeaderStyle::kRightLeader:
        return static_cast<AcDbMLeaderStyle::TextAttachmentType>(m_rightAttach);
    case AcDbMLeaderStyle::kTopLeader:
        return static_cast<AcDbMLeaderStyle::TextAttachmentType>(m_topAttach);
    case AcDbMLeaderStyle::kBottomLeader:
        return static_cast<AcDbMLeaderStyle::TextAttachmentType>(m_bottomAttach);
    default:
        return static_cast<AcDbMLeaderStyle::TextAttachmentType>(m_leftAttach);
    }
}

Acad::ErrorStatus AcDbMLeader::setTextLocation(const AcGePoint3d& location) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_text.location = location;
    m_text.locationSet = true;
    m_contentBase = location;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMLeader::getTextLocation(AcGePoint3d& location) const {
    location = m_text.location;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMLeader::setTextContents(const ACHAR* contents) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_text.contents = contents ? contents : L"";
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMLeader::setTextWidth(double width) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (width < 0.0)
        return Acad::eInvalidInput;
    m_text.width = width;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMLeader::setTextAttachmentPoint(int attachment) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (attachment < 1 || attachment > 9)
        return Acad::eInvalidInput;
    m_text.attachment = attachment;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMLeader::setTextDirection(const AcGeVector3d& direction) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (direction.length() < 1e-12)
        return Acad::eInvalidInput;
    m_text.direction = direction;
    m_text.direction.normalize();
    return Acad::eOk;
}
AcDbMText* AcDbMLeader::mtext() const {
    auto* mt = new AcDbMText;
    khost::MTextData d = mt->khostData();
    d.contents = m_text.contents;
    d.location = m_text.location;
    d.normal = normal();
    d.direction = m_text.direction;
    d.width = m_text.width;
    d.height = m_text.definedHeight;
    d.textHeight = m_textHeight * m_scale;
    d.attachment = m_text.attachment;
    d.flowDirection = m_text.flowDirection;
    d.lineSpacingStyle = m_text.lineSpacingStyle;
    d.lineSpacingFactor = m_text.lineSpacingFactor;
    AcDbObjectId style(m_textStyle);
    if (style.isNull())
        if (AcDbDatabase* db = lookupDatabase(this))
            style = db->textstyle();
    d.style = style;
    mt->khostSetData(d);
    mt->setColor(m_textColor);
    return mt;
}

Acad::ErrorStatus AcDbMLeader::setMText(const AcDbMText* mt) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!mt)
        return Acad::eNullObjectPointer;
    const khost::MTextData& d = mt->khostData();
    m_text.contents = d.contents;
    m_text.location = d.location;
    m_text.locationSet = true;
    m_contentBase = d.location;
    if (d.direction.length() > 1e-12)
        m_text.direction = d.direction.normal();
    m_text.width = d.width;
    m_text.definedHeight = d.height;
    m_text.attachment = d.attachment;
    m_text.flowDirection = d.flowDirection;
    m_text.lineSpacingStyle = d.lineSpacingStyle;
    m_text.lineSpacingFactor = d.lineSpacingFactor;
    if (!d.style.isNull() && d.style.stub() != m_textStyle) {
        m_textStyle = d.style.stub();
        overridden(kTextStyleId);
    }
    if (d.textHeight > 0.0 && std::abs(d.textHeight - m_textHeight * m_scale) > 1e-12) {
        m_textHeight = d.textHeight / m_scale;
        overridden(kTextHeight);
    }
    m_contentType = AcDbMLeaderStyle::kMTextContent;
    return Acad::eOk;
}

AcGeVector3d AcDbMLeader::normal() const {
    AcGeVector3d n = m_planeX.crossProduct(m_planeY);
    return n.length() > 1e-12 ? n.normalize() : AcGeVector3d(0.0, 0.0, 1.0);
}

// ---- Leaders and lines --------------------------------------------------------------------------

AcDbMLeader::Leader* AcDbMLeader::findLeader(int index) {
    for (Leader& l : m_leaders)
        if (l.index == index)
            return &l;
    return nullptr;
}
const AcDbMLeader::Leader* AcDbMLeader::findLeader(int index) const {
    return const_cast<AcDbMLeader*>(this)->findLeader(index);
}
AcDbMLeader::Line* AcDbMLeader::findLine(int index, Leader** owner) {
    for (Leader& l : m_leaders)
        for (Line& line : l.lines)
            if (line.index == index) {
                if (owner)
                    *owner = &l;
                return &line;
            }
    return nullptr;
}
const AcDbMLeader::Line* AcDbMLeader::findLine(int index, const Leader** owner) const {
    Leader* o = nullptr;
    const Line* line = const_cast<AcDbMLeader*>(this)->findLine(index, &o);
    if (owner)
        *owner = o;
    return line;
}
std::vector<int> AcDbMLeader::leaderIndexList() const {
    std::vector<int> v;
    for (const Leader& l : m_leaders)
        v.push_back(l.index);
    return v;
}
Acad::ErrorStatus AcDbMLeader::lineIndexList(int leaderIndex, std::vector<int>& out) const {
    out.clear();
    if (leaderIndex >= 0 && !findLeader(leaderIndex))
        return Acad::eInvalidIndex;
    for (const Leader& l : m_leaders)
        if (leaderIndex < 0 || l.index == leaderIndex)
            for (const Line& line : l.lines)
                out.push_back(line.index);
    return Acad::eOk;
}
int AcDbMLeader::numLeaderLines() const {
    int n = 0;
    for (const Leader& l : m_leaders)
        n += static_cast<int>(l.lines.size());
    return n;
}
Acad::ErrorStatus AcDbMLeader::getLeaderIndex(int lineIndex, int& leaderIndex) const {
    const Leader* owner = nullptr;
    if (!findLine(lineIndex, &owner))
        return Acad::eInvalidIndex;
    leaderIndex = owner->index;
    return Acad::eOk;
}

// Where a leader whose dogleg runs along dir meets the content: the dogleg ends a landing gap
// before the text.
AcGePoint3d AcDbMLeader::connectionPoint(const AcGeVector3d& dir) const {
    return m_text.location - dir * ((m_landingGap + m_doglegLength) * m_scale);
}

Acad::ErrorStatus AcDbMLeader::addLeader(int& leaderIndex) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    Leader l;
    l.index = m_nextLeader++;
    l.doglegLength = m_doglegLength;
    l.lastPoint = m_text.locationSet ? connectionPoint(l.doglegDir) : m_text.location;
    m_leaders.push_back(l);
    leaderIndex = l.index;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMLeader::removeLeader(int leaderIndex) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    auto it = std::find_if(m_leaders.begin(), m_leaders.end(),
                           [&](const Leader& l) { return l.index == leaderIndex; });
    if (it == m_leaders.end())
        return Acad::eInvalidIndex;
    m_leaders.erase(it);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMLeader::addLeaderLine(int leaderIndex, int& lineIndex) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    Leader* l = findLeader(leaderIndex);
    if (!l)
        return Acad::eInvalidIndex;
    Line line;
    line.index = m_nextLine++;
    l->lines.push_back(line);
    lineIndex = line.index;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMLeader::addLeaderLine(const AcGePoint3d& point, int& lineIndex) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    // The leader on the point's side of the content: its dogleg runs towards the content.
    const AcGeVector3d dir(m_text.locationSet && point.x > m_text.location.x ? -1.0 : 1.0, 0.0,
                           0.0);
    Leader* leader = nullptr;
    for (Leader& l : m_leaders)
        if (l.doglegDir.dotProduct(dir) > 0.5)
            leader = &l;
    if (!leader) {
        int li = 0;
        addLeader(li);
        leader = findLeader(li);
        leader->doglegDir = dir;
        leader->lastPoint = m_text.locationSet ? connectionPoint(dir) : point;
    }
    Line line;
    line.index = m_nextLine++;
    line.points.push_back(point);
    leader->lines.push_back(line);
    lineIndex = line.index;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMLeader::removeLeaderLine(int lineIndex) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    for (Leader& l : m_leaders)
        for (auto it = l.lines.begin(); it != l.lines.end(); ++it)
            if (it->index == lineIndex) {
                l.lines.erase(it);
                return Acad::eOk;
            }
    return Acad::eInvalidIndex;
}

// ---- Vertices -----------------------------------------------------------------------------------

Acad::ErrorStatus AcDbMLeader::numVertices(int lineIndex, int& num) const {
    const Line* line = findLine(lineIndex);
    if (!line)
        return Acad::eInvalidIndex;
    num = static_cast<int>(line->points.size()) + 1;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMLeader::getVertex(int lineIndex, int index, AcGePoint3d& p) const {
    const Leader* owner = nullptr;
    const Line* line = findLine(lineIndex, &owner);
    if (!line)
        return Acad::eInvalidIndex;
    const int n = static_cast<int>(line->points.size());
    if (index < 0 || index > n)
        return Acad::eInvalidIndex;
    p = index == n ? owner->lastPoint : line->points[static_cast<size_t>(index)];
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMLeader::setVertex(int lineIndex, int index, const AcGePoint3d& p) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    Leader* owner = nullptr;
    Line* line = findLine(lineIndex, &owner);
    if (!line)
        return Acad::eInvalidIndex;
    const int n = static_cast<int>(line->points.size());
    if (index < 0 || index > n)
        return Acad::eInvalidIndex;
    (index == n ? owner->lastPoint : line->points[static_cast<size_t>(index)]) = p;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMLeader::getFirstVertex(int lineIndex, AcGePoint3d& p) const {
    return getVertex(lineIndex, 0, p);
}
Acad::ErrorStatus AcDbMLeader::setFirstVertex(int lineIndex, const AcGePoint3d& p) {
    return setVertex(lineIndex, 0, p);
}
Acad::ErrorStatus AcDbMLeader::getLastVertex(int lineIndex, AcGePoint3d& p) const {
    int n = 0;
    Acad::ErrorStatus es = numVertices(lineIndex, n);
    return es == Acad::eOk ? getVertex(lineIndex, n - 1, p) : es;
}
Acad::ErrorStatus AcDbMLeader::setLastVertex(int lineIndex, const AcGePoint3d& p) {
    int n = 0;
    Acad::ErrorStatus es = numVertices(lineIndex, n);
    return es == Acad::eOk ? setVertex(lineIndex, n - 1, p) : es;
}
Acad::ErrorStatus AcDbMLeader::addFirstVertex(int lineIndex, const AcGePoint3d& p) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    Line* line = findLine(lineIndex);
    if (!line)
        return Acad::eInvalidIndex;
    line->points.insert(line->points.begin(), p);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMLeader::addLastVertex(int lineIndex, const AcGePoint3d& p) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    Leader* owner = nullptr;
    Line* line = findLine(lineIndex, &owner);
    if (!line)
        return Acad::eInvalidIndex;
    line->points.push_back(owner->lastPoint);
    owner->lastPoint = p;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMLeader::removeFirstVertex(int lineIndex) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    Line* line = findLine(lineIndex);
    if (!line)
        return Acad::eInvalidIndex;
    if (line->points.empty())
        return Acad::eInvalidInput; // the last vertex stays
    line->points.erase(line->points.begin());
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMLeader::removeLastVertex(int lineIndex) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    Leader* owner = nullptr;
    Line* line = findLine(lineIndex, &owner);
    if (!line)
        return Acad::eInvalidIndex;
    if (line->points.empty())
        return Acad::eInvalidInput;
    owner->lastPoint = line->points.back();
    line->points.pop_back();
    return Acad::eOk;
}

// ---- Doglegs ------------------------------------------------------------------------------------

Acad::ErrorStatus AcDbMLeader::setDoglegDirection(int leaderIndex, const AcGeVector3d& v) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    Leader* l = findLeader(leaderIndex);
    if (!l)
        return Acad::eInvalidIndex;
    if (v.length() < 1e-12)
        return Acad::eInvalidInput;
    l->doglegDir = v;
    l->doglegDir.normalize();
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMLeader::getDoglegDirection(int leaderIndex, AcGeVector3d& v) const {
    const Leader* l = findLeader(leaderIndex);
    if (!l)
        return Acad::eInvalidIndex;
    v = l->doglegDir;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMLeader::setDoglegLength(double length) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (length < 0.0)
        return Acad::eInvalidInput;
    m_doglegLength = length;
    for (Leader& l : m_leaders)
        l.doglegLength = length;
    return overridden(kDoglegLength);
}
Acad::ErrorStatus AcDbMLeader::setDoglegLength(int leaderIndex, double length) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    Leader* l = findLeader(leaderIndex);
    if (!l)
        return Acad::eInvalidIndex;
    if (length < 0.0)
        return Acad::eInvalidInput;
    l->doglegLength = length;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMLeader::doglegLength(int leaderIndex, double& length) const {
    const Leader* l = findLeader(leaderIndex);
    if (!l)
        return Acad::eInvalidIndex;
    length = l->doglegLength;
    return Acad::eOk;
}

// ---- Moving -------------------------------------------------------------------------------------

Acad::ErrorStatus AcDbMLeader::moveMLeader(const AcGeVector3d& v, MoveType type, bool) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_text.location += v;
    m_contentBase += v;
    m_block.position += v;
    for (Leader& l : m_leaders) {
        l.lastPoint += v;
        if (type == kMoveContentAndDoglegPoints)
            continue;
        for (Line& line : l.lines)
            for (size_t i = 0; i < line.points.size(); ++i)
                if (i > 0 || type == kMoveAllPoints)
                    line.points[i] += v;
    }
    if (type == kMoveAllPoints)
        m_planeOrigin += v;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbMLeader::transformBy(const AcGeMatrix3d& xform) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    AcGeVector3d unit(1.0, 0.0, 0.0);
    unit.transformBy(xform);
    const double s = unit.length();
    if (s < 1e-12)
        return Acad::eCannotScaleNonUniformly;
    auto dir = [&](AcGeVector3d& d) {
        d.transformBy(xform);
        if (d.length() > 1e-12)
            d.normalize();
    };
    m_text.location.transformBy(xform);
    m_contentBase.transformBy(xform);
    m_block.position.transformBy(xform);
    m_planeOrigin.transformBy(xform);
    dir(m_text.direction);
    dir(m_planeX);
    dir(m_planeY);
    for (Leader& l : m_leaders) {
        l.lastPoint.transformBy(xform);
        dir(l.doglegDir);
        for (Line& line : l.lines)
            for (AcGePoint3d& p : line.points)
                p.transformBy(xform);
    }
    // Sizes follow the scale of the multileader.
    m_scale *= s;
    m_text.width *= s;
    m_text.definedHeight *= s;
    return Acad::eOk;
}

// ---- Filing -------------------------------------------------------------------------------------

void AcDbMLeader::writeContext(AcDbDxfFiler* f, AcDbObjectId textStyle) const {
    const bool mtext = m_contentType == AcDbMLeaderStyle::kMTextContent;
    const bool block = m_contentType == AcDbMLeaderStyle::kBlockContent && m_block.block;
    f->writeString(code(300), L"CONTEXT_DATA{");
    f->writeDouble(code(40), m_scale);
    f->writePoint3d(code(10), m_contentBase);
    f->writeDouble(code(41), m_textHeight * m_scale);
    f->writeDouble(code(140), m_arrowSize * m_scale);
    f->writeDouble(code(145), m_landingGap * m_scale);
    f->writeInt16(code(174), m_leftAttach);
    f->writeInt16(code(175), m_rightAttach);
    f->writeInt16(code(176), m_textAlignment);
    f->writeInt16(code(177), 0);
    f->writeBool(code(290), mtext);
    if (mtext) {
        f->writeString(code(304), m_text.contents.c_str());
        f->writeVector3d(code(11), normal());
        f->writeObjectId(code(340), textStyle);
        f->writePoint3d(code(12), m_text.location);
        f->writeVector3d(code(13), m_text.direction);
        f->writeDouble(code(42), m_text.rotation);
        f->writeDouble(code(43), m_text.width);
        f->writeDouble(code(44), m_text.definedHeight);
        f->writeDouble(code(45), m_text.lineSpacingFactor);
        f->writeInt16(code(170), static_cast<Adesk::Int16>(m_text.lineSpacingStyle));
        f->writeInt32(code(90), colorToRaw(m_textColor));
        f->writeInt16(code(171), static_cast<Adesk::Int16>(m_text.attachment));
        f->writeInt16(code(172), static_cast<Adesk::Int16>(m_text.flowDirection));
        if (!m_text.background.empty()) {
            m_text.background.write(f);
        } else {
            f->writeInt32(code(91), kWindowBackground);
            f->writeDouble(code(141), 1.5);
            f->writeInt32(code(92), 0);
            f->writeBool(code(291), false);
            f->writeBool(code(292), false);
            f->writeInt16(code(173), 0);
            f->writeBool(code(293), false);
            f->writeDouble(code(142), 0.0);
            f->writeDouble(code(143), 0.0);
            f->writeBool(code(294), false);
            f->writeBool(code(295), true);
        }
    }
    f->writeBool(code(296), block);
    if (block) {
        f->writeObjectId(code(341), AcDbObjectId(m_block.block));
        f->writeVector3d(code(14), normal());
        f->writePoint3d(code(15), m_block.position);
        const double sc[3] = {m_block.scale.sx, m_block.scale.sy, m_block.scale.sz};
        f->writePoint3d(code(16), sc);
        f->writeDouble(code(46), m_block.rotation);
        f->writeInt32(code(93), colorToRaw(m_block.color));
        for (int i = 0; i < 16; ++i)
            f->writeDouble(code(47), (i % 5 == 0) ? 1.0 : 0.0);
    }
    f->writePoint3d(code(110), m_planeOrigin);
    f->writeVector3d(code(111), m_planeX);
    f->writeVector3d(code(112), m_planeY);
    f->writeBool(code(297), false);
    for (const Leader& l : m_leaders) {
        f->writeString(code(302), L"LEADER{");
        f->writeBool(code(290), true);
        f->writeBool(code(291), m_enableDogleg);
        f->writePoint3d(code(10), l.lastPoint);
        f->writeVector3d(code(11), l.doglegDir);
        l.beforeIndex.write(f);
        f->writeInt32(code(90), l.index);
        f->writeDouble(code(40), l.doglegLength * m_scale);
        l.afterLength.write(f);
        for (const Line& line : l.lines) {
            f->writeString(code(304), L"LEADER_LINE{");
            for (const AcGePoint3d& p : line.points)
                f->writePoint3d(code(10), p);
            line.beforeIndex.write(f);
            f->writeInt32(code(91), line.index);
            f->writeInt32(code(92), line.color);
            line.afterColor.write(f);
            f->writeString(code(305), L"}");
        }
        f->writeInt16(code(271), static_cast<Adesk::Int16>(l.attachmentDirection));
        f->writeString(code(303), L"}");
    }
    f->writeInt16(code(272), m_bottomAttach);
    f->writeInt16(code(273), m_topAttach);
    f->writeString(code(301), L"}");
}

Acad::ErrorStatus AcDbMLeader::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbEntity::dxfOutFields(f);
    AcDbDatabase* db = f->database() ? f->database() : database();
    AcDbObjectId style(m_style), linetype(m_linetype), textStyle(m_textStyle);
    if (style.isNull() && db)
        style = db->mleaderstyle();
    if (linetype.isNull() && db)
        linetype = db->byBlockLinetype();
    if (textStyle.isNull() && db)
        textStyle = db->textstyle();
    f->writeString(AcDb::kDxfSubclass, L"AcDbMLeader");
    f->writeInt16(code(270), 2);
    writeContext(f, textStyle);
    f->writeObjectId(code(340), style);
    f->writeInt32(code(90), static_cast<Adesk::Int32>(m_overrides));
    f->writeInt16(code(170), m_leaderType);
    f->writeInt32(code(91), colorToRaw(m_leaderColor));
    f->writeObjectId(code(341), linetype);
    f->writeInt16(code(171), m_leaderWeight);
    f->writeBool(code(290), m_enableLanding);
    f->writeBool(code(291), m_enableDogleg);
    f->writeDouble(code(41), m_doglegLength);
    if (m_arrow)
        f->writeObjectId(code(342), AcDbObjectId(m_arrow));
    f->writeDouble(code(42), m_arrowSize);
    f->writeInt16(code(172), m_contentType);
    f->writeObjectId(code(343), textStyle);
    f->writeInt16(code(173), m_leftAttach);
    f->writeInt16(code(95), m_rightAttach);
    f->writeInt16(code(174), m_textAngle);
    f->writeInt16(code(175), m_textAlignment);
    f->writeInt32(code(92), colorToRaw(m_textColor));
    f->writeBool(code(292), m_frameText);
    if (m_block.block)
        f->writeObjectId(code(344), AcDbObjectId(m_block.block));
    f->writeInt32(code(93), colorToRaw(m_block.color));
    const double sc[3] = {m_block.scale.sx, m_block.scale.sy, m_block.scale.sz};
    f->writePoint3d(code(10), sc);
    f->writeDouble(code(43), m_block.rotation);
    f->writeInt16(code(176), 0);
    f->writeBool(code(293), m_annotative);
    m_arrowsAndAttributes.write(f);
    f->writeBool(code(294), false);
    f->writeInt16(code(178), 0);
    f->writeInt16(code(179), static_cast<Adesk::Int16>(m_textAlignment + 1));
    f->writeDouble(code(45), m_scale);
    f->writeInt16(code(271), m_attachDirection);
    f->writeInt16(code(272), m_bottomAttach);
    f->writeInt16(code(273), m_topAttach);
    f->writeBool(code(295), false);
    return f->filerStatus();
}

Acad::ErrorStatus AcDbMLeader::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbEntity::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    if (!f->atSubclassData(L"AcDbMLeader"))
        return Acad::eBadDxfSequence;
    m_leaders.clear();
    m_arrow = nullptr;
    m_block = Block{};
    m_block.color = byBlock();
    m_text = Text{};
    m_arrowsAndAttributes = Groups{};
    m_nextLeader = m_nextLine = 0;
    bool lineIndexRead = false, leaderIndexRead = false;
    enum class Part { Common, Context, MText, BlockContent, Leader, Line };
    Part part = Part::Common;
    double scaledTextHeight = -1.0, scaledArrow = -1.0, scaledGap = -1.0;
    double contextScale = 1.0;
    std::vector<double> doglegs; // scaled lengths of the leaders, in order
    auto text = [](const resbuf& rb) {
        return std::wstring(rb.resval.rstring ? rb.resval.rstring : L"");
    };
    es = readSubclass(f, [&](const resbuf& rb) {
        const int t = rb.restype;
        const short i = rb.resval.rint;
        const double r = rb.resval.rreal;
        switch (part) {
        case Part::Line: {
            Line& line = m_leaders.back().lines.back();
            if (t == 305)
                part = Part::Leader;
            else if (t == 10)
                line.points.push_back(rbPoint(rb));
            else if (t == 91) {
                line.index = rb.resval.rlong;
                lineIndexRead = true;
            } else if (t == 92 && lineIndexRead)
                line.color = rb.resval.rlong;
            else
                (lineIndexRead ? line.afterColor : line.beforeIndex).add(rb);
            return;
        }
        case Part::Leader: {
            Leader& l = m_leaders.back();
            if (t == 303)
                part = Part::Context;
            else if (t == 304 && text(rb) == L"LEADER_LINE{") {
                l.lines.emplace_back();
                l.lines.back().index = m_nextLine;
                lineIndexRead = false;
                part = Part::Line;
            } else if (t == 10)
                l.lastPoint = rbPoint(rb);
            else if (t == 11)
                l.doglegDir = rbVector(rb);
            else if (t == 90) {
                l.index = rb.resval.rlong;
                leaderIndexRead = true;
            } else if (t == 40)
                doglegs.back() = r;
            else if (t == 271)
                l.attachmentDirection = i;
            else if (t != 290 && t != 291)
                (leaderIndexRead ? l.afterLength : l.beforeIndex).add(rb);
            return;
        }
        case Part::MText:
            switch (t) {
            case 304:
                m_text.contents = text(rb);
                return;
            case 11:
                return; // the normal, that of the plane
            case 340:
                m_textStyle = rbId(rb).stub();
                return;
            case 12:
                m_text.location = rbPoint(rb);
                m_text.locationSet = true;
                return;
            case 13:
                m_text.direction = rbVector(rb);
                return;
            case 42:
                m_text.rotation = r;
                return;
            case 43:
                m_text.width = r;
                return;
            case 44:
                m_text.definedHeight = r;
                return;
            case 45:
                m_text.lineSpacingFactor = r;
                return;
            case 170:
                m_text.lineSpacingStyle = i;
                return;
            case 90:
                m_textColor = colorFromRaw(rb.resval.rlong);
                return;
            case 171:
                m_text.attachment = i;
                return;
            case 172:
                m_text.flowDirection = i;
                return;
            case 91:
            case 141:
            case 92:
            case 291:
            case 292:
            case 173:
            case 293:
            case 142:
            case 143:
            case 294:
            case 144:
            case 295:
                m_text.background.add(rb);
                return;
            default:
                part = Part::Context; // the end of the text's groups
                break;
            }
            break;
        case Part::BlockContent:
            switch (t) {
            case 341:
                m_block.block = rbId(rb).stub();
                return;
            case 14:
            case 47:
                return;
            case 15:
                m_block.position = rbPoint(rb);
                return;
            case 16: {
                const AcGePoint3d p = rbPoint(rb);
                m_block.scale = AcGeScale3d(p.x, p.y, p.z);
                return;
            }
            case 46:
                m_block.rotation = r;
                return;
            case 93:
                m_block.color = colorFromRaw(rb.resval.rlong);
                return;
            default:
                part = Part::Context;
                break;
            }
            break;
        default:
            break;
        }
        if (part == Part::Context) {
            switch (t) {
            case 301:
                part = Part::Common;
                return;
            case 40:
                contextScale = r;
                return;
            case 10:
                m_contentBase = rbPoint(rb);
                return;
            case 41:
                scaledTextHeight = r;
                return;
            case 140:
                scaledArrow = r;
                return;
            case 145:
                scaledGap = r;
                return;
            case 174:
                m_leftAttach = i;
                return;
            case 175:
                m_rightAttach = i;
                return;
            case 176:
                m_textAlignment = i;
                return;
            case 290:
                if (i)
                    part = Part::MText;
                return;
            case 296:
                if (i)
                    part = Part::BlockContent;
                return;
            case 110:
                m_planeOrigin = rbPoint(rb);
                return;
            case 111:
                m_planeX = rbVector(rb);
                return;
            case 112:
                m_planeY = rbVector(rb);
                return;
            case 272:
                m_bottomAttach = i;
                return;
            case 273:
                m_topAttach = i;
                return;
            case 302:
                m_leaders.emplace_back();
                m_leaders.back().index = m_nextLeader;
                leaderIndexRead = false;
                doglegs.push_back(-1.0);
                part = Part::Leader;
                return;
            default:
                return;
            }
        }
        // The groups after the context data.
        switch (t) {
        case 300:
            part = Part::Context;
            break;
        case 340:
            m_style = rbId(rb).stub();
            break;
        case 90:
            m_overrides = static_cast<Adesk::UInt32>(rb.resval.rlong);
            break;
        case 170:
            m_leaderType = i;
            break;
        case 91:
            m_leaderColor = colorFromRaw(rb.resval.rlong);
            break;
        case 341:
            m_linetype = rbId(rb).stub();
            break;
        case 171:
            m_leaderWeight = i;
            break;
        case 290:
            m_enableLanding = i != 0;
            break;
        case 291:
            m_enableDogleg = i != 0;
            break;
        case 41:
            m_doglegLength = r;
            break;
        case 342:
            m_arrow = rbId(rb).stub();
            break;
        case 42:
            m_arrowSize = r;
            break;
        case 172:
            m_contentType = i;
            break;
        case 343:
            m_textStyle = rbId(rb).stub();
            break;
        case 173:
            m_leftAttach = i;
            break;
        case 95:
            m_rightAttach = static_cast<Adesk::Int16>(rb.resval.rlong);
            break;
        case 174:
            m_textAngle = i;
            break;
        case 175:
            m_textAlignment = i;
            break;
        case 92:
            m_textColor = colorFromRaw(rb.resval.rlong);
            break;
        case 292:
            m_frameText = i != 0;
            break;
        case 344:
            m_block.block = rbId(rb).stub();
            break;
        case 93:
            m_block.color = colorFromRaw(rb.resval.rlong);
            break;
        case 43:
            m_block.rotation = r;
            break;
        case 293:
            m_annotative = i != 0;
            break;
        case 94:
        case 345:
        case 330:
        case 177:
        case 44:
        case 302:
            m_arrowsAndAttributes.add(rb);
            break;
        case 45:
            m_scale = r > 0.0 ? r : 1.0;
            break;
        case 271:
            m_attachDirection = i;
            break;
        case 272:
            m_bottomAttach = i;
            break;
        case 273:
            m_topAttach = i;
            break;
        default:
            break;
        }
    });
    if (es != Acad::eOk)
        return es;
    // Sizes of the context are scaled; the multileader keeps them unscaled.
    const double s = contextScale > 0.0 ? contextScale : 1.0;
    if (m_scale <= 0.0)
        m_scale = s;
    if (scaledTextHeight > 0.0)
        m_textHeight = scaledTextHeight / s;
    if (scaledArrow >= 0.0)
        m_arrowSize = scaledArrow / s;
    if (scaledGap >= 0.0)
        m_landingGap = scaledGap / s;
    for (size_t k = 0; k < m_leaders.size(); ++k) {
        m_leaders[k].doglegLength = doglegs[k] >= 0.0 ? doglegs[k] / s : m_doglegLength;
        m_nextLeader = std::max(m_nextLeader, m_leaders[k].index + 1);
        for (const Line& line : m_leaders[k].lines)
            m_nextLine = std::max(m_nextLine, line.index + 1);
    }
    return Acad::eOk;
}
