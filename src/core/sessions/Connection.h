#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "core/base/UserPrompts.h"
#include "core/link/AdapterPins.h"
#include "core/link/AdapterWatch.h"
#include "core/link/Exchange.h"
#include "core/link/PortDiscovery.h"
#include "core/link/PortFactory.h"
#include "core/link/PortMap.h"
#include "core/link/Timings.h"
#include "core/link/Transport.h"
#include "core/model/AppState.h"
#include "core/sessions/SaveOffer.h"

namespace termika {

class LatencyTimer;

// Connecting: finds the logger (one port or a scan of 16..1), and once
// one answers offers to save the sets a new connection empties, opens the
// session with the status read and watches the adapter. Disconnects on
// request, on an unplugged adapter and when the link closes the port itself.
class Connection final : public QObject {
  Q_OBJECT
 public:
  enum class State { Disconnected, Connecting, Connected };
  Q_ENUM(State)

  // `saveOffer`, `pins` and `exchange` are not owned and must outlive this object.
  Connection(AppState& app, UserPrompts& prompts, SaveOffer& saveOffer, Exchange& exchange,
             AdapterPins& pins, const PortMap& map, TransportFactory factory,
             const Timings& timings, QObject* parent = nullptr);
  ~Connection() override;

  // The connect button: scans when disconnected, disconnects when connected.
  // False when nothing was done (an exchange or a scan is running).
  bool connectOrDisconnect();
  // PortSettingsDialog's button: probes `port` only when disconnected, disconnects when
  // connected (it then reads "Offline").
  bool connectOnce(int port);
  // Closes the port without any device traffic and ends the link's work.
  void disconnect();
  // Stops a running scan without a message (the window is closing).
  void abortScan();

  State state() const { return m_state; }
  bool isConnected() const { return m_state == State::Connected; }
  bool isConnecting() const { return m_state == State::Connecting; }
  // Why the last connection found no logger (text probeFaultText() explains it).
  ProbeFault notFoundCause() const { return m_notFoundCause; }
  // Path of the connected port's device ("" when not connected).
  QString devicePath() const { return m_devicePath; }

  // The status bar hears about a read-only latency setting through notice().
  void setLatencyTimer(LatencyTimer* latency);

 Q_SIGNALS:
  void stateChanged(termika::Connection::State state);
  // Before each probe attempt, for the settings dialog.
  void progress(int port, int attempt);
  // Both device sets were emptied: the window clears their lists and graphs.
  void deviceViewsCleared();
  // A logger answered on `port`; its status read has been queued.
  void connected(int port);
  // No logger found (after the message ModelName + text `ModelNotConnected`).
  void notFound();
  void disconnected();
  // Something for the status bar (port skipped, latency advice, pins unusable).
  void notice(const QString& message);

 private:
  bool begin(bool scan, int port);
  void onFound(int port, const QString& model, Transport* transport);
  void onNotFound();
  void onLinkClosed();
  void clearDeviceViews();
  void askSave(int setIndex, TextId firstText, TextId secondText);
  void releasePort();
  void setState(State state);

  AppState& m_app;
  UserPrompts& m_prompts;
  SaveOffer& m_saveOffer;
  Exchange& m_exchange;
  AdapterPins& m_pins;
  PortMap m_map;
  PortDiscovery m_discovery;
  AdapterWatch m_watch;
  std::unique_ptr<Transport> m_transport;
  QString m_devicePath;
  State m_state = State::Disconnected;
  ProbeFault m_notFoundCause = ProbeFault::None;
};

}  // namespace termika
