// Cancelling a slow download from the progress window, against the simulated logger.
#include <QLabel>

#include "EventWait.h"
#include "SessionTestSupport.h"
#include "WindowTest.h"
#include "core/data/Csv.h"
#include "core/link/Exchange.h"
#include "ui/dialogs/DownloadProgressDialog.h"

namespace termika {
namespace {

using testing::waitUntil;

class DownloadCancelWindowTest : public WindowTest {
 protected:
  std::unique_ptr<SimulatedPort> m_port;  // outlives the window, which TearDown closes
};

TEST_F(DownloadCancelWindowTest, CancelKeepsAPartialSetThatIsSavedAndReopenedWithItsCount) {
  m_port = std::make_unique<SimulatedPort>(testing::scenarioFile(testing::kThreeBlocks),
                                           testing::kScale);
  openOnSimulator(*m_port, testing::kScale, UiText::Language::English);
  const auto idle = [this] { return !m_window->exchange()->isBusy(); };
  QTest::mouseClick(ui().connectButton, Qt::LeftButton);
  ASSERT_TRUE(waitUntil([&] { return m_state->connected && idle(); }));
  find<QAction>(Control::SlowDownloadItem)->trigger();
  click(Control::DownloadButton);
  const DataSet& log = m_state->set(kLogSet);
  ASSERT_TRUE(waitUntil([&] { return log.count >= 20; }));
  auto* dialog = m_window->findChild<DownloadProgressDialog*>();
  ASSERT_TRUE(dialog->isVisible() && dialog->controls().cancelButton->isEnabled());
  QTest::mouseClick(dialog->controls().cancelButton, Qt::LeftButton);
  ASSERT_TRUE(waitUntil([&] { return !m_window->download()->running() && idle(); }));
  const int kept = log.count;
  EXPECT_TRUE(kept >= 20 && kept < 204) << kept;
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_FALSE(m_port->logger().downloaded());
  EXPECT_EQ(ui().partialPanel->isVisible() ? ui().partialPanel->text() : QString(),
            QStringLiteral("partial: %1 of 204 points").arg(kept));

  // The saved file's header announces the points it holds.
  const QString path = m_dir.filePath(QStringLiteral("part.csv"));
  ASSERT_TRUE(writeCsvFile(path, log, m_state->file(kLogSet), m_state->texts).ok());
  ASSERT_TRUE(m_window->openCsvFile(path));
  EXPECT_EQ(m_state->set(kFileSet).announcedCount, kept);
  EXPECT_EQ(m_state->set(kFileSet).count, kept);
  EXPECT_FALSE(ui().partialPanel->isVisible());  // the file set is shown
}

}  // namespace
}  // namespace termika
