#pragma once
// OpenGL 2.0 with the extension entry points (GLEW) and GLU, for the rendering code.

#include <GL/glew.h>

#include <GL/glu.h>
