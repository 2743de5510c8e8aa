// SPDX-License-Identifier: MIT
#include "simulator/JsonFieldReader.h"

#include <gtest/gtest.h>

#include "text/TextHelpers.h"

namespace qm {
namespace {

TEST(ExtractJsonField, LooseSearchOfStringsAndNumbers) {
  const std::tuple<std::u16string_view, std::u16string_view, std::u16string_view> cases[] = {
      {uR"({"devicename":"P1","code":0})", u"devicename", u"P1"},
      {uR"({"code" :	 -12.5e3})", u"code", u"-12.5"},
      {uR"({"m":"a\"b\\c\nd"})", u"m", uR"(a"b\cnd)"},
      {uR"({"m":"ab\)", u"m", uR"(ab\)"},
      {uR"({"m":"open)", u"m", u"open"},
      {uR"({"m":"")", u"m", u""},
      {uR"({"a":true,"b":false,"c":null,"d":{"x":1},"e":[1]})", u"a", u""},
      {uR"({"b":false})", u"b", u""},
      {uR"({"c":null})", u"c", u""},
      {uR"({"d":{"x":1}})", u"d", u""},
      {uR"({"e":[1]})", u"e", u""},
      {uR"({"msg":"id","x":"y","id":9})", u"id", u"y"},
      {uR"({"msg":"\"id\"","id":9})", u"id", u"9"},
      {uR"({"id"})", u"id", u""},
      {uR"({"id":   )", u"id", u""},
      {uR"({"ID":3})", u"id", u""},
      {uR"({"id" 5 , "x": 6})", u"id", u"6"},
      {u"{\"id\":\u3000\"全角\"}", u"id", u"全角"},
  };
  for (const auto& [text, key, value] : cases) {
    EXPECT_EQ(ExtractJsonField(text, key), value) << WideToUtf8(std::u16string(text));
  }
}

}  // namespace
}  // namespace qm
