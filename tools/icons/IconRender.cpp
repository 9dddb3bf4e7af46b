// Renders the desktop icons from the game's own figure and texture atlas.
//
//   build/tools/icons/iconrender . packaging/icons
//
// reads Media/textureatlas.png below the first folder and writes snowroll-<size>.png for every
// icon size into the second. It opens the game's window, so it needs a display (Xvfb will do),
// and draws with the game's meshes, atlas and render state into an offscreen framebuffer. The
// PNG files are written with libpng (Debian: libpng-dev) at fixed settings, so the same build on
// the same renderer writes the same bytes.
#include "app/Video.h"
#include "assets/Assets.h"
#include "assets/Meshes.h"
#include "game/GameState.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL.h>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <png.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// 192 and 512 are the sizes an installable web page names.
constexpr int IconSizes[] = {16, 24, 32, 48, 64, 128, 192, 256, 512};
// Each icon pixel averages Supersample by Supersample rendered pixels, for smooth edges.
constexpr int Supersample = 4;
// The figure is seen from the front-left, a little from above, the way it looks at the player.
constexpr float ViewTurnDegrees = -60.0f;
constexpr float ViewTiltDegrees = 15.0f;
// Share of the icon's side left empty around the figure.
constexpr float Margin = 0.04f;

struct Bounds {
    float left;
    float right;
    float bottom;
    float top;
};

// The figure's extent on screen under the current model-view rotation, made square and padded.
Bounds FigureBounds() {
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    Bounds b = {1e30f, -1e30f, 1e30f, -1e30f};
    for (int v = 0; v < FigureSmall.vertexCount; ++v) {
        const float* p = FigureSmall.positions + 3 * v;
        const float x = m[0] * p[0] + m[4] * p[1] + m[8] * p[2] + m[12];
        const float y = m[1] * p[0] + m[5] * p[1] + m[9] * p[2] + m[13];
        b = {std::min(b.left, x), std::max(b.right, x), std::min(b.bottom, y), std::max(b.top, y)};
    }
    const float centreX = (b.left + b.right) * 0.5f;
    const float centreY = (b.bottom + b.top) * 0.5f;
    const float half = std::max(b.right - b.left, b.top - b.bottom) * (0.5f + Margin);
    if (!(half > 0.0f)) {
        return {-1.0f, 1.0f, -1.0f, 1.0f};
    }
    return {centreX - half, centreX + half, centreY - half, centreY + half};
}

// Draws the small figure, textured from the atlas, into the bound framebuffer of side `pixels`.
void DrawFigure(int pixels) {
    glViewport(0, 0, pixels, pixels);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(ViewTiltDegrees, 1.0f, 0.0f, 0.0f);
    glRotatef(ViewTurnDegrees, 0.0f, 1.0f, 0.0f);
    const Bounds b = FigureBounds();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(b.left, b.right, b.bottom, b.top, -100.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, GameState.atlasTexture);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, FigureSmall.positions);
    glTexCoordPointer(2, GL_FLOAT, 0, FigureSmall.texCoords);
    glDrawArrays(GL_TRIANGLES, 0, FigureSmall.vertexCount);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisable(GL_TEXTURE_2D);
}

// Averages each block of `factor` by `factor` pixels: colour over the covered pixels only, so
// the edges keep the figure's colour and fade by their alpha.
std::vector<std::uint8_t> Shrink(const std::vector<std::uint8_t>& rgba, int size, int factor) {
    std::vector<std::uint8_t> out(static_cast<std::size_t>(size) * size * 4);
    const int wide = size * factor;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            std::uint32_t sum[4] = {0, 0, 0, 0};
            for (int k = 0; k < factor * factor; ++k) {
                const std::uint8_t* p =
                    &rgba[(static_cast<std::size_t>(y * factor + k / factor) * wide +
                           static_cast<std::size_t>(x * factor + k % factor)) *
                          4];
                for (int c = 0; c < 4; ++c) {
                    sum[c] += c < 3 ? p[c] * p[3] / 255u : p[3];
                }
            }
            std::uint8_t* q = &out[(static_cast<std::size_t>(y) * size + x) * 4];
            for (int c = 0; c < 3; ++c) {
                q[c] = sum[3] == 0
                           ? 0
                           : static_cast<std::uint8_t>((sum[c] * 255u + sum[3] / 2) / sum[3]);
            }
            const std::uint32_t samples = static_cast<std::uint32_t>(factor * factor);
            q[3] = static_cast<std::uint8_t>((sum[3] + samples / 2) / samples);
        }
    }
    return out;
}

// Writes 8-bit RGBA rows, top row first, as a PNG file; false when the file cannot be written.
bool WritePng(const std::string& path, const std::vector<std::uint8_t>& rgba, int size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, static_cast<png_uint_32>(size), static_cast<png_uint_32>(size), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < size; ++y) {
        png_write_row(png, &rgba[static_cast<std::size_t>(y) * size * 4]);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

// Renders one icon into an offscreen framebuffer and returns its pixels, top row first.
std::vector<std::uint8_t> RenderIcon(int size) {
    const int pixels = size * Supersample;
    GLuint frame = 0;
    GLuint colour = 0;
    GLuint depth = 0;
    glGenFramebuffers(1, &frame);
    glBindFramebuffer(GL_FRAMEBUFFER, frame);
    glGenRenderbuffers(1, &colour);
    glBindRenderbuffer(GL_RENDERBUFFER, colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, pixels, pixels);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    glGenRenderbuffers(1, &depth);
    glBindRenderbuffer(GL_RENDERBUFFER, depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, pixels, pixels);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(pixels) * pixels * 4);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE) {
        DrawFigure(pixels);
        std::vector<std::uint8_t> upward(rgba.size());
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, pixels, pixels, GL_RGBA, GL_UNSIGNED_BYTE, upward.data());
        const std::size_t row = static_cast<std::size_t>(pixels) * 4;
        for (int y = 0; y < pixels; ++y) {
            std::copy_n(&upward[(pixels - 1 - y) * row], row, &rgba[y * row]);
        }
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteRenderbuffers(1, &depth);
    glDeleteRenderbuffers(1, &colour);
    glDeleteFramebuffers(1, &frame);
    return Shrink(rgba, size, Supersample);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <folder holding Media> <output folder>\n", argv[0]);
        return 2;
    }
    char here[4096];
    const std::string output = argv[2][0] == '/' || getcwd(here, sizeof here) == nullptr
                                   ? std::string(argv[2])
                                   : std::string(here) + "/" + argv[2];
    if (chdir(argv[1]) != 0) {
        std::fprintf(stderr, "iconrender: cannot enter %s\n", argv[1]);
        return 1;
    }
    // The icons need the atlas and the meshes, not the music.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    InitVideo();
    PrepareAssets();
    if (GameState.atlasTexture == 0) {
        std::fprintf(stderr, "iconrender: no Media/textureatlas.png in %s\n", argv[1]);
        return 1;
    }
    // Edges come from the supersampling; smoothing would write partial alpha of its own.
    glDisable(GL_POLYGON_SMOOTH);
    int failures = 0;
    for (int size : IconSizes) {
        const std::string path = output + "/snowroll-" + std::to_string(size) + ".png";
        if (!WritePng(path, RenderIcon(size), size)) {
            std::fprintf(stderr, "iconrender: cannot write %s\n", path.c_str());
            ++failures;
        }
    }
    SDL_Quit();
    return failures == 0 ? 0 : 1;
}
