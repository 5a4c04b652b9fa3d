// Finding a font file through fontconfig.
#pragma once

#include <optional>
#include <span>
#include <string>

namespace tickvane::text {

struct FontFile {
    std::string path;
    int index = 0;       // face within the file, as fontconfig numbers it
    std::string family;  // the first family name of the match
};

struct FontRequest {
    enum class Accept {
        NamedFamily,  // the match must carry the family named in the pattern
        Japanese,     // the match must cover the Japanese orthography
        Anything,
    };
    const char* pattern;  // fontconfig name syntax, e.g. "sans:lang=ja"
    Accept accept;
};

// VL Gothic, then a Japanese sans-serif, then whatever there is. fontconfig always
// answers with its best match, and for "sans:lang=ja" that can be a Chinese font,
// hence the family check on the first request.
std::span<const FontRequest> japanese_ui_font_requests();

// The first request whose match is acceptable; none when fontconfig has no fonts
// or none passes. Uses a private fontconfig configuration that is released before
// returning, so nothing stays resident after start-up.
std::optional<FontFile> locate_font(std::span<const FontRequest> requests);

}  // namespace tickvane::text
