// A shared library opened the first time one of its functions is called, so that a
// program whose start needs none of it does not pay for loading and relocating it.
#pragma once

namespace tickvane::on_demand {

class LazyLibrary {
public:
    // `soname` as the package installs it, e.g. "libsqlite3.so.0".
    explicit constexpr LazyLibrary(const char* soname) : soname_(soname) {}

    // The function named `name`, or null when the library or the name cannot be
    // found (the reason goes to stderr once). Thread-safe.
    void* find(const char* name);
    // The same, for calls that have no way to report failure: ends the process as the
    // loader would have ended it at the start, naming what is missing.
    void* require(const char* name);

private:
    void* handle();

    const char* soname_;
    void* handle_ = nullptr;
    bool tried_ = false;
};

// The library's own definition of `name`, typed as the header declares it:
//   static auto open = find<decltype(&sqlite3_open_v2)>(library, "sqlite3_open_v2");
template <typename Function>
Function find(LazyLibrary& library, const char* name)
{
    return reinterpret_cast<Function>(library.find(name));
}
template <typename Function>
Function require(LazyLibrary& library, const char* name)
{
    return reinterpret_cast<Function>(library.require(name));
}

}  // namespace tickvane::on_demand
