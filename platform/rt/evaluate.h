#pragma once
// EVALUATE: the value of a numeric expression typed by a user, as text.
//
// Numbers are decimal ("123", "1.5") or hexadecimal with a trailing "h" that begin with a
// digit ("0414A98h", "0FFh"); operators are + - * / with the usual precedence, unary + and -,
// and parentheses; blanks are ignored. A whole result is written as an integer (exact up to
// 64 bits), any other with up to 15 significant digits.
//
// Anything else (an unknown character, a missing operand or parenthesis, division by zero,
// nesting deeper than 100 levels) gives "" and ERRORCODE() 800; a good expression sets 0.
#include <string>
#include <string_view>

namespace ERRORS {
inline constexpr int IllegalExpression = 800;
}  // namespace ERRORS

std::string EVALUATE(std::string_view expression);
