#pragma once

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
  UiText Texts = UiText::load(UiText::Language::Japanese);
  QString BaudSetting = QStringLiteral("57600");
  QString ModelName;  // connected logger's model; title of most message boxes
  int PortNumber = 1;
  int ChosenPort = 1;
  QString WorkingFolder;  // where the file dialogs start
  RunState runState = RunState::Idle;
  QString FileSetName;
  QString FileSetFile;  // the CSV file read into the file set
  bool Connected = false;
  bool DownloadSlow = false;

  LoggerStatus Status;

  std::array<DataSet, kSetCount> Sets{};
  std::array<RecordFile, kSetCount> Files;  // real.rand / log.rand / read.rand by set
  int CurrentSet = kLogSet;
  int ViewMode = 0;  // 0 graph, 1 dump

  DataSet& set(int index) { return Sets.at(static_cast<size_t>(index)); }
  const DataSet& set(int index) const { return Sets.at(static_cast<size_t>(index)); }
  RecordFile& file(int index) { return Files.at(static_cast<size_t>(index)); }
  const RecordFile& file(int index) const { return Files.at(static_cast<size_t>(index)); }
};

}  // namespace termika
