#pragma once
// Angle-weighted vertex normals with crease splitting.

#include "model/ModelLoader.h"

/// Fills model.normals for the positions and indices of a freshly read model, splitting vertices
/// on creases: at each vertex, a corner whose face normal differs from the vertex's first corner
/// (in index order) by more than angleThreshold * pi moves to one new vertex per pass, which is
/// itself processed later in the same way. Split vertices copy the position and, when read from
/// the file, the texture coordinates. Each vertex's corners are gathered once, so the work grows
/// linearly with the mesh. Returns false, leaving the model unusable, when more than
/// MAX_MODEL_VERTICES vertices would result.
bool smoothNormals(Model& model, float angleThreshold);
