// SPDX-License-Identifier: MIT
#include "config/PortField.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(ReadPortField, ReadsLeadingDecimalDigits) {
  const std::pair<std::u16string, int> cases[] = {
      {u"1883", 1883},
      {u" 8883 ", 8883},
      {u"\t8883\u00A0", 8883},
      {u"12ab", 12},
      {u"abc", 0},
      {u"", 0},
      {u"   ", 0},
      {u"+7", 7},
      {u"-1", -1},
      {u"-", 0},
      {u"+", 0},
      {u"--5", 0},
      {u"0", 0},
      {u"007", 7},
      {u"1 2", 1},
      {u"99999", 99999},
      {u"2147483647", 2147483647},
      {u"2147483648", 2147483647},
      {u"99999999999999999999999", 2147483647},
      {u"-2147483648", -2147483647 - 1},
      {u"-2147483649", -2147483647 - 1},
      {u"-99999999999999999999999", -2147483647 - 1},
      {u"\uFF11", 0},  // full-width digit is not a decimal digit
  };
  for (const auto& [text, port] : cases) {
    EXPECT_EQ(ReadPortField(text), port) << "text size " << text.size();
  }
}

}  // namespace
}  // namespace qm
