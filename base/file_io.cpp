// Portable part of the file access helpers (stdio based).
#include "base/file_io.h"

namespace base {

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && path.back() != kPathSeparator && path.back() != '/')
        path += kPathSeparator;
    path += name;
    return path;
}

bool FileExists(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    std::fclose(f);
    return true;
}

int64_t FileSize(const std::string& path) {
    FileReader reader(path);
    return reader.IsOpen() ? reader.Size() : -1;
}

bool TouchFile(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "ab");
    if (!f)
        return false;
    return std::fclose(f) == 0;
}

bool RemoveFile(const std::string& path) {
    return std::remove(path.c_str()) == 0;
}

bool RenameNoReplace(const std::string& from, const std::string& to) {
    if (FileExists(to))
        return false;
    return std::rename(from.c_str(), to.c_str()) == 0;
}

FileReader::FileReader(const std::string& path) {
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_)
        return;
    if (std::fseek(file_, 0, SEEK_END) == 0) {
        long end = std::ftell(file_);
        size_ = end > 0 ? end : 0;
    }
    std::fseek(file_, 0, SEEK_SET);
}

FileReader::~FileReader() {
    if (file_)
        std::fclose(file_);
}

size_t FileReader::Read(void* out, size_t n) {
    if (!file_ || n == 0)
        return 0;
    return std::fread(out, 1, n, file_);
}

bool FileReader::Failed() const {
    return !file_ || std::ferror(file_) != 0;
}

AtomicFileWriter::AtomicFileWriter(const std::string& path) : path_(path), tempPath_(path + ".tmp") {
    file_ = std::fopen(tempPath_.c_str(), "wb");
    if (!file_)
        failed_ = true;
}

AtomicFileWriter::~AtomicFileWriter() {
    Abandon();
}

bool AtomicFileWriter::Write(const void* data, size_t n) {
    if (failed_)
        return false;
    if (n && std::fwrite(data, 1, n, file_) != n)
        failed_ = true;
    return !failed_;
}

bool AtomicFileWriter::Commit() {
    if (failed_ || !file_) {
        Abandon();
        return false;
    }
    bool ok = std::fflush(file_) == 0 && FlushToDisk(file_);
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    if (!ok || !ReplaceFileWith(path_, tempPath_)) {
        failed_ = true;
        std::remove(tempPath_.c_str());
        return false;
    }
    return true;
}

void AtomicFileWriter::Abandon() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
        std::remove(tempPath_.c_str());
    }
}

}  // namespace base
