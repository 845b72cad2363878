// The registry layer over a registry seam: run against the in-memory registry natively and
// against the real one under Wine, so the double keeps Windows' behaviour.
#include <algorithm>
#include <cctype>

#include "config/RegistryLayer.h"
#include "tests/contract/Fixtures.h"

namespace netvane::testing {
namespace {

std::string Bytes(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (auto part : parts) out.append(part);
  return out;
}
const std::string kNul(1, '\0');

}  // namespace

TEST_P(RegistryContract, ReadMultiStringJoinsItemsWithCrLf) {
  RegistryLayer layer(fixture_->registry());
  fixture_->Put(base_, "One", regtype::kMultiSz, Bytes({"10.0.0.1", kNul, kNul}));
  fixture_->Put(base_, "Three", regtype::kMultiSz,
                Bytes({"10.0.0.1", kNul, "10.0.0.2", kNul, "10.0.0.3", kNul, kNul}));
  fixture_->Put(base_, "Text", regtype::kSz, Bytes({"10.0.0.1", kNul}));
  fixture_->Put(base_, "Empty", regtype::kMultiSz, Bytes({kNul, kNul}));
  fixture_->Put(base_, "Gap", regtype::kMultiSz, Bytes({"a", kNul, kNul, "b", kNul, kNul}));
  EXPECT_EQ(layer.ReadMultiString(base_, "One"), "10.0.0.1");
  EXPECT_EQ(layer.ReadMultiString(base_, "Three"), "10.0.0.1\r\n10.0.0.2\r\n10.0.0.3");
  EXPECT_EQ(layer.ReadMultiString(base_, "Text"), "10.0.0.1");
  EXPECT_EQ(layer.ReadMultiString(base_, "Empty"), "");
  EXPECT_EQ(layer.ReadMultiString(base_, "Gap"), "a\r\n\r\nb");  // an empty item cuts nothing off
  EXPECT_EQ(layer.ReadMultiString(base_, "Missing"), "");
  EXPECT_EQ(layer.ReadMultiString(base_ + "\\NoSuchKey", "One"), "");
}

TEST_P(RegistryContract, SubkeysAreListedByNameOneLevelDeep) {
  RegistryLayer layer(fixture_->registry());
  for (const char* name : {"0001", "0000\\Linkage", "Properties"}) fixture_->CreateKey(base_ + "\\" + name);
  std::vector<std::string> names = layer.SubkeyNames(RootKey::LocalMachine, base_);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"0000", "0001", "Properties"}));
  EXPECT_TRUE(layer.SubkeyNames(RootKey::LocalMachine, base_ + "\\0001").empty());
  EXPECT_TRUE(layer.SubkeyNames(RootKey::LocalMachine, base_ + "\\Missing").empty());
}

TEST_P(RegistryContract, ReadMultiStringReadsLongValuesWhole) {
  RegistryLayer layer(fixture_->registry());
  std::string data, expected;
  for (int i = 0; i < 40; ++i) {  // 40 addresses: far beyond 255 bytes
    const std::string address = "192.168.100." + std::to_string(100 + i);
    data += address + kNul;
    expected += (i ? "\r\n" : "") + address;
  }
  data += kNul;
  fixture_->Put(base_, "IPAddress", regtype::kMultiSz, data);
  EXPECT_EQ(layer.ReadMultiString(base_, "IPAddress"), expected);
}

TEST_P(RegistryContract, OddlyTypedOrShapedDataReadsAsAbsent) {
  RegistryLayer layer(fixture_->registry());
  fixture_->Put(base_, "Dword", regtype::kDword, std::string("\x19\x00\x00\x00", 4));
  fixture_->Put(base_, "ShortDword", regtype::kDword, std::string("\x19\x00", 2));
  fixture_->Put(base_, "TextNumber", regtype::kSz, Bytes({"25", kNul}));
  fixture_->Put(base_, "Binary", regtype::kBinary, "10.0.0.1");
  fixture_->Put(base_, "Unterminated", regtype::kMultiSz, "10.0.0.1");
  fixture_->Put(base_, "NoNul", regtype::kSz, "abc");
  EXPECT_EQ(layer.ReadRegistryNumber(RootKey::LocalMachine, base_ + "\\Dword"), 25);
  EXPECT_EQ(layer.ReadRegistryNumber(RootKey::LocalMachine, base_ + "\\ShortDword", 7), 7);
  EXPECT_EQ(layer.ReadRegistryNumber(RootKey::LocalMachine, base_ + "\\TextNumber", 7), 7);
  EXPECT_EQ(layer.ReadRegistryText(RootKey::LocalMachine, base_ + "\\Dword"), "");
  EXPECT_EQ(layer.ReadRegistryText(RootKey::LocalMachine, base_ + "\\Binary"), "");
  EXPECT_EQ(layer.ReadRegistryText(RootKey::LocalMachine, base_ + "\\NoNul"), "abc");
  EXPECT_EQ(layer.ReadMultiString(base_, "Dword"), "");
  EXPECT_EQ(layer.ReadMultiString(base_, "Binary"), "");
  EXPECT_EQ(layer.ReadMultiString(base_, "Unterminated"), "10.0.0.1");
}

TEST_P(RegistryContract, NumbersKeepAllThirtyTwoBits) {
  RegistryLayer layer(fixture_->registry());
  ASSERT_TRUE(layer.WriteRegistryValue(RootKey::LocalMachine, base_ + "\\High", 0xFFFFFFFEu));
  EXPECT_EQ(static_cast<std::uint32_t>(
                layer.ReadRegistryNumber(RootKey::LocalMachine, base_ + "\\High")),
            0xFFFFFFFEu);
  EXPECT_EQ(layer.ReadRegistryNumber(RootKey::LocalMachine, base_ + "\\Missing"), 0);
  EXPECT_EQ(layer.ReadRegistryNumber(RootKey::LocalMachine, base_ + "\\Missing", -3), -3);
}

TEST_P(RegistryContract, WriteMultiStringStoresTheExactBlock) {
  RegistryLayer layer(fixture_->registry());
  Registry& registry = fixture_->registry();
  ASSERT_TRUE(layer.WriteMultiString(base_, "Two", "192.168.0.5\r\n192.168.0.6\r\n"));
  ASSERT_TRUE(layer.WriteMultiString(base_, "One", "10.0.0.1\r\n"));
  ASSERT_TRUE(layer.WriteMultiString(base_, "None", ""));
  ScopedKey key(registry, registry.Open(RootKey::LocalMachine, base_, KeyAccess::QueryValue));
  ASSERT_TRUE(key);
  const auto two = registry.Query(key.get(), "Two");
  ASSERT_TRUE(two);
  EXPECT_EQ(two->type, regtype::kMultiSz);
  EXPECT_EQ(two->data, Bytes({"192.168.0.5", kNul, "192.168.0.6", kNul, kNul, kNul}));
  EXPECT_EQ(two->data.size(), 26u);
  EXPECT_EQ(registry.Query(key.get(), "One")->data, Bytes({"10.0.0.1", kNul, kNul, kNul}));
  EXPECT_EQ(registry.Query(key.get(), "None")->data, Bytes({kNul, kNul}));
  EXPECT_EQ(layer.ReadMultiString(base_, "Two"), "192.168.0.5\r\n192.168.0.6");
}

TEST_P(RegistryContract, WritesNeverCreateKeysAndSayWhenTheyFail) {
  RegistryLayer layer(fixture_->registry());
  const std::string missing = base_ + "\\{NoSuchAdapter}";
  EXPECT_FALSE(layer.WriteMultiString(missing, "IPAddress", "10.0.0.1\r\n"));
  EXPECT_FALSE(layer.WriteRegistryValue(RootKey::LocalMachine, missing + "\\EnableDHCP", 1u));
  EXPECT_FALSE(layer.WriteRegistryValue(RootKey::LocalMachine, missing + "\\NameServer", "x"));
  EXPECT_FALSE(layer.DeleteRegistryValue(RootKey::LocalMachine, missing + "\\NameServer"));
  EXPECT_FALSE(fixture_->KeyExists(missing));
}

TEST_P(RegistryContract, TextsAndNumbersRoundTripAsTheirTypes) {
  RegistryLayer layer(fixture_->registry());
  Registry& registry = fixture_->registry();
  const std::string chinese = "手动配置";  // GBK bytes
  ASSERT_TRUE(layer.WriteRegistryValue(RootKey::LocalMachine, base_ + "\\NV Hostname", chinese));
  ASSERT_TRUE(layer.WriteRegistryValue(RootKey::LocalMachine, base_ + "\\EnableDHCP", 1u));
  ASSERT_TRUE(layer.WriteRegistryValue(RootKey::LocalMachine, base_ + "\\Empty", ""));
  EXPECT_EQ(layer.ReadRegistryText(RootKey::LocalMachine, base_ + "\\NV Hostname"), chinese);
  EXPECT_EQ(layer.ReadRegistryText(RootKey::LocalMachine, base_ + "\\nv hostname"), chinese);
  EXPECT_EQ(layer.ReadRegistryNumber(RootKey::LocalMachine, base_ + "\\EnableDHCP"), 1);
  EXPECT_TRUE(layer.RegistryValueExists(RootKey::LocalMachine, base_ + "\\Empty"));
  ScopedKey key(registry, registry.Open(RootKey::LocalMachine, base_, KeyAccess::QueryValue));
  EXPECT_EQ(registry.Query(key.get(), "NV Hostname")->type, regtype::kSz);
  EXPECT_EQ(registry.Query(key.get(), "EnableDHCP")->type, regtype::kDword);
  EXPECT_EQ(registry.Query(key.get(), "EnableDHCP")->data, std::string("\x01\x00\x00\x00", 4));
}

TEST_P(RegistryContract, DeleteTreatsAnAbsentValueAsDone) {
  RegistryLayer layer(fixture_->registry());
  fixture_->Put(base_, "DefaultGateway", regtype::kMultiSz, Bytes({"10.0.0.254", kNul, kNul}));
  EXPECT_TRUE(layer.DeleteRegistryValue(RootKey::LocalMachine, base_ + "\\DefaultGateway"));
  EXPECT_FALSE(layer.RegistryValueExists(RootKey::LocalMachine, base_ + "\\DefaultGateway"));
  EXPECT_TRUE(layer.DeleteRegistryValue(RootKey::LocalMachine, base_ + "\\DefaultGateway"));
}

TEST_P(RegistryContract, KeyPathsIgnoreCaseAndPassOverDoubledBackslashes) {
  Registry& registry = fixture_->registry();
  fixture_->CreateKey(base_ + "\\Enum\\PCI");
  fixture_->Put(base_ + "\\Enum\\PCI", "ActiveService", regtype::kSz, Bytes({"E100B", kNul}));
  RegistryLayer layer(registry);
  std::string lower = base_ + "\\enum\\pci\\ActiveService";
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(layer.ReadRegistryText(RootKey::LocalMachine, lower), "E100B");
  EXPECT_EQ(layer.ReadRegistryText(RootKey::LocalMachine, base_ + "\\Enum\\\\PCI\\ActiveService"),
            "E100B");
  EXPECT_EQ(layer.ReadRegistryText(RootKey::LocalMachine, base_ + "\\Enum\\\\ActiveService"), "");
}

TEST_P(RegistryContract, HandlesOnlyDoWhatTheyWereOpenedFor) {
  Registry& registry = fixture_->registry();
  fixture_->Put(base_, "Value", regtype::kSz, Bytes({"old", kNul}));
  {
    ScopedKey reader(registry, registry.Open(RootKey::LocalMachine, base_, KeyAccess::QueryValue));
    ASSERT_TRUE(reader);
    EXPECT_FALSE(registry.Set(reader.get(), "Value", regtype::kSz, Bytes({"new", kNul})));
    EXPECT_EQ(registry.Delete(reader.get(), "Value"), DeleteResult::Failed);
  }
  ScopedKey writer(registry, registry.Open(RootKey::LocalMachine, base_, KeyAccess::SetValue));
  ASSERT_TRUE(writer);
  EXPECT_FALSE(registry.Query(writer.get(), "Value").has_value());
  EXPECT_EQ(RegistryLayer(registry).ReadRegistryText(RootKey::LocalMachine, base_ + "\\Value"),
            "old");
}

}  // namespace netvane::testing
