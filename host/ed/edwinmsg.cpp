// Window-message filters, the document window and its view, the DBLCLICK command, the in-place
// text editor and the document lock (see acedwinmsg.h).
#include "acedwinmsg.h"

#include "acdocman.h"
#include "acutads.h"
#include "arxdb.h"
#include "arxed.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr int VIEW_WIDTH = 1600;
constexpr int VIEW_HEIGHT = 1000;

std::vector<AcedFilterWinMsgFn>& filters() {
    static std::vector<AcedFilterWinMsgFn> s;
    return s;
}

HWND__ g_docWindow{};

struct View {
    double cx = 0.0;
    double cy = 0.0;
    double unitsPerPixel = 1.0;
};
View& view() {
    static View v;
    return v;
}

// The pixel of a display point, unrounded.
void toPixel(double x, double y, double& px, double& py) {
    const View& v = view();
    px = (x - v.cx) / v.unitsPerPixel + VIEW_WIDTH / 2.0;
    py = VIEW_HEIGHT / 2.0 - (y - v.cy) / v.unitsPerPixel;
}

bool inView(double px, double py) {
    return px >= 0.0 && py >= 0.0 && px < VIEW_WIDTH && py < VIEW_HEIGHT;
}

void cmdDblClick() {
    ads_point pt = {0.0, 0.0, 0.0};
    if (acedGetPoint(nullptr, L"\nDouble-click point: ", pt) != RTNORM)
        return;
    double px = 0.0, py = 0.0;
    toPixel(pt[X], pt[Y], px, py);
    if (!inView(px, py)) {
        // The user pans to the place first: the view is centred on the point.
        khost::setViewCenter(pt[X], pt[Y]);
        toPixel(pt[X], pt[Y], px, py);
    }
    const int ix = static_cast<int>(std::lround(px));
    const int iy = static_cast<int>(std::lround(py));
    MSG msg{};
    msg.hwnd = adsw_acadDocWnd();
    msg.message = WM_LBUTTONDBLCLK;
    msg.wParam = MK_LBUTTON;
    msg.lParam = MAKELPARAM(static_cast<WORD>(static_cast<short>(ix)),
                            static_cast<WORD>(static_cast<short>(iy)));
    msg.pt.x = ix;
    msg.pt.y = iy;
    if (!khost::dispatchFilterWinMsg(msg))
        acutPrintf(L"\nDouble-click left to the host.");
}

} // namespace

bool acedRegisterFilterWinMsg(const AcedFilterWinMsgFn pfn) {
    if (!pfn || std::find(filters().begin(), filters().end(), pfn) != filters().end())
        return false;
    filters().push_back(pfn);
    return true;
}

bool acedRemoveFilterWinMsg(const AcedFilterWinMsgFn pfn) {
    auto it = std::find(filters().begin(), filters().end(), pfn);
    if (it == filters().end())
        return false;
    filters().erase(it);
    return true;
}

HWND adsw_acadDocWnd() {
    return curDoc() ? &g_docWindow : nullptr;
}

BOOL acedCoordFromPixelToWorld(const CPoint& ptIn, ads_point ptOut) {
    return acedCoordFromPixelToWorld(0, ptIn, ptOut);
}

BOOL acedCoordFromPixelToWorld(int, CPoint ptIn, ads_point ptOut) {
    if (!ptOut)
        return FALSE;
    const View& v = view();
    ptOut[X] = v.cx + (ptIn.x - VIEW_WIDTH / 2.0) * v.unitsPerPixel;
    ptOut[Y] = v.cy + (VIEW_HEIGHT / 2.0 - ptIn.y) * v.unitsPerPixel;
    ptOut[Z] = 0.0;
    return TRUE;
}

BOOL acedCoordFromWorldToPixel(int, const ads_point ptIn, CPoint& ptOut) {
    if (!ptIn)
        return FALSE;
    double px = 0.0, py = 0.0;
    toPixel(ptIn[X], ptIn[Y], px, py);
    ptOut.x = static_cast<LONG>(std::lround(px));
    ptOut.y = static_cast<LONG>(std::lround(py));
    return TRUE;
}

AcAxDocLock::AcAxDocLock() {
    lock(acdbHostApplicationServices()->workingDatabase());
}

AcAxDocLock::AcAxDocLock(const AcDbObjectId& objectId, DocLockType) {
    lock(objectId.database());
}

AcAxDocLock::AcAxDocLock(AcDbDatabase* pDatabase, DocLockType) {
    lock(pDatabase);
}

void AcAxDocLock::lock(AcDbDatabase* pDatabase) {
    AcApDocument* doc = pDatabase ? acDocManager->document(pDatabase) : nullptr;
    if (!doc) {
        m_status = Acad::eNoDocument;
        return;
    }
    m_status = acDocManager->lockDocument(doc, AcAp::kWrite);
    if (m_status == Acad::eOk)
        m_doc = doc;
}

AcAxDocLock::~AcAxDocLock() {
    if (m_doc)
        acDocManager->unlockDocument(m_doc);
}

namespace khost {

bool dispatchFilterWinMsg(MSG& msg) {
    // A copy: a filter may remove itself while it runs.
    const std::vector<AcedFilterWinMsgFn> list = filters();
    for (AcedFilterWinMsgFn fn : list)
        if (fn(&msg))
            return true;
    return false;
}

void setViewCenter(double x, double y) {
    view().cx = x;
    view().cy = y;
}

void setViewUnitsPerPixel(double units) {
    if (units > 0.0)
        view().unitsPerPixel = units;
}

void registerDblClickCommand() {
    AcEdCommandStack* stack = AcEdCommandStack::cast(acrxSysRegistry()->at(ACRX_COMMAND_DOCK));
    if (!stack || stack->lookupGlobalCmd(L"DBLCLICK"))
        return;
    stack->addCommand(L"ACAD_MAIN", L"DBLCLICK", L"DBLCLICK", ACRX_CMD_MODAL, cmdDblClick);
}

} // namespace khost
