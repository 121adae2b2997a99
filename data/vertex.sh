// Beamworks scene vertex shader: passes the eye-space position and normal, the vertex colour
// (colour material), the texture coordinates and the shadow-map coordinates to the fragments.
#version 120

varying vec3 eyePosition;
varying vec3 eyeNormal;
varying vec4 vertexColor;
varying vec3 texCoord;
varying vec4 shadowCoord;

void main() {
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    eyePosition = eye.xyz;
    eyeNormal = gl_NormalMatrix * gl_Normal;
    vertexColor = gl_Color;
    texCoord = gl_MultiTexCoord0.stp;
    // Unit 7's texture matrix maps eye space into the shadow map.
    shadowCoord = gl_TextureMatrix[7] * eye;
    gl_Position = ftransform();
}
