#pragma once
// Geometric checks on built meshes shared by the asset tests.

#include "assets/Shapes.h"
#include "support/ScratchDir.h"

#include <cmath>
#include <filesystem>
#include <map>
#include <numeric>
#include <string>

namespace meshcheck {

struct Solidity {
    int unpairedEdges = 0;         ///< directed edges without a reverse partner
    double minPartVolume6 = 1e300; ///< smallest signed volume (x6) of a connected part
    double minArea2 = 1e300;       ///< smallest doubled triangle area
};

/// Welds vertices by position, then checks that every edge is used once in each direction (a
/// closed, consistently wound surface) and that every connected part encloses positive volume.
inline Solidity solidity(const Mesh3ds& mesh) {
    std::map<std::array<long, 3>, int> ids;
    std::vector<int> weld;
    for (const auto& p : mesh.positions) {
        const std::array<long, 3> key{std::lround(p[0] * 1e4), std::lround(p[1] * 1e4),
                                      std::lround(p[2] * 1e4)};
        weld.push_back(ids.emplace(key, int(ids.size())).first->second);
    }
    std::vector<int> parent(ids.size());
    std::iota(parent.begin(), parent.end(), 0);
    const auto root = [&](int v) {
        while (parent[v] != v) {
            v = parent[v] = parent[parent[v]];
        }
        return v;
    };
    std::map<std::pair<int, int>, int> edges;
    Solidity s;
    for (const auto& f : mesh.faces) {
        for (int k = 0; k < 3; ++k) {
            const int a = weld[f[k]], b = weld[f[(k + 1) % 3]];
            ++edges[{a, b}];
            parent[root(a)] = root(b);
        }
        const auto &p = mesh.positions[f[0]], &q = mesh.positions[f[1]], &r = mesh.positions[f[2]];
        const double u[3] = {q[0] - p[0], q[1] - p[1], q[2] - p[2]};
        const double v[3] = {r[0] - p[0], r[1] - p[1], r[2] - p[2]};
        s.minArea2 =
            std::min(s.minArea2, std::hypot(u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                                            u[0] * v[1] - u[1] * v[0]));
    }
    for (const auto& [edge, count] : edges) {
        const auto back = edges.find({edge.second, edge.first});
        s.unpairedEdges += std::abs(count - (back == edges.end() ? 0 : back->second));
    }
    std::map<int, Mesh3ds> parts;
    for (const auto& f : mesh.faces) {
        Mesh3ds& part = parts[root(weld[f[0]])];
        part.positions = mesh.positions;
        part.faces.push_back(f);
    }
    for (const auto& [id, part] : parts) {
        s.minPartVolume6 = std::min(s.minPartVolume6, signedVolume6(part));
    }
    return s;
}

} // namespace meshcheck
