#include "core/sessions/LinkLoss.h"

#include "core/link/AnswerDispatcher.h"

namespace termika {

LinkLoss::LinkLoss(AppState& app, UserPrompts& prompts, Exchange& exchange, QObject* parent)
    : QObject(parent), m_app(app), m_prompts(prompts) {
  connect(&exchange, &Exchange::linkLost, this, &LinkLoss::forgetLogger);
  connect(&exchange, &Exchange::failed, this, &LinkLoss::tellUser);
}

std::pair<TextId, TextId> LinkLoss::textsOf(LinkFailure failure) {
  // Time-out / the link ends; a rejection or a port error is a communication error.
  return failure == LinkFailure::NoAnswer
             ? std::pair{TextId::Timeout, TextId::TimeoutEnds}
             : std::pair{TextId::CommunicationFault, TextId::CommunicationEnds};
}

void LinkLoss::forgetLogger() {
  m_app.connected = false;
  AnswerDispatcher::clearStatus(m_app.status);
  m_app.runState = RunState::Idle;
}

void LinkLoss::tellUser(LinkFailure failure) {
  const auto [headline, consequence] = textsOf(failure);
  m_prompts.info(m_app.modelName, m_app.texts.joined(headline, consequence));
}

}  // namespace termika
