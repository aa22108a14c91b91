#include <gtest/gtest.h>

#include "platform/rt/error_code.h"
#include "platform/rt/evaluate.h"

namespace {

struct Case {
  const char* expression;
  const char* value;
};

TEST(Evaluate, NumbersOperatorsAndPrecedence) {
  const Case cases[] = {
      {"0414A98h", "4278936"},
      {"0ffh", "255"},
      {"  12 ", "12"},
      {"1+2*3", "7"},
      {"(1+2)*3", "9"},
      {"10-4-3", "3"},
      {"7/2", "3.5"},
      {"100/4/5", "5"},
      {"-5+2", "-3"},
      {"--5", "5"},
      {"+(3)", "3"},
      {"1.25*4", "5"},
      {"0FFFFFFFFFFFFFFFFh", "18446744073709551615"},
      {"07FFF12345678h + 10h", "140733498807944"},
      {"1/3", "0.333333333333333"},
      {"0", "0"},
  };
  for (const auto& [expression, value] : cases) {
    rt::SetErrorCode(7);
    EXPECT_EQ(EVALUATE(expression), value) << expression;
    EXPECT_EQ(ERRORCODE(), 0) << expression;
  }
}

TEST(Evaluate, BadExpressionsGiveNothingAndTheError) {
  std::string deep(101, '(');
  deep += "1" + std::string(101, ')');
  std::string signs(200, '-');
  signs += "1";
  for (const char* expression :
       {"", " ", "FFh", "12ab", "1+", "*2", "(1+2", "1+2)", "4/0", "4/(2-2)", "1 2", "0x10", "abc",
        "1..2", deep.c_str(), signs.c_str()}) {
    rt::SetErrorCode(0);
    EXPECT_EQ(EVALUATE(expression), "") << expression;
    EXPECT_EQ(ERRORCODE(), ERRORS::IllegalExpression) << expression;
  }
  std::string nested(100, '(');
  nested += "1" + std::string(100, ')');
  EXPECT_EQ(EVALUATE(nested), "1");
}

}  // namespace
