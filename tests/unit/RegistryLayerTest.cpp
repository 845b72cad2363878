// What only the in-memory registry can show: handles closed, write order, refused writes.
#include "config/RegistryLayer.h"

#include <gtest/gtest.h>

#include "tests/doubles/MemoryRegistry.h"

namespace netvane {
namespace {

using testing::MemoryRegistry;
constexpr RootKey HKLM = RootKey::LocalMachine;
const std::string kGuid = "{11111111-2222-3333-4444-555555555555}";
const std::string kAdapterKey = std::string(kTcpipInterfacesKey) + kGuid;

class RegistryLayerTest : public ::testing::Test {
 protected:
  void SetUp() override { registry.CreateKey(HKLM, kAdapterKey); }
  MemoryRegistry registry;
  RegistryLayer layer{registry};
};

TEST_F(RegistryLayerTest, EveryOperationClosesTheKeysItOpened) {
  registry.PutMulti(HKLM, kAdapterKey, "IPAddress", {"10.0.0.1"});
  layer.ReadMultiString(kAdapterKey, "IPAddress");
  layer.ReadMultiString(kAdapterKey + "\\Missing", "IPAddress");
  layer.WriteMultiString(kAdapterKey, "IPAddress", "10.0.0.2\r\n");
  layer.WriteMultiString(kAdapterKey + "\\Missing", "IPAddress", "10.0.0.2\r\n");
  layer.ReadRegistryText(HKLM, kAdapterKey + "\\NameServer");
  layer.ReadRegistryNumber(HKLM, kAdapterKey + "\\EnableDHCP");
  layer.WriteRegistryValue(HKLM, kAdapterKey + "\\NameServer", "1.1.1.1");
  layer.WriteRegistryValue(HKLM, kAdapterKey + "\\EnableDHCP", 0u);
  layer.DeleteRegistryValue(HKLM, kAdapterKey + "\\DefaultGateway");
  layer.RegistryValueExists(HKLM, kAdapterKey + "\\IPAddress");
  layer.WriteInterfaceMetric(kGuid, "20");
  layer.WriteInterfaceMetric(kGuid, "");
  EXPECT_GT(registry.openCalls, 10);
  EXPECT_EQ(registry.OpenKeyCount(), 0);
}

TEST_F(RegistryLayerTest, InterfaceMetricIsWrittenOnlyForANumberAboveZero) {
  const std::string path = kAdapterKey + "\\InterfaceMetric";
  ASSERT_TRUE(layer.WriteInterfaceMetric(kGuid, "20"));
  EXPECT_EQ(layer.ReadRegistryNumber(HKLM, path), 20);
  for (const char* automatic : {"", "0", "自动", "-5"}) {
    registry.PutNumber(HKLM, kAdapterKey, "InterfaceMetric", 9);
    EXPECT_TRUE(layer.WriteInterfaceMetric(kGuid, automatic)) << automatic;
    EXPECT_FALSE(layer.RegistryValueExists(HKLM, path)) << automatic;
  }
  EXPECT_TRUE(layer.WriteInterfaceMetric(kGuid, ""));  // nothing to remove is no failure
  EXPECT_FALSE(layer.WriteInterfaceMetric("{missing}", "20"));
}

TEST_F(RegistryLayerTest, RefusedWritesLeaveTheRegistryAsItWasAndSaySo) {
  registry.PutText(HKLM, kAdapterKey, "NameServer", "8.8.8.8");
  registry.PutMulti(HKLM, kAdapterKey, "IPAddress", {"10.0.0.1"});
  registry.RefuseWritesUnder(HKLM, "system\\currentcontrolset\\services");
  EXPECT_FALSE(layer.WriteRegistryValue(HKLM, kAdapterKey + "\\NameServer", "1.1.1.1"));
  EXPECT_FALSE(layer.WriteMultiString(kAdapterKey, "IPAddress", "10.0.0.9\r\n"));
  EXPECT_FALSE(layer.DeleteRegistryValue(HKLM, kAdapterKey + "\\IPAddress"));
  EXPECT_FALSE(layer.WriteInterfaceMetric(kGuid, "20"));
  EXPECT_EQ(layer.ReadRegistryText(HKLM, kAdapterKey + "\\NameServer"), "8.8.8.8");
  EXPECT_EQ(layer.ReadMultiString(kAdapterKey, "IPAddress"), "10.0.0.1");
  EXPECT_TRUE(registry.Writes().empty());
}

TEST_F(RegistryLayerTest, CrAndLfOutsideAPairAreStoredUnchanged) {
  EXPECT_EQ(MultiStringData("a\rb\nc\r\n"), std::string("a\rb\nc\0\0\0", 8));
  EXPECT_EQ(MultiStringData("a\r\n\r\n"), std::string("a\0\0\0\0", 5));
  EXPECT_EQ(ListTextFromMultiString(std::string("\0a\0\0b\0\0\0", 8)), "\r\na\r\n\r\nb");
  EXPECT_EQ(ListTextFromMultiString(std::string("a\0b", 3)), "a\r\nb");
}

TEST_F(RegistryLayerTest, ValuesAtTheRootOfAHiveAreAddressable) {
  registry.PutText(RootKey::CurrentUser, "", "Loose", "x");
  EXPECT_EQ(layer.ReadRegistryText(RootKey::CurrentUser, "Loose"), "x");
}

}  // namespace
}  // namespace netvane
