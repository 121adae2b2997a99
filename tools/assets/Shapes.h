#pragma once
// Mesh builders for the game's models. Everything is in Y-up model coordinates; triangles are
// wound counter-clockwise seen from outside, so face normals point out of the solid (OpenGL
// front faces). Builders never produce triangles of zero area.
//
// Texture coordinates are (s, t) per vertex: boxes map every face onto 0..1 on its own vertices;
// lathes run s once around the axis (the seam column is duplicated so s reaches 1) and t along
// the profile by arc length.

#include "assets/Writer3ds.h"

#include <array>
#include <functional>
#include <vector>

using Vec3 = std::array<float, 3>;

enum class Axis { X, Y, Z };

/// An affine map p -> A p + t held as three rows of (a0, a1, a2, t), in double precision.
struct Transform {
    std::array<std::array<double, 4>, 3> rows{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}}};

    static Transform identity() { return {}; }
    static Transform translation(double x, double y, double z);
    /// Right-handed rotation by angle radians about the axis through the origin.
    static Transform rotation(Axis axis, double angle);
    /// Right-handed rotation by angle radians about the line through point along direction.
    static Transform rotationAbout(const Vec3& point, const Vec3& direction, double angle);
    static Transform scaling(double x, double y, double z);

    /// The map that applies o first, then this.
    Transform operator*(const Transform& o) const;
    Vec3 apply(const Vec3& p) const;
    double determinant() const;
};

/// Moves every vertex of the mesh. A mirroring transform (negative determinant) also reverses
/// the winding so faces keep pointing out.
void transformMesh(Mesh3ds& mesh, const Transform& t);
Mesh3ds transformed(Mesh3ds mesh, const Transform& t);

/// Adds the vertices and faces of part to mesh. Throws std::invalid_argument when one of them
/// has texture coordinates and the other has none (an empty mesh takes part's kind).
void append(Mesh3ds& mesh, const Mesh3ds& part);

/// The axis-aligned box from lo to hi (lo < hi on every axis). Every face has its own vertices
/// and is split into a grid: divisions[k] cells along axis k. Seen from outside, s runs to the
/// right and t upwards on the side faces; on the top and bottom faces s runs along +X.
Mesh3ds makeBox(const Vec3& lo, const Vec3& hi, std::array<int, 3> divisions = {1, 1, 1},
                bool texCoords = true);

/// A solid shaped like a bent box: the unit cube [0,1]^3, gridded like makeBox, with every grid
/// point sent through shape. The map must be one to one on the cube (no two grid points
/// coinciding, no folded faces); either orientation is accepted.
Mesh3ds makeShapedBox(const std::function<Vec3(float, float, float)>& shape,
                      std::array<int, 3> divisions, bool texCoords = true);

/// One point of a lathe profile: h along the axis, r >= 0 from it. A sharp point gets a ring of
/// vertices for either side, so the loader's smoothing keeps a crisp edge there.
struct ProfilePoint {
    float h;
    float r;
    bool sharp = false;
};

/// The surface swept by the profile turning once around the axis in segments steps. Points with
/// r = 0 become single vertices joined to the next ring by triangle fans. Faces point to the
/// left of the profile's direction in the (h, r) plane: where the profile runs towards +h they
/// face away from the axis, along +r towards -h, along -r towards +h. A profile from an axis
/// point round to an axis point (or round to its own first point) bounds a closed solid.
/// Angle 0 lies along +X for the Z axis, +Z for the Y axis and +Y for the X axis.
/// Throws std::invalid_argument for fewer than 3 segments, fewer than 2 points, negative or
/// non-finite values, two equal neighbours or two neighbouring points on the axis.
Mesh3ds makeLathe(const std::vector<ProfilePoint>& profile, int segments, Axis axis,
                  bool texCoords = true);

/// A closed cylinder between h0 and h1 along the axis with crisp rims.
Mesh3ds makeCylinder(float h0, float h1, float radius, int segments, Axis axis,
                     bool texCoords = true);

/// A UV sphere around the origin with its poles on the axis: rings bands from pole to pole
/// (rings >= 2), triangle fans at the poles.
Mesh3ds makeSphere(float radius, int segments, int rings, Axis axis = Axis::Y,
                   bool texCoords = true);

/// Six times the signed volume the faces enclose (positive for a closed mesh facing out).
double signedVolume6(const Mesh3ds& mesh);
