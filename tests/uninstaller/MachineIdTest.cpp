#include <gtest/gtest.h>

#include "MachineId.h"

namespace {

TEST(MachineIdTest, FormatGrowsWithTickCount) {
  EXPECT_EQ(FormatMachineId(1234, 7, 32767), L"PV000012340000732767");
  // 30 hours after boot the tick count has 9 digits; past 2^31 ms it stays unsigned.
  EXPECT_EQ(FormatMachineId(108000000, 0, 1), L"PV1080000000000000001");
  EXPECT_EQ(FormatMachineId(4000000000ul, 12, 345), L"PV40000000000001200345");
}

TEST(MachineIdTest, ReuseRule) {
  EXPECT_TRUE(IsReusableMachineId(L"PV000012340000732767"));
  EXPECT_TRUE(IsReusableMachineId(L"twenty chars of text"));
  EXPECT_TRUE(IsReusableMachineId(L"PV1080000000000000001"));
  EXPECT_TRUE(IsReusableMachineId(L"PV40000000000001200345"));

  EXPECT_FALSE(IsReusableMachineId(L""));
  EXPECT_FALSE(IsReusableMachineId(L"PV12345"));
  EXPECT_FALSE(IsReusableMachineId(L"PV10800000000000000x1"));
  EXPECT_FALSE(IsReusableMachineId(L"XX1080000000000000001"));
  EXPECT_FALSE(IsReusableMachineId(L"PV400000000000012003456"));
}

}  // namespace
