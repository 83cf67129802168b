#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>
#include <vector>

namespace termika {

// The receive buffer: collects answer bytes, arriving in any split, until the
// terminator. Several answers in one read come out as several events; an
// answer split across reads comes out once it is whole. 101 bytes without a
// terminator are no answer: they are dropped (reported as an overflow) and
// collecting starts afresh, never writing past the buffer.
class FrameReceiver final {
 public:
  static constexpr int kCapacity = 101;

  enum class Kind { Answer, Overflow };
  struct Event {
    Kind kind = Kind::Answer;
    QByteArray bytes;  // the answer including its terminator; empty for an overflow
  };

  std::vector<Event> feed(const QByteArray& bytes);
  // Drops a partly collected answer.
  void reset() { m_size = 0; }
  int pending() const { return m_size; }

 private:
  std::array<std::uint8_t, kCapacity> m_buffer{};
  int m_size = 0;
};

}  // namespace termika
