// Placeholder mesh tables until the mesh generator writes the authored ones.
#include "assets/Meshes.h"

namespace {
float FloorPositions[FloorTileVertices * 3];
float FloorTexCoords[FloorTileVertices * 2];
float FloorNormals[FloorTileVertices * 3];
float PilePositions[SnowPileVertices * 3];
float PileTexCoords[SnowPileVertices * 2];
float PileNormals[SnowPileVertices * 3];
float SmallPositions[FigureVertices * 3];
float SmallTexCoords[FigureVertices * 2];
float SmallNormals[FigureVertices * 3];
float LargePositions[FigureVertices * 3];
float LargeTexCoords[FigureVertices * 2];
float LargeNormals[FigureVertices * 3];
float TreePositions[FirTreeVertices * 3];
float TreeTexCoords[FirTreeVertices * 2];
float TreeNormals[FirTreeVertices * 3];
} // namespace

Mesh FloorTile = {FloorTileVertices, FloorPositions, FloorTexCoords, FloorNormals};
Mesh SnowPile = {SnowPileVertices, PilePositions, PileTexCoords, PileNormals};
Mesh FigureSmall = {FigureVertices, SmallPositions, SmallTexCoords, SmallNormals};
Mesh FigureLarge = {FigureVertices, LargePositions, LargeTexCoords, LargeNormals};
Mesh FirTree = {FirTreeVertices, TreePositions, TreeTexCoords, TreeNormals};
