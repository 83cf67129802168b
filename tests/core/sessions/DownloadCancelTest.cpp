#include <gtest/gtest.h>

#include <vector>

#include "SessionTestSupport.h"

namespace termika::testing {
namespace {

// A cancel keeps exactly the points that arrived before it, in time order with their times; the
// rest of a stream is read and dropped, so the line is quiet and the next status read and a whole
// download in the same mode gets every point; the logger is never marked. A cancel at the last
// point loses nothing.
TEST(DownloadCancel, KeepsThePointsReceivedAndLeavesTheLinkReusable) {
  using O = Download::Outcome;
  const struct {
    const char* name;
    bool wrapped, slow, paced;  // paced: the stream takes longer than any drain of the line
    int cancelAt;               // points received when Cancel is pressed; -1 right after the start
    int stallAfter;             // the stream falls silent after this many points
    int kept;
    O outcome;
  } cases[] = {{"fast", false, false, false, 50, -1, 50, O::Cancelled},
               {"slow", false, true, false, 50, -1, 50, O::Cancelled},
               {"while the header is read", false, false, false, -1, -1, 0, O::Cancelled},
               {"fast, as a long stream begins", true, false, true, 0, -1, 0, O::Cancelled},
               {"fast, the rest stalls", false, false, false, 50, 120, 50, O::Cancelled},
               {"one point short of the end", false, false, false, 203, -1, 203, O::Cancelled},
               {"at the last point", false, true, false, 204, -1, 204, O::Complete},
               {"wrapped, newest part only", true, true, false, 600, -1, 600, O::Cancelled},
               {"wrapped, across the write position and a run", true, false, false, 12000, -1,
                12000, O::Cancelled}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DownloadRun run(c.wrapped ? scenarioFrom(kWrappedOnce) : scenarioFile(kThreeBlocks));
    SimulatedLogger& logger = run.bench.port->logger();
    logger.faults().stallAfterPoints = c.stallAfter;
    logger.faults().paced = c.paced;
    const auto cancelIf = [&](bool due) {
      if (!due) return;
      EXPECT_TRUE(run.session.cancel());
      EXPECT_FALSE(run.session.cancel() || run.session.start());  // once; no second start
    };
    const QMetaObject::Connection watches[] = {
        QObject::connect(&run.session, &Download::progress,
                         [&](int n, int total) { cancelIf(n == c.cancelAt && total > 0); }),
        QObject::connect(&run.session, &Download::started, [&] { cancelIf(c.cancelAt < 0); })};
    EXPECT_EQ(run.download(c.slow), c.outcome == O::Complete);
    EXPECT_EQ(run.outcome, c.outcome);
    const DataSet& set = run.bench.app.set(kLogSet);
    ASSERT_EQ(set.count, c.kept);
    EXPECT_EQ(set.partialOf,
              c.outcome == O::Cancelled && c.kept > 0 ? (c.wrapped ? 15000 : 204) : 0);
    run.expectSetMatchesLogger(c.kept);
    EXPECT_FALSE(logger.nextOutputAt().has_value());  // nothing left on its way
    EXPECT_TRUE(run.bench.prompts.calls.empty());
    EXPECT_EQ(logger.downloaded(), false);
    logger.faults() = SimFaults{};
    for (const auto& w : watches) QObject::disconnect(w);
    ASSERT_TRUE(run.bench.readStatus());
    EXPECT_TRUE(run.bench.app.status.pendingDownload);
    EXPECT_EQ(run.bench.app.status.usedMemory, c.wrapped ? 4000 : 816);
    ASSERT_EQ(run.download(c.slow), true);
    run.expectSetMatchesLogger();
    EXPECT_EQ(set.partialOf, 0);
  }
}

}  // namespace
}  // namespace termika::testing
