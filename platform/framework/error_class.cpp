#include "platform/framework/error_class.h"

void ErrorClass::SetProcedureName(std::string_view name) {
  if (status_) status_->PushProcedureName(std::string(name));
}

void ErrorClass::SetProcedureName() {
  if (status_) status_->PopProcedureName();
}

std::string ErrorClass::GetProcedureName() const { return status_ ? status_->ProcedureName() : std::string(); }
