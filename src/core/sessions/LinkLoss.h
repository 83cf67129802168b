#pragma once

#include <QObject>
#include <utility>

#include "core/base/TextId.h"
#include "core/base/UserPrompts.h"
#include "core/link/Exchange.h"
#include "core/model/AppState.h"

namespace termika {

// What the program makes of a link that gave up: the logger counts as gone
// (not connected, its status forgotten, nothing recording or measuring) and
// the user is told why, titled with the model name. One per exchange.
class LinkLoss final : public QObject {
  Q_OBJECT
 public:
  // `exchange` must outlive this object.
  LinkLoss(AppState& app, UserPrompts& prompts, Exchange& exchange, QObject* parent = nullptr);

  // The two texts (headline, consequence) that explain `failure`.
  static std::pair<TextId, TextId> textsOf(LinkFailure failure);

 private:
  void forgetLogger();
  void tellUser(LinkFailure failure);

  AppState& m_app;
  UserPrompts& m_prompts;
};

}  // namespace termika
