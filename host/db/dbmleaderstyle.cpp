// Multileader styles.
#include "dbmleaderstyle.h"

#include "acutads.h"
#include "dbarrow.h"
#include "dbdict.h"
#include "dbimpl.h"

#include <cmath>

using namespace khost;

ACRX_DEFINE_MEMBERS_DXF(AcDbMLeaderStyle, AcDbObject, L"MLEADERSTYLE")

namespace {
const double kDegree = 3.14159265358979323846 / 180.0;
const bool registered = (registerDbClass(AcDbMLeaderStyle::desc(),
                                         []() -> AcDbObject* { return new AcDbMLeaderStyle; }),
                         true);
AcCmColor byBlock() {
    AcCmColor c;
    c.setColorIndex(0);
    return c;
}
bool validAttachment(int t, bool vertical) {
    return vertical ? (t == 9 || t == 10) : (t >= 0 && t <= 8);
}
} // namespace

AcDbMLeaderStyle::AcDbMLeaderStyle()
    : m_leaderColor(byBlock()), m_textColor(byBlock()), m_blockColor(byBlock()) {
    (void)registered;
}
AcDbMLeaderStyle::~AcDbMLeaderStyle() = default;

#define KHOST_MLS_SET(NAME, TYPE, FIELD, COND)                                                     \
    Acad::ErrorStatus AcDbMLeaderStyle::NAME(TYPE v) {                                             \
        if (!isWriteEnabled())                                                                     \
            return Acad::eNotOpenForWrite;                                                         \
        if (!(COND))                                                                               \
            return Acad::eInvalidInput;                                                            \
        FIELD = v;                                                                                 \
        return Acad::eOk;                                                                          \
    }
KHOST_MLS_SET(setContentType, ContentType, m_contentType,
              v >= kNoneContent && v <= kToleranceContent)
KHOST_MLS_SET(setDrawMLeaderOrderType, DrawMLeaderOrderType, m_mleaderOrder, v == 0 || v == 1)
KHOST_MLS_SET(setDrawLeaderOrderType, DrawLeaderOrderType, m_leaderOrder, v == 0 || v == 1)
KHOST_MLS_SET(setMaxLeaderSegmentsPoints, int, m_maxPoints, v == 0 || v >= 2)
KHOST_MLS_SET(setFirstSegmentAngleConstraint, SegmentAngleType, m_firstAngle, v >= 0 && v <= 12)
KHOST_MLS_SET(setSecondSegmentAngleConstraint, SegmentAngleType, m_secondAngle, v >= 0 && v <= 12)
KHOST_MLS_SET(setLeaderLineType, LeaderType, m_leaderType,
              v >= kInVisibleLeader && v <= kSplineLeader)
KHOST_MLS_SET(setLeaderLineColor, const AcCmColor&, m_leaderColor, true)
KHOST_MLS_SET(setLeaderLineWeight, AcDb::LineWeight, m_leaderWeight, v >= -3 && v <= 211)
KHOST_MLS_SET(setEnableLanding, bool, m_enableLanding, true)
KHOST_MLS_SET(setLandingGap, double, m_landingGap, v >= 0.0)
KHOST_MLS_SET(setEnableDogleg, bool, m_enableDogleg, true)
KHOST_MLS_SET(setDoglegLength, double, m_doglegLength, v >= 0.0)
KHOST_MLS_SET(setArrowSize, double, m_arrowSize, v >= 0.0)
KHOST_MLS_SET(setBreakSize, double, m_breakSize, v >= 0.0)
KHOST_MLS_SET(setExtendLeaderToText, bool, m_extendToText, true)
KHOST_MLS_SET(setTextAttachmentDirection, TextAttachmentDirection, m_attachDirection,
              v == 0 || v == 1)
KHOST_MLS_SET(setTextAngleType, TextAngleType, m_textAngle, v >= 0 && v <= 2)
KHOST_MLS_SET(setTextAlignmentType, TextAlignmentType, m_textAlignment, v >= 0 && v <= 2)
KHOST_MLS_SET(setTextAlignAlwaysLeft, bool, m_alwaysLeft, true)
KHOST_MLS_SET(setTextColor, const AcCmColor&, m_textColor, true)
KHOST_MLS_SET(setTextHeight, double, m_textHeight, v >= 0.0)
KHOST_MLS_SET(setEnableFrameText, bool, m_frameText, true)
KHOST_MLS_SET(setAlignSpace, double, m_alignSpace, v >= 0.0)
KHOST_MLS_SET(setBlockColor, const AcCmColor&, m_blockColor, true)
KHOST_MLS_SET(setBlockScale, const AcGeScale3d&, m_blockScale, true)
KHOST_MLS_SET(setEnableBlockScale, bool, m_enableBlockScale, true)
KHOST_MLS_SET(setBlockRotation, double, m_blockRotation, true)
KHOST_MLS_SET(setEnableBlockRotation, bool, m_enableBlockRotation, true)
KHOST_MLS_SET(setBlockConnectionType, BlockConnectionType, m_blockConnection, v == 0 || v == 1)
KHOST_MLS_SET(setScale, double, m_scale, v >= 0.0)
KHOST_MLS_SET(setAnnotative, bool, m_annotative, true)
#undef KHOST_MLS_SET

Acad::ErrorStatus AcDbMLeaderStyle::getName(AcString& name) const {
    auto* dict = AcDbDictionary::cast(peekObject(ownerId()));
    if (dict && dict->nameAt(objectId(), name) == Acad::eOk)
        return Acad::eOk;
    name = m_name;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMLeaderStyle::getName(ACHAR*& name) const {
    AcString s;
    getName(s);
    return acutNewString(s.constPtr(), name) == RTNORM ? Acad::eOk : Acad::eOutOfMemory;
}
Acad::ErrorStatus AcDbMLeaderStyle::setName(const ACHAR* name) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    if (!isValidSymbolName(name, false))
        return Acad::eInvalidInput;
    AcDbDictionary* dict = nullptr;
    if (!ownerId().isNull() && acdbOpenObject(dict, ownerId(), AcDb::kForWrite) == Acad::eOk) {
        AcString old;
        Acad::ErrorStatus es = Acad::eOk;
        if (dict->nameAt(objectId(), old) == Acad::eOk && nameKey(old.constPtr()) != nameKey(name))
            es = dict->has(name)                       ? Acad::eDuplicateRecordName
                 : dict->setName(old.constPtr(), name) ? Acad::eOk
                                                       : Acad::eInvalidInput;
        dict->close();
        if (es != Acad::eOk)
            return es;
    }
    m_name = name;
    return Acad::eOk;
}
bool AcDbMLeaderStyle::isRenamable() const {
    AcString n;
    getName(n);
    return nameKey(n.constPtr()) != L"STANDARD";
}
Acad::ErrorStatus AcDbMLeaderStyle::setDescription(const ACHAR* d) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_description = d ? d : L"";
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMLeaderStyle::postMLeaderStyleToDb(AcDbDatabase* db, const ACHAR* styleName,
                                                         AcDbObjectId& id) {
    id = AcDbObjectId::kNull;
    if (!db)
        return Acad::eNoDatabase;
    if (isDatabaseResident())
        return Acad::eAlreadyInDb;
    if (!isValidSymbolName(styleName, false))
        return Acad::eInvalidInput;
    AcDbDictionary* dict = nullptr;
    Acad::ErrorStatus es = db->getMLeaderStyleDictionary(dict, AcDb::kForWrite);
    if (es != Acad::eOk)
        return es;
    if (dict->has(styleName))
        es = Acad::eDuplicateRecordName;
    else
        es = dict->setAt(styleName, this, id);
    dict->close();
    if (es == Acad::eOk)
        m_name = styleName;
    return es;
}

AcDbObjectId AcDbMLeaderStyle::leaderLineTypeId() const {
    return AcDbObjectId(m_leaderLinetype);
}
Acad::ErrorStatus AcDbMLeaderStyle::setLeaderLineTypeId(AcDbObjectId id) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_leaderLinetype = id.stub();
    return Acad::eOk;
}
AcDbObjectId AcDbMLeaderStyle::arrowSymbolId() const {
    return AcDbObjectId(m_arrow);
}
Acad::ErrorStatus AcDbMLeaderStyle::setArrowSymbolId(AcDbObjectId id) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_arrow = id.stub();
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMLeaderStyle::setArrowSymbolId(const ACHAR* name) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    AcDbObjectId id;
    Acad::ErrorStatus es = arrowheadBlockId(lookupDatabase(this), name, id);
    if (es == Acad::eOk)
        m_arrow = id.stub();
    return es;
}
Acad::ErrorStatus AcDbMLeaderStyle::setDefaultMTextContents(const ACHAR* contents) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_defaultText = contents ? contents : L"";
    return Acad::eOk;
}
AcDbObjectId AcDbMLeaderStyle::textStyleId() const {
    return AcDbObjectId(m_textStyle);
}
Acad::ErrorStatus AcDbMLeaderStyle::setTextStyleId(AcDbObjectId id) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_textStyle = id.stub();
    return Acad::eOk;
}
AcDbMLeaderStyle::TextAttachmentType
AcDbMLeaderStyle::textAttachmentType(LeaderDirectionType dir) const {
    switch (dir) {
    case kRightLeader:
        return static_cast<TextAttachmentType>(m_rightAttach);
    case kTopLeader:
        return static_cast<TextAttachmentType>(m_topAttach);
    case kBottomLeader:
        return static_cast<TextAttachmentType>(m_bottomAttach);
    default:
        return static_cast<TextAttachmentType>(m_leftAttach);
    }
}
Acad::ErrorStatus AcDbMLeaderStyle::setTextAttachmentType(TextAttachmentType type,
                                                          LeaderDirectionType dir) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    const bool vertical = dir == kTopLeader || dir == kBottomLeader;
    if (dir == kUnknownLeader || dir > kBottomLeader || !validAttachment(type, vertical))
        return Acad::eInvalidInput;
    Adesk::Int16* field = dir == kLeftLeader    ? &m_leftAttach
                          : dir == kRightLeader ? &m_rightAttach
                          : dir == kTopLeader   ? &m_topAttach
                                                : &m_bottomAttach;
    *field = static_cast<Adesk::Int16>(type);
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMLeaderStyle::setTextAttachmentType(TextAttachmentType type) {
    Acad::ErrorStatus es = setTextAttachmentType(type, kLeftLeader);
    return es == Acad::eOk ? setTextAttachmentType(type, kRightLeader) : es;
}
AcDbObjectId AcDbMLeaderStyle::blockId() const {
    return AcDbObjectId(m_block);
}
Acad::ErrorStatus AcDbMLeaderStyle::setBlockId(AcDbObjectId id) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    m_block = id.stub();
    return Acad::eOk;
}
Acad::ErrorStatus AcDbMLeaderStyle::setBlockId(const ACHAR* name) {
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    AcDbDatabase* db = lookupDatabase(this);
    if (!db)
        return Acad::eNoDatabase;
    AcDbObjectId id = findRecord(db, DbRole::BlockTable, name);
    if (id.isNull())
        return Acad::eKeyNotFound;
    m_block = id.stub();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbMLeaderStyle::dxfInFields(AcDbDxfFiler* f) {
    Acad::ErrorStatus es = AcDbObject::dxfInFields(f);
    if (es != Acad::eOk)
        return es;
    if (!f->atSubclassData(L"AcDbMLeaderStyle"))
        return Acad::eBadDxfSequence;
    m_arrow = m_block = nullptr;
    return readSubclass(f, [&](const resbuf& rb) {
        const short i = rb.resval.rint;
        const double r = rb.resval.rreal;
        switch (rb.restype) {
        case 170:
            m_contentType = i;
            break;
        case 171:
            m_mleaderOrder = i;
            break;
        case 172:
            m_leaderOrder = i;
            break;
        case 90:
            m_maxPoints = rb.resval.rlong;
            break;
        case 40:
            m_firstAngle = static_cast<Adesk::Int16>(std::lround(r / (15.0 * kDegree)));
            break;
        case 41:
            m_secondAngle = static_cast<Adesk::Int16>(std::lround(r / (15.0 * kDegree)));
            break;
        case 173:
            m_leaderType = i;
            break;
        case 91:
            m_leaderColor = colorFromRaw(rb.resval.rlong);
            break;
        case 340:
            m_leaderLinetype = rbId(rb).stub();
            break;
        case 92:
            m_leaderWeight = static_cast<Adesk::Int16>(rb.resval.rlong);
            break;
        case 290:
            m_enableLanding = i != 0;
            break;
        case 42:
            m_landingGap = r;
            break;
        case 291:
            m_enableDogleg = i != 0;
            break;
        case 43:
            m_doglegLength = r;
            break;
        case 3:
            m_description = rb.resval.rstring;
            break;
        case 341:
            m_arrow = rbId(rb).stub();
            break;
        case 44:
            m_arrowSize = r;
            break;
        case 300:
            m_defaultText = rb.resval.rstring;
            break;
        case 342:
            m_textStyle = rbId(rb).stub();
            break;
        case 174:
            m_leftAttach = i;
            break;
        case 175:
            m_textAngle = i;
            break;
        case 176:
            m_textAlignment = i;
            break;
        case 178:
            m_rightAttach = i;
            break;
        case 93:
            m_textColor = colorFromRaw(rb.resval.rlong);
            break;
        case 45:
            m_textHeight = r;
            break;
        case 292:
            m_frameText = i != 0;
            break;
        case 297:
            m_alwaysLeft = i != 0;
            break;
        case 46:
            m_alignSpace = r;
            break;
        case 343:
            m_block = rbId(rb).stub();
            break;
        case 94:
            m_blockColor = colorFromRaw(rb.resval.rlong);
            break;
        case 47:
            m_blockScale.sx = r;
            break;
        case 49:
            m_blockScale.sy = r;
            break;
        case 140:
            m_blockScale.sz = r;
            break;
        case 293:
            m_enableBlockScale = i != 0;
            break;
        case 141:
            m_blockRotation = r;
            break;
        case 294:
            m_enableBlockRotation = i != 0;
            break;
        case 177:
            m_blockConnection = i;
            break;
        case 142:
            m_scale = r;
            break;
        case 295:
            m_overwrite = i != 0;
            break;
        case 296:
            m_annotative = i != 0;
            break;
        case 143:
            m_breakSize = r;
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
        case 298:
            m_extendToText = i != 0;
            break;
        default:
            break;
        }
    });
}

Acad::ErrorStatus AcDbMLeaderStyle::dxfOutFields(AcDbDxfFiler* f) const {
    AcDbObject::dxfOutFields(f);
    AcDbDatabase* db = f->database() ? f->database() : database();
    auto code = [](int c) { return static_cast<AcDb::DxfCode>(c); };
    AcDbObjectId linetype(m_leaderLinetype), textStyle(m_textStyle);
    if (linetype.isNull() && db)
        linetype = db->byBlockLinetype();
    if (textStyle.isNull() && db)
        textStyle = db->textstyle();
    f->writeString(AcDb::kDxfSubclass, L"AcDbMLeaderStyle");
    f->writeInt16(code(179), 2);
    f->writeInt16(code(170), m_contentType);
    f->writeInt16(code(171), m_mleaderOrder);
    f->writeInt16(code(172), m_leaderOrder);
    f->writeInt32(code(90), m_maxPoints);
    f->writeDouble(code(40), m_firstAngle * 15.0 * kDegree);
    f->writeDouble(code(41), m_secondAngle * 15.0 * kDegree);
    f->writeInt16(code(173), m_leaderType);
    f->writeInt32(code(91), colorToRaw(m_leaderColor));
    f->writeObjectId(code(340), linetype);
    f->writeInt32(code(92), m_leaderWeight);
    f->writeBool(code(290), m_enableLanding);
    f->writeDouble(code(42), m_landingGap);
    f->writeBool(code(291), m_enableDogleg);
    f->writeDouble(code(43), m_doglegLength);
    f->writeString(code(3), m_description.c_str());
    if (m_arrow)
        f->writeObjectId(code(341), AcDbObjectId(m_arrow));
    f->writeDouble(code(44), m_arrowSize);
    f->writeString(code(300), m_defaultText.c_str());
    f->writeObjectId(code(342), textStyle);
    f->writeInt16(code(174), m_leftAttach);
    f->writeInt16(code(175), m_textAngle);
    f->writeInt16(code(176), m_textAlignment);
    f->writeInt16(code(178), m_rightAttach);
    f->writeInt32(code(93), colorToRaw(m_textColor));
    f->writeDouble(code(45), m_textHeight);
    f->writeBool(code(292), m_frameText);
    f->writeBool(code(297), m_alwaysLeft);
    f->writeDouble(code(46), m_alignSpace);
    if (m_block)
        f->writeObjectId(code(343), AcDbObjectId(m_block));
    f->writeInt32(code(94), colorToRaw(m_blockColor));
    f->writeDouble(code(47), m_blockScale.sx);
    f->writeDouble(code(49), m_blockScale.sy);
    f->writeDouble(code(140), m_blockScale.sz);
    f->writeBool(code(293), m_enableBlockScale);
    f->writeDouble(code(141), m_blockRotation);
    f->writeBool(code(294), m_enableBlockRotation);
    f->writeInt16(code(177), m_blockConnection);
    f->writeDouble(code(142), m_scale);
    f->writeBool(code(295), m_overwrite);
    f->writeBool(code(296), m_annotative);
    f->writeDouble(code(143), m_breakSize);
    f->writeInt16(code(271), m_attachDirection);
    f->writeInt16(code(272), m_bottomAttach);
    f->writeInt16(code(273), m_topAttach);
    if (m_extendToText)
        f->writeBool(code(298), true);
    return f->filerStatus();
}
