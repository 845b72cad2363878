// The layer's own rules: when an interface metric is stored, and how list text maps to REG_MULTI_SZ.
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

TEST_F(RegistryLayerTest, InterfaceMetricIsWrittenOnlyForANumberAboveZero) {
  const std::string path = kAdapterKey + "\\InterfaceMetric";
  ASSERT_TRUE(layer.WriteInterfaceMetric(kGuid, "1"));
  EXPECT_EQ(layer.ReadRegistryNumber(HKLM, path), 1);
  for (const char* automatic : {"", "0", "自动", "-5"}) {
    registry.PutNumber(HKLM, kAdapterKey, "InterfaceMetric", 9);
    EXPECT_TRUE(layer.WriteInterfaceMetric(kGuid, automatic)) << automatic;
    EXPECT_FALSE(layer.RegistryValueExists(HKLM, path)) << automatic;
  }
  EXPECT_TRUE(layer.WriteInterfaceMetric(kGuid, ""));  // nothing to remove is no failure
  EXPECT_FALSE(layer.WriteInterfaceMetric("{missing}", "20"));
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
