// The install's space on its volumes: the check before writing, and the one
// message of a volume that filled up while the install wrote. What a volume
// is and what is free there comes from Windows; the rule is in
// installer/diskSpaceRule.h.
#ifndef SAVER_INSTALLER_DISK_SPACE_H
#define SAVER_INSTALLER_DISK_SPACE_H

#include "installer/diskSpaceRule.h"
#include "package/installObserver.h"

#include <cstdint>
#include <vector>

// The volume folder lies on, read at its nearest folder that is there.
VolumeSpace volumeSpaceOf(const std::string &folder);

// STATUS_DISK_FULL, told as the install's refusal, when a volume lacks the
// space the needs add up to there; 0 otherwise.
int32_t checkInstallSpace(const std::vector<SpaceNeed> &needs, InstallObserver &observer);

// The end of an install that a full volume stopped: its one message, with
// what the install needs and what is free now; STATUS_DISK_FULL.
int32_t tellVolumeFilled(const std::vector<SpaceNeed> &needs, InstallObserver &observer);

// Passes everything on to the install's observer but the failures of writes
// that found their volume full: those the install's end tells once, as
// tellVolumeFilled, instead of blaming the package.
class DiskFullFilter : public InstallObserver {
 public:
  explicit DiskFullFilter(InstallObserver &observer) : observer_(observer) {}
  bool sawFullVolume() const { return sawFullVolume_; }

  void installStarted() override { observer_.installStarted(); }
  void installEnded(int32_t status, bool aborted) override { observer_.installEnded(status, aborted); }
  void status(const std::string &text) override { observer_.status(text); }
  void progress() override { observer_.progress(); }
  bool ask(Question question, const std::string &text) override { return observer_.ask(question, text); }
  void answered(Question question, bool answer) override { observer_.answered(question, answer); }
  void failed(const Failure &failure) override;
  void placed(const std::string &path, uint64_t size) override { observer_.placed(path, size); }
  void valueWritten(const std::string &key, const std::string &name, const std::string &data) override {
    observer_.valueWritten(key, name, data);
  }
  void pause() override { observer_.pause(); }
  bool cancelled() const override { return observer_.cancelled(); }

 private:
  InstallObserver &observer_;
  bool sawFullVolume_ = false;
};

#endif
