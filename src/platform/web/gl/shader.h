#pragma once
// The one program the layer draws with (GLSL ES 1.00): GL 1.1's vertex stage as Mesa computes
// it, per vertex in eye space (up to 8 lights, material with colour tracking, sphere-map
// coordinates, the texture matrix), colours interpolated across the primitive; then modulate
// texturing, or a bitmap's pixel mask.

namespace VARKO::GLLayer {

// The vertex attributes, in the order of their locations.
constexpr const char* kAttributeNames[] = {"aPosition", "aNormal", "aColor", "aTexCoord"};
constexpr int kAttributeSizes[] = {4, 3, 4, 4};

constexpr const char* kVertexShader = R"(
attribute vec4 aPosition;
attribute vec3 aNormal;
attribute vec4 aColor;
attribute vec4 aTexCoord;

uniform mat4 uModelView;
uniform mat4 uProjection;
uniform mat3 uNormalMatrix;
uniform mat4 uTextureMatrix;
uniform bool uLighting;
uniform bool uNormalize;
uniform bool uSphereMapS;
uniform bool uSphereMapT;
// 0: no tracking; 1 ambient and diffuse, 2 ambient, 3 diffuse, 4 specular, 5 emission
uniform int uColorMaterial;
uniform vec4 uLightModelAmbient;
uniform vec4 uMaterialAmbient;
uniform vec4 uMaterialDiffuse;
uniform vec4 uMaterialSpecular;
uniform vec4 uMaterialEmission;
uniform float uShininess;
uniform bool uLightOn[8];
uniform vec4 uLightPosition[8];
uniform vec4 uLightAmbient[8];
uniform vec4 uLightDiffuse[8];
uniform vec4 uLightSpecular[8];
uniform vec3 uLightAttenuation[8];
uniform vec3 uSpotDirection[8];
uniform float uSpotExponent[8];
uniform float uSpotCosCutoff[8]; // -2 for a light that is no spot

varying vec4 vColor;
varying vec4 vTexCoord;

vec4 Tracked(int mode, vec4 material) {
    return uColorMaterial == mode ? aColor : material;
}

// One light's share: ambient, diffuse and (with the viewer at infinity) specular.
vec3 LightShare(int i, vec3 eye, vec3 n, vec4 ambient, vec4 diffuse, vec4 specular) {
    vec4 p = uLightPosition[i];
    vec3 l = p.xyz;
    float attenuation = 1.0;
    if (p.w != 0.0) {
        vec3 toLight = p.xyz / p.w - eye;
        float d = length(toLight);
        l = toLight;
        attenuation = 1.0 / (uLightAttenuation[i].x + d * (uLightAttenuation[i].y +
                                                           d * uLightAttenuation[i].z));
    }
    l = normalize(l);
    if (uSpotCosCutoff[i] > -1.5) {
        float s = dot(-l, normalize(uSpotDirection[i]));
        attenuation *= s < uSpotCosCutoff[i] ? 0.0 : pow(max(s, 0.0), uSpotExponent[i]);
    }
    float nDotL = dot(n, l);
    vec3 color = ambient.rgb * uLightAmbient[i].rgb;
    if (nDotL > 0.0) {
        color += nDotL * diffuse.rgb * uLightDiffuse[i].rgb;
        float nDotH = dot(n, normalize(l + vec3(0.0, 0.0, 1.0)));
        if (nDotH > 0.0) {
            color += pow(nDotH, uShininess) * specular.rgb * uLightSpecular[i].rgb;
        }
    }
    return attenuation * color;
}

vec4 Lit(vec3 eye, vec3 n) {
    vec4 ambient = uColorMaterial == 1 ? aColor : Tracked(2, uMaterialAmbient);
    vec4 diffuse = uColorMaterial == 1 ? aColor : Tracked(3, uMaterialDiffuse);
    vec4 specular = Tracked(4, uMaterialSpecular);
    vec3 color = Tracked(5, uMaterialEmission).rgb + ambient.rgb * uLightModelAmbient.rgb;
    for (int i = 0; i < 8; ++i) {
        if (uLightOn[i]) {
            color += LightShare(i, eye, n, ambient, diffuse, specular);
        }
    }
    return vec4(color, diffuse.a);
}

// GL's sphere map: the eye vector reflected about the normal, onto the unit disc.
vec2 SphereMap(vec3 eye, vec3 n) {
    vec3 u = normalize(eye);
    vec3 r = u - 2.0 * n * dot(n, u);
    float m = 2.0 * sqrt(r.x * r.x + r.y * r.y + (r.z + 1.0) * (r.z + 1.0));
    return r.xy / m + 0.5;
}

void main() {
    vec4 eye = uModelView * aPosition;
    gl_Position = uProjection * eye;
    gl_PointSize = 1.0;
    vec3 n = uNormalMatrix * aNormal;
    if (uNormalize) {
        n = normalize(n);
    }
    vec3 eyePosition = eye.xyz / eye.w;
    vColor = clamp(uLighting ? Lit(eyePosition, n) : aColor, 0.0, 1.0);
    vec4 texCoord = aTexCoord;
    if (uSphereMapS || uSphereMapT) {
        vec2 sphere = SphereMap(eyePosition, n);
        texCoord.s = uSphereMapS ? sphere.s : texCoord.s;
        texCoord.t = uSphereMapT ? sphere.t : texCoord.t;
    }
    vTexCoord = uTextureMatrix * texCoord;
}
)";

constexpr const char* kFragmentShader = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform bool uTexturing;
uniform bool uBitmap;
uniform sampler2D uSampler;
varying vec4 vColor;
varying vec4 vTexCoord;

void main() {
    if (uBitmap) {
        if (texture2D(uSampler, vTexCoord.st).a < 0.5) {
            discard;
        }
        gl_FragColor = vColor;
    } else if (uTexturing) {
        gl_FragColor = vColor * texture2DProj(uSampler, vTexCoord);
    } else {
        gl_FragColor = vColor;
    }
}
)";

} // namespace VARKO::GLLayer
