// FindResourceW, LoadResource, LoadBitmapW over the .res embedded in the program.
#include "res/resources.h"

#include <unordered_map>
#include <vector>

#include "gdi/gdi.h"
#include "parts/part.h"
#include "res/dib.h"
#include "res/screen_bitmaps.h"

// Provided by the executable's embedded resource object; absent in programs that
// carry no resources.
extern "C" {
extern const unsigned char tickvane_res_data[] __attribute__((weak));
extern const unsigned long tickvane_res_size __attribute__((weak));
// Its bitmaps in the screen's format, made by the build (res/screen_bitmaps.h).
extern const unsigned char tickvane_screen_bitmaps_data[] __attribute__((weak));
extern const unsigned long tickvane_screen_bitmaps_size __attribute__((weak));
}

namespace tickvane::device {

namespace {

// The pixels the build made for this program resource, if it made them.
const uint32_t* ready_pixels(const ResEntry& e, const Surface& dib)
{
    if (&tickvane_screen_bitmaps_size == nullptr || &tickvane_res_size == nullptr || e.data < tickvane_res_data ||
        e.data >= tickvane_res_data + tickvane_res_size)
        return nullptr;
    return find_screen_bitmap(tickvane_screen_bitmaps_data, tickvane_screen_bitmaps_size,
                              (uint32_t)(e.data - tickvane_res_data), e.size, dib.width, dib.height);
}

// As Windows' LoadBitmap does, a bitmap resource comes in the screen's format: as the
// build made it, or converted once per device on its first load.
const Surface* screen_format_bitmap(const ResEntry& e)
{
    auto& converted = resource_cache().screen_format;
    auto [it, fresh] = converted.try_emplace(&e);
    if (!fresh)
        return it->second ? &*it->second : nullptr;
    std::optional<Surface> dib = bitmap_from_dib(e.data, e.size);
    if (!dib)
        return nullptr;
    if (const uint32_t* ready = ready_pixels(e, *dib)) {
        Surface b;  // borrowed, as the program's resources are
        b.width = dib->width;
        b.height = dib->height;
        b.stride = b.width * 4;
        b.bits = reinterpret_cast<const uint8_t*>(ready);
        it->second = std::move(b);
        return &*it->second;
    }
    Surface b = Surface::make_xrgb(dib->width, dib->height);
    std::vector<uint32_t> run((size_t)b.width);
    for (int y = 0; y < b.height; ++y) {
        dib->read(0, y, b.width, run.data());
        b.write(0, y, b.width, run.data());
    }
    it->second = std::move(b);
    return &*it->second;
}

}  // namespace

HINSTANCE program_instance() { return (HINSTANCE)(uintptr_t)0x00400000; }

const std::vector<ResEntry>& resources_of(HMODULE module)
{
    static const std::vector<ResEntry> none;
    static const std::vector<ResEntry> program = [] {
        if (&tickvane_res_size == nullptr || tickvane_res_data == nullptr)
            return std::vector<ResEntry>{};
        return parse_res(tickvane_res_data, tickvane_res_size);
    }();
    return module == program_instance() ? program : none;
}

const ResEntry* find_resource(HMODULE module, LPCWSTR name, LPCWSTR type)
{
    if (name == nullptr || type == nullptr)
        return nullptr;
    for (const ResEntry& e : resources_of(module))
        if (res_id_matches(e.type, type) && res_id_matches(e.name, name))
            return &e;
    return nullptr;
}

namespace {

constinit parts::PartOf<ResourceCache> g_resources;

}  // namespace

ResourceCache& resource_cache() { return g_resources.get(); }

}  // namespace tickvane::device

using namespace tickvane::device;

HRSRC WINAPI FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type)
{
    return (HRSRC)find_resource(module, name, type);
}

static const ResEntry* known_entry(HMODULE module, HRSRC resource)
{
    for (const ResEntry& e : resources_of(module))
        if ((const void*)&e == (const void*)resource)
            return &e;
    return nullptr;
}

HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC resource)
{
    const ResEntry* e = known_entry(module, resource);
    return e == nullptr ? nullptr : (HGLOBAL)e->data;
}

LPVOID WINAPI LockResource(HGLOBAL data) { return data; }

HBITMAP WINAPI LoadBitmapW(HINSTANCE instance, LPCWSTR name)
{
    const ResEntry* e = find_resource(instance, name, RT_BITMAP);
    const Surface* pixels = e != nullptr ? screen_format_bitmap(*e) : nullptr;
    if (pixels == nullptr)
        return nullptr;
    // Every load borrows the same pixels; a write gives the bitmap its own copy first.
    Surface b;
    b.width = pixels->width;
    b.height = pixels->height;
    b.stride = pixels->stride;
    b.bits = pixels->bits;
    b.content = ContentId(pixels->content.value());
    return (HBITMAP)add_gdi_object(std::move(b));
}
