#include "util/json_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

TEST(JsonTextTest, KeepsValidUtf8AndEscapesEveryOtherByte) {
  EXPECT_EQ("\"a \\\"b\\\" \\\\ \\n\\t\\u0001\\u007f\"",
            JsonString("a \"b\" \\ \n\t\x01\x7F"));
  EXPECT_EQ("\"国😀é\"", JsonString("国😀é"));
  // A stray continuation byte, a cut sequence, an overlong form, a
  // surrogate and bytes past U+10FFFF: each byte on its own.
  EXPECT_EQ("\"\\udc80A\\udce5\\udc9b\"", JsonString("\x80" "A\xE5\x9B"));
  EXPECT_EQ("\"\\udcc0\\udc80\"", JsonString("\xC0\x80"));
  EXPECT_EQ("\"\\udced\\udca0\\udc80\"", JsonString("\xED\xA0\x80"));
  EXPECT_EQ("\"\\udcf4\\udc90\\udc80\\udc80\"", JsonString("\xF4\x90\x80\x80"));
  EXPECT_EQ(std::string("\"\\u0000\""), JsonString(std::string(1, '\0')));
}

TEST(JsonTextTest, NumbersReadBackToTheSameDouble) {
  for (double v : {0.0, -0.0, 1.0, 0.1, 33.333332061767578, 1e300, -2.5e-7,
                   123456789.125}) {
    std::string text = JsonNumber(v);
    EXPECT_EQ(v, std::strtod(text.c_str(), nullptr)) << text;
  }
  EXPECT_EQ("15", JsonNumber(15));
  EXPECT_EQ("10", JsonNumber(10));
  EXPECT_EQ("-120", JsonNumber(-120));
  EXPECT_EQ("-0", JsonNumber(-0.0));
  EXPECT_EQ("169.5", JsonNumber(169.5));
  EXPECT_EQ("null", JsonNumber(std::numeric_limits<double>::infinity()));
  EXPECT_EQ("null", JsonNumber(std::nan("")));
}

}  // namespace
