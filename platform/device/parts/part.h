// One part of the device's state (the window tree, the screen, the open files, ...),
// owned by the folder that defines its accessor. It is made on first use, so nothing
// depends on the order of static initialisation, and lives until the device is
// dropped; the folders' parts are dropped together, the last made first.
#pragma once

namespace tickvane::device::parts {

class Part;

// Destroys every part made so far, the last made first, so that the next use of each
// makes it afresh. A part a destructor makes again is dropped too.
void drop_all();

// What every part shares: its place in the list of parts made, newest first.
class Part {
protected:
    using Destroy = void (*)(Part&);
    constexpr explicit Part(Destroy destroy) : destroy_(destroy) {}
    void note_made();  // the instance exists: drop_all must destroy it

private:
    friend void drop_all();
    Destroy destroy_;
    Part* next_made_ = nullptr;
};

// The storage of one part: a plain pointer, so that an accessor on the paint path
// costs a load and a test, without the guard a function-local static checks on each
// call. Define it at namespace scope as constinit. The instance is never destroyed at
// exit: windows still open go with the process, as on Windows, without their
// procedures being called from static destructors.
template <class T>
class PartOf final : Part {
public:
    constexpr PartOf() : Part(&destroy) {}

    T& get() { return instance_ != nullptr ? *instance_ : make(); }

private:
    [[gnu::noinline, gnu::cold]] T& make()
    {
        instance_ = new T();
        note_made();
        return *instance_;
    }

    static void destroy(Part& part)
    {
        auto& self = static_cast<PartOf&>(part);
        T* instance = self.instance_;
        self.instance_ = nullptr;
        delete instance;
    }

    T* instance_ = nullptr;
};

}  // namespace tickvane::device::parts
