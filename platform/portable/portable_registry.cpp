#include "platform/portable/portable_registry.h"

#include <algorithm>
#include <cstring>

namespace platform::portable {

namespace {

constexpr long kInvalidHandle = 6;  // ERROR_INVALID_HANDLE

std::vector<std::string> SplitKeyPath(const std::string& path) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start < path.size()) {
    const std::size_t end = std::min(path.find('\\', start), path.size());
    parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool PortableRegistry::CaseInsensitiveLess::operator()(const std::string& a,
                                                       const std::string& b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Upper(x) < Upper(y); });
}

PortableRegistry::PortableRegistry(FaultPlan& faults) : faults_(faults) {
  for (RegKey root = 0x80000000; root <= 0x80000005; ++root)
    roots_[root] = std::make_unique<Node>();
}

PortableRegistry::~PortableRegistry() = default;

PortableRegistry::Node* PortableRegistry::Root(RegKey key) const {
  const auto found = roots_.find(key);
  return found == roots_.end() ? nullptr : found->second.get();
}

PortableRegistry::Node* PortableRegistry::Walk(RegKey from, const std::string& path, bool create,
                                               bool forWriting, long& status) {
  Node* node = Root(from);
  if (node == nullptr) {
    const auto handle = handles_.find(from);
    if (handle == handles_.end()) {
      status = kInvalidHandle;
      return nullptr;
    }
    node = handle->second.node;
  }
  for (const std::string& part : SplitKeyPath(path)) {
    if (part.empty()) {
      status = RegStatus::kInvalidParameter;
      return nullptr;
    }
    if (node->readDenied || (forWriting && node->writeDenied)) {
      status = RegStatus::kAccessDenied;
      return nullptr;
    }
    auto found = node->subkeys.find(part);
    if (found == node->subkeys.end()) {
      if (!create) {
        status = RegStatus::kFileNotFound;
        return nullptr;
      }
      found = node->subkeys.emplace(part, std::make_unique<Node>()).first;
    }
    node = found->second.get();
  }
  if (node->readDenied || (forWriting && node->writeDenied)) {
    status = RegStatus::kAccessDenied;
    return nullptr;
  }
  status = RegStatus::kSuccess;
  return node;
}

PortableRegistry::Node* PortableRegistry::Find(RegKey root, const std::string& path) const {
  Node* node = Root(root);
  for (const std::string& part : SplitKeyPath(path)) {
    if (node == nullptr) return nullptr;
    const auto found = node->subkeys.find(part);
    node = found == node->subkeys.end() ? nullptr : found->second.get();
  }
  return node;
}

RegKey PortableRegistry::NewHandle(Node* node, bool writable) {
  const RegKey handle = nextHandle_;
  nextHandle_ += 4;
  handles_[handle] = Handle{node, writable};
  return handle;
}

void PortableRegistry::PutKey(RegKey root, const std::string& path) {
  Node* node = Root(root);
  for (const std::string& part : SplitKeyPath(path)) {
    auto& child = node->subkeys[part];
    if (!child) child = std::make_unique<Node>();
    node = child.get();
  }
}

void PortableRegistry::PutValue(RegKey root, const std::string& path, const std::string& name,
                                StoredValue value) {
  PutKey(root, path);
  Find(root, path)->values[name] = std::move(value);
}

void PortableRegistry::PutString(RegKey root, const std::string& path, const std::string& name,
                                 const std::string& text) {
  StoredValue value{RegType::kSz, std::vector<std::uint8_t>(text.begin(), text.end())};
  value.data.push_back(0);
  PutValue(root, path, name, std::move(value));
}

std::optional<StoredValue> PortableRegistry::FindValue(RegKey root, const std::string& path,
                                                       const std::string& name) const {
  const Node* node = Find(root, path);
  if (node == nullptr) return std::nullopt;
  const auto found = node->values.find(name);
  if (found == node->values.end()) return std::nullopt;
  return found->second;
}

bool PortableRegistry::KeyExists(RegKey root, const std::string& path) const {
  return Find(root, path) != nullptr;
}

void PortableRegistry::DenyWrites(RegKey root, const std::string& path) {
  PutKey(root, path);
  Find(root, path)->writeDenied = true;
}

void PortableRegistry::DenyReads(RegKey root, const std::string& path) {
  PutKey(root, path);
  Find(root, path)->readDenied = true;
}

long PortableRegistry::CreateKey(RegKey root, const std::string& path, RegKey& key) {
  if (const int error = faults_.Check(FaultPoint::kCreateKey)) return error;
  long status = 0;
  Node* node = Walk(root, path, /*create=*/true, /*forWriting=*/true, status);
  if (node == nullptr) return status;
  key = NewHandle(node, /*writable=*/true);
  return RegStatus::kSuccess;
}

long PortableRegistry::OpenKey(RegKey root, const std::string& path, RegKey& key) {
  if (const int error = faults_.Check(FaultPoint::kOpenKey)) return error;
  long status = 0;
  Node* node = Walk(root, path, /*create=*/false, /*forWriting=*/false, status);
  if (node == nullptr) return status;
  key = NewHandle(node, /*writable=*/false);
  return RegStatus::kSuccess;
}

long PortableRegistry::SetValueEx(RegKey key, const std::string& name, std::uint32_t type,
                                  const std::uint8_t* data, std::uint32_t size) {
  if (const int error = faults_.Check(FaultPoint::kSetValueEx)) return error;
  const auto handle = handles_.find(key);
  if (handle == handles_.end()) return kInvalidHandle;
  if (!handle->second.writable) return RegStatus::kAccessDenied;
  handle->second.node->values[name] =
      StoredValue{type, std::vector<std::uint8_t>(data, data + size)};
  return RegStatus::kSuccess;
}

long PortableRegistry::QueryValueEx(RegKey key, const std::string& name, std::uint32_t& type,
                                    std::uint8_t* data, std::uint32_t& size) {
  if (const int error = faults_.Check(FaultPoint::kQueryValueEx)) return error;
  const auto handle = handles_.find(key);
  if (handle == handles_.end()) return kInvalidHandle;
  const auto found = handle->second.node->values.find(name);
  if (found == handle->second.node->values.end()) return RegStatus::kFileNotFound;
  const StoredValue& value = found->second;
  const auto needed = static_cast<std::uint32_t>(value.data.size());
  type = value.type;
  if (data == nullptr) {
    size = needed;
    return RegStatus::kSuccess;
  }
  if (size < needed) {
    size = needed;
    return RegStatus::kMoreData;
  }
  std::copy(value.data.begin(), value.data.end(), data);
  size = needed;
  return RegStatus::kSuccess;
}

long PortableRegistry::EnumKey(RegKey key, std::uint32_t index, char* name,
                               std::uint32_t capacity) {
  if (const int error = faults_.Check(FaultPoint::kEnumKey)) return error;
  const auto handle = handles_.find(key);
  if (handle == handles_.end()) return kInvalidHandle;
  const auto& subkeys = handle->second.node->subkeys;
  if (index >= subkeys.size()) return RegStatus::kNoMoreItems;
  const std::string& found = std::next(subkeys.begin(), index)->first;
  if (found.size() + 1 > capacity) return RegStatus::kMoreData;
  std::memcpy(name, found.c_str(), found.size() + 1);
  return RegStatus::kSuccess;
}

long PortableRegistry::CloseKey(RegKey key) {
  if (Root(key) != nullptr) return RegStatus::kSuccess;
  return handles_.erase(key) == 1 ? RegStatus::kSuccess : kInvalidHandle;
}

}  // namespace platform::portable
