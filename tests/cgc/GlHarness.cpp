#include "GlHarness.h"

#include <epoxy/gl.h>

#include "support/GLTest.h"

#include <vector>

using namespace Kestrane::CgCompiler;

GlHarness* glHarness() {
    static GlHarness* harness = []() -> GlHarness* {
        testContext();
        auto* h = new GlHarness;
        glGenTextures(1, &h->colour);
        glBindTexture(GL_TEXTURE_2D, h->colour);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, 1, 1, 0, GL_RGBA, GL_FLOAT, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glGenFramebuffers(1, &h->framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, h->framebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, h->colour, 0);
        if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) return nullptr;
        glViewport(0, 0, 1, 1);
        return h;
    }();
    return harness;
}

namespace {

unsigned int compileShader(GLenum kind, const std::string& text, std::string& log) {
    GLuint shader = glCreateShader(kind);
    const char* source = text.c_str();
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        GLint length = 0;
        glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        glGetShaderInfoLog(shader, length, nullptr, buffer.data());
        log = buffer.data();
        if (log.empty()) log = "compile failed";
        glErrors();  // the driver's debug report of this failure is the log returned
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

GLint location(unsigned int program, const Result& r, const std::string& cgName) {
    const Uniform* u = r.findUniform(cgName);
    return u && u->referenced ? glGetUniformLocation(program, u->glslName.c_str()) : -1;
}

}  // namespace

std::string checkGlsl(const Result& result, Stage stage) {
    if (!glHarness()) return "no GL context";
    if (!result.ok) return "Cg compile failed:\n" + result.listing;
    std::string log;
    unsigned int shader = compileShader(stage == Stage::Vertex ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER, result.glsl, log);
    if (!shader) return result.mapDriverLog(log) + "\n" + result.glsl;
    glDeleteShader(shader);
    return "";
}

CgPair buildPair(const std::string& source, const Options& options) {
    CgPair pair;
    pair.vertex = compile(source, Stage::Vertex, "vsMain", "vp_", options);
    pair.fragment = compile(source, Stage::Fragment, "psMain", "fp_", options);
    if (!pair.vertex.ok || !pair.fragment.ok) {
        pair.error = pair.vertex.listing + pair.fragment.listing;
        return pair;
    }
    if (!glHarness()) {
        pair.error = "no GL context";
        return pair;
    }
    std::string log;
    unsigned int vs = compileShader(GL_VERTEX_SHADER, pair.vertex.glsl, log);
    unsigned int fs = vs ? compileShader(GL_FRAGMENT_SHADER, pair.fragment.glsl, log) : 0;
    if (!vs || !fs) {
        const Result& failed = vs ? pair.fragment : pair.vertex;
        pair.error = failed.mapDriverLog(log) + failed.glsl;
        glDeleteShader(vs);
        return pair;
    }
    pair.program = glCreateProgram();
    glAttachShader(pair.program, vs);
    glAttachShader(pair.program, fs);
    for (const AttributeBinding& a : pair.vertex.attributes)
        glBindAttribLocation(pair.program, static_cast<GLuint>(a.location), a.glslName.c_str());
    glLinkProgram(pair.program);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = 0;
    glGetProgramiv(pair.program, GL_LINK_STATUS, &ok);
    if (!ok) {
        char buffer[4096] = {};
        glGetProgramInfoLog(pair.program, sizeof buffer - 1, nullptr, buffer);
        pair.error = std::string("link failed: ") + buffer;
        return pair;
    }
    glUseProgram(pair.program);
    // GLSL ES has no uniform initializers: set the defaults as the runtime does.
    for (const Result* r : {&pair.vertex, &pair.fragment}) {
        for (const Uniform& u : r->uniforms) {
            GLint l = u.defaultValue.empty() ? -1 : glGetUniformLocation(pair.program, u.glslName.c_str());
            if (l < 0) continue;
            const float* v = u.defaultValue.data();
            if (u.isMatrix() && u.rows == u.columns) {
                if (u.rows == 2) glUniformMatrix2fv(l, 1, GL_TRUE, v);
                if (u.rows == 3) glUniformMatrix3fv(l, 1, GL_TRUE, v);
                if (u.rows == 4) glUniformMatrix4fv(l, 1, GL_TRUE, v);
            } else if (!u.isMatrix() && u.arraySize == 0) {
                if (u.columns == 1) glUniform1fv(l, 1, v);
                if (u.columns == 2) glUniform2fv(l, 1, v);
                if (u.columns == 3) glUniform3fv(l, 1, v);
                if (u.columns == 4) glUniform4fv(l, 1, v);
            }
        }
    }
    return pair;
}

CgPair::~CgPair() {
    if (program) glDeleteProgram(program);
}

namespace {

// Runs set(location) for the uniform's location in each program that uses it.
template <typename Set>
void setUniform(const CgPair& pair, const std::string& name, Set set) {
    glUseProgram(pair.program);
    for (const Result* r : {&pair.vertex, &pair.fragment})
        if (GLint l = location(pair.program, *r, name); l >= 0) set(l);
}

}  // namespace

void CgPair::setFloat(const std::string& name, float x) {
    setUniform(*this, name, [&](GLint l) { glUniform1f(l, x); });
}

void CgPair::setFloat4(const std::string& name, float x, float y, float z, float w) {
    setUniform(*this, name, [&](GLint l) { glUniform4f(l, x, y, z, w); });
}

void CgPair::setMatrixRowMajor(const std::string& name, const float* m) {
    setUniform(*this, name, [&](GLint l) { glUniformMatrix4fv(l, 1, GL_TRUE, m); });
}

namespace {

// A new texture on unit, filled by upload(), nearest filtering, for the named sampler.
template <typename Upload>
void bindTexture(const CgPair& pair, const std::string& name, int unit, GLenum target, Upload upload) {
    glUseProgram(pair.program);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    glBindTexture(target, texture);
    upload();
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glActiveTexture(GL_TEXTURE0);
    if (GLint l = location(pair.program, pair.fragment, name); l >= 0) glUniform1i(l, unit);
}

}  // namespace

void CgPair::setTexture(const std::string& name, int unit, int w, int h, const float* rgba) {
    bindTexture(*this, name, unit, GL_TEXTURE_2D,
                [&] { glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, w, h, 0, GL_RGBA, GL_FLOAT, rgba); });
}

void CgPair::setDepthTexture(const std::string& name, int unit, bool oneD, float depth) {
    const GLenum target = oneD ? GL_TEXTURE_1D : GL_TEXTURE_2D;
    bindTexture(*this, name, unit, target, [&] {
        if (oneD) glTexImage1D(target, 0, GL_DEPTH_COMPONENT24, 1, 0, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        else glTexImage2D(target, 0, GL_DEPTH_COMPONENT24, 1, 1, 0, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        glTexParameteri(target, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_R_TO_TEXTURE);
        glTexParameteri(target, GL_TEXTURE_COMPARE_FUNC, GL_LEQUAL);
    });
}

std::array<float, 4> CgPair::draw() {
    std::array<float, 4> pixel{-999.0f, -999.0f, -999.0f, -999.0f};
    if (!program) return pixel;
    glUseProgram(program);
    glBindFramebuffer(GL_FRAMEBUFFER, glHarness()->framebuffer);
    glViewport(0, 0, 1, 1);
    // Values outside 0 .. 1 pass through unclamped (each test starts clamped).
    glClampColor(GL_CLAMP_READ_COLOR, GL_FALSE);
    glClampColor(GL_CLAMP_VERTEX_COLOR, GL_FALSE);
    glClampColor(GL_CLAMP_FRAGMENT_COLOR, GL_FALSE);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glBegin(GL_QUADS);
    const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    // GLSL ES programs read their attributes at the generic locations:
    // normal 2, colour 3, texture coordinate 8.
    const bool es = vertex.glsl.rfind("#version 300 es", 0) == 0;
    for (const auto& c : corners) {
        glMultiTexCoord4f(GL_TEXTURE0, (c[0] + 1) * 0.5f, (c[1] + 1) * 0.5f, 0.0f, 1.0f);
        glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
        glNormal3f(0.0f, 0.0f, 1.0f);
        if (es) {
            glVertexAttrib4f(8, (c[0] + 1) * 0.5f, (c[1] + 1) * 0.5f, 0.0f, 1.0f);
            glVertexAttrib4f(3, 0.25f, 0.5f, 0.75f, 1.0f);
            glVertexAttrib4f(2, 0.0f, 0.0f, 1.0f, 1.0f);
        }
        for (const auto& [index, value] : generic)
            glVertexAttrib4f(static_cast<GLuint>(index), value[0], value[1], value[2], value[3]);
        glVertex2f(c[0], c[1]);
    }
    glEnd();
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_FLOAT, pixel.data());
    return pixel;
}
