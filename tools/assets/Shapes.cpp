#include "assets/Shapes.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace {

constexpr double PI = 3.141592653589793;

std::uint16_t index16(std::size_t i) {
    if (i >= MAX_3DS_COUNT) {
        throw std::invalid_argument("mesh grows past " + std::to_string(MAX_3DS_COUNT) +
                                    " vertices");
    }
    return static_cast<std::uint16_t>(i);
}

void addVertex(Mesh3ds& mesh, const Vec3& p, float s, float t, bool texCoords) {
    mesh.positions.push_back(p);
    if (texCoords) {
        mesh.texCoords.push_back({s, t});
    }
}

void addFace(Mesh3ds& mesh, std::size_t a, std::size_t b, std::size_t c) {
    mesh.faces.push_back({index16(a), index16(b), index16(c)});
}

void reverseWinding(Mesh3ds& mesh) {
    for (auto& f : mesh.faces) {
        std::swap(f[1], f[2]);
    }
}

/// A point at distance r from the axis, angle a around it and h along it.
Vec3 onAxis(Axis axis, double h, double r, double a) {
    const auto c = static_cast<float>(r * std::cos(a));
    const auto s = static_cast<float>(r * std::sin(a));
    const auto hf = static_cast<float>(h);
    switch (axis) {
    case Axis::X:
        return {hf, c, s};
    case Axis::Y:
        return {s, hf, c};
    case Axis::Z:
        break;
    }
    return {c, s, hf};
}

} // namespace

Transform Transform::translation(double x, double y, double z) {
    Transform t;
    t.rows[0][3] = x;
    t.rows[1][3] = y;
    t.rows[2][3] = z;
    return t;
}

Transform Transform::rotation(Axis axis, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    // Indices of the two coordinates the rotation turns, in right-handed order.
    const int i = axis == Axis::X ? 1 : axis == Axis::Y ? 2 : 0;
    const int j = axis == Axis::X ? 2 : axis == Axis::Y ? 0 : 1;
    Transform t;
    t.rows[i][i] = c;
    t.rows[i][j] = -s;
    t.rows[j][i] = s;
    t.rows[j][j] = c;
    return t;
}

Transform Transform::rotationAbout(const Vec3& point, const Vec3& direction, double angle) {
    const double len =
        std::sqrt(double(direction[0]) * direction[0] + double(direction[1]) * direction[1] +
                  double(direction[2]) * direction[2]);
    if (!(len > 0)) {
        throw std::invalid_argument("rotation axis has no direction");
    }
    const double x = direction[0] / len, y = direction[1] / len, z = direction[2] / len;
    const double c = std::cos(angle), s = std::sin(angle), k = 1 - c;
    Transform r;
    r.rows[0] = {c + x * x * k, x * y * k - z * s, x * z * k + y * s, 0};
    r.rows[1] = {y * x * k + z * s, c + y * y * k, y * z * k - x * s, 0};
    r.rows[2] = {z * x * k - y * s, z * y * k + x * s, c + z * z * k, 0};
    return translation(point[0], point[1], point[2]) * r *
           translation(-point[0], -point[1], -point[2]);
}

Transform Transform::scaling(double x, double y, double z) {
    Transform t;
    t.rows[0][0] = x;
    t.rows[1][1] = y;
    t.rows[2][2] = z;
    return t;
}

Transform Transform::operator*(const Transform& o) const {
    Transform r;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j) {
            double v = j == 3 ? rows[i][3] : 0.0;
            for (int k = 0; k < 3; ++k) {
                v += rows[i][k] * o.rows[k][j];
            }
            r.rows[i][j] = v;
        }
    }
    return r;
}

Vec3 Transform::apply(const Vec3& p) const {
    Vec3 r;
    for (int i = 0; i < 3; ++i) {
        r[i] = static_cast<float>(rows[i][0] * p[0] + rows[i][1] * p[1] + rows[i][2] * p[2] +
                                  rows[i][3]);
    }
    return r;
}

double Transform::determinant() const {
    const auto& a = rows;
    return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
           a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
           a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
}

void transformMesh(Mesh3ds& mesh, const Transform& t) {
    for (auto& p : mesh.positions) {
        p = t.apply(p);
    }
    if (t.determinant() < 0) {
        reverseWinding(mesh);
    }
}

Mesh3ds transformed(Mesh3ds mesh, const Transform& t) {
    transformMesh(mesh, t);
    return mesh;
}

void append(Mesh3ds& mesh, const Mesh3ds& part) {
    const bool meshTex = !mesh.texCoords.empty();
    const bool partTex = !part.texCoords.empty();
    if (!mesh.positions.empty() && !part.positions.empty() && meshTex != partTex) {
        throw std::invalid_argument("cannot join a mesh with texture coordinates to one without");
    }
    const std::size_t base = mesh.positions.size();
    if (base + part.positions.size() > MAX_3DS_COUNT) {
        throw std::invalid_argument("joined mesh grows past " + std::to_string(MAX_3DS_COUNT) +
                                    " vertices");
    }
    mesh.positions.insert(mesh.positions.end(), part.positions.begin(), part.positions.end());
    mesh.texCoords.insert(mesh.texCoords.end(), part.texCoords.begin(), part.texCoords.end());
    for (const auto& f : part.faces) {
        addFace(mesh, base + f[0], base + f[1], base + f[2]);
    }
}

Mesh3ds makeShapedBox(const std::function<Vec3(float, float, float)>& shape,
                      std::array<int, 3> divisions, bool texCoords) {
    for (int d : divisions) {
        if (d < 1) {
            throw std::invalid_argument("box divisions must be at least 1");
        }
    }
    // Each face of the unit cube: its corner at (s, t) = (0, 0), the unit steps along s and t,
    // and the cube axes those steps follow. s runs right and t up, seen from outside.
    struct Face {
        std::array<int, 3> origin;
        std::array<int, 3> right;
        std::array<int, 3> up;
        int rightAxis, upAxis;
    };
    static const Face faces[6] = {
        {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}, 0, 1},  // +Z
        {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, 0, 1}, // -Z
        {{1, 0, 1}, {0, 0, -1}, {0, 1, 0}, 2, 1}, // +X
        {{0, 0, 0}, {0, 0, 1}, {0, 1, 0}, 2, 1},  // -X
        {{0, 1, 1}, {1, 0, 0}, {0, 0, -1}, 0, 2}, // +Y
        {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, 0, 2},  // -Y
    };
    Mesh3ds mesh;
    for (const Face& f : faces) {
        const int nr = divisions[f.rightAxis], nu = divisions[f.upAxis];
        const std::size_t base = mesh.positions.size();
        for (int j = 0; j <= nu; ++j) {
            for (int i = 0; i <= nr; ++i) {
                const float s = float(i) / float(nr), t = float(j) / float(nu);
                std::array<float, 3> c;
                for (int k = 0; k < 3; ++k) {
                    c[k] = float(f.origin[k]) + s * float(f.right[k]) + t * float(f.up[k]);
                }
                addVertex(mesh, shape(c[0], c[1], c[2]), s, t, texCoords);
            }
        }
        const auto at = [&](int i, int j) { return base + std::size_t(j * (nr + 1) + i); };
        for (int j = 0; j < nu; ++j) {
            for (int i = 0; i < nr; ++i) {
                addFace(mesh, at(i, j), at(i + 1, j), at(i + 1, j + 1));
                addFace(mesh, at(i, j), at(i + 1, j + 1), at(i, j + 1));
            }
        }
    }
    if (signedVolume6(mesh) < 0) {
        reverseWinding(mesh);
    }
    return mesh;
}

Mesh3ds makeBox(const Vec3& lo, const Vec3& hi, std::array<int, 3> divisions, bool texCoords) {
    for (int k = 0; k < 3; ++k) {
        if (!(lo[k] < hi[k])) {
            throw std::invalid_argument("box corners must increase along every axis");
        }
    }
    return makeShapedBox(
        [&](float x, float y, float z) {
            const float c[3] = {x, y, z};
            Vec3 p;
            for (int k = 0; k < 3; ++k) {
                // Exact at both ends so faces of neighbouring boxes line up.
                p[k] = c[k] == 0 ? lo[k] : c[k] == 1 ? hi[k] : lo[k] + c[k] * (hi[k] - lo[k]);
            }
            return p;
        },
        divisions, texCoords);
}

Mesh3ds makeLathe(const std::vector<ProfilePoint>& profile, int segments, Axis axis,
                  bool texCoords) {
    if (segments < 3) {
        throw std::invalid_argument("a lathe needs at least 3 segments");
    }
    const std::size_t n = profile.size();
    if (n < 2) {
        throw std::invalid_argument("a lathe profile needs at least 2 points");
    }
    for (std::size_t i = 0; i < n; ++i) {
        const auto& p = profile[i];
        if (!std::isfinite(p.h) || !std::isfinite(p.r) || p.r < 0) {
            throw std::invalid_argument("lathe profile point " + std::to_string(i) +
                                        " is not finite or has a negative radius");
        }
        if (i + 1 < n) {
            const auto& q = profile[i + 1];
            if (p.h == q.h && p.r == q.r) {
                throw std::invalid_argument("lathe profile points " + std::to_string(i) + " and " +
                                            std::to_string(i + 1) + " are equal");
            }
            if (p.r == 0 && q.r == 0) {
                throw std::invalid_argument("lathe profile segment " + std::to_string(i) +
                                            " lies on the axis");
            }
        }
    }

    // Texture t by arc length along the profile.
    std::vector<double> arc(n, 0.0);
    for (std::size_t i = 1; i < n; ++i) {
        arc[i] = arc[i - 1] + std::hypot(double(profile[i].h) - profile[i - 1].h,
                                         double(profile[i].r) - profile[i - 1].r);
    }

    // A row is the vertex ring (or the single axis vertex) of one profile point; sharp interior
    // points have an incoming and an outgoing row.
    const int columns = texCoords ? segments + 1 : segments;
    Mesh3ds mesh;
    const auto addRow = [&](std::size_t i) {
        const std::size_t base = mesh.positions.size();
        const auto& p = profile[i];
        const auto t = static_cast<float>(arc[i] / arc[n - 1]);
        if (p.r == 0) {
            addVertex(mesh, onAxis(axis, p.h, 0, 0), 0.5f, t, texCoords);
        } else {
            for (int j = 0; j < columns; ++j) {
                // The seam column repeats column 0 exactly.
                const double a = 2 * PI * double(j % segments) / segments;
                addVertex(mesh, onAxis(axis, p.h, p.r, a), float(j) / float(segments), t,
                          texCoords);
            }
        }
        return base;
    };
    std::vector<std::size_t> inRow(n), outRow(n);
    for (std::size_t i = 0; i < n; ++i) {
        inRow[i] = addRow(i);
        const bool split = profile[i].sharp && profile[i].r > 0 && i > 0 && i + 1 < n;
        outRow[i] = split ? addRow(i) : inRow[i];
    }

    const auto vertex = [&](std::size_t row, std::size_t i, int j) {
        if (profile[i].r == 0) {
            return row;
        }
        return row + std::size_t(texCoords ? j : j % segments);
    };
    for (std::size_t i = 0; i + 1 < n; ++i) {
        for (int j = 0; j < segments; ++j) {
            const std::size_t a = vertex(outRow[i], i, j), b = vertex(outRow[i], i, j + 1);
            const std::size_t c = vertex(inRow[i + 1], i + 1, j + 1),
                              d = vertex(inRow[i + 1], i + 1, j);
            if (profile[i].r == 0) {
                addFace(mesh, a, c, d);
            } else if (profile[i + 1].r == 0) {
                addFace(mesh, a, b, c);
            } else {
                addFace(mesh, a, b, c);
                addFace(mesh, a, c, d);
            }
        }
    }
    return mesh;
}

Mesh3ds makeCylinder(float h0, float h1, float radius, int segments, Axis axis, bool texCoords) {
    if (h1 < h0) {
        std::swap(h0, h1);
    }
    return makeLathe({{h0, 0}, {h0, radius, true}, {h1, radius, true}, {h1, 0}}, segments, axis,
                     texCoords);
}

Mesh3ds makeSphere(float radius, int segments, int rings, Axis axis, bool texCoords) {
    if (rings < 2) {
        throw std::invalid_argument("a sphere needs at least 2 rings");
    }
    std::vector<ProfilePoint> profile;
    for (int k = 0; k <= rings; ++k) {
        const double phi = PI * (double(k) / rings - 0.5);
        const bool pole = k == 0 || k == rings;
        profile.push_back({static_cast<float>(radius * std::sin(phi)),
                           pole ? 0.0f : static_cast<float>(radius * std::cos(phi))});
    }
    profile.front().h = -radius;
    profile.back().h = radius;
    return makeLathe(profile, segments, axis, texCoords);
}

double signedVolume6(const Mesh3ds& mesh) {
    double v = 0;
    for (const auto& f : mesh.faces) {
        const auto& a = mesh.positions[f[0]];
        const auto& b = mesh.positions[f[1]];
        const auto& c = mesh.positions[f[2]];
        v += double(a[0]) * (double(b[1]) * c[2] - double(b[2]) * c[1]) -
             double(a[1]) * (double(b[0]) * c[2] - double(b[2]) * c[0]) +
             double(a[2]) * (double(b[0]) * c[1] - double(b[1]) * c[0]);
    }
    return v;
}
