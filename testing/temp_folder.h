// A fresh folder for a test's files, removed with everything in it at the end of the test.
#pragma once

#include <string>

namespace testing_support {

class TempFolder {
  public:
    TempFolder();
    // Inside parent (for tests that write thousands of files: a memory file system, where flushing to
    // the disk costs nothing).
    explicit TempFolder(const std::string& parent);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const;

  private:
    std::string path_;
};

// Whole-file helpers for tests.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

}  // namespace testing_support
