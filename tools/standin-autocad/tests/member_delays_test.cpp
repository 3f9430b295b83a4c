#include "tools/standin-autocad/member_delays.h"

#include <gtest/gtest.h>

namespace pellacore::standin {
namespace {

TEST(MemberDelay, ANumberAloneDelaysEveryMember) {
  EXPECT_EQ(MemberDelay(L"400", L"Open"), 400u);
  EXPECT_EQ(MemberDelay(L" 400 ", L"Quit"), 400u);
  EXPECT_EQ(MemberDelay(L"", L"Open"), 0u);
  EXPECT_EQ(MemberDelay(L"0", L"Open"), 0u);
}

TEST(MemberDelay, EntriesDelayTheMembersTheyNameWhateverTheCase) {
  const std::wstring_view setting = L"Open=1500, export = 300 ,Quit=0";
  EXPECT_EQ(MemberDelay(setting, L"Open"), 1500u);
  EXPECT_EQ(MemberDelay(setting, L"Export"), 300u);
  EXPECT_EQ(MemberDelay(setting, L"Quit"), 0u);
  EXPECT_EQ(MemberDelay(setting, L"Close"), 0u);
  // A name is matched whole, not as a prefix.
  EXPECT_EQ(MemberDelay(L"Op=100,OpenX=200", L"Open"), 0u);
}

TEST(MemberDelay, ABareNumberAmongEntriesCoversTheMembersNotNamed) {
  const std::wstring_view setting = L"Open=1500,250";
  EXPECT_EQ(MemberDelay(setting, L"Open"), 1500u);
  EXPECT_EQ(MemberDelay(setting, L"Close"), 250u);
}

TEST(MemberDelay, WhatCannotBeReadIsNoDelay) {
  EXPECT_EQ(MemberDelay(L"soon", L"Open"), 0u);
  EXPECT_EQ(MemberDelay(L"Open=soon", L"Open"), 0u);
  EXPECT_EQ(MemberDelay(L"Open=-5", L"Open"), 0u);
  EXPECT_EQ(MemberDelay(L"Open=", L"Open"), 0u);
  EXPECT_EQ(MemberDelay(L"=100", L"Open"), 0u);
  // More than a day is taken for a typing error, not a hang.
  EXPECT_EQ(MemberDelay(L"99999999999", L"Open"), 0u);
  // A bad entry does not spoil the others.
  EXPECT_EQ(MemberDelay(L"Open=x,Open=700,,Close=9", L"Open"), 700u);
}

}  // namespace
}  // namespace pellacore::standin
