// Two observers told at once: each hears every event in order, the first
// one answers and the second hears the answer, and failures a step
// collected are told one by one.
#include "package/installObserver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Recorder : public InstallObserver {
 public:
  Recorder(std::vector<std::string> &events, const std::string &name, bool answer, bool cancels)
      : events_(events), name_(name), answer_(answer), cancels_(cancels) {}
  void installStarted() override { add("started"); }
  void installEnded(int32_t status, bool aborted) override {
    add("ended " + std::to_string(status) + (aborted ? " aborted" : ""));
  }
  void status(const std::string &text) override { add("status " + text); }
  void progress() override { add("progress"); }
  bool ask(Question, const std::string &text) override {
    add("ask " + text);
    return answer_;
  }
  void answered(Question, bool answer) override { add(answer ? "answered yes" : "answered no"); }
  void failed(const Failure &failure) override { add("failed " + failure.subject); }
  void pause() override { add("pause"); }
  bool cancelled() const override { return cancels_; }

 private:
  void add(const std::string &event) { events_.push_back(name_ + ": " + event); }
  std::vector<std::string> &events_;
  std::string name_;
  bool answer_;
  bool cancels_;
};

TEST(ObserverPair, BothHearEveryEventInOrderAndTheFirstAnswers) {
  std::vector<std::string> events;
  Recorder window(events, "window", false, false);
  Recorder log(events, "log", true, false);
  ObserverPair both(window, log);
  both.installStarted();
  both.status("Installing");
  both.progress();
  EXPECT_FALSE(both.ask(Question::overwriteSaver, "Overwrite?"));
  Failures failures = {{FailureKind::File, -15, "a.txt"}, {FailureKind::DataFileRead, 5, "b.txt"}};
  EXPECT_EQ(tell(both, -15, failures), -15);
  EXPECT_TRUE(failures.empty()) << "told failures are not told again";
  both.pause();
  both.installEnded(-15, true);
  EXPECT_EQ(events,
            (std::vector<std::string>{"window: started", "log: started", "window: status Installing",
                                      "log: status Installing", "window: progress", "log: progress",
                                      "window: ask Overwrite?", "log: ask Overwrite?", "log: answered no",
                                      "window: failed a.txt", "log: failed a.txt", "window: failed b.txt",
                                      "log: failed b.txt", "window: pause", "log: pause",
                                      "window: ended -15 aborted", "log: ended -15 aborted"}));
}

TEST(ObserverPair, EitherOneCancels) {
  std::vector<std::string> events;
  for (bool first : {false, true})
    for (bool second : {false, true}) {
      Recorder a(events, "a", true, first), b(events, "b", true, second);
      EXPECT_EQ(ObserverPair(a, b).cancelled(), first || second);
    }
}

}  // namespace
