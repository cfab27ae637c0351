#pragma once
// A fresh directory under the system temp directory, removed with everything in it.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace qx::testing {

class TempDirectory {
  public:
    TempDirectory() {
        std::random_device rd;
        m_path =
            std::filesystem::temp_directory_path() / ("quorix-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(m_path);
    }
    ~TempDirectory() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    std::string path() const { return m_path.string(); }
    std::string file(const std::string& name) const { return (m_path / name).string(); }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(m_path / name, std::ios::binary) << bytes;
    }

  private:
    std::filesystem::path m_path;
};

}  // namespace qx::testing
