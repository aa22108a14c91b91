// EVALUATE of whatever a user types into the address entry.
// Rules: a result is "" exactly when ERRORCODE() says the expression was refused; a result is a
// number that evaluates to itself; wrapping an accepted expression in parentheses keeps it
// (unless the wrapping is what reaches the nesting limit).
#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/rt/error_code.h"
#include "platform/rt/evaluate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string expression(reinterpret_cast<const char*>(data), size);
  const std::string value = EVALUATE(expression);
  FUZZ_CHECK(value.empty() == (ERRORCODE() == ERRORS::IllegalExpression), "[" + expression + "]");
  if (value.empty()) return 0;
  if (value.find('e') == std::string::npos && value[0] != '-') {
    FUZZ_CHECK(EVALUATE(value) == value, "[" + expression + "] gave [" + value + "]");
  }
  const auto nesting = std::count_if(expression.begin(), expression.end(),
                                     [](char c) { return c == '(' || c == '+' || c == '-'; });
  if (nesting < 99) {
    FUZZ_CHECK(EVALUATE("(" + expression + ")") == value, "[" + expression + "]");
  }
  return 0;
}
