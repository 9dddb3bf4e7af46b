#include "render/World.h"

#include "assets/Meshes.h"
#include "game/GameState.h"
#include "game/Level.h"

#include <GL/gl.h>

namespace {

constexpr float DegreesPerRadian = 57.29578f;
constexpr float YawOffset = 90.0f; // yaw 0 must look along +x, where GL's camera looks along -z
constexpr float HalfSpacing = 0.5f;
constexpr int NoSnowPoint = -1; // the snow point of a floor tile or a tree

float FigurePositions[FigureFloats];

static_assert(FigureFloats == FigureVertices * 3, "the blend covers every figure vertex");

// Draws one instance of the placed mesh.
void DrawPlaced(const Placement& placed) {
    glPushMatrix();
    glTranslatef(placed.x, placed.y, placed.z);
    glVertexPointer(3, GL_FLOAT, 0, placed.mesh->positions);
    glTexCoordPointer(2, GL_FLOAT, 0, placed.mesh->texCoords);
    glNormalPointer(GL_FLOAT, 0, placed.mesh->normals);
    glDrawArrays(GL_TRIANGLES, 0, placed.mesh->vertexCount);
    glPopMatrix();
}

Placement PlaceCell(Piece piece, const Mesh& mesh, int i, int j, float y) {
    const float x = CellSize * static_cast<float>(i);
    const float z = CellSize * static_cast<float>(j);
    return {piece, &mesh, x, y, z, NoSnowPoint, NoSnowPoint};
}

} // namespace

Placement PlacePile(int a, int b) {
    return {Piece::Pile,
            &SnowPile,
            CellSize * static_cast<float>(a) * HalfSpacing,
            LevelMap.snowOffsets[a][b],
            CellSize * static_cast<float>(b) * HalfSpacing,
            a,
            b};
}

// Trees stand sunk by their offsets; piles lie at their own offsets on the half-cell grid.
void WalkWorld(void (*place)(const Placement&)) {
    for (int i = 0; i < MazeCells; ++i) {
        for (int j = 0; j < MazeCells; ++j) {
            place(PlaceCell(Piece::Floor, FloorTile, i, j, 0.0f));
        }
    }
    for (int i = 0; i < MazeCells; ++i) {
        for (int j = 0; j < MazeCells; ++j) {
            if (LevelMap.walls[i][j] == 1) {
                place(PlaceCell(Piece::Tree, FirTree, i, j, LevelMap.wallOffsets[i][j]));
            }
        }
    }
    for (int a = 0; a < SnowPoints; ++a) {
        for (int b = 0; b < SnowPoints; ++b) {
            if (LevelMap.snow[a][b] == 1) {
                place(PlacePile(a, b));
            }
        }
    }
}

// The eye at the camera position, turned by the camera's roll, pitch and yaw.
void PlaceCamera() {
    glLoadIdentity();
    glRotatef(GameState.cameraRoll * DegreesPerRadian, 0.0f, 0.0f, 1.0f);
    glRotatef(-GameState.cameraPitch * DegreesPerRadian, 1.0f, 0.0f, 0.0f);
    glRotatef(GameState.cameraYaw * DegreesPerRadian + YawOffset, 0.0f, 1.0f, 0.0f);
    glTranslatef(-GameState.cameraX, -GameState.cameraY, -GameState.cameraZ);
}

void DrawFigure() {
    const float* positions = BuildFigureMesh();
    glPushMatrix();
    glTranslatef(GameState.ballX, 0.0f, GameState.ballZ);
    glRotatef(-GameState.ballHeading * DegreesPerRadian, 0.0f, 1.0f, 0.0f);
    glVertexPointer(3, GL_FLOAT, 0, positions);
    glTexCoordPointer(2, GL_FLOAT, 0, FigureSmall.texCoords);
    glNormalPointer(GL_FLOAT, 0, FigureSmall.normals);
    glDrawArrays(GL_TRIANGLES, 0, FigureVertices);
    glPopMatrix();
}

const float* BuildFigureMesh() {
    // In double precision, so that each blended value is rounded to float only once.
    const double t = GameState.ballSize;
    for (int k = 0; k < FigureFloats; ++k) {
        FigurePositions[k] =
            static_cast<float>(FigureSmall.positions[k] * (1.0 - t) + FigureLarge.positions[k] * t);
    }
    return FigurePositions;
}

void DrawWorld() {
    PlaceCamera();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, GameState.atlasTexture);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    WalkWorld(DrawPlaced);
    DrawFigure();
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisable(GL_TEXTURE_2D);
}
