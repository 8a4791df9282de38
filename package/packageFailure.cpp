#include "package/packageFailure.h"

void addFailure(Failures &failures, FailureKind kind, int32_t status, const std::string &subject) {
  failures.push_back(Failure{kind, status, subject});
}
