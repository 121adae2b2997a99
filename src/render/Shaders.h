#pragma once
// The GLSL program that draws the scene, built from "vertex.sh" and "fragment.sh".

#include <string>

/// The whole file as text; false (after "Cannot load " and the path) when it cannot be read.
bool readTextFile(const std::string& path, std::string& text);

/// Builds the program from the two source files and prints "." followed by its log. Returns 0
/// (fixed-function drawing) when a source file is missing.
unsigned int buildShaderProgram();

/// While the scene program is the current one, makes current its variant for one texture kind
/// (0: untextured, 2: the 2D texture, 3: the volume texture), which draws the same colours
/// without branching on the kind, with the scene program's values of the uniforms they share.
/// Returns the program to make current again after the drawing, or 0 when nothing changed.
unsigned int useTextureVariant(unsigned int program, int kind);

/// Sets a uniform of the program when it is the current program and has a uniform of that
/// name; otherwise nothing happens.
void setUniform(unsigned int program, const char* name, int value);
void setUniform(unsigned int program, const char* name, float value);
