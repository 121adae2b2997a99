// Beamworks scene fragment shader: per-pixel lighting from light 1 (and the scene ambient),
// the vertex colour modulated by the 2D or 3D texture that "activeTexture" names (2 or 3; any
// other value: untextured), darkened by "darking" inside reflections, and shadowed through the
// shadow map when "useShadows" is 1.
#version 120

uniform sampler2D normal2DTex;
uniform sampler3D normal3DTex;
uniform sampler2D shadowMap;
// The game also builds the program once per texture kind with TEXTURE_KIND defined (0, 2 or 3),
// so that no fragment pays for the branch on the kind: software OpenGL runs both of its sides.
#ifdef TEXTURE_KIND
#define activeTexture TEXTURE_KIND
#else
uniform int activeTexture;
#endif
uniform float darking;
uniform int useShadows;

varying vec3 eyePosition;
varying vec3 eyeNormal;
varying vec4 vertexColor;
varying vec3 texCoord;
varying vec4 shadowCoord;

// 1.0 where the light reaches the fragment, less where something lies between.
float shadowFactor() {
    if (useShadows != 1 || shadowCoord.w <= 0.0) {
        return 1.0;
    }
    vec3 p = shadowCoord.xyz / shadowCoord.w;
    if (p.x <= 0.0 || p.x >= 1.0 || p.y <= 0.0 || p.y >= 1.0 || p.z >= 1.0) {
        return 1.0;
    }
    float nearest = texture2D(shadowMap, p.xy).r;
    return p.z - 0.0015 > nearest ? 0.45 : 1.0;
}

void main() {
    vec4 base = vertexColor;
    if (activeTexture == 2) {
        base *= texture2D(normal2DTex, texCoord.st);
    } else if (activeTexture == 3) {
        base *= texture3D(normal3DTex, texCoord);
    }
    vec3 n = normalize(eyeNormal);
    if (!gl_FrontFacing) {
        n = -n;
    }
    vec3 l = normalize(gl_LightSource[1].position.xyz);
    vec3 v = normalize(-eyePosition);
    float diffuse = max(dot(n, l), 0.0);
    float specular = diffuse > 0.0 ? pow(max(dot(n, normalize(l + v)), 0.0), 48.0) : 0.0;
    float lit = shadowFactor();
    vec3 color = base.rgb * (gl_LightModel.ambient.rgb + 0.15 +
                             gl_LightSource[1].diffuse.rgb * diffuse * lit) +
                 gl_LightSource[1].specular.rgb * 0.25 * specular * lit;
    gl_FragColor = vec4(color * darking, base.a);
}
