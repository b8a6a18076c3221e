// Window messages of drawing windows, the document window, the mapping of its pixels to the
// drawing, the in-place text editor and the document lock of the automation layer.
//
// The host keeps one view of the current drawing: a window of VIEW_WIDTH x VIEW_HEIGHT pixels
// over the display coordinates (a plan view of the current UCS) with a centre and a size of a
// pixel in drawing units. The script line "DBLCLICK x,y" (a host command that asks for the
// point) brings the point into the view when it lies outside, then sends a left double-click
// (WM_LBUTTONDBLCLK with the pixel in the signed low and high words of lParam) to the document
// window through the registered window-message filters; a filter that returns true consumes it.
#pragma once

#include "acedinpl.h"

#include "acadstrc.h"
#include "acedads.h"
#include "afxwin.h"
#include "windows.h"

class AcDbDatabase;
class AcDbMText;
class AcDbObjectId;
class AcDbText;
class AcApDocument;

typedef bool (*AcedFilterWinMsgFn)(MSG*);

// Registers a filter (a second registration of the same function is refused: false).
bool acedRegisterFilterWinMsg(const AcedFilterWinMsgFn pfn);
// Removes it; false when it was not registered.
bool acedRemoveFilterWinMsg(const AcedFilterWinMsgFn pfn);

// The window of the current drawing; null when no drawing is open.
HWND adsw_acadDocWnd();

// A pixel of the view in display coordinates (the z is 0).
BOOL acedCoordFromPixelToWorld(const CPoint& ptIn, ads_point ptOut);
BOOL acedCoordFromPixelToWorld(int windnum, CPoint ptIn, ads_point ptOut);
// The reverse: the pixel of a point in display coordinates (rounded).
BOOL acedCoordFromWorldToPixel(int windnum, const ads_point ptIn, CPoint& ptOut);

// Locks the document of an object or a database for write while it lives.
class AcAxDocLock {
public:
    enum DocLockType { kNormal = 0, kCurDocSwitch = 1 };
    AcAxDocLock();
    explicit AcAxDocLock(const AcDbObjectId& objectId, DocLockType lockType = kNormal);
    explicit AcAxDocLock(AcDbDatabase* pDatabase, DocLockType lockType = kNormal);
    ~AcAxDocLock();
    AcAxDocLock(const AcAxDocLock&) = delete;
    AcAxDocLock& operator=(const AcAxDocLock&) = delete;

    Acad::ErrorStatus lockStatus() const { return m_status; }
    AcApDocument* document() const { return m_doc; }

private:
    void lock(AcDbDatabase* pDatabase);
    AcApDocument* m_doc = nullptr;
    Acad::ErrorStatus m_status = Acad::eNoDocument;
};

namespace khost {
// Sends a message through the filters; true when one consumed it.
bool dispatchFilterWinMsg(MSG& msg);
// Registers the host command DBLCLICK.
void registerDblClickCommand();
// The view: centre in display coordinates and drawing units per pixel.
void setViewCenter(double x, double y);
void setViewUnitsPerPixel(double units);
} // namespace khost
