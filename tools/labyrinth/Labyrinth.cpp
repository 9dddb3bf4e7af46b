// Writes the labyrinth of the tenth level: one-cell corridors between pillars, a small hall at
// the start and two more in opposite corners. The maze comes from a fixed seed, so the same
// file comes out every time.
// Usage: labyrinth > Media/level10.txt
#include <cstdint>
#include <cstdio>

namespace {

constexpr int Size = 25;
constexpr int Nodes = 12; // corridor crossings along each axis, at the odd cells
constexpr std::uint32_t Seed = 20261206u;

char Grid[Size][Size]; // [z][x]
bool Visited[Nodes][Nodes];
std::uint32_t State = Seed;

// A small linear congruential generator, so that the maze does not depend on the C library.
std::uint32_t NextRandom() {
    State = State * 1664525u + 1013904223u;
    return State >> 16;
}

void Open(int x, int z) {
    Grid[z][x] = '0';
}

// Carves a spanning tree of the crossings by a depth-first walk with an explicit stack.
void CarveMaze() {
    int stackX[Nodes * Nodes];
    int stackZ[Nodes * Nodes];
    int depth = 0;
    stackX[depth] = 0;
    stackZ[depth] = 0;
    ++depth;
    Visited[0][0] = true;
    Open(1, 1);
    const int stepX[4] = {1, -1, 0, 0};
    const int stepZ[4] = {0, 0, 1, -1};
    while (depth > 0) {
        int x = stackX[depth - 1];
        int z = stackZ[depth - 1];
        int choices[4];
        int count = 0;
        for (int d = 0; d < 4; ++d) {
            int nx = x + stepX[d];
            int nz = z + stepZ[d];
            if (nx >= 0 && nz >= 0 && nx < Nodes && nz < Nodes && !Visited[nz][nx]) {
                choices[count++] = d;
            }
        }
        if (count == 0) {
            --depth;
            continue;
        }
        int d = choices[NextRandom() % static_cast<std::uint32_t>(count)];
        int nx = x + stepX[d];
        int nz = z + stepZ[d];
        Visited[nz][nx] = true;
        Open(2 * x + 1 + stepX[d], 2 * z + 1 + stepZ[d]);
        Open(2 * nx + 1, 2 * nz + 1);
        stackX[depth] = nx;
        stackZ[depth] = nz;
        ++depth;
    }
}

void OpenHall(int low, int high) {
    for (int z = low; z <= high; ++z) {
        for (int x = low; x <= high; ++x) {
            Open(x, z);
        }
    }
}

} // namespace

int main() {
    for (auto& row : Grid) {
        for (char& cell : row) {
            cell = '1';
        }
    }
    CarveMaze();
    OpenHall(11, 13);
    OpenHall(3, 5);
    OpenHall(19, 21);
    for (const auto& row : Grid) {
        std::fwrite(row, 1, Size, stdout);
        std::fputc('\n', stdout);
    }
    return 0;
}
