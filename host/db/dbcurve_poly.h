// Old-style polylines (POLYLINE with VERTEX sub-entities and SEQEND): the 2D polyline, whose
// vertices lie in the object coordinate system of its normal at its elevation and carry bulges
// and widths, and the 3D polyline, whose vertices are world points.
//
// The DXF reader creates POLYLINE and VERTEX records as the 2D classes unless it asks
// khost::dxfEntityClass for the class their flags call for; the 2D classes keep the flags, Z
// values and face groups of 3D polylines and meshes they are given that way, so that such records
// are written back as they were read.
//
// The vertices are sub-entities owned by the polyline (see dbent_complex.h): appendVertex adds
// them, vertexIterator walks them, openVertex opens one by its id. Curve parameters are vertex
// indices as for the light-weight polyline; spline frame control vertices are not part of the
// curve.
#pragma once

#include "dbents.h"
#include "dbent_array.h"
#include "dbent_complex.h"

namespace AcDb {
enum Poly2dType {
    k2dSimplePoly = 0,
    k2dFitCurvePoly = 1,
    k2dQuadSplinePoly = 2,
    k2dCubicSplinePoly = 3,
};
enum Poly3dType {
    k3dSimplePoly = 0,
    k3dQuadSplinePoly = 1,
    k3dCubicSplinePoly = 2,
};
enum Vertex2dType {
    k2dVertex = 0,
    k2dSplineCtlVertex = 1,
    k2dSplineFitVertex = 2,
    k2dCurveFitVertex = 3,
};
enum Vertex3dType {
    k3dSimpleVertex = 0,
    k3dControlVertex = 1,
    k3dFitVertex = 2,
};
} // namespace AcDb

class AcDbVertex : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbVertex);
    AcDbVertex();
};

class AcDb2dVertex : public AcDbVertex {
public:
    ACRX_DECLARE_MEMBERS(AcDb2dVertex);
    AcDb2dVertex();
    // The position is in the object coordinate system of the polyline.
    AcDb2dVertex(const AcGePoint3d& position, double bulge = 0.0, double startWidth = 0.0,
                 double endWidth = 0.0, double tangent = 0.0, Adesk::Int32 vertexIdentifier = 0);

    AcDb::Vertex2dType vertexType() const;
    AcGePoint3d position() const { return m_position; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& p);
    double startWidth() const { return m_startWidth; }
    Acad::ErrorStatus setStartWidth(double w);
    double endWidth() const { return m_endWidth; }
    Acad::ErrorStatus setEndWidth(double w);
    double bulge() const { return m_bulge; }
    Acad::ErrorStatus setBulge(double b);
    bool isTangentUsed() const { return (m_flags & 2) != 0; }
    Acad::ErrorStatus useTangent();
    Acad::ErrorStatus ignoreTangent();
    Acad::ErrorStatus setTangentUsed(bool use);
    double tangent() const { return m_tangent; }
    Acad::ErrorStatus setTangent(double angle);
    Adesk::Int32 vertexIdentifier() const { return m_id; }
    Acad::ErrorStatus setVertexIdentifier(Adesk::Int32 id);

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    friend class AcDb2dPolyline;
    AcGePoint3d m_position;
    double m_startWidth = 0.0;
    double m_endWidth = 0.0;
    double m_bulge = 0.0;
    double m_tangent = 0.0;
    Adesk::Int32 m_id = 0;
    Adesk::Int16 m_flags = 0;
    Adesk::Int16 m_face[4] = {0, 0, 0, 0}; // vertices of a face record of a mesh read from a file
};

class AcDb3dPolylineVertex : public AcDbVertex {
public:
    ACRX_DECLARE_MEMBERS(AcDb3dPolylineVertex);
    AcDb3dPolylineVertex();
    explicit AcDb3dPolylineVertex(const AcGePoint3d& position);

    AcDb::Vertex3dType vertexType() const;
    AcGePoint3d position() const { return m_position; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& p);
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

private:
    friend class AcDb3dPolyline;
    AcGePoint3d m_position;
    Adesk::Int16 m_flags = 32;
};

class AcDb2dPolyline : public AcDbCurve {
public:
    ACRX_DECLARE_MEMBERS(AcDb2dPolyline);
    AcDb2dPolyline();
    // Vertices at the points' X and Y (their Z is the elevation), with optional bulges.
    AcDb2dPolyline(AcDb::Poly2dType type, const AcGePoint3dArray& vertices, double elevation = 0.0,
                   bool closed = false, double defStartWidth = 0.0, double defEndWidth = 0.0,
                   const AcGeDoubleArray* bulges = nullptr);
    ~AcDb2dPolyline() override;

    AcDb::Poly2dType polyType() const;
    // Sets the kind only; the vertices are not fitted again.
    Acad::ErrorStatus setPolyType(AcDb::Poly2dType type);
    Acad::ErrorStatus makeClosed();
    Acad::ErrorStatus makeOpen();
    Acad::ErrorStatus setClosed(bool closed);
    bool isClosed() const override { return (m_flags & 1) != 0; }
    double defaultStartWidth() const { return m_startWidth; }
    Acad::ErrorStatus setDefaultStartWidth(double w);
    double defaultEndWidth() const { return m_endWidth; }
    Acad::ErrorStatus setDefaultEndWidth(double w);
    double thickness() const { return m_thickness; }
    Acad::ErrorStatus setThickness(double t);
    AcGeVector3d normal() const { return m_normal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    double elevation() const { return m_elevation; }
    Acad::ErrorStatus setElevation(double e);
    bool isLinetypeGenerationOn() const { return (m_flags & 128) != 0; }
    Acad::ErrorStatus setLinetypeGenerationOn();
    Acad::ErrorStatus setLinetypeGenerationOff();

    // The vertex gets the polyline's entity properties.
    Acad::ErrorStatus appendVertex(AcDb2dVertex* pVertex);
    Acad::ErrorStatus appendVertex(AcDbObjectId& id, AcDb2dVertex* pVertex);
    // Inserts after the index vertex (at the beginning for none).
    Acad::ErrorStatus insertVertexAt(const AcDb2dVertex* pIndexVert, AcDb2dVertex* pNewVertex);
    Acad::ErrorStatus insertVertexAt(AcDbObjectId& newVertId, const AcDbObjectId& indexVertId,
                                     AcDb2dVertex* pNewVertex);
    // eInvalidInput for an id that is not one of this polyline's vertices.
    Acad::ErrorStatus openVertex(AcDb2dVertex*& pVertex, AcDbObjectId vertId, AcDb::OpenMode mode,
                                 bool openErasedOne = false) const;
    Acad::ErrorStatus openSequenceEnd(AcDbSequenceEnd*& pSeqEnd, AcDb::OpenMode mode);
    AcDbObjectIterator* vertexIterator() const;
    // A vertex's position in world coordinates.
    AcGePoint3d vertexPosition(const AcDb2dVertex& vert) const;

    Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override;
    Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override;
    // As the light-weight polyline: the vertices' data in reverse order, bulges negated and
    // widths swapped with their segments (the vertex objects keep their places).
    Acad::ErrorStatus reverseCurve() override;
    // Rotation, translation, uniform scaling and mirroring, vertices included.
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

protected:
    bool getKhostPath(khost::CurvePath& path) const override;
    Acad::ErrorStatus subErase(bool erasing) override;
    void subAddedToDatabase() override;

private:
    friend struct khost::ComplexAccess;
    // The vertices of the curve (not erased, without spline frame control points).
    std::vector<AcDb2dVertex*> curveVertices() const;
    khost::SubEntities m_vertices;
    AcGeVector3d m_normal{0.0, 0.0, 1.0};
    double m_elevation = 0.0;
    double m_startWidth = 0.0;
    double m_endWidth = 0.0;
    double m_thickness = 0.0;
    Adesk::Int16 m_flags = 0;  // 1 closed, 2 curve fit, 4 spline fit, 128 linetype generation
    Adesk::Int16 m_smooth = 0; // group 75: 5 quadratic, 6 cubic B-spline, 8 Bezier
    // Groups 71-74 of meshes read from a file (kept, not modelled).
    Adesk::Int16 m_mesh[4] = {0, 0, 0, 0};
};

class AcDb3dPolyline : public AcDbCurve {
public:
    ACRX_DECLARE_MEMBERS(AcDb3dPolyline);
    AcDb3dPolyline();
    AcDb3dPolyline(AcDb::Poly3dType type, const AcGePoint3dArray& vertices, bool closed = false);
    ~AcDb3dPolyline() override;

    AcDb::Poly3dType polyType() const;
    Acad::ErrorStatus setPolyType(AcDb::Poly3dType type);
    Acad::ErrorStatus makeClosed();
    Acad::ErrorStatus makeOpen();
    Acad::ErrorStatus setClosed(bool closed);
    bool isClosed() const override { return (m_flags & 1) != 0; }

    Acad::ErrorStatus appendVertex(AcDb3dPolylineVertex* pVertex);
    Acad::ErrorStatus appendVertex(AcDbObjectId& id, AcDb3dPolylineVertex* pVertex);
    Acad::ErrorStatus insertVertexAt(const AcDb3dPolylineVertex* pIndexVert,
                                     AcDb3dPolylineVertex* pNewVertex);
    Acad::ErrorStatus insertVertexAt(AcDbObjectId& newVertId, const AcDbObjectId& indexVertId,
                                     AcDb3dPolylineVertex* pNewVertex);
    Acad::ErrorStatus openVertex(AcDb3dPolylineVertex*& pVertex, AcDbObjectId vertId,
                                 AcDb::OpenMode mode, bool openErasedOne = false) const;
    Acad::ErrorStatus openSequenceEnd(AcDbSequenceEnd*& pSeqEnd, AcDb::OpenMode mode);
    AcDbObjectIterator* vertexIterator() const;

    Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override;
    Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override;
    // The vertices' positions in reverse order (the vertex objects keep their places).
    Acad::ErrorStatus reverseCurve() override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const override;

protected:
    bool getKhostPath(khost::CurvePath& path) const override;
    Acad::ErrorStatus subErase(bool erasing) override;
    void subAddedToDatabase() override;

private:
    friend struct khost::ComplexAccess;
    std::vector<AcDb3dPolylineVertex*> curveVertices() const;
    khost::SubEntities m_vertices;
    Adesk::Int16 m_flags = 8;  // 1 closed, 4 spline fit, 8 3D polyline, 128 linetype generation
    Adesk::Int16 m_smooth = 0; // group 75
};
