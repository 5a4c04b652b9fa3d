#include "text/font_locator.h"

#include <fontconfig/fontconfig.h>

#include <memory>

namespace tickvane::text {

namespace {

struct ConfigRelease {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
struct PatternRelease {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using ConfigPtr = std::unique_ptr<FcConfig, ConfigRelease>;
using PatternPtr = std::unique_ptr<FcPattern, PatternRelease>;

const char* string_of(const FcPattern* pattern, const char* object, int n = 0)
{
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, n, &value) != FcResultMatch)
        return nullptr;
    return reinterpret_cast<const char*>(value);
}

bool has_family(const FcPattern* match, const char* family)
{
    const auto* wanted = reinterpret_cast<const FcChar8*>(family);
    for (int n = 0;; ++n) {
        const char* name = string_of(match, FC_FAMILY, n);
        if (name == nullptr)
            return false;
        if (FcStrCmpIgnoreCase(reinterpret_cast<const FcChar8*>(name), wanted) == 0) {
            return true;
        }
    }
}

bool covers_japanese(const FcPattern* match)
{
    FcLangSet* langs = nullptr;
    if (FcPatternGetLangSet(match, FC_LANG, 0, &langs) != FcResultMatch)
        return false;
    return FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("ja")) == FcLangEqual;
}

bool acceptable(const FcPattern* request, const FcPattern* match, FontRequest::Accept accept)
{
    switch (accept) {
    case FontRequest::Accept::NamedFamily: {
        const char* family = string_of(request, FC_FAMILY);
        return family != nullptr && has_family(match, family);
    }
    case FontRequest::Accept::Japanese:
        return covers_japanese(match);
    case FontRequest::Accept::Anything:
        return true;
    }
    return false;
}

std::optional<FontFile> match_one(FcConfig* config, const FontRequest& request)
{
    PatternPtr pattern(FcNameParse(reinterpret_cast<const FcChar8*>(request.pattern)));
    if (!pattern)
        return std::nullopt;
    // Keep the bare request for the family check: substitution appends aliases.
    PatternPtr asked(FcPatternDuplicate(pattern.get()));
    if (!asked || !FcConfigSubstitute(config, pattern.get(), FcMatchPattern))
        return std::nullopt;
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(config, pattern.get(), &result));
    if (!match || !acceptable(asked.get(), match.get(), request.accept))
        return std::nullopt;
    const char* path = string_of(match.get(), FC_FILE);
    if (path == nullptr)
        return std::nullopt;
    int index = 0;
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
    const char* family = string_of(match.get(), FC_FAMILY);
    return FontFile{path, index, family != nullptr ? family : ""};
}

}  // namespace

std::span<const FontRequest> japanese_ui_font_requests()
{
    static constexpr FontRequest requests[] = {
        {"VL Gothic", FontRequest::Accept::NamedFamily},
        {"sans:lang=ja", FontRequest::Accept::Japanese},
        {"", FontRequest::Accept::Anything},
    };
    return requests;
}

std::optional<FontFile> locate_font(std::span<const FontRequest> requests)
{
    if (requests.empty())
        return std::nullopt;
    // A configuration of our own rather than the process-wide one: it can be
    // dropped as soon as the file is known.
    ConfigPtr config(FcInitLoadConfigAndFonts());
    if (!config)
        return std::nullopt;
    for (const FontRequest& request : requests) {
        if (auto found = match_one(config.get(), request))
            return found;
    }
    return std::nullopt;
}

}  // namespace tickvane::text
