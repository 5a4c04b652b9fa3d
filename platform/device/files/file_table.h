// The files a process has open through CreateFileW, by handle.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>

#include "win32.h"

namespace tickvane::device {

// One open file. Closing it (or destroying it) makes what it wrote durable first:
// a clock writes its settings and may be killed or lose power right after.
class OpenFile {
public:
    OpenFile() = default;
    OpenFile(int fd, bool can_read, bool can_write);
    OpenFile(OpenFile&& other) noexcept;
    OpenFile& operator=(OpenFile&& other) noexcept;
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile();

    int fd() const { return fd_; }
    bool can_read() const { return can_read_; }
    bool can_write() const { return can_write_; }
    void note_written() { wrote_ = true; }
    // The folder that got a new entry for this file, to make the entry durable too.
    void note_created(std::filesystem::path folder) { created_in_ = std::move(folder); }
    // Flushes what was written and closes; false when the flush or close failed.
    bool close();

private:
    int fd_ = -1;
    bool can_read_ = false;
    bool can_write_ = false;
    bool wrote_ = false;
    std::filesystem::path created_in_;
};

class FileTable {
public:
    // A fresh handle for `file`: never null, never INVALID_HANDLE_VALUE, never reused.
    HANDLE add(OpenFile file);
    OpenFile* find(HANDLE handle);
    // Takes the file out of the table; false when `handle` names no open file.
    bool remove(HANDLE handle, OpenFile& out);
    size_t size() const { return files_.size(); }

private:
    std::map<uintptr_t, OpenFile> files_;
    uintptr_t next_ = 0x00F10000;  // a range of its own, easy to tell apart in a debugger
};

FileTable& file_table();  // the device's

}  // namespace tickvane::device
