#pragma once
// One thread's error state: the stack of procedure names that are running, innermost last.
#include <string>
#include <vector>

class ErrorStatusClass {
 public:
  void PushProcedureName(std::string name) { procedures_.push_back(std::move(name)); }
  // Popping an empty stack does nothing: an unbalanced pop must not take a caller's name.
  void PopProcedureName() {
    if (!procedures_.empty()) procedures_.pop_back();
  }
  // The innermost name, "" when none.
  std::string ProcedureName() const { return procedures_.empty() ? std::string() : procedures_.back(); }

 private:
  std::vector<std::string> procedures_;
};
