#include "app/connectivity_watch.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

// A player that answers a scripted series of polls; every sleep is
// recorded, and the busy flag can change after a given sleep.
class ScriptedProbe : public app::ConnectivityProbe {
 public:
  ScriptedProbe(app::TransferFlags& flags, std::vector<int> answers) : flags_(flags), answers_(answers) {}

  bool IsConnected() override {
    ++polls;
    if (answers_.empty()) {
      flags_.connectivityStop.store(1);
      return true;
    }
    int a = answers_.front();
    answers_.erase(answers_.begin());
    if (a < 0) throw std::runtime_error("library failure");
    return a != 0;
  }
  void Sleep(uint32_t ms) override {
    sleeps.push_back(ms);
    if (clearBusyAfterSleeps && sleeps.size() == clearBusyAfterSleeps) flags_.busy.store(0);
  }
  void ReportDisconnected() override {
    ++reports;
    EXPECT_EQ(flags_.deviceGone.load(), 1) << "the flag is set before the report";
  }

  int polls = 0;
  int reports = 0;
  std::vector<uint32_t> sleeps;
  size_t clearBusyAfterSleeps = 0;

 private:
  app::TransferFlags& flags_;
  std::vector<int> answers_;
};

TEST(ConnectivityWatch, PollsEveryIdlePeriodAndReportsTheDisappearanceOnce) {
  app::TransferFlags flags;
  ScriptedProbe probe(flags, {1, 1, 0, 1});
  app::WatchConnectivity(flags, probe);
  EXPECT_EQ(probe.polls, 3);
  EXPECT_EQ(probe.reports, 1);
  EXPECT_EQ(flags.deviceGone.load(), 1);
  EXPECT_EQ(probe.sleeps, (std::vector<uint32_t>{1500, 1500}));
  // A second run (nothing restarts the watch once the player is gone) does
  // not poll or report again.
  app::WatchConnectivity(flags, probe);
  EXPECT_EQ(probe.polls, 3);
  EXPECT_EQ(probe.reports, 1);
}

TEST(ConnectivityWatch, DoesNotPollWhileBusy) {
  app::TransferFlags flags;
  flags.busy.store(1);
  ScriptedProbe probe(flags, {0});
  probe.clearBusyAfterSleeps = 3;
  app::WatchConnectivity(flags, probe);
  EXPECT_EQ(probe.sleeps, (std::vector<uint32_t>{500, 500, 500}));
  EXPECT_EQ(probe.polls, 1);
  EXPECT_EQ(probe.reports, 1);
}

TEST(ConnectivityWatch, AFailingPollCountsAsGone) {
  app::TransferFlags flags;
  ScriptedProbe probe(flags, {1, -1});
  app::WatchConnectivity(flags, probe);
  EXPECT_EQ(probe.reports, 1);
  EXPECT_EQ(flags.deviceGone.load(), 1);
}

TEST(ConnectivityWatch, StopFlagEndsWithoutAReport) {
  app::TransferFlags flags;
  flags.connectivityStop.store(1);
  ScriptedProbe probe(flags, {0});
  app::WatchConnectivity(flags, probe);
  EXPECT_EQ(probe.polls, 0);
  EXPECT_EQ(probe.reports, 0);
  EXPECT_EQ(flags.deviceGone.load(), 0);
}

}  // namespace
