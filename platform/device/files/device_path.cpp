#include "files/device_path.h"

#include <unistd.h>

#include <algorithm>
#include <vector>

#include "codepage/unicode.h"

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

bool entry_exists(const fs::path& p)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(p, ec));
}

// Through a name of its own and a rename, so that another process never opens a
// half-copied file.
bool copy_up(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    fs::path part = to;
    part += ".copying-" + std::to_string(getpid());
    if (!fs::copy_file(from, part, fs::copy_options::overwrite_existing, ec))
        return false;
    fs::rename(part, to, ec);
    if (ec)
        fs::remove(part, ec);
    return !ec || entry_exists(to);
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

std::optional<fs::path> contained_path(const fs::path& host, const std::vector<std::string>& tops)
{
    std::error_code ec;
    fs::path resolved = fs::weakly_canonical(host, ec);
    if (ec)
        return std::nullopt;
    for (const std::string& t : tops) {
        fs::path top = t.empty() ? fs::path() : fs::canonical(t, ec);
        if (t.empty() || ec)
            continue;
        auto [in_top, in_resolved] = std::mismatch(top.begin(), top.end(), resolved.begin(), resolved.end());
        if (in_top == top.end() && in_resolved != resolved.end())
            return resolved;
    }
    return std::nullopt;
}

std::optional<fs::path> readable_path(const std::string& root, const std::string& image,
                                      std::u16string_view device_path)
{
    auto mine = host_path(root, device_path);
    if (!mine || image.empty() || entry_exists(*mine))
        return mine;
    auto theirs = host_path(image, device_path);
    return theirs && entry_exists(*theirs) ? theirs : mine;
}

std::optional<fs::path> writable_path(const std::string& root, const std::string& image,
                                      std::u16string_view device_path)
{
    auto parts = components(device_path);
    if (root.empty() || !parts)
        return std::nullopt;
    fs::path mine = root, theirs = image;
    std::error_code ec;
    for (size_t i = 0; i < parts->size(); ++i) {
        mine = matching_entry(mine, (*parts)[i]);
        if (image.empty())
            continue;
        theirs = matching_entry(theirs, (*parts)[i]);
        if (entry_exists(mine))
            continue;
        fs::path spelt = mine.parent_path() / theirs.filename();  // as the image spells it
        bool last = i + 1 == parts->size();
        if (!last && fs::is_directory(theirs, ec)) {
            fs::create_directory(spelt, ec);
            mine = spelt;
        } else if (last && fs::is_regular_file(theirs, ec) && copy_up(theirs, spelt)) {
            mine = spelt;
        }
    }
    return mine;
}

}  // namespace tickvane::device
