#pragma once
// The error manager: names the procedure that is running, on the error status it was
// given. Before Init (or after Kill) it keeps nothing.
#include <string>
#include <string_view>

#include "platform/framework/error_status_class.h"

class ErrorClass {
 public:
  virtual ~ErrorClass() = default;

  void Init(ErrorStatusClass& status) { status_ = &status; }
  void Kill() { status_ = nullptr; }

  // With a name: the procedure starts (push). Without: the innermost one ends (pop).
  void SetProcedureName(std::string_view name);
  void SetProcedureName();
  std::string GetProcedureName() const;

 private:
  ErrorStatusClass* status_ = nullptr;
};
