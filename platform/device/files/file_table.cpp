#include "files/file_table.h"
#include "parts/part.h"

#include <fcntl.h>
#include <unistd.h>

#include <utility>

namespace tickvane::device {

namespace {

bool sync_folder(const std::filesystem::path& folder)
{
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return false;
    bool ok = fsync(dir) == 0;
    ::close(dir);
    return ok;
}

}  // namespace

OpenFile::OpenFile(int fd, bool can_read, bool can_write) : fd_(fd), can_read_(can_read), can_write_(can_write) {}

OpenFile::OpenFile(OpenFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      can_read_(other.can_read_),
      can_write_(other.can_write_),
      wrote_(other.wrote_),
      created_in_(std::move(other.created_in_))
{}

OpenFile& OpenFile::operator=(OpenFile&& other) noexcept
{
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
        can_read_ = other.can_read_;
        can_write_ = other.can_write_;
        wrote_ = other.wrote_;
        created_in_ = std::move(other.created_in_);
    }
    return *this;
}

OpenFile::~OpenFile() { close(); }

bool OpenFile::close()
{
    if (fd_ < 0)
        return true;
    bool ok = true;
    if (wrote_) {
        ok = fsync(fd_) == 0;
        if (!created_in_.empty())
            ok = sync_folder(created_in_) && ok;
    }
    ok = ::close(std::exchange(fd_, -1)) == 0 && ok;
    return ok;
}

HANDLE FileTable::add(OpenFile file)
{
    uintptr_t value = next_;
    next_ += 4;
    files_.emplace(value, std::move(file));
    return reinterpret_cast<HANDLE>(value);
}

OpenFile* FileTable::find(HANDLE handle)
{
    auto it = files_.find(reinterpret_cast<uintptr_t>(handle));
    return it == files_.end() ? nullptr : &it->second;
}

bool FileTable::remove(HANDLE handle, OpenFile& out)
{
    auto it = files_.find(reinterpret_cast<uintptr_t>(handle));
    if (it == files_.end())
        return false;
    out = std::move(it->second);
    files_.erase(it);
    return true;
}

namespace {

constinit parts::PartOf<FileTable> g_files;

}  // namespace

FileTable& file_table() { return g_files.get(); }

}  // namespace tickvane::device
