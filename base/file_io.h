// File access for the data files: whole-file reads, crash-safe replacement on save, renames.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace base {

// Folder separator of the platform ('\\' on Windows).
extern const char kPathSeparator;

// "%s\%s" of a folder and a file name, with the platform's separator.
std::string JoinPath(std::string_view folder, std::string_view name);

bool FileExists(const std::string& path);
// Size of the file in bytes, or -1 when it cannot be examined.
int64_t FileSize(const std::string& path);
// Creates an empty file when none exists; an existing file is left as it is.
bool TouchFile(const std::string& path);
bool RemoveFile(const std::string& path);
// Renames from to to; fails (and leaves both alone) when to already exists.
bool RenameNoReplace(const std::string& from, const std::string& to);

// Bytes read in order: a file, or in tests a source that fails part-way.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Reads up to n bytes; returns how many were read (short at the end or on an error).
    virtual size_t Read(void* out, size_t n) = 0;
    // A read failed: what a short read left out was not the end of the data.
    virtual bool Failed() const = 0;
};

// Reads a file sequentially; a file that cannot be opened behaves as an empty one that failed.
class FileReader : public ByteSource {
  public:
    explicit FileReader(const std::string& path);
    ~FileReader() override;
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    int64_t Size() const { return size_; }
    size_t Read(void* out, size_t n) override;
    bool Failed() const override;

  private:
    std::FILE* file_ = nullptr;
    int64_t size_ = 0;
};

// Writes a file so that a crash, a kill or a full disk in the middle of the save never leaves a
// truncated file behind: the bytes go to a temporary file in the same folder, which replaces the
// target only after everything was written and flushed to the disk. Without Commit() (or when any
// write failed) the target stays exactly as it was.
class AtomicFileWriter {
  public:
    explicit AtomicFileWriter(const std::string& path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    bool Write(const void* data, size_t n);
    // Flushes, closes and moves the temporary file over the target. Returns false on any failure,
    // in which case the target is untouched.
    bool Commit();
    bool Failed() const { return failed_; }
    const std::string& TemporaryPath() const { return tempPath_; }

  private:
    void Abandon();

    std::string path_;
    std::string tempPath_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};

// Platform parts (base/posix, base/win32): flush a stream's data to the disk, and move a file over
// another one in a single step.
bool FlushToDisk(std::FILE* file);
bool ReplaceFileWith(const std::string& target, const std::string& replacement);

}  // namespace base
