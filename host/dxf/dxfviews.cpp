#include "dxfviews.h"

#include "acutads.h"
#include "dbsymtb.h"

namespace khost::dxf {

bool writeViewRecord(const AcDbObject* obj, Writer& w, OutFiler& f) {
    auto* vp = AcDbViewportTableRecord::cast(obj);
    auto* view = AcDbViewTableRecord::cast(obj);
    if (!vp && !view)
        return false;
    auto* rec = static_cast<const AcDbAbstractViewTableRecord*>(obj);
    rec->AcDbSymbolTableRecord::dxfOutFields(&f);
    if (vp) {
        w.text(100, "AcDbViewportTableRecord");
        w.text(2, f.fileText(rec->name()));
        w.integer(70, 0);
        AcGePoint2d ll = vp->lowerLeftCorner(), ur = vp->upperRightCorner();
        w.point2d(10, ll.x, ll.y);
        w.point2d(11, ur.x, ur.y);
        AcGePoint2d c = vp->centerPoint();
        AcGeVector3d d = vp->viewDirection();
        AcGePoint3d t = vp->target();
        w.point2d(12, c.x, c.y);
        w.point2d(13, 0.0, 0.0);
        w.point2d(14, 10.0, 10.0);
        w.point2d(15, 10.0, 10.0);
        w.point(16, d.x, d.y, d.z);
        w.point(17, t.x, t.y, t.z);
        w.real(40, vp->height());
        w.real(41, vp->height() != 0.0 ? vp->width() / vp->height() : 1.0);
        w.real(42, vp->lensLength());
        w.real(43, vp->frontClipDistance());
        w.real(44, vp->backClipDistance());
        w.real(50, 0.0);
        w.real(51, vp->viewTwist());
        w.integer(71, 0);
        w.integer(72, 1000);
        w.integer(73, 1);
        w.integer(74, 3);
        w.integer(75, 0);
        w.integer(76, 0);
        w.integer(77, 0);
        w.integer(78, 0);
        w.integer(281, 0);
        w.integer(65, 1);
        w.point(110, 0.0, 0.0, 0.0);
        w.point(111, 1.0, 0.0, 0.0);
        w.point(112, 0.0, 1.0, 0.0);
        w.integer(79, 0);
        w.real(146, 0.0);
    } else {
        w.text(100, "AcDbViewTableRecord");
        w.text(2, f.fileText(rec->name()));
        w.integer(70, view->isPaperspaceView() ? 1 : 0);
        w.real(40, view->height());
        w.point2d(10, view->centerPoint().x, view->centerPoint().y);
        w.real(41, view->width());
        AcGeVector3d d = view->viewDirection();
        AcGePoint3d t = view->target();
        w.point(11, d.x, d.y, d.z);
        w.point(12, t.x, t.y, t.z);
        w.real(42, view->lensLength());
        w.real(43, view->frontClipDistance());
        w.real(44, view->backClipDistance());
        w.real(50, view->viewTwist());
        w.integer(71, 0);
        w.integer(281, 0);
        w.integer(72, 0);
    }
    return true;
}

void readViewRecord(AcDbAbstractViewTableRecord* rec, const Group* begin, const Group* end,
                    const TextCodec& codec) {
    auto* vp = AcDbViewportTableRecord::cast(rec);
    auto* view = AcDbViewTableRecord::cast(rec);
    InFiler f(nullptr, codec, begin, end);
    resbuf rb{};
    double height = rec->height(), aspect = 0.0, width = 0.0;
    while (f.readResBuf(&rb) == Acad::eOk) {
        const double* p = rb.resval.rpoint;
        auto z = [&] { return p[2] == 0.0 ? 0.0 : p[2]; };
        switch (rb.restype) {
        case 2:
            rec->setName(rb.resval.rstring);
            break;
        case 10:
            if (vp)
                vp->setLowerLeftCorner(AcGePoint2d(p[0], p[1]));
            else if (view)
                view->setCenterPoint(AcGePoint2d(p[0], p[1]));
            break;
        case 11:
            if (vp)
                vp->setUpperRightCorner(AcGePoint2d(p[0], p[1]));
            else if (view)
                view->setViewDirection(AcGeVector3d(p[0], p[1], z()));
            break;
        case 12:
            if (vp)
                vp->setCenterPoint(AcGePoint2d(p[0], p[1]));
            else if (view)
                view->setTarget(AcGePoint3d(p[0], p[1], z()));
            break;
        case 16:
            if (vp)
                vp->setViewDirection(AcGeVector3d(p[0], p[1], z()));
            break;
        case 17:
            if (vp)
                vp->setTarget(AcGePoint3d(p[0], p[1], z()));
            break;
        case 40:
        case 45:
            height = rb.resval.rreal;
            break;
        case 41:
            (vp ? aspect : width) = rb.resval.rreal;
            break;
        case 42:
            rec->setLensLength(rb.resval.rreal);
            break;
        case 43:
            rec->setFrontClipDistance(rb.resval.rreal);
            break;
        case 44:
            rec->setBackClipDistance(rb.resval.rreal);
            break;
        case 50:
            if (view)
                rec->setViewTwist(rb.resval.rreal);
            break;
        case 51:
            if (vp)
                rec->setViewTwist(rb.resval.rreal);
            break;
        case 70:
            if (view)
                view->setIsPaperspaceView(rb.resval.rint & 1);
            break;
        default:
            break;
        }
        rbFreeValue(&rb);
    }
    rec->setHeight(height);
    if (vp && aspect > 0.0)
        rec->setWidth(height * aspect);
    else if (view && width > 0.0)
        rec->setWidth(width);
}

} // namespace khost::dxf
