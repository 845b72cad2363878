#include "adapters/Model.h"

#include <gtest/gtest.h>

namespace netvane {
namespace {

TEST(OneBasedList, PositionsCountFromOneAndRemovalMovesLaterEntriesUp) {
  OneBasedList<std::string> dns;
  for (const char* server : {"1.1.1.1", "2.2.2.2", "3.3.3.3"}) dns.Append(server);
  EXPECT_EQ(dns.At(1), "1.1.1.1");
  dns.Remove(1);
  EXPECT_EQ(dns.Count(), 2u);
  EXPECT_EQ(dns.At(1), "2.2.2.2");
  dns.Replace(2, "9.9.9.9");
  EXPECT_EQ(dns.Items(), (std::vector<std::string>{"2.2.2.2", "9.9.9.9"}));
  dns.Remove(5);  // outside the list: nothing to remove
  EXPECT_EQ(dns.Count(), 2u);
  EXPECT_THROW(dns.At(0), std::out_of_range);
}

}  // namespace
}  // namespace netvane
