#include "gl_renderer.h"

#include <GLES3/gl3.h>

#include "view/cell_geometry.h"
#include "bitmap/textures.h"
#include "walker/program.h"
#include "bitmap/mipmaps.h"

namespace {

const char* const kVertexShader = R"(#version 300 es
layout(location = 0) in vec3 position;
layout(location = 1) in vec2 texCoord;
layout(location = 2) in vec3 offset;  // per instance: the cell's place
uniform mat4 projection;
uniform mat4 view;
out vec2 uv;
void main()
{
    uv = texCoord;
    gl_Position = projection * (view * vec4(position + offset, 1.0));
}
)";

// GL_REPLACE on an RGB texture: the texel's colour, full alpha.
const char* const kFragmentShader = R"(#version 300 es
precision highp float;
uniform sampler2D surface;
in vec2 uv;
out vec4 colour;
void main()
{
    colour = vec4(texture(surface, uv).rgb, 1.0);
}
)";

// Index ranges in the shared buffers: quads split into two triangles each.
const int kCubeFirstIndex = 0;
const int kCubeIndexCount = kCubeVertexCount / 4 * 6;
const int kFloorFirstIndex = kCubeIndexCount;
const int kFloorIndexCount = kFloorVertexCount / 4 * 6;

unsigned compile(GLenum kind, const char* source)
{
    GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

void appendQuads(const TexVertex* table, int count, float half, std::vector<float>& vertices,
                 std::vector<unsigned short>& indices)
{
    const unsigned short base = static_cast<unsigned short>(vertices.size() / 5);
    for (int i = 0; i < count; ++i) {
        const TexVertex& v = table[i];
        vertices.insert(vertices.end(), {v.x * half, v.y * half, v.z * half, v.s, v.t});
    }
    for (int q = 0; q < count / 4; ++q) {
        const unsigned short a = static_cast<unsigned short>(base + 4 * q);
        indices.insert(indices.end(), {a, static_cast<unsigned short>(a + 1), static_cast<unsigned short>(a + 2), a,
                                       static_cast<unsigned short>(a + 2), static_cast<unsigned short>(a + 3)});
    }
}

}  // namespace

void GlRenderer::init()
{
    // Nothing here asks whether the shaders compiled: each such question
    // waits for the GPU process, which compiles meanwhile. finishInit asks.
    vertexShader_ = compile(GL_VERTEX_SHADER, kVertexShader);
    fragmentShader_ = compile(GL_FRAGMENT_SHADER, kFragmentShader);
    program_ = glCreateProgram();
    glAttachShader(program_, vertexShader_);
    glAttachShader(program_, fragmentShader_);
    glLinkProgram(program_);

    // The desktop's half-size of a cell's shapes is 1.
    std::vector<float> vertices;
    std::vector<unsigned short> indices;
    appendQuads(kCubeVertices, kCubeVertexCount, 1.0f, vertices, indices);
    appendQuads(kFloorVertices, kFloorVertexCount, 1.0f, vertices, indices);
    glGenVertexArrays(1, &vao_);
    glBindVertexArray(vao_);
    glGenBuffers(1, &vertexBuffer_);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.size() * sizeof(float)), vertices.data(), GL_STATIC_DRAW);
    glGenBuffers(1, &indexBuffer_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(unsigned short)), indices.data(),
                 GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 5 * sizeof(float), nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 5 * sizeof(float), reinterpret_cast<void*>(3 * sizeof(float)));
    glGenBuffers(1, &offsetBuffer_);
    glBindBuffer(GL_ARRAY_BUFFER, offsetBuffer_);
    glEnableVertexAttribArray(2);
    glVertexAttribDivisor(2, 1);

    glClearColor(kSkyColour[0], kSkyColour[1], kSkyColour[2], kSkyColour[3]);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glGenTextures(kLookSlotCount, textures_);
}

bool GlRenderer::finishInit(std::string* err)
{
    // A linked program had both shaders compiled: only a failure asks more
    // (each question waits for the GPU process).
    GLint linked = 0;
    glGetProgramiv(program_, GL_LINK_STATUS, &linked);
    if (!linked) {
        for (GLuint shader : {vertexShader_, fragmentShader_}) {
            GLint compiled = 0;
            glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
            if (!compiled) {
                char log[1024] = "";
                glGetShaderInfoLog(shader, sizeof log, nullptr, log);
                *err = std::string("shader: ") + log;
                return false;
            }
        }
        *err = "shader program does not link";
        return false;
    }
    glDeleteShader(vertexShader_);
    glDeleteShader(fragmentShader_);
    vertexShader_ = fragmentShader_ = 0;
    glUseProgram(program_);
    projectionAt_ = glGetUniformLocation(program_, "projection");
    viewAt_ = glGetUniformLocation(program_, "view");
    glUniform1i(glGetUniformLocation(program_, "surface"), 0);
    return true;
}

void GlRenderer::release()
{
    glDeleteTextures(kLookSlotCount, textures_);
    const GLuint buffers[] = {vertexBuffer_, indexBuffer_, offsetBuffer_};
    glDeleteBuffers(3, buffers);
    glDeleteVertexArrays(1, &vao_);
    glDeleteShader(vertexShader_);
    glDeleteShader(fragmentShader_);
    glDeleteProgram(program_);
    const bool showExits = showExits_;
    *this = GlRenderer();
    showExits_ = showExits;
}

void GlRenderer::setTexture(int slot, const RgbImage& image)
{
    if (slot == 0) {
        std::vector<uint8_t> pixels = exitFloorPixels(image);
        upload(kExitFloorSlot, RgbImage{image.width, image.height, pixels.data()});
    }
    upload(slot, image);
}

void GlRenderer::upload(int slot, const RgbImage& image)
{
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    const std::vector<MipLevel> levels = buildMipmaps(image, maxSide > 0 ? maxSide : 1024);
    glBindTexture(GL_TEXTURE_2D, textures_[slot]);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (size_t i = 0; i < levels.size(); ++i)
        glTexImage2D(GL_TEXTURE_2D, GLint(i), GL_RGB8, levels[i].width, levels[i].height, 0, GL_RGB,
                     GL_UNSIGNED_BYTE, levels[i].rgb.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

void GlRenderer::setViewport(int width, int height)
{
    glViewport(0, 0, width, height);
}

void GlRenderer::setProjection(const float m[16])
{
    glUseProgram(program_);
    glUniformMatrix4fv(projectionAt_, 1, GL_FALSE, m);
}

void GlRenderer::drawFrame(const maze& level, const std::vector<point2>& cells, int cellSpacing, const float view[16])
{
    // One instanced draw per texture instead of one draw per cell. With the
    // depth test deciding and no translucency (the desktop blends, but every
    // colour is opaque), the order of the cells cannot change the picture.
    for (std::vector<float>& offsets : offsets_)
        offsets.clear();
    const int markedExits = showExits_ ? level.getExitCount() : 0;
    for (const point2& cell : cells) {
        CellLook look;
        if (!cellLookAt(level, cell, markedExits, look))
            continue;
        std::vector<float>& offsets = offsets_[look.textureSlot];
        wall_[look.textureSlot] = look.wall;
        offsets.insert(offsets.end(), {float(cell.column * cellSpacing), 0.0f, float(cell.row * cellSpacing)});
    }
    instances_.clear();
    for (const std::vector<float>& offsets : offsets_)
        instances_.insert(instances_.end(), offsets.begin(), offsets.end());

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glUseProgram(program_);
    glBindVertexArray(vao_);
    glUniformMatrix4fv(viewAt_, 1, GL_FALSE, view);
    glActiveTexture(GL_TEXTURE0);
    glBindBuffer(GL_ARRAY_BUFFER, offsetBuffer_);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(instances_.size() * sizeof(float)), instances_.data(), GL_STREAM_DRAW);
    size_t first = 0;
    for (int slot = 0; slot < kLookSlotCount; ++slot) {
        const GLsizei count = GLsizei(offsets_[slot].size() / 3);
        if (count == 0)
            continue;
        glBindTexture(GL_TEXTURE_2D, textures_[slot]);
        glVertexAttribPointer(2, 3, GL_FLOAT, GL_FALSE, 0, reinterpret_cast<void*>(first * 3 * sizeof(float)));
        const bool wall = wall_[slot];
        glDrawElementsInstanced(GL_TRIANGLES, wall ? kCubeIndexCount : kFloorIndexCount, GL_UNSIGNED_SHORT,
                                reinterpret_cast<void*>((wall ? kCubeFirstIndex : kFloorFirstIndex) *
                                                        sizeof(unsigned short)),
                                count);
        first += size_t(count);
    }
}
