// The registry readers over the portable registry: GetRegString and EnumRegKeys on keys and
// values that the input makes (names of any bytes, NULs, names near and beyond the 255-byte
// buffer, names that differ only in letter case, values of any type and data), with one of
// the queries made to fail. Held to a plain reading of the two procedures; neither shows a
// message or leaves a key open.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "fuzz/require.h"
#include "integration/registry.h"
#include "platform/portable/portable_platform.h"

namespace {

using fuzz::Require;
using platform::kHKeyLocalMachine;
using platform::portable::StoredValue;

constexpr char kKey[] = "Software\\Quorvalen\\PLM";

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

struct IgnoringCase {
  bool operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Upper(x) < Upper(y); });
  }
};

std::string BeforeNul(const std::string& text) { return text.substr(0, text.find('\0')); }

// A name of any bytes but the path separator; now and then one near the buffer's 255 bytes.
std::string Name(FuzzedDataProvider& input) {
  std::string name = input.ConsumeRandomLengthString(12);
  if (input.ConsumeBool()) name.resize(input.ConsumeIntegralInRange<std::size_t>(250, 260), 'n');
  std::replace(name.begin(), name.end(), '\\', '/');
  return name;
}

// The same name with the case of some of its letters changed.
std::string Recased(FuzzedDataProvider& input, std::string name) {
  const auto mask = input.ConsumeIntegral<std::uint8_t>();
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (mask >> (i % 8) & 1)
      name[i] = name[i] >= 'A' && name[i] <= 'Z' ? static_cast<char>(name[i] + 32) : Upper(name[i]);
  }
  return name;
}

// One of the platform's operations made to fail, counted from the procedure's first call.
struct Fault {
  std::string operation;
  long error = 0;
  int nth = 0;
  bool persistent = false;

  bool Meets(const std::string& name, int call) const {
    return name == operation && (call == nth || (persistent && call > nth));
  }
};

Fault ChooseFault(FuzzedDataProvider& input, platform::portable::FaultPlan& faults) {
  static constexpr const char* kOperations[] = {"", "OpenKey", "QueryValueEx", "EnumKey"};
  static constexpr long kErrors[] = {2, 5, 6, 234, 259};
  Fault fault{kOperations[input.ConsumeIntegralInRange<std::size_t>(0, 3)],
              kErrors[input.ConsumeIntegralInRange<std::size_t>(0, 4)],
              input.ConsumeIntegralInRange<int>(1, 6), input.ConsumeBool()};
  // A listing that the platform says "more data" to forever would never end.
  if (fault.error == 234) fault.persistent = false;
  faults.Clear();
  if (!fault.operation.empty()) {
    faults.Fail(fault.operation, static_cast<int>(fault.error), fault.nth, fault.persistent);
  }
  return fault;
}

std::string PlainGetRegString(bool keyOpens, const StoredValue* value, const Fault& fault,
                              const std::string& defaultText) {
  if (!keyOpens || fault.Meets("OpenKey", 1)) return defaultText;
  if (fault.Meets("QueryValueEx", 1) || value == nullptr || value->type != 1) return defaultText;
  // A second query that fails gives the default too.
  if (fault.Meets("QueryValueEx", 2)) return defaultText;
  return BeforeNul(std::string(value->data.begin(), value->data.end()));
}

integration::SubkeyList PlainEnumRegKeys(bool keyOpens, const std::vector<std::string>& subkeys,
                                         const Fault& fault) {
  if (!keyOpens || fault.Meets("OpenKey", 1)) return {integration::kKeyNotOpened, {}};
  std::vector<std::string> names;
  for (std::size_t index = 0;; ++index) {
    long status = 0;
    if (fault.Meets("EnumKey", static_cast<int>(index) + 1)) {
      status = fault.error;
    } else if (index >= subkeys.size()) {
      status = 259;
    } else if (subkeys[index].size() >= 255) {
      status = 234;
    }
    if (status == 234) continue;  // a name too long for the buffer is passed over
    if (status != 0) break;
    names.push_back(BeforeNul(subkeys[index]));
  }
  if (names.empty()) return {integration::kNoSubkeys, {}};
  return {integration::kListed, names};
}

// How many subkeys the platform lists, asked directly.
std::size_t CountSubkeys(platform::portable::PortableRegistry& registry) {
  platform::RegKey key = 0;
  if (registry.OpenKey(kHKeyLocalMachine, kKey, key) != 0) return 0;
  std::uint32_t count = 0;
  char buffer[400];
  while (registry.EnumKey(key, count, buffer, sizeof buffer) == 0) ++count;
  registry.CloseKey(key);
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  platform::portable::PortablePlatform machine;
  auto& registry = machine.registry;

  // The key, its subkeys and its values, as the input makes them.
  const bool keyExists = input.ConsumeBool();
  const bool readDenied = keyExists && input.ConsumeIntegralInRange<int>(0, 7) == 0;
  std::map<std::string, StoredValue, IgnoringCase> values;
  std::set<std::string, IgnoringCase> subkeys;
  std::vector<std::string> valueNames;
  if (keyExists) {
    registry.PutKey(kHKeyLocalMachine, kKey);
    for (int i = input.ConsumeIntegralInRange<int>(0, 6); i > 0; --i) {
      const std::string name = Name(input);
      if (name.empty()) continue;
      registry.PutKey(kHKeyLocalMachine, std::string(kKey) + "\\" + name);
      subkeys.insert(name);
    }
    for (int i = input.ConsumeIntegralInRange<int>(0, 6); i > 0; --i) {
      const std::string name = Name(input);
      static constexpr std::uint32_t kTypes[] = {1, 1, 2, 3, 4, 7};
      StoredValue value{
          kTypes[input.ConsumeIntegralInRange<std::size_t>(0, 5)],
          input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(0, 40))};
      if (input.ConsumeBool()) value.data.push_back(0);
      if (input.ConsumeIntegralInRange<int>(0, 15) == 0) value.data.resize(40000, 'v');
      registry.PutValue(kHKeyLocalMachine, kKey, name, value);
      values[name] = value;
      valueNames.push_back(name);
    }
    if (readDenied) registry.DenyReads(kHKeyLocalMachine, kKey);
  }
  const bool keyOpens = keyExists && !readDenied;

  // Names that differ only in letter case name one key; the platform lists the keys sorted
  // without regard to case.
  Require(!keyOpens || CountSubkeys(registry) == subkeys.size(),
          "a subkey is listed twice or not at all");
  const std::vector<std::string> sorted(subkeys.begin(), subkeys.end());

  integration::Registry procedures(machine.platform);
  const std::string path =
      input.ConsumeBool() ? Recased(input, kKey) : "Software\\Quorvalen\\Other";
  const bool pathOpens = keyOpens && path != "Software\\Quorvalen\\Other";

  std::string valueName =
      valueNames.empty() || input.ConsumeBool()
          ? Name(input)
          : Recased(
                input,
                valueNames[input.ConsumeIntegralInRange<std::size_t>(0, valueNames.size() - 1)]);
  const auto found = values.find(valueName);
  Fault fault = ChooseFault(input, machine.faults);
  const std::string text = procedures.GetRegString(kHKeyLocalMachine, path, valueName, "default");
  Require(text == PlainGetRegString(pathOpens, found == values.end() ? nullptr : &found->second,
                                    fault, "default"),
          "GetRegString gives another text");
  Require(registry.OpenHandles() == 0, "GetRegString leaves a key open");

  fault = ChooseFault(input, machine.faults);
  const integration::SubkeyList list = procedures.EnumRegKeys(kHKeyLocalMachine, path);
  Require(list == PlainEnumRegKeys(pathOpens, sorted, fault), "EnumRegKeys gives another list");
  Require(registry.OpenHandles() == 0, "EnumRegKeys leaves a key open");

  Require(machine.toolkit.Messages().empty(), "a reader showed a message");
  return 0;
}
