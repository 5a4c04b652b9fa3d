// FindResourceW, LoadResource, LoadBitmapW over the .res embedded in the program.
#include "res/resources.h"

#include "gdi/gdi.h"
#include "res/dib.h"

// Provided by the executable's embedded resource object; absent in programs that
// carry no resources.
extern "C" {
extern const unsigned char tickvane_res_data[] __attribute__((weak));
extern const unsigned long tickvane_res_size __attribute__((weak));
}

namespace tickvane::device {

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

DWORD WINAPI SizeofResource(HMODULE module, HRSRC resource)
{
    const ResEntry* e = known_entry(module, resource);
    return e == nullptr ? 0 : e->size;
}

HBITMAP WINAPI LoadBitmapW(HINSTANCE instance, LPCWSTR name)
{
    const ResEntry* e = find_resource(instance, name, RT_BITMAP);
    if (e == nullptr)
        return nullptr;
    std::optional<Bitmap> b = bitmap_from_dib(e->data, e->size);
    return b ? (HBITMAP)add_gdi_object(std::move(*b)) : nullptr;
}
