#include <gtest/gtest.h>

#include "ScriptedPrompts.h"
#include "core/link/Exchange.h"
#include "core/sessions/LinkLoss.h"

namespace termika {
namespace {

// A lost link forgets the logger at once and tells the user last, in the
// words of its cause; a port lost between exchanges tells nothing.
TEST(LinkLoss, ForgetsTheLoggerAndNamesTheCause) {
  const struct {
    LinkFailure failure;
    const char* message;
  } cases[] = {{LinkFailure::NoAnswer, "タイムアウト\r\r通信を終了します"},
               {LinkFailure::Rejected, "通信エラー\r\r通信を終了します"},
               {LinkFailure::PortLost, "通信エラー\r\r通信を終了します"}};
  for (const auto& c : cases) {
    AppState app;
    app.modelName = QStringLiteral("QM120-RH");
    app.connected = true;
    app.runState = RunState::Continuous;
    app.status.loggerName = QStringLiteral("OLD");
    app.status.batteryVoltage = 3.1;
    testing::ScriptedPrompts prompts;
    Exchange exchange(app, prompts, Timings{});
    LinkLoss loss(app, prompts, exchange);
    Q_EMIT exchange.linkLost(c.failure);
    EXPECT_FALSE(app.connected);
    EXPECT_TRUE(app.runState == RunState::Idle);
    EXPECT_TRUE(app.status.loggerName.isEmpty());
    EXPECT_FALSE(app.status.batteryVoltage.has_value());
    EXPECT_TRUE(prompts.calls.empty());
    Q_EMIT exchange.failed(c.failure);
    ASSERT_EQ(prompts.calls.size(), 1u);
    EXPECT_EQ(prompts.calls[0].title, QStringLiteral("QM120-RH"));
    EXPECT_EQ(prompts.calls[0].message, QString::fromUtf8(c.message));
  }
}

}  // namespace
}  // namespace termika
