#include "drawn_text.h"

#include <algorithm>
#include <set>
#include <vector>

namespace tickvane::wine {
namespace {

bool dark(uint32_t rgb)
{
    int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    return r * 3 + g * 6 + b < 128 * 10;
}

using Ink = std::vector<std::vector<bool>>;  // [row][column]

// The area's dark pixels without lines that cross it.
Ink text_ink(const test::Image& screen, const Box& area)
{
    Ink ink(area.height, std::vector<bool>(area.width));
    for (int y = 0; y < area.height; ++y)
        for (int x = 0; x < area.width; ++x)
            ink[y][x] = area.x + x < screen.width && area.y + y < screen.height &&
                        dark(screen.at(area.x + x, area.y + y));
    for (auto& row : ink)
        if (std::count(row.begin(), row.end(), true) * 10 > area.width * 6)
            std::fill(row.begin(), row.end(), false);
    for (int x = 0; x < area.width; ++x) {
        int n = 0;
        for (const auto& row : ink)
            n += row[x];
        if (n * 10 > area.height * 9)
            for (auto& row : ink)
                row[x] = false;
    }
    return ink;
}

// One mark's picture: its columns' ink, cut to the rows it uses.
std::string picture(const Ink& ink, int from, int to)
{
    std::vector<std::string> rows;
    for (const auto& row : ink) {
        std::string r;
        for (int x = from; x < to; ++x)
            r += row[x] ? '#' : '.';
        if (r.find('#') != std::string::npos || !rows.empty())
            rows.push_back(r);
    }
    while (!rows.empty() && rows.back().find('#') == std::string::npos)
        rows.pop_back();
    std::string all;
    for (const std::string& r : rows)
        all += r + "\n";
    return all;
}

}  // namespace

std::string real_glyphs_in(const test::Image& screen, const Box& area)
{
    Ink ink = text_ink(screen, area);
    auto column_inked = [&](int x) {
        for (const auto& row : ink)
            if (row[x])
                return true;
        return false;
    };
    int marks = 0;
    std::set<std::string> pictures;
    for (int x = 0; x < area.width;) {
        if (!column_inked(x)) {
            ++x;
            continue;
        }
        int from = x;
        while (x < area.width && column_inked(x))
            ++x;
        ++marks;
        pictures.insert(picture(ink, from, x));
    }
    if (marks >= 2 && pictures.size() * 2 > static_cast<size_t>(marks))
        return "";
    return area.name + ": " + std::to_string(marks) + " marks, " + std::to_string(pictures.size()) +
           " different (missing-glyph boxes or no text)" +
           (pictures.empty() ? "" : ", the first:\n" + *pictures.begin());
}

}  // namespace tickvane::wine
