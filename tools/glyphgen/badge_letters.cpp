#include "badge_letters.h"

#include "pixel_grid.h"

#include <array>

namespace tickvane::glyphgen {
namespace {

using Grid = std::array<std::string_view, kBadgeLetterHeight>;

struct Letter {
    char name;
    Grid rows;
};

// '#' is ink. Two-pixel strokes throughout; outer corners of round letters are clipped by one pixel.
constexpr std::array kLetters{
    Letter{'A',
           {".########.", "##########", "##......##", "##......##", "##########", "##########", "##......##",
            "##......##", "##......##"}},
    Letter{'D',
           {"########..", "#########.", "##.....###", "##......##", "##......##", "##......##", "##.....###",
            "#########.", "########.."}},
    Letter{'E',
           {"##########", "##########", "##........", "########..", "########..", "##........", "##........",
            "##########", "##########"}},
    Letter{'F',
           {"##########", "##########", "##........", "########..", "########..", "##........", "##........",
            "##........", "##........"}},
    Letter{'H',
           {"##......##", "##......##", "##......##", "##########", "##########", "##......##", "##......##",
            "##......##", "##......##"}},
    Letter{'I',
           {"..######..", "..######..", "....##....", "....##....", "....##....", "....##....", "....##....",
            "..######..", "..######.."}},
    Letter{'M',
           {"##......##", "###....###", "####..####", "##.####.##", "##..##..##", "##......##", "##......##",
            "##......##", "##......##"}},
    Letter{'N',
           {"##......##", "###.....##", "####....##", "##.##...##", "##..##..##", "##...##.##", "##....####",
            "##.....###", "##......##"}},
    Letter{'O',
           {".########.", "##########", "##......##", "##......##", "##......##", "##......##", "##......##",
            "##########", ".########."}},
    Letter{'R',
           {"#########.", "##########", "##......##", "##......##", "##########", "#########.", "##....###.",
            "##.....###", "##......##"}},
    Letter{'S',
           {".#########", "##########", "##........", "#########.", ".#########", "........##", "........##",
            "##########", "#########."}},
    Letter{'T',
           {"##########", "##########", "....##....", "....##....", "....##....", "....##....", "....##....",
            "....##....", "....##...."}},
    Letter{'U',
           {"##......##", "##......##", "##......##", "##......##", "##......##", "##......##", "##......##",
            "##########", ".########."}},
    Letter{'W',
           {"##......##", "##......##", "##......##", "##......##", "##..##..##", "##.####.##", "####..####",
            "###....###", "##......##"}},
};

const Grid* FindLetter(char letter)
{
    for (const Letter& l : kLetters)
        if (l.name == letter)
            return &l.rows;
    return nullptr;
}

}  // namespace

bool DrawBadgeLetter(IndexedImage& image, char letter, int x, int y, std::uint8_t index)
{
    const Grid* grid = FindLetter(letter);
    if (grid == nullptr)
        return false;
    DrawGrid(image, *grid, x, y, index);
    return true;
}

bool DrawBadge(IndexedImage& image, std::string_view word, int x, int y, int gap, std::uint8_t index)
{
    for (char letter : word) {
        if (FindLetter(letter) == nullptr)
            return false;
    }
    for (char letter : word) {
        DrawBadgeLetter(image, letter, x, y, index);
        y += kBadgeLetterHeight + gap;
    }
    return true;
}

}  // namespace tickvane::glyphgen
