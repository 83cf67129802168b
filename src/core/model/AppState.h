#pragma once

#include <QDateTime>
#include <QString>
#include <array>

#include "core/base/UiText.h"
#include "core/data/DataSet.h"
#include "core/data/RecordFile.h"
#include "core/model/LoggerStatus.h"
#include "core/model/RunState.h"

namespace termika {

// The fields the main window owns in the reference program, kept here so the
// link, the sessions and the state rules are testable without widgets.
struct AppState {
  UiText texts = UiText::load(UiText::Language::Japanese);
  QString baudSetting = QStringLiteral("57600");
  QString modelName;  // connected logger's model; title of most message boxes
  int portNumber = 1;
  int chosenPort = 1;
  QString workingFolder;  // where the file dialogs start
  RunState runState = RunState::Idle;
  QString fileSetName;
  QString fileSetFile;           // the CSV file read into the file set
  QDateTime logSetDownloadedAt;  // when the log set arrived, for its report
  bool connected = false;
  bool downloadSlow = false;

  LoggerStatus status;

  std::array<DataSet, kSetCount> sets{};
  std::array<RecordFile, kSetCount> files;  // real.rand / log.rand / read.rand by set
  int currentSet = kLogSet;
  int viewMode = 0;  // 0 graph, 1 dump

  DataSet& set(int index) { return sets.at(static_cast<size_t>(index)); }
  const DataSet& set(int index) const { return sets.at(static_cast<size_t>(index)); }
  RecordFile& file(int index) { return files.at(static_cast<size_t>(index)); }
  const RecordFile& file(int index) const { return files.at(static_cast<size_t>(index)); }
};

}  // namespace termika
