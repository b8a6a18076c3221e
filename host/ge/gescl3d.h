// Scale factors along the three axes.
#pragma once

#include "gegbl.h"
#include "gepnt3d.h"

class AcGeMatrix3d;

class AcGeScale3d {
public:
    constexpr AcGeScale3d() = default;
    constexpr explicit AcGeScale3d(double factor) : sx(factor), sy(factor), sz(factor) {}
    constexpr AcGeScale3d(double xFactor, double yFactor, double zFactor)
        : sx(xFactor), sy(yFactor), sz(zFactor) {}

    static const AcGeScale3d kIdentity;

    AcGeScale3d operator*(const AcGeScale3d& s) const { return {sx * s.sx, sy * s.sy, sz * s.sz}; }
    AcGeScale3d& operator*=(const AcGeScale3d& s) {
        sx *= s.sx;
        sy *= s.sy;
        sz *= s.sz;
        return *this;
    }
    AcGeScale3d operator*(double s) const { return {sx * s, sy * s, sz * s}; }
    AcGeScale3d& operator*=(double s) {
        sx *= s;
        sy *= s;
        sz *= s;
        return *this;
    }
    friend AcGeScale3d operator*(double f, const AcGeScale3d& s) { return s * f; }

    AcGeScale3d& setToProduct(const AcGeScale3d& s1, const AcGeScale3d& s2) {
        return *this = s1 * s2;
    }
    AcGeScale3d& setToProduct(const AcGeScale3d& s, double f) { return *this = s * f; }
    AcGeScale3d inverse() const { return {1.0 / sx, 1.0 / sy, 1.0 / sz}; }
    AcGeScale3d& invert() { return *this = inverse(); }
    bool isProportional(const AcGeTol& tol = AcGeContext::gTol) const;

    bool operator==(const AcGeScale3d& s) const { return isEqualTo(s); }
    bool operator!=(const AcGeScale3d& s) const { return !isEqualTo(s); }
    bool isEqualTo(const AcGeScale3d& s, const AcGeTol& tol = AcGeContext::gTol) const;

    double operator[](unsigned int i) const { return i == 0 ? sx : (i == 1 ? sy : sz); }
    double& operator[](unsigned int i) { return i == 0 ? sx : (i == 1 ? sy : sz); }
    AcGeScale3d& set(double xFactor, double yFactor, double zFactor) {
        sx = xFactor;
        sy = yFactor;
        sz = zFactor;
        return *this;
    }

    // The scaling matrix with these factors.
    AcGeMatrix3d getMatrix() const;
    void getMatrix(AcGeMatrix3d& mat) const;
    operator AcGeMatrix3d() const;
    // The lengths of the images of the three unit axes under the matrix; a mirroring matrix
    // gives a negative X factor.
    AcGeScale3d& extractScale(const AcGeMatrix3d& mat);
    // Takes the factors out of the matrix (its axes become unit length) and keeps them here.
    AcGeScale3d& removeScale(AcGeMatrix3d& mat);

    double sx = 1.0;
    double sy = 1.0;
    double sz = 1.0;
};

inline constexpr AcGeScale3d AcGeScale3d::kIdentity{1.0, 1.0, 1.0};
