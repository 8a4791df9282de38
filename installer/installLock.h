// One installer of a saver at a time. The first run takes a named lock for
// the saver as soon as the package names it and holds it until it ends; a
// second run of the same saver, through another Setup.exe or the same one,
// finds it taken and ends before it changes anything. A run that was ended
// by force leaves the lock abandoned, which the next run takes over.
#ifndef SAVER_INSTALLER_INSTALL_LOCK_H
#define SAVER_INSTALLER_INSTALL_LOCK_H

#include <windows.h>

#include <cstdint>
#include <string>

class InstallLock {
 public:
  InstallLock() = default;
  ~InstallLock();
  InstallLock(const InstallLock &) = delete;
  InstallLock &operator=(const InstallLock &) = delete;

  // 0 once the lock for saverName is this run's, STATUS_INSTALL_IN_PROGRESS
  // while another run holds it, else the system's code.
  int32_t take(const std::string &saverName);

 private:
  HANDLE mutex_ = nullptr;
};

#endif
