#include <gtest/gtest.h>

#include "platform/framework/error_class.h"

namespace {

TEST(ErrorClass, ProcedureNamesNestAndUnwind) {
  ErrorStatusClass status;
  ErrorClass errors;
  errors.SetProcedureName("before init");
  EXPECT_EQ(errors.GetProcedureName(), "");

  errors.Init(status);
  errors.SetProcedureName("Main");
  errors.SetProcedureName("RenameCab");
  EXPECT_EQ(status.ProcedureName(), "RenameCab");
  errors.SetProcedureName();
  EXPECT_EQ(errors.GetProcedureName(), "Main");
  errors.SetProcedureName();
  errors.SetProcedureName();  // one pop too many
  EXPECT_EQ(errors.GetProcedureName(), "");
  errors.SetProcedureName("AboutWindow");
  EXPECT_EQ(errors.GetProcedureName(), "AboutWindow");
}

}  // namespace
