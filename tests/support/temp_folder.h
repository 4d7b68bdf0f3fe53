#pragma once
// A host folder of its own for one test, in the system's temporary folder, removed
// afterwards. Its name is made unique by the system, not from the test's name, which for a
// parameterised test holds "/".
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace payload_test {

class TempFolder {
 public:
  TempFolder() {
    std::string name = (std::filesystem::temp_directory_path() / "pelmora-test-XXXXXX").string();
    if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error("cannot make " + name);
    path_ = name;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace payload_test
