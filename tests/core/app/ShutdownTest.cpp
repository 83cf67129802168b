#include <gtest/gtest.h>

#include <QStringList>
#include <deque>
#include <map>

#include "core/app/Shutdown.h"
#include "core/data/DataSet.h"

namespace termika {
namespace {

// Records every step and answers the save questions from a script per set.
struct Script {
  std::map<int, std::deque<SaveOutcome>> answers;
  QStringList log;

  ShutdownSteps steps() {
    ShutdownSteps s;
    s.stopLink = [this] { log << QStringLiteral("stop link"); };
    s.askSave = [this](int set, const QString& prompt) {
      log << QStringLiteral("ask %1 %2").arg(set).arg(prompt);
      auto& queue = answers[set];
      if (queue.empty()) return SaveOutcome::NothingToSave;
      const SaveOutcome outcome = queue.front();
      queue.pop_front();
      return outcome;
    };
    s.closeFiles = [this] { log << QStringLiteral("close files"); };
    s.saveSettings = [this] { log << QStringLiteral("save settings"); };
    s.deleteRecordFiles = [this] { log << QStringLiteral("delete record files"); };
    return s;
  }
};

const QString kAskLog = QStringLiteral("ask 0 ログ記録のデータを保存しますか？");
const QString kAskReal = QStringLiteral("ask 1 リアルタイムデータを保存しますか？");
const QString kStop = QStringLiteral("stop link");
const QStringList kTail{QStringLiteral("close files"), QStringLiteral("save settings"),
                        QStringLiteral("delete record files")};

TEST(Shutdown, StopsTheLinkThenAsksLogBeforeRealTimeThenCleansUp) {
  struct Case {
    const char* name;
    std::deque<SaveOutcome> log;
    std::deque<SaveOutcome> real;
    QStringList questions;
  };
  using O = SaveOutcome;
  const Case cases[] = {
      {"nothing unsaved", {O::NothingToSave}, {O::NothingToSave}, {kAskLog, kAskReal}},
      {"both saved", {O::Saved}, {O::Saved}, {kAskLog, kAskReal}},
      {"both declined", {O::Declined}, {O::Declined}, {kAskLog, kAskReal}},
      {"cancelled log asked again",
       {O::Cancelled, O::Saved},
       {O::Declined},
       {kAskLog, kAskLog, kAskReal}},
      {"failed log asked until declined",
       {O::Failed, O::Failed, O::Declined},
       {O::NothingToSave},
       {kAskLog, kAskLog, kAskLog, kAskReal}},
      {"cancelled then failed real-time",
       {O::Declined},
       {O::Cancelled, O::Failed, O::Saved},
       {kAskLog, kAskReal, kAskReal, kAskReal}},
  };
  const UiText texts = UiText::load(UiText::Language::Japanese);
  for (const Case& c : cases) {
    Script script;
    script.answers[kLogSet] = c.log;
    script.answers[kRealTimeSet] = c.real;
    runShutdown(texts, script.steps());
    const QStringList expected = QStringList{kStop} + c.questions + kTail;
    EXPECT_EQ(script.log, expected) << c.name;
    EXPECT_TRUE(script.answers[kLogSet].empty()) << c.name;
    EXPECT_TRUE(script.answers[kRealTimeSet].empty()) << c.name;
  }
}

TEST(Shutdown, AsksInTheChosenLanguageAndSkipsMissingSteps) {
  Script english;
  runShutdown(UiText::load(UiText::Language::English), english.steps());
  EXPECT_EQ(english.log.at(1), QStringLiteral("ask 0 Is the data of the log record preserved?"));
  EXPECT_EQ(english.log.at(2), QStringLiteral("ask 1 Is real-time data preserved?"));
  Script script;
  ShutdownSteps steps = script.steps();
  steps.stopLink = nullptr;
  steps.askSave = nullptr;
  runShutdown(UiText::load(UiText::Language::Japanese), steps);
  EXPECT_EQ(script.log, kTail);
}

}  // namespace
}  // namespace termika
