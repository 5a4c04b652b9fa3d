#include "files/device_path.h"

#include <algorithm>
#include <vector>

#include "unicode.h"

namespace fs = std::filesystem;

namespace tickvane::device {

namespace {

bool allowed_in_name(char16_t c)
{
    if (c < 0x20)
        return false;
    switch (c) {
    case u'<':
    case u'>':
    case u':':
    case u'"':
    case u'|':
    case u'?':
    case u'*':
    case u'/':
        return false;
    }
    return true;
}

// Splits at backslashes (forward slashes too, which some callers write); empty
// components from doubled separators are skipped, "." stays where it is.
std::optional<std::vector<std::u16string>> components(std::u16string_view path)
{
    std::vector<std::u16string> parts;
    std::u16string part;
    auto flush = [&]() -> bool {
        if (part == u"..")
            return false;
        if (!part.empty() && part != u".")
            parts.push_back(part);
        part.clear();
        return true;
    };
    for (char16_t c : path) {
        if (c == u'\\' || c == u'/') {
            if (!flush())
                return std::nullopt;
        } else if (!allowed_in_name(c)) {
            return std::nullopt;
        } else {
            part += c;
        }
    }
    if (!flush() || parts.empty())
        return std::nullopt;
    return parts;
}

// The entry of `dir` whose name equals `name` ignoring case; `name` itself when
// none does (or `dir` cannot be listed).
fs::path matching_entry(const fs::path& dir, const std::u16string& name)
{
    fs::path exact = dir / utf8_from_utf16(name);
    std::error_code ec;
    if (fs::exists(fs::symlink_status(exact, ec)))
        return exact;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (same_name_ignoring_case(utf16_from_utf8(it->path().filename().string()), name))
            return it->path();
    return exact;
}

}  // namespace

std::optional<fs::path> host_path(const std::string& root, std::u16string_view device_path)
{
    if (root.empty())
        return std::nullopt;
    auto parts = components(device_path);
    if (!parts)
        return std::nullopt;
    fs::path p = root;
    for (const std::u16string& name : *parts)
        p = matching_entry(p, name);
    return p;
}

std::optional<fs::path> contained_host_path(const std::string& root, std::u16string_view device_path)
{
    auto path = host_path(root, device_path);
    std::error_code ec;
    fs::path top = fs::canonical(root, ec);
    if (!path || ec)
        return std::nullopt;
    fs::path resolved = fs::weakly_canonical(*path, ec);
    if (ec)
        return std::nullopt;
    auto [t, r] = std::mismatch(top.begin(), top.end(), resolved.begin(), resolved.end());
    if (t != top.end() || r == resolved.end())
        return std::nullopt;
    return resolved;
}

}  // namespace tickvane::device
