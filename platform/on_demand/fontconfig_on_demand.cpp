// The fontconfig functions the device calls, forwarding to libfontconfig opened at the
// first call. The device remembers its font's file, so a start finds it without asking
// fontconfig, and should not load fontconfig and expat either. Defined against
// <fontconfig/fontconfig.h>, so the compiler checks every signature.
#include <fontconfig/fontconfig.h>

#include "lazy_library.h"

using tickvane::on_demand::find;
using tickvane::on_demand::LazyLibrary;
using tickvane::on_demand::require;

namespace {
LazyLibrary& fontconfig()
{
    static LazyLibrary* library = new LazyLibrary("libfontconfig.so.1");  // used until the process ends
    return *library;
}
}  // namespace

// A missing library shows as a configuration that cannot be loaded: no font is found.
extern "C" FcConfig* FcInitLoadConfigAndFonts()
{
    static const auto function = find<decltype(&FcInitLoadConfigAndFonts)>(fontconfig(), "FcInitLoadConfigAndFonts");
    return function != nullptr ? function() : nullptr;
}

// The rest follow a configuration that loaded: the library is there by then.
#define TICKVANE_FORWARD(result, name, params, args)                                \
    extern "C" result name params                                                   \
    {                                                                               \
        static const auto function = require<decltype(&name)>(fontconfig(), #name); \
        return function args;                                                       \
    }

TICKVANE_FORWARD(void, FcConfigDestroy, (FcConfig * config), (config))
TICKVANE_FORWARD(FcBool, FcConfigSubstitute, (FcConfig * config, FcPattern* pattern, FcMatchKind kind),
                 (config, pattern, kind))
TICKVANE_FORWARD(void, FcDefaultSubstitute, (FcPattern * pattern), (pattern))
TICKVANE_FORWARD(FcPattern*, FcFontMatch, (FcConfig * config, FcPattern* pattern, FcResult* result),
                 (config, pattern, result))
TICKVANE_FORWARD(FcPattern*, FcNameParse, (const FcChar8* name), (name))
TICKVANE_FORWARD(void, FcPatternDestroy, (FcPattern * pattern), (pattern))
TICKVANE_FORWARD(FcPattern*, FcPatternDuplicate, (const FcPattern* pattern), (pattern))
TICKVANE_FORWARD(FcResult, FcPatternGetString, (const FcPattern* pattern, const char* object, int n, FcChar8** value),
                 (pattern, object, n, value))
TICKVANE_FORWARD(FcResult, FcPatternGetInteger, (const FcPattern* pattern, const char* object, int n, int* value),
                 (pattern, object, n, value))
TICKVANE_FORWARD(FcResult, FcPatternGetLangSet,
                 (const FcPattern* pattern, const char* object, int n, FcLangSet** value), (pattern, object, n, value))
TICKVANE_FORWARD(FcLangResult, FcLangSetHasLang, (const FcLangSet* set, const FcChar8* lang), (set, lang))
TICKVANE_FORWARD(int, FcStrCmpIgnoreCase, (const FcChar8* a, const FcChar8* b), (a, b))

#undef TICKVANE_FORWARD
