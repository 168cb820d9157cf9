#include "fakes/FakeRegistry.h"

#include <algorithm>
#include <cstring>

#include "config/RegistryText.h"

namespace linkscope {

namespace {

// Names compare as the registry compares them: every letter of the program's code page
// folded, not only A to Z.
bool EqualsNoCase(const std::string& a, const std::string& b) { return RegistryNamesEqual(a, b); }

int CompareNoCase(const std::string& a, const std::string& b) {
  return RegistryNameUpper(a).compare(RegistryNameUpper(b));
}

// The registry refuses a key name of 256 characters or more.
constexpr std::size_t kMaxKeyNameLength = 255;

bool NamesFit(const std::string& path) {
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end - start > kMaxKeyNameLength) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace

FakeRegistry::FakeRegistry()
    : currentUser_(std::make_shared<Node>()), localMachine_(std::make_shared<Node>()) {}

FakeRegistry::~FakeRegistry() = default;

long FakeRegistry::Begin(const char* operation) {
  ++calls;
  return failHook ? failHook(operation) : kRegOk;
}

std::shared_ptr<FakeRegistry::Node> FakeRegistry::Resolve(RegKey key) const {
  if (key == kRegCurrentUser) return currentUser_;
  if (key == kRegLocalMachine) return localMachine_;
  auto it = handles_.find(key);
  if (it == handles_.end()) return nullptr;
  return it->second;
}

long FakeRegistry::LiveNode(RegKey key, std::shared_ptr<Node>* node) const {
  *node = Resolve(key);
  if (!*node) return kRegInvalidHandle;
  if ((*node)->deleted) return kRegAccessDenied;
  return kRegOk;
}

std::vector<FakeRegistry::Value>::iterator FakeRegistry::FindValue(Node& node,
                                                                   const std::string& name) {
  return std::find_if(node.values.begin(), node.values.end(),
                      [&](const Value& v) { return EqualsNoCase(v.name, name); });
}

std::shared_ptr<FakeRegistry::Node> FakeRegistry::Walk(std::shared_ptr<Node> from,
                                                       const std::string& path,
                                                       bool create) const {
  std::shared_ptr<Node> node = std::move(from);
  std::size_t pos = 0;
  while (node && pos <= path.size()) {
    std::size_t end = path.find('\\', pos);
    if (end == std::string::npos) end = path.size();
    const std::string part = path.substr(pos, end - pos);
    pos = end + 1;
    if (part.empty()) {
      if (end == path.size()) break;
      continue;  // doubled or trailing separators name nothing
    }
    auto& children = node->children;
    auto it = std::lower_bound(children.begin(), children.end(), part,
                               [](const std::shared_ptr<Node>& n, const std::string& name) {
                                 return CompareNoCase(n->name, name) < 0;
                               });
    if (it != children.end() && EqualsNoCase((*it)->name, part)) {
      node = *it;
    } else if (create) {
      auto child = std::make_shared<Node>();
      child->name = part;
      child->parent = node.get();
      node = *children.insert(it, child);
    } else {
      return nullptr;
    }
    if (end == path.size()) break;
  }
  return node;
}

RegKey FakeRegistry::NewHandle(std::shared_ptr<Node> node) {
  const RegKey handle = nextHandle_;
  nextHandle_ += 4;
  handles_[handle] = std::move(node);
  return handle;
}

long FakeRegistry::OpenKey(RegKey parent, const std::string& subKey, RegAccess, RegKey* key) {
  if (long rc = Begin("OpenKey")) return rc;
  auto base = Resolve(parent);
  if (!base || base->deleted) return kRegInvalidHandle;
  if (!NamesFit(subKey)) return kRegInvalidParameter;
  auto node = Walk(base, subKey, false);
  if (!node) return kRegNotFound;
  *key = NewHandle(node);
  return kRegOk;
}

long FakeRegistry::CreateKey(RegKey parent, const std::string& subKey, RegKey* key) {
  if (long rc = Begin("CreateKey")) return rc;
  auto base = Resolve(parent);
  if (!base || base->deleted) return kRegInvalidHandle;
  if (!NamesFit(subKey)) return kRegInvalidParameter;
  auto node = Walk(base, subKey, true);
  *key = NewHandle(node);
  return kRegOk;
}

long FakeRegistry::CloseKey(RegKey key) {
  if (long rc = Begin("CloseKey")) return rc;
  if (key == kRegCurrentUser || key == kRegLocalMachine) return kRegOk;
  return handles_.erase(key) ? kRegOk : kRegInvalidHandle;
}

long FakeRegistry::EnumKey(RegKey key, std::uint32_t index, char* name,
                           std::uint32_t* nameSize) {
  if (long rc = Begin("EnumKey")) return rc;
  std::shared_ptr<Node> node;
  if (long rc = LiveNode(key, &node)) return rc;
  if (index >= node->children.size()) return kRegNoMoreItems;
  const std::string& child = node->children[index]->name;
  if (child.size() >= *nameSize) return kRegMoreData;
  std::memcpy(name, child.c_str(), child.size() + 1);
  *nameSize = static_cast<std::uint32_t>(child.size());
  return kRegOk;
}

long FakeRegistry::EnumValue(RegKey key, std::uint32_t index, char* name,
                             std::uint32_t* nameSize, std::uint32_t* type, std::uint8_t* data,
                             std::uint32_t* dataSize) {
  if (long rc = Begin("EnumValue")) return rc;
  std::shared_ptr<Node> node;
  if (long rc = LiveNode(key, &node)) return rc;
  if (index >= node->values.size()) return kRegNoMoreItems;
  const Value& v = node->values[index];
  if (v.name.size() >= *nameSize) return kRegMoreData;
  const std::uint32_t size = static_cast<std::uint32_t>(v.data.size());
  if (data != nullptr && (dataSize == nullptr || *dataSize < size)) {
    if (dataSize != nullptr) *dataSize = size;
    return kRegMoreData;
  }
  std::memcpy(name, v.name.c_str(), v.name.size() + 1);
  *nameSize = static_cast<std::uint32_t>(v.name.size());
  if (type != nullptr) *type = v.type;
  if (data != nullptr && size != 0) std::memcpy(data, v.data.data(), size);
  if (dataSize != nullptr) *dataSize = size;
  return kRegOk;
}

long FakeRegistry::QueryInfoKey(RegKey key, std::uint32_t* subKeys, std::uint32_t* values) {
  if (long rc = Begin("QueryInfoKey")) return rc;
  std::shared_ptr<Node> node;
  if (long rc = LiveNode(key, &node)) return rc;
  if (subKeys != nullptr) *subKeys = static_cast<std::uint32_t>(node->children.size());
  if (values != nullptr) *values = static_cast<std::uint32_t>(node->values.size());
  return kRegOk;
}

long FakeRegistry::QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                              std::uint8_t* data, std::uint32_t* dataSize) {
  if (long rc = Begin("QueryValue")) return rc;
  std::shared_ptr<Node> node;
  if (long rc = LiveNode(key, &node)) return rc;
  auto it = FindValue(*node, name);
  if (it == node->values.end()) return kRegNotFound;
  const std::uint32_t size = static_cast<std::uint32_t>(it->data.size());
  if (data != nullptr) {
    if (dataSize == nullptr) return kRegInvalidParameter;
    if (*dataSize < size) {
      *dataSize = size;
      return kRegMoreData;
    }
    if (size != 0) std::memcpy(data, it->data.data(), size);
  }
  if (type != nullptr) *type = it->type;
  if (dataSize != nullptr) *dataSize = size;
  return kRegOk;
}

long FakeRegistry::SetValue(RegKey key, const std::string& name, std::uint32_t type,
                            const std::uint8_t* data, std::uint32_t size) {
  if (long rc = Begin("SetValue")) return rc;
  std::shared_ptr<Node> node;
  if (long rc = LiveNode(key, &node)) return rc;
  if (data == nullptr && size != 0) return kRegInvalidParameter;
  auto it = FindValue(*node, name);
  if (it == node->values.end()) {
    node->values.push_back(Value{name, type, {}});
    it = node->values.end() - 1;
  }
  it->type = type;
  it->data.assign(data, data + size);
  return kRegOk;
}

long FakeRegistry::DeleteValue(RegKey key, const std::string& name) {
  if (long rc = Begin("DeleteValue")) return rc;
  std::shared_ptr<Node> node;
  if (long rc = LiveNode(key, &node)) return rc;
  auto it = FindValue(*node, name);
  if (it == node->values.end()) return kRegNotFound;
  node->values.erase(it);
  return kRegOk;
}

void FakeRegistry::MarkDeleted(Node& node) {
  node.deleted = true;
  for (auto& child : node.children) MarkDeleted(*child);
}

long FakeRegistry::DeleteKey(RegKey parent, const std::string& subKey) {
  if (long rc = Begin("DeleteKey")) return rc;
  auto base = Resolve(parent);
  if (!base || base->deleted) return kRegInvalidHandle;
  auto node = Walk(base, subKey, false);
  if (!node) return kRegNotFound;
  if (!node->children.empty() || node->parent == nullptr) return kRegAccessDenied;
  auto& siblings = node->parent->children;
  siblings.erase(std::find(siblings.begin(), siblings.end(), node));
  MarkDeleted(*node);
  return kRegOk;
}

bool FakeRegistry::RemoveKeys(std::shared_ptr<Node> node, bool keepNode, int* budget) {
  // As the registry does it: the first subkey again and again until none is left.
  while (!node->children.empty()) {
    if (!RemoveKeys(node->children.front(), false, budget)) return false;
  }
  if (keepNode) return true;
  if (*budget == 0) return false;
  if (*budget > 0) --*budget;
  auto& siblings = node->parent->children;
  siblings.erase(std::find(siblings.begin(), siblings.end(), node));
  MarkDeleted(*node);
  return true;
}

long FakeRegistry::DeleteTree(RegKey parent, const std::string& subKey) {
  if (long rc = Begin("DeleteTree")) return rc;
  auto base = Resolve(parent);
  if (!base || base->deleted) return kRegInvalidHandle;
  auto node = Walk(base, subKey, false);
  if (!node) return kRegNotFound;
  int budget = treeDeleteStop ? treeDeleteStop() : -1;
  // With no subkey named, the key's contents go and the key stays.
  const bool keepNode = node->parent == nullptr || node == base;
  if (!RemoveKeys(node, keepNode, &budget)) {
    ++treeDeletesStopped;
    return kRegAccessDenied;
  }
  if (keepNode) node->values.clear();
  return kRegOk;
}

bool FakeRegistry::HasKey(RegKey root, const std::string& path) const {
  return Walk(Resolve(root), path, false) != nullptr;
}

bool FakeRegistry::ReadValue(RegKey root, const std::string& path, const std::string& name,
                             std::uint32_t* type, std::vector<std::uint8_t>* data) const {
  auto node = Walk(Resolve(root), path, false);
  if (!node) return false;
  for (const Value& v : node->values) {
    if (EqualsNoCase(v.name, name)) {
      if (type) *type = v.type;
      if (data) *data = v.data;
      return true;
    }
  }
  return false;
}

void FakeRegistry::WriteValue(RegKey root, const std::string& path, const std::string& name,
                              std::uint32_t type, const std::vector<std::uint8_t>& data) {
  auto node = Walk(Resolve(root), path, true);
  for (Value& v : node->values) {
    if (EqualsNoCase(v.name, name)) {
      v.type = type;
      v.data = data;
      return;
    }
  }
  node->values.push_back(Value{name, type, data});
}

}  // namespace linkscope
