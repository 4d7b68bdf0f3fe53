#pragma once
// An in-memory registry that keeps the system's rules: names without regard to letter
// case, subkeys listed in sorted order, handles that must be closed, keys that an
// ordinary user may read but not write.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/portable/fault_plan.h"
#include "platform/services/registry_api.h"

namespace platform::portable {

struct StoredValue {
  std::uint32_t type = RegType::kNone;
  std::vector<std::uint8_t> data;
};

class PortableRegistry : public RegistryApi {
 public:
  explicit PortableRegistry(FaultPlan& faults);
  ~PortableRegistry() override;

  // Setting up and looking in, without handles.
  void PutValue(RegKey root, const std::string& path, const std::string& name, StoredValue value);
  void PutString(RegKey root, const std::string& path, const std::string& name,
                 const std::string& text);
  void PutKey(RegKey root, const std::string& path);
  std::optional<StoredValue> FindValue(RegKey root, const std::string& path,
                                       const std::string& name) const;
  bool KeyExists(RegKey root, const std::string& path) const;
  // Creating or writing the key or anything below it is refused (no rights).
  void DenyWrites(RegKey root, const std::string& path);
  // Opening the key or anything below it is refused.
  void DenyReads(RegKey root, const std::string& path);
  std::size_t OpenHandles() const { return handles_.size(); }

  // RegistryApi.
  long CreateKey(RegKey root, const std::string& path, RegKey& key) override;
  long OpenKey(RegKey root, const std::string& path, RegKey& key) override;
  long SetValueEx(RegKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                  std::uint32_t size) override;
  long QueryValueEx(RegKey key, const std::string& name, std::uint32_t& type, std::uint8_t* data,
                    std::uint32_t& size) override;
  long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t capacity) override;
  long CloseKey(RegKey key) override;

 private:
  struct CaseInsensitiveLess {
    bool operator()(const std::string& a, const std::string& b) const;
  };
  struct Node {
    std::map<std::string, std::unique_ptr<Node>, CaseInsensitiveLess> subkeys;
    std::map<std::string, StoredValue, CaseInsensitiveLess> values;
    bool writeDenied = false;
    bool readDenied = false;
  };
  struct Handle {
    Node* node = nullptr;
    bool writable = false;
  };

  Node* Root(RegKey key) const;
  // Walks the path from a root or an open key; creates missing keys when `create` is set.
  // Returns the node, or null with the status in `status`.
  Node* Walk(RegKey from, const std::string& path, bool create, bool forWriting, long& status);
  Node* Find(RegKey root, const std::string& path) const;
  RegKey NewHandle(Node* node, bool writable);

  FaultPlan& faults_;
  std::map<RegKey, std::unique_ptr<Node>> roots_;
  std::map<RegKey, Handle> handles_;
  RegKey nextHandle_ = 0x1000;
};

}  // namespace platform::portable
