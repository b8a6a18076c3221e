// The light-weight polyline (LWPOLYLINE): planar vertices with bulges and widths in the object
// coordinate system of its normal, at its elevation.
//
// Segment i runs from vertex i to vertex i + 1 (to vertex 0 for the last vertex of a closed
// polyline) and bends by the bulge of vertex i: the tangent of a quarter of its included angle,
// positive counterclockwise about the normal. Curve parameters are vertex indices: parameter i at
// vertex i, growing linearly along each segment (by angle along an arc).
#pragma once

#include "dbents.h"

#include "gearc2d.h"
#include "gearc3d.h"
#include "gelnsg2d.h"
#include "gelnsg3d.h"

#include <vector>

class AcDbPolyline : public AcDbCurve {
public:
    ACRX_DECLARE_MEMBERS(AcDbPolyline);
    AcDbPolyline();
    explicit AcDbPolyline(unsigned int numVerts);

    enum SegType { kLine, kArc, kCoincident, kPoint, kEmpty };

    unsigned int numVerts() const { return static_cast<unsigned int>(m_verts.size()); }
    // Inserts before the vertex at index (appends for an index at or past the end). A negative
    // width takes the polyline's constant width (0 when its widths differ).
    Acad::ErrorStatus addVertexAt(unsigned int index, const AcGePoint2d& pt, double bulge = 0.0,
                                  double startWidth = -1.0, double endWidth = -1.0,
                                  Adesk::Int32 vertexIdentifier = 0);
    Acad::ErrorStatus removeVertexAt(unsigned int index);
    // The vertex in world coordinates, or in the object coordinate system (2D).
    Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint3d& pt) const;
    Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint2d& pt) const;
    Acad::ErrorStatus setPointAt(unsigned int index, const AcGePoint2d& pt);
    Acad::ErrorStatus getBulgeAt(unsigned int index, double& bulge) const;
    Acad::ErrorStatus setBulgeAt(unsigned int index, double bulge);
    Acad::ErrorStatus getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const;
    Acad::ErrorStatus setWidthsAt(unsigned int index, double startWidth, double endWidth);
    Acad::ErrorStatus getVertexIdentifierAt(unsigned int index, Adesk::Int32& vertId) const;
    Acad::ErrorStatus setVertexIdentifierAt(unsigned int index, Adesk::Int32 suggestedValue);

    // kEmpty without vertices (or for an index past the end), kPoint for a single vertex and for
    // the last vertex of an open polyline, kCoincident when the segment's ends coincide.
    SegType segType(unsigned int index) const;
    // The segment from vertex index to the next (its chord for an arc segment; the last vertex
    // of an open polyline gives a segment of zero length). eInvalidIndex past the end.
    Acad::ErrorStatus getLineSegAt(unsigned int index, AcGeLineSeg2d& ln) const;
    Acad::ErrorStatus getLineSegAt(unsigned int index, AcGeLineSeg3d& ln) const;
    // The arc of an arc segment (eNotApplicable for another kind). The 3D arc runs from the
    // segment's start to its end counterclockwise about its own normal, which is the polyline's
    // for a positive bulge and the reversed one for a negative bulge.
    Acad::ErrorStatus getArcSegAt(unsigned int index, AcGeCircArc2d& arc) const;
    Acad::ErrorStatus getArcSegAt(unsigned int index, AcGeCircArc3d& arc) const;
    // Whether the point (object coordinates) lies on segment index; param is its curve parameter.
    bool onSegAt(unsigned int index, const AcGePoint2d& pt2d, double& param) const;

    bool isClosed() const override { return (m_flags & 1) != 0; }
    void setClosed(bool closed);
    bool isPlinegen() const { return (m_flags & 128) != 0; }
    void setPlinegen(bool plinegen);
    bool isOnlyLines() const { return !hasBulges(); }
    bool hasBulges() const;
    bool hasWidth() const;
    bool hasVertexIdentifiers() const;
    double elevation() const { return m_elevation; }
    void setElevation(double elevation);
    double thickness() const { return m_thickness; }
    Acad::ErrorStatus setThickness(double thickness);
    AcGeVector3d normal() const { return m_normal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    // eOk with the width when all widths are equal, eNotApplicable otherwise.
    Acad::ErrorStatus getConstantWidth(double& width) const;
    Acad::ErrorStatus setConstantWidth(double width);
    void reset(bool reuse, unsigned int numVerts);
    Acad::ErrorStatus minimizeMemory();
    Acad::ErrorStatus maximizeMemory();

    Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override;
    Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override;
    // The vertices in reverse order; each segment keeps its bulge negated and its widths
    // swapped, so bulges and widths move one place along with the reversal.
    Acad::ErrorStatus reverseCurve() override;
    // Rotation, translation, uniform scaling and mirroring (bulges negated).
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

protected:
    bool getKhostPath(khost::CurvePath& path) const override;

private:
    struct Vertex {
        AcGePoint2d pt;
        double bulge = 0.0;
        double startWidth = 0.0;
        double endWidth = 0.0;
        Adesk::Int32 id = 0;
    };
    // The index of the vertex that ends segment index.
    unsigned int nextIndex(unsigned int index) const;
    AcGePoint3d wcsPoint(unsigned int index) const;
    std::vector<Vertex> m_verts;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
    double m_elevation = 0.0;
    double m_thickness = 0.0;
    Adesk::Int16 m_flags = 0; // 1 closed, 128 linetype generation
};
