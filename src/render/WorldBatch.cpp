#include "render/WorldBatch.h"

#include "assets/Meshes.h"
#include "game/GameState.h"
#include "game/Level.h"
#include "render/World.h"

// The buffer objects of OpenGL 1.5, which Mesa and the browser's GL both have.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <cstdint>
#include <vector>

namespace {

constexpr int VertexFloats = 5; // x, y, z, u, v: one stride for all, the browser's fast case
constexpr GLsizei VertexBytes = VertexFloats * sizeof(float);
constexpr GLsizeiptr PileBytes = SnowPileVertices * VertexBytes;
constexpr int NoSlot = -1;

struct BatchRecord {
    GLuint maze;  // floor tiles and trees
    GLuint piles; // one slot of `SnowPileVertices` per pile at build time
    GLsizei mazeVertices;
    GLsizei pileVertices;
    std::uint32_t levelBuilds; // `LevelBuilds` when the buffers were built
    bool built;
    std::int32_t slots[SnowPoints][SnowPoints]; // a point's slot in `piles`, or NoSlot
    std::uint8_t shown[SnowPoints][SnowPoints]; // the snow the pile buffer shows
    std::vector<float> mazeData;                // what the walk gathers for each buffer
    std::vector<float> pileData;
    std::int32_t nextSlot;
};

BatchRecord Batch;

// Appends the placed mesh, moved to its place, interleaved.
void AppendPlaced(std::vector<float>& out, const Placement& placed) {
    const Mesh& mesh = *placed.mesh;
    for (int v = 0; v < mesh.vertexCount; ++v) {
        const float* p = mesh.positions + v * 3;
        const float* t = mesh.texCoords + v * 2;
        out.insert(out.end(), {p[0] + placed.x, p[1] + placed.y, p[2] + placed.z, t[0], t[1]});
    }
}

// Puts each piece of the walk into its buffer's data; each pile takes the next slot.
void GatherPlaced(const Placement& placed) {
    if (placed.piece != Piece::Pile) {
        AppendPlaced(Batch.mazeData, placed);
        return;
    }
    Batch.shown[placed.snowA][placed.snowB] = 1;
    Batch.slots[placed.snowA][placed.snowB] = Batch.nextSlot++;
    AppendPlaced(Batch.pileData, placed);
}

GLsizei Upload(GLuint& name, const std::vector<float>& data, GLenum usage) {
    if (name == 0) {
        glGenBuffers(1, &name);
    }
    glBindBuffer(GL_ARRAY_BUFFER, name);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(data.size() * sizeof(float)), data.data(),
                 usage);
    return static_cast<GLsizei>(data.size() / VertexFloats);
}

// Walks the level into both buffers.
void BuildBuffers() {
    Batch.mazeData.clear();
    Batch.pileData.clear();
    Batch.nextSlot = 0;
    for (int a = 0; a < SnowPoints; ++a) {
        for (int b = 0; b < SnowPoints; ++b) {
            Batch.shown[a][b] = 0;
            Batch.slots[a][b] = NoSlot;
        }
    }
    WalkWorld(GatherPlaced);
    Batch.mazeVertices = Upload(Batch.maze, Batch.mazeData, GL_STATIC_DRAW);
    Batch.pileVertices = Upload(Batch.piles, Batch.pileData, GL_DYNAMIC_DRAW);
}

// Rewrites one pile's slot: the pile itself, or all its corners in one point, which draws nothing.
void UpdateSlot(int a, int b, bool present) {
    std::vector<float> data;
    if (present) {
        AppendPlaced(data, PlacePile(a, b));
    } else {
        data.assign(SnowPileVertices * VertexFloats, 0.0f);
    }
    glBufferSubData(GL_ARRAY_BUFFER, Batch.slots[a][b] * PileBytes, PileBytes, data.data());
    Batch.shown[a][b] = present ? 1 : 0;
}

// Brings the pile buffer (bound) up to the snow grid; false when a pile appeared where the
// buffer has no slot for it.
bool FollowSnow() {
    for (int a = 0; a < SnowPoints; ++a) {
        for (int b = 0; b < SnowPoints; ++b) {
            const bool present = LevelMap.snow[a][b] == 1;
            if (present == (Batch.shown[a][b] == 1)) {
                continue;
            }
            if (Batch.slots[a][b] == NoSlot) {
                return false;
            }
            UpdateSlot(a, b, present);
        }
    }
    return true;
}

void DrawBuffer(GLuint name, GLsizei vertices) {
    glBindBuffer(GL_ARRAY_BUFFER, name);
    glVertexPointer(3, GL_FLOAT, VertexBytes, nullptr);
    glTexCoordPointer(2, GL_FLOAT, VertexBytes, reinterpret_cast<const void*>(3 * sizeof(float)));
    glDrawArrays(GL_TRIANGLES, 0, vertices);
}

} // namespace

void BuildLevelBuffers() {
    BuildBuffers();
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    Batch.levelBuilds = LevelBuilds;
    Batch.built = true;
}

void DrawWorldBatched() {
    if (!Batch.built || Batch.levelBuilds != LevelBuilds) {
        BuildLevelBuffers();
    }
    glBindBuffer(GL_ARRAY_BUFFER, Batch.piles);
    if (!FollowSnow()) {
        BuildLevelBuffers();
    }
    PlaceCamera();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, GameState.atlasTexture);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    // The snow before the ground it hides, so that the depth test spares the hidden floor: no two
    // of them share a surface, so the order does not change the picture.
    DrawBuffer(Batch.piles, Batch.pileVertices);
    DrawBuffer(Batch.maze, Batch.mazeVertices);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    DrawFigure();
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisable(GL_TEXTURE_2D);
}
