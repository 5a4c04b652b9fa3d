#include "lazy_library.h"

#include <dlfcn.h>

#include <cstdlib>
#include <mutex>

#include "warn_once.h"

namespace tickvane::on_demand {

namespace {
std::mutex& opening()
{
    static std::mutex* m = new std::mutex;  // never destroyed: calls may come during static teardown
    return *m;
}
}  // namespace

void* LazyLibrary::handle()
{
    std::lock_guard guard(opening());
    if (!tried_) {
        tried_ = true;
        // RTLD_LOCAL: its names stay out of the global scope, so a lookup through the
        // handle finds the library's own definition and never the forwarder calling it.
        handle_ = dlopen(soname_, RTLD_NOW | RTLD_LOCAL);
        if (handle_ == nullptr)
            warn_once("tickvane: cannot load %s: %s", soname_, dlerror());
    }
    return handle_;
}

void* LazyLibrary::find(const char* name)
{
    void* library = handle();
    if (library == nullptr)
        return nullptr;
    void* function = dlsym(library, name);
    if (function == nullptr)
        warn_once("tickvane: %s has no %s", soname_, name);
    return function;
}

void* LazyLibrary::require(const char* name)
{
    void* function = find(name);
    if (function == nullptr)
        std::_Exit(127);  // what the loader does when a library is missing at the start
    return function;
}

}  // namespace tickvane::on_demand
