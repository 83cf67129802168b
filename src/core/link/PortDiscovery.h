#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "core/link/AdapterPins.h"
#include "core/link/PortFactory.h"
#include "core/link/PortMap.h"
#include "core/link/ProbeFault.h"
#include "core/link/Timings.h"
#include "core/link/Transport.h"

namespace termika {

// Finds the port a logger is on. Per port: one open to see that the port is
// usable at all, then up to three attempts of pulse (port closed), reopen,
// identify request and a fixed wait for the model name. Every wait is a step
// of this state machine on a single-shot timer, so the window stays live and
// a scan can be aborted at any point.
class PortDiscovery final : public QObject {
  Q_OBJECT
 public:
  enum class State {
    Idle,
    Opening,         // the first open of a port
    LeadWait,        // port closed, before the pins go high
    PinsHigh,        // the pins are high
    TrailWait,       // the pins are low again
    WaitingForPort,  // the port has not come back after the pulse yet
    AwaitingAnswer,  // identify request sent
  };
  Q_ENUM(State)

  static constexpr int kAttempts = 3;
  static constexpr std::uint8_t kPinsHigh = 255;
  static constexpr std::uint8_t kPinsLow = 0;
  // How often the port is looked for while it is away after a pulse.
  static constexpr int kPortReturnPolls = 20;
  // More than any model answer; the rest of a babbling port is ignored.
  static constexpr qsizetype kMaxAnswerBytes = 1024;

  PortDiscovery(const Timings& timings, AdapterPins& pins, PortMap map, TransportFactory factory,
                QObject* parent = nullptr);
  ~PortDiscovery() override;

  // Tries one port. False (and nothing started) while a discovery runs.
  bool probePort(int port);
  // Tries ports 16 down to 1 and stops at the first logger.
  bool scan();
  // Stops at once, closes and drops the port under test; emits neither
  // found nor notFound (the window is going away).
  void abort();

  State state() const { return m_state; }
  bool busy() const { return m_state != State::Idle; }
  // The most telling reason the last discovery found no logger.
  ProbeFault fault() const { return m_fault; }

  // The identify request (1, 99, 0, 0) as framed on the wire.
  static QByteArray probeFrame();
  // The model named in an identify answer; "QM200-RHA" is not served and
  // counts as no answer, so it is tested before the others.
  static std::optional<QString> recogniseModel(const QByteArray& answer);

 Q_SIGNALS:
  void stateChanged(termika::PortDiscovery::State state);
  // Before each attempt (0..2) on a port, for the settings dialog.
  void progress(int port, int attempt);
  // A logger answered. The port is open and the receiver owns `transport`.
  void found(int port, const QString& model, termika::Transport* transport);
  // No logger on any port tried (the caller shows ModelName + text `ModelNotConnected`).
  void notFound();
  // A port that would not open was skipped; tells why (missing, no permission).
  void portSkipped(int port, const QString& reason);
  // Something the user may want to fix though the scan goes on (pins unusable).
  void notice(const QString& message);

 private:
  bool start(std::vector<int> ports);
  void enter(State state, Timings::ms delay);
  void step();
  void openPort();
  void beginAttempt();
  void pulse(std::uint8_t levels);
  void reopenForProbe();
  void sendProbe();
  void judgeAnswer();
  void attemptFailed();
  void nextPort();
  void collectInput();
  void noticeOnce(const QString& message);
  void noteFault(ProbeFault fault) { m_fault = std::max(m_fault, fault); }
  QString portPath() const;
  int currentPort() const { return m_ports.at(m_portIndex); }

  Timings m_timings;
  AdapterPins& m_pins;
  PortMap m_map;
  TransportFactory m_factory;
  QTimer m_timer;
  State m_state = State::Idle;

  std::vector<int> m_ports;
  std::size_t m_portIndex = 0;
  int m_attempt = 0;
  int m_returnPolls = 0;
  std::unique_ptr<Transport> m_transport;
  QByteArray m_answer;
  bool m_noticeGiven = false;
  ProbeFault m_fault = ProbeFault::None;
};

}  // namespace termika
