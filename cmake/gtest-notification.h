// GoogleTest's Notification is built on std::mutex, which the win32 thread
// model of this MinGW lacks. This one polls a flag instead; GoogleTest uses it
// only in its thread helpers, which the tests here do not need.
#ifndef SAVER_GTEST_NOTIFICATION_H
#define SAVER_GTEST_NOTIFICATION_H

#include <atomic>

extern "C" __declspec(dllimport) void __stdcall Sleep(unsigned long milliseconds);

namespace testing {
namespace internal {

class Notification {
 public:
  Notification() : notified_(false) {}
  Notification(const Notification &) = delete;
  Notification &operator=(const Notification &) = delete;

  void Notify() { notified_ = true; }
  void WaitForNotification() {
    while (!notified_) Sleep(10);
  }

 private:
  std::atomic<bool> notified_;
};

}  // namespace internal
}  // namespace testing

#endif
