#pragma once
// Makes operations of the portable platform fail on demand, by operation name and call
// count, so that a test can fail the Nth call of anything, once or from then on.
#include <map>
#include <string>

namespace platform::portable {

class FaultPlan {
 public:
  // The `nth` call (counted from now, 1-based) of `operation` fails with `error`; with
  // `persistent`, every later call fails too.
  void Fail(const std::string& operation, int error, int nth = 1, bool persistent = false);
  void Clear();

  // Called by each operation: 0 to go on, or the error to fail with.
  int Check(const std::string& operation);
  // How many times the operation has been called so far.
  int Calls(const std::string& operation) const;

 private:
  struct Fault {
    int error = 0;
    int atCall = 0;
    bool persistent = false;
  };
  std::map<std::string, int> calls_;
  std::map<std::string, Fault> faults_;
};

}  // namespace platform::portable
