#pragma once
// An in-memory registry with the real one's rules: names compare ignoring case and keep the
// case they were created in, sizes and return codes as Windows reports them. Call counting and
// a failure hook let tests count registry traffic and fail any chosen call.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace linkscope {

class FakeRegistry : public IRegistry {
 public:
  FakeRegistry();
  ~FakeRegistry() override;

  long OpenKey(RegKey parent, const std::string& subKey, RegAccess access, RegKey* key) override;
  long CreateKey(RegKey parent, const std::string& subKey, RegKey* key) override;
  long CloseKey(RegKey key) override;
  long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize) override;
  long EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                 std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataSize) override;
  long QueryInfoKey(RegKey key, std::uint32_t* subKeys, std::uint32_t* values) override;
  long QueryValue(RegKey key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                  std::uint32_t* dataSize) override;
  long SetValue(RegKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                std::uint32_t size) override;
  long DeleteValue(RegKey key, const std::string& name) override;
  long DeleteKey(RegKey parent, const std::string& subKey) override;
  long DeleteTree(RegKey parent, const std::string& subKey) override;

  // Every call counts, failed or not.
  int calls = 0;
  // Called with the operation's name before each call; a nonzero answer fails the call with it.
  std::function<long(const char* operation)> failHook;
  // Makes a recursive delete stop part-way, as when it fails or the process ends during it.
  // Asked at each DeleteTree that the failure hook lets through: an answer k >= 0 lets it
  // remove k keys, deepest first as the registry removes them, and then fail with access
  // denied; a negative answer lets it run whole. Each delete that stopped counts.
  std::function<int()> treeDeleteStop;
  int treeDeletesStopped = 0;

  // Keys still open (a leak check for tests).
  std::size_t OpenHandleCount() const { return handles_.size(); }

  // Test conveniences that bypass counting and the hook.
  bool HasKey(RegKey root, const std::string& path) const;
  bool ReadValue(RegKey root, const std::string& path, const std::string& name,
                 std::uint32_t* type, std::vector<std::uint8_t>* data) const;
  void WriteValue(RegKey root, const std::string& path, const std::string& name,
                  std::uint32_t type, const std::vector<std::uint8_t>& data);

 private:
  struct Node;
  struct Value {
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
  };
  struct Node {
    std::string name;
    Node* parent = nullptr;
    bool deleted = false;
    std::vector<std::shared_ptr<Node>> children;  // kept in case-insensitive name order
    std::vector<Value> values;                    // kept in creation order
  };

  long Begin(const char* operation);
  long LiveNode(RegKey key, std::shared_ptr<Node>* node) const;
  static std::vector<Value>::iterator FindValue(Node& node, const std::string& name);
  std::shared_ptr<Node> Resolve(RegKey key) const;
  std::shared_ptr<Node> Walk(std::shared_ptr<Node> from, const std::string& path,
                             bool create) const;
  RegKey NewHandle(std::shared_ptr<Node> node);
  static void MarkDeleted(Node& node);
  // Removes the node's subkeys, then the node itself unless `keepNode`, one key at a time
  // while `budget` lasts (a negative budget never runs out); false when it ran out. The node is
  // held by value: removing it from its parent's list must not free it under the call.
  static bool RemoveKeys(std::shared_ptr<Node> node, bool keepNode, int* budget);

  std::shared_ptr<Node> currentUser_;
  std::shared_ptr<Node> localMachine_;
  std::map<RegKey, std::shared_ptr<Node>> handles_;
  RegKey nextHandle_ = 0x1000;
};

}  // namespace linkscope
